// ProgramInfo: the program's own web address, shown on the About tab and written into generated lists.
#pragma once

#include <QString>

namespace ProgramInfo {

/// The maker's web address.
inline QString WebAddress()
{
    return QStringLiteral("https://kestrune.example.org");
}

} // namespace ProgramInfo
