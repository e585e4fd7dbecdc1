// FileStamp: the packed date-time form shared by every platform.
#include "FileStamp.h"

namespace FileStamp {

qint64 packDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980 || year > 2107)
        return -1;
    const quint32 date = quint32(year - 1980) << 9 | quint32(month) << 5 | quint32(day);
    const quint32 time = quint32(hour) << 11 | quint32(minute) << 5 | quint32(second / 2);
    return qint64(date) << 16 | time;
}

} // namespace FileStamp
