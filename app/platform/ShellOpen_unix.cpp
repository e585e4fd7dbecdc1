// ShellOpen_unix: the default action of the desktop through QDesktopServices.
#include "ShellOpen.h"

#include "Paths.h"
#include "language.h"

#include <QDesktopServices>
#include <QUrl>

void TSystemShell::ShellOpen(const QString &target)
{
    if (language::Trim(target).isEmpty())
        return;
    // Stored paths keep their backslashes; everything else is an address such as a web page or mailto:.
    const QUrl url = Paths::isAbsolute(target) ? QUrl::fromLocalFile(Paths::toFileSystem(target))
                                               : QUrl::fromUserInput(target);
    QDesktopServices::openUrl(url);
}
