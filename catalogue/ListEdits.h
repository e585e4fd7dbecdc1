// ListEdits: deleting, renaming and rewriting albums and tracks in the lines of the open list.
#pragma once

#include "Records.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ListEdits {

/// The line by which an album is found: "album: " + the trimmed title.
QString AlbumKeyLine(const QString &title);
/// The line by which a track is found in its album: "track: " + the trimmed title.
QString TrackKeyLine(const QString &title);

/// The number of lines of an album block of count tracks: 8 + 4·count (a negative count means none).
qsizetype AlbumBlockLength(qint32 trackCount);

/// The messages shown when a damaged album cannot be deleted.
QString DamagedAlbumMessage();
QString DamagedTrackMessage();

/// True when the looked-up album's lines are exactly one whole album block: "-newalbum" two above
/// its "album: " line, "--endofalbum" (blanks around it allowed) AlbumBlockLength(TrackCount) - 1
/// lines further, and neither marker between them.
bool IsWholeAlbumBlock(const QStringList &lines, const TAlbum &album);

/// Removes the album block of a looked-up album. Returns false, changing nothing, when its lines are
/// not one whole album block (a count that does not match its tracks would take other lines with it).
bool DeleteAlbum(QStringList &lines, const TAlbum &album);

/// Removes the four lines of a looked-up track and rewrites its album's count line as "nt: " + the
/// new count; album.TrackCount goes down by one. Returns false, changing nothing, unless the album is
/// one whole block and the track's line stands at one of its track positions.
bool DeleteTrack(QStringList &lines, TAlbum &album, const TTrack &track);

/// The messages shown when an in-place rename is refused: a blank title, a node whose album the list
/// no longer holds, and an album or track whose lines are damaged.
QString BlankTitleMessage();
QString NoAlbumToRenameMessage();
QString DamagedRenameMessage();

/// Renames the album node read from albumLine (its block's "album: " line): that line becomes
/// "album: " + newTitle, and no other. Returns false, changing nothing, unless the line holds "album:"
/// and the node's trimmed title oldTitle.
bool RenameAlbum(QStringList &lines, qint64 albumLine, const QString &oldTitle, const QString &newTitle);

/// Renames the track node at trackRow of an album read from its own block: the line at that track
/// position becomes "track: " + newTitle, and no other. When the album's lines, 4 + 4·TrackCount below
/// its album line, run past the end nothing changes and "List index out of bounds (%d)" is thrown.
/// Returns false, changing nothing, unless the album is one whole block, trackRow one of its tracks and
/// the line holds "track:" and the node's trimmed title oldTitle.
bool RenameTrack(QStringList &lines, const TAlbum &album, int trackRow, const QString &oldTitle,
                 const QString &newTitle);

/// The fields of the album property dialog, written without trimming. A path left out (the user did
/// not change it) keeps its line exactly as stored.
struct TAlbumFields
{
    QString Name;
    QString Author;
    std::optional<QString> DescriptionFile;
    QString Url;
    std::optional<QString> Image;
};

/// Writes the album line found at albumLine, or when that is -1 the first line from index 1 equal to
/// keyLine, and the one before it, one, two and four after it. Returns false when no line matches
/// (nothing written). When one of those lines lies outside the list, nothing is written and
/// "List index out of bounds (%d)" is thrown.
bool WriteAlbumProperties(QStringList &lines, const QString &keyLine, const TAlbumFields &fields,
                          qint32 albumLine = -1);

/// The fields of the track property dialog that are written, without trimming; a description path
/// left out keeps its line.
struct TTrackFields
{
    QString Title;
    QString Size;
    std::optional<QString> DescriptionFile;
};

/// Writes the track line at trackLine, the one after it and the one three after it, in this order.
/// Returns false when trackLine is below 0 (nothing written). When a line lies outside the list,
/// nothing is written and "List index out of bounds (%d)" is thrown.
bool WriteTrackProperties(QStringList &lines, qint32 trackLine, const TTrackFields &fields);

/// The lines of a list with album lines added at its end: before its last line when that is the
/// list's settings line ("ini: ", as the loader finds it), which so stays last and keeps applying.
QStringList AppendAlbums(const QStringList &lines, const QStringList &albums);

} // namespace ListEdits
