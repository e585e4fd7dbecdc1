// ShellExecute_win: ShellExecuteW with no verb and no parameters.
#include "ShellExecute.h"

#include <windows.h>

#include <shellapi.h>

bool ShellExecuteDefault(const std::wstring &target)
{
    const HINSTANCE result = ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; the smaller ones are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
