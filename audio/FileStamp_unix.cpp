// FileStamp_unix: stamp from the modification time in local time, attributes mapped from the mode.
#include "FileStamp.h"

#include <ctime>
#include <sys/stat.h>

namespace FileStamp {

Info readDescriptor(int descriptor, std::string_view fileName)
{
    Info info;
    struct stat st;
    if (descriptor < 0 || ::fstat(descriptor, &st) != 0)
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
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    if (!base.empty() && base.front() == '.')
        attributes |= Hidden;
    info.attributes = attributes;
    return info;
}

} // namespace FileStamp
