// FileStamp_win: size, stamp and attributes straight from the Windows file system.
#include "FileStamp.h"

#include <QFile>

#include <io.h>
#include <windows.h>

namespace FileStamp {

Info read(const QFile &file)
{
    Info info;
    const HANDLE h = file.handle() < 0 ? INVALID_HANDLE_VALUE : HANDLE(_get_osfhandle(file.handle()));
    BY_HANDLE_FILE_INFORMATION data;
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &data))
        return info;
    info.size = qint64(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    info.attributes = int(data.dwFileAttributes & 0xFF);
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
        info.age = qint64(date) << 16 | time;
    return info;
}

} // namespace FileStamp
