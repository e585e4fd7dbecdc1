// ShellOpen_unix: the default action of the desktop, through xdg-open in a process of its own.
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
    // Started detached, the opener never holds up the window, whatever it starts or asks.
    const QString opener = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (!opener.isEmpty()) {
        // A path that could pass for an option goes as a file: address.
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        const QString argument = path.isEmpty() || path.startsWith(u'-') ? url.toString(QUrl::FullyEncoded) : path;
        if (QProcess::startDetached(opener, { argument }))
            return;
    }
    QDesktopServices::openUrl(url);
}
