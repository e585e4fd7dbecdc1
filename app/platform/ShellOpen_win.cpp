// ShellOpen_win: the default action of the Windows shell (ShellExecuteW, no verb, normal window).
#include "ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

void TSystemShell::ShellOpen(const QString &target)
{
    const std::wstring file = target.toStdWString();
    ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
