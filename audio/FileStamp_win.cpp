// FileStamp_win: size, stamp and attributes straight from the Windows file system.
#include "FileStamp.h"

#include <io.h>
#include <windows.h>

namespace FileStamp {

Info readDescriptor(int descriptor, std::string_view)
{
    Info info;
    const HANDLE h = descriptor < 0 ? INVALID_HANDLE_VALUE : HANDLE(_get_osfhandle(descriptor));
    BY_HANDLE_FILE_INFORMATION data;
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &data))
        return info;
    info.size = std::int64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    info.attributes = int(data.dwFileAttributes & 0xFF);
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
        info.age = std::int64_t(date) << 16 | time;
    return info;
}

} // namespace FileStamp
