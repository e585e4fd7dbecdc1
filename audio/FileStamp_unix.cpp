// FileStamp_unix: stamp from the modification time in local time, attributes mapped from the mode.
#include "FileStamp.h"

#include <QFile>

#include <sys/stat.h>
#include <ctime>

namespace FileStamp {

Info read(const QFile &file)
{
    Info info;
    struct stat st;
    if (file.handle() < 0 || ::fstat(file.handle(), &st) != 0)
        return info;
    info.size = st.st_size;

    struct tm local;
    if (::localtime_r(&st.st_mtime, &local))
        info.age = packDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                local.tm_min, local.tm_sec);

    int attributes = 0;
    if (!(st.st_mode & S_IWUSR))
        attributes |= ReadOnly;
    if (S_ISDIR(st.st_mode))
        attributes |= Directory;
    else if (S_ISREG(st.st_mode))
        attributes |= Archive;
    const QString name = file.fileName();
    if (name.mid(name.lastIndexOf(u'/') + 1).startsWith(u'.'))
        attributes |= Hidden;
    info.attributes = attributes;
    return info;
}

} // namespace FileStamp
