// ShellOpen_unix: the default action of the desktop, through xdg-open in a process of its own, never waited for.
#include "ShellOpen.h"

#include "Paths.h"
#include "language.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

void TSystemShell::ShellOpen(const QString &target)
{
    if (language::Trim(target).isEmpty())
        return;
    // Stored paths keep their backslashes; everything else is an address such as a web page or mailto:.
    const QUrl url = Paths::isAbsolute(target) ? QUrl::fromLocalFile(Paths::toFileSystem(target))
                                               : QUrl::fromUserInput(target);
    if (!url.isValid())
        return;
    const QString opener = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            Failed(target);
        return;
    }
    // A path that could pass for an option goes as a file: address.
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    const QString argument = path.isEmpty() || path.startsWith(u'-') ? url.toString(QUrl::FullyEncoded) : path;
    // The opener runs on its own and the window never waits for it; its exit status, whenever it
    // comes, tells whether the desktop had a program for the file. The process object is left alone
    // when the program ends first, so that closing Kestrune never stops what the opener started.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({ argument });
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, &m_reports, [this, process, target](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || code != 0)
            Failed(target);
    });
    QObject::connect(process, &QProcess::errorOccurred, &m_reports, [this, process, target](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        Failed(target);
    });
    process->start();
}
