// FileStamp: size, date-time stamp and attribute bits of an open file as the file system reports them.
#pragma once

#include <cstdint>
#include <string_view>

class QFile;

namespace FileStamp {

/// Attribute bits of a file.
enum Attribute { ReadOnly = 0x01, Hidden = 0x02, System = 0x04, Directory = 0x10, Archive = 0x20 };

struct Info
{
    /// Size in bytes; -1 when unknown.
    std::int64_t size = -1;
    /// Modification time as a packed date-time of local time (DOS form); -1 when unknown.
    std::int64_t age = -1;
    /// Attribute bits; 0 when unknown.
    int attributes = 0;
};

/// Size, stamp and attributes of an open file; the defaults when they cannot be queried.
Info read(const QFile &file);

/// The same for a file open under a C runtime descriptor, one implementation per platform.
/// fileName serves where a name, not an attribute, hides a file (a leading dot on Linux).
Info readDescriptor(int descriptor, std::string_view fileName);

/// Packs a local date and time into the DOS form (2-second steps); -1 outside 1980..2107.
std::int64_t packDateTime(int year, int month, int day, int hour, int minute, int second);

} // namespace FileStamp
