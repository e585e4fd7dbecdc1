// ShellOpen: opening a file or a web address with the desktop's default action for it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

/// Hands a file or an address to the desktop shell.
class IShellOpen
{
public:
    virtual ~IShellOpen() = default;
    /// Opens a stored path or an address with the default action for its type, without waiting.
    virtual void ShellOpen(const QString &target) = 0;

    /// Told when the desktop could not open a target (no program for its type), maybe later.
    void SetFailureHandler(std::function<void(const QString &target)> handler) { m_failed = std::move(handler); }

protected:
    void Failed(const QString &target) const
    {
        if (m_failed)
            m_failed(target);
    }

private:
    std::function<void(const QString &)> m_failed;
};

/// The shell of the platform the program runs on.
class TSystemShell : public IShellOpen
{
public:
    void ShellOpen(const QString &target) override;

private:
    // Receives the openers' exit reports; gone with the shell, so no report reaches a shell that is gone.
    QObject m_reports;
};

/// Remembers every target instead of opening it (tests never start a real program).
class TRecordingShell : public IShellOpen
{
public:
    QStringList Opened;
    void ShellOpen(const QString &target) override { Opened.append(target); }
    /// What the desktop does when it has no program for a target.
    void Fail(const QString &target) const { Failed(target); }
};
