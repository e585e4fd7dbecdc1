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

    /// Why a target did not open when the desktop has no program for its type.
    static QString NoProgram() { return QStringLiteral("в системе нет программы для файлов этого типа."); }

    /// Told when the desktop could not open a target, maybe later, with the reason (a sentence that
    /// follows "cannot open").
    void SetFailureHandler(std::function<void(const QString &target, const QString &reason)> handler)
    {
        m_failed = std::move(handler);
    }

protected:
    void Failed(const QString &target, const QString &reason) const
    {
        if (m_failed)
            m_failed(target, reason);
    }

private:
    std::function<void(const QString &, const QString &)> m_failed;
};

/// The shell of the platform the program runs on.
class TSystemShell : public IShellOpen
{
public:
    /// An opener that fails after running this long had started a program, whose end is its own affair.
    static constexpr int ProgramRanMs = 3000;
    explicit TSystemShell(int programRanMs = ProgramRanMs) : m_programRanMs(programRanMs) {}

    void ShellOpen(const QString &target) override;

private:
    int m_programRanMs;
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
    void Fail(const QString &target, const QString &reason = NoProgram()) const { Failed(target, reason); }
};
