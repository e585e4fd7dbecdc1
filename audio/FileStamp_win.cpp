// FileStamp_win: stamp and attributes straight from the Windows file system.
#include "FileStamp.h"

#include <QDir>

#include <windows.h>

namespace FileStamp {

Info read(const QString &fileName)
{
    Info info;
    const std::wstring path = QDir::toNativeSeparators(fileName).toStdWString();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return info;
    info.attributes = int(data.dwFileAttributes & 0xFF);
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
        info.age = qint64(date) << 16 | time;
    return info;
}

} // namespace FileStamp
