// ListEdits: deleting, renaming and rewriting albums and tracks in the lines of the open list.
#pragma once

#include "Records.h"

#include <QString>
#include <QStringList>

namespace ListEdits {

/// The line by which an album is found: "album: " + the trimmed title.
QString AlbumKeyLine(const QString &title);
/// The line by which a track is found in its album: "track: " + the trimmed title.
QString TrackKeyLine(const QString &title);

/// The number of lines of an album block of count tracks: 8 + 4·count (a negative count means none).
qsizetype AlbumBlockLength(qint32 trackCount);

/// Removes the album block of a looked-up album: AlbumBlockLength(TrackCount) lines from the
/// "-newalbum" line two above its "album: " line. Nothing is removed when the block runs past
/// either end of the list ("List index out of bounds (%d)") or does not begin with "-newalbum"
/// and end with "--endofalbum" (a damaged block, whose length would cut into its neighbours).
void DeleteAlbum(QStringList &lines, const TAlbum &album);

/// Removes the four lines of a looked-up track and rewrites its album's count line as
/// "nt: " + the new count; album.TrackCount goes down by one. Throws when a line lies outside.
void DeleteTrack(QStringList &lines, TAlbum &album, const TTrack &track);

/// Every line "album: " + oldTitle becomes "album: " + newTitle; returns how many changed.
int RenameAlbum(QStringList &lines, const QString &oldTitle, const QString &newTitle);

/// Within every album whose line is "album: " + album.Title, from the last to the first, each line
/// from the album line to 4 + 4·album.TrackCount below it that equals "track: " + oldTitle becomes
/// "track: " + newTitle. When a range runs past the end nothing changes and
/// "List index out of bounds (%d)" is thrown. Returns how many lines changed.
int RenameTrack(QStringList &lines, const TAlbum &album, const QString &oldTitle, const QString &newTitle);

/// The fields of the album property dialog, written without trimming.
struct TAlbumFields
{
    QString Name;
    QString Author;
    QString DescriptionFile;
    QString Url;
    QString Image;
};

/// Finds the first line from index 1 equal to keyLine and writes, in this order, the album line,
/// the one before it, one, two and four after it. Returns false when no line matches (nothing
/// written). A line outside the list throws "List index out of bounds (%d)"; lines written before
/// it stay written.
bool WriteAlbumProperties(QStringList &lines, const QString &keyLine, const TAlbumFields &fields);

/// The fields of the track property dialog that are written, without trimming.
struct TTrackFields
{
    QString Title;
    QString Size;
    QString DescriptionFile;
};

/// Writes the track line at trackLine, the one after it and the one three after it, in this order.
/// Returns false when trackLine is below 0 (nothing written). A line outside the list throws
/// "List index out of bounds (%d)"; lines written before it stay written.
bool WriteTrackProperties(QStringList &lines, qint32 trackLine, const TTrackFields &fields);

} // namespace ListEdits
