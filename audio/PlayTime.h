// PlayTime: the play time of a track as list files write it ("mm:ss"), read from an audio file.
#pragma once

#include <QString>
#include <QStringList>

class TAudioInfo;

namespace PlayTime {

/// Minutes and seconds of a duration in milliseconds, two digits at least each; the minutes go on
/// counting past the hour (3,723,000 ms is "62:03").
QString Text(qint64 durationMs);

/// The extensions of the audio formats whose play time the analysis reads (mp3, flac, ogg, opus, m4a,
/// wav, aiff, wv, ape, wma and the others), in lower case, without the dot.
const QStringList &AudioExtensions();

/// Whether a file name has one of AudioExtensions, in any letter case.
bool IsAudioName(const QString &name);

/// The play time of a track's file: "mm:ss" for an audio file (IsAudioName), analysed with info by its
/// content; "00:00" when it cannot be opened or read (readable becomes false) and when it holds no
/// time; empty for a file of another kind, which is not opened.
QString OfAudioFile(TAudioInfo &info, const QString &path, bool &readable);

/// What the user is told once when count audio files could not be read for their play time.
QString UnreadableMessage(int count);

} // namespace PlayTime
