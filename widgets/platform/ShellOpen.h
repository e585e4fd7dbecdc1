// ShellOpen: opening a file or a web address with the desktop's default action for it.
#pragma once

#include <QString>
#include <QStringList>

/// Hands a file or an address to the desktop shell.
class IShellOpen
{
public:
    virtual ~IShellOpen() = default;
    /// Opens a stored path or an address with the default action for its type; the result is ignored.
    virtual void ShellOpen(const QString &target) = 0;
};

/// The shell of the platform the program runs on.
class TSystemShell : public IShellOpen
{
public:
    void ShellOpen(const QString &target) override;
};

/// Remembers every target instead of opening it (tests never start a real program).
class TRecordingShell : public IShellOpen
{
public:
    QStringList Opened;
    void ShellOpen(const QString &target) override { Opened.append(target); }
};
