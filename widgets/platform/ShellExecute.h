// ShellExecute: the Windows shell's default action for a file or an address, as a plain call.
#pragma once

#include <string>

/// Opens target with the default action of its type (no verb, no parameters, normal window) and
/// returns at once; true when the shell accepted it. Windows only.
bool ShellExecuteDefault(const std::wstring &target);
