// FileStamp: size, date-time stamp and attribute bits of an open file as the file system reports them.
#pragma once

#include <QtGlobal>

class QFile;

namespace FileStamp {

/// Attribute bits of a file.
enum Attribute { ReadOnly = 0x01, Hidden = 0x02, Directory = 0x10, Archive = 0x20 };

struct Info
{
    /// Size in bytes; -1 when unknown.
    qint64 size = -1;
    /// Modification time as a packed date-time of local time (DOS form); -1 when unknown.
    qint64 age = -1;
    /// Attribute bits; 0 when unknown.
    int attributes = 0;
};

/// Size, stamp and attributes of an open file; the defaults when they cannot be queried.
Info read(const QFile &file);

/// Packs a local date and time into the DOS form (2-second steps); -1 outside 1980..2107.
qint64 packDateTime(int year, int month, int day, int hour, int minute, int second);

} // namespace FileStamp
