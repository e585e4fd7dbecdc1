// FileAccess on Windows: a C runtime descriptor over a shared handle, read at an offset by ReadFile.
#include "FileAccess.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace FileAccess {

int OpenRead(const QString &path)
{
    // _wopen shares the file for reading and writing.
    return _wopen(reinterpret_cast<const wchar_t *>(path.utf16()), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

std::int64_t ReadAt(int descriptor, std::int64_t offset, void *into, std::int64_t n)
{
    const HANDLE h = HANDLE(_get_osfhandle(descriptor));
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    std::int64_t done = 0;
    while (done < n) {
        OVERLAPPED at = {};
        at.Offset = DWORD(std::uint64_t(offset + done));
        at.OffsetHigh = DWORD(std::uint64_t(offset + done) >> 32);
        DWORD got = 0;
        const DWORD ask = DWORD(std::min<std::int64_t>(n - done, 1 << 30));
        if (!ReadFile(h, static_cast<char *>(into) + done, ask, &got, &at))
            return GetLastError() == ERROR_HANDLE_EOF ? done : -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void Close(int descriptor)
{
    _close(descriptor);
}

} // namespace FileAccess
