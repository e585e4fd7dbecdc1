// ShellOpen_unix: the default action of the desktop, through xdg-open in a process of its own, never waited for.
#include "ShellOpen.h"

#include "Paths.h"
#include "language.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
// What xdg-open's exit status says, other than its 3 for no program.
QString openerFailure(int code)
{
    switch (code) {
    case 2:
        return u"файл не найден."_s;
    case 5:
        return u"нет прав на чтение файла."_s;
    case 4:
        return u"программа для файлов этого типа не смогла его открыть."_s;
    default:
        return u"xdg-open завершился с кодом %1."_s.arg(code);
    }
}
} // namespace

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
            Failed(target, NoProgram());
        return;
    }
    // A path that could pass for an option goes as a file: address.
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    const QString argument = path.isEmpty() || path.startsWith(u'-') ? url.toString(QUrl::FullyEncoded) : path;
    // The opener runs on its own and the window never waits for it. Under a plain window manager it
    // waits for the program it starts and passes on how that program ended, so only its own status 3
    // says that the desktop had no program for the file; any other failure after a program has been
    // running a while is that program's end, not a failure to open. The process object is left alone
    // when Kestrune ends first, so that closing it never stops what the opener started.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({ argument });
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(process, &QProcess::finished, &m_reports,
                     [this, process, target, clock](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status == QProcess::NormalExit && code == 0)
                             return;
                         if (status == QProcess::NormalExit && code == 3)
                             Failed(target, NoProgram());
                         else if (clock.elapsed() < m_programRanMs)
                             Failed(target, status == QProcess::NormalExit ? openerFailure(code)
                                                                           : u"xdg-open прерван."_s);
                     });
    QObject::connect(process, &QProcess::errorOccurred, &m_reports, [this, process, target](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        Failed(target, u"не удалось запустить xdg-open."_s);
    });
    process->start();
}
