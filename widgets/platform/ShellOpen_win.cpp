// ShellOpen_win: the default action of the Windows shell for a stored path or an address.
#include "ShellOpen.h"

#include "ShellExecute.h"
#include "language.h"

void TSystemShell::ShellOpen(const QString &target)
{
    if (language::Trim(target).isEmpty())
        return;
    if (!ShellExecuteDefault(target.toStdWString()))
        Failed(target, NoProgram());
}
