// ProgramFile: the running executable's own path and folder, as Windows reports them.
#pragma once

#include <string>

namespace ProgramFile {

/// Full path of the running executable; empty when the system cannot tell. Windows only.
std::wstring Path();

/// The folder of Path() with its trailing backslash; empty when Path() is. Windows only.
std::wstring Folder();

} // namespace ProgramFile
