// ProgramFile_win: the executable's path from GetModuleFileNameW.
#include "ProgramFile.h"

#include <windows.h>

namespace ProgramFile {

std::wstring Path()
{
    // Room for the longest path Windows has; a path cut to the buffer's size is no path.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}

std::wstring Folder()
{
    const std::wstring path = Path();
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

} // namespace ProgramFile
