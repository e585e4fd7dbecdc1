// PlayTime: the play time of a track as list files write it ("mm:ss"), read from an MP3 file.
#pragma once

#include <QString>

class TAudioInfo;

namespace PlayTime {

/// Minutes and seconds of a duration in milliseconds, two digits at least each; the minutes go on
/// counting past the hour (3,723,000 ms is "62:03").
QString Text(qint64 durationMs);

/// Whether a file name has the extension ".mp3", in any letter case.
bool IsMp3Name(const QString &name);

/// The play time of a track's file: "mm:ss" for an MP3 file, analysed with info; "00:00" when it cannot
/// be read (readable becomes false); empty for a file of another kind, which is not opened.
QString OfFile(TAudioInfo &info, const QString &path, bool &readable);

/// What the user is told once when count MP3 files could not be read for their play time.
QString UnreadableMessage(int count);

} // namespace PlayTime
