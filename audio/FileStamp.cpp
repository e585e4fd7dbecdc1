// FileStamp: the packed date-time form and the stamp of a QFile, shared by every platform.
#include "FileStamp.h"

#include <QFile>

namespace FileStamp {

Info read(const QFile &file)
{
    if (file.handle() < 0)
        return {};
    const QByteArray name = QFile::encodeName(file.fileName());
    return readDescriptor(file.handle(), std::string_view(name.constData(), std::size_t(name.size())));
}

std::int64_t packDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980 || year > 2107)
        return -1;
    const std::uint32_t date = std::uint32_t(year - 1980) << 9 | std::uint32_t(month) << 5 | std::uint32_t(day);
    const std::uint32_t time = std::uint32_t(hour) << 11 | std::uint32_t(minute) << 5 | std::uint32_t(second / 2);
    return std::int64_t(date) << 16 | time;
}

} // namespace FileStamp
