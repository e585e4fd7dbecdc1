// M3uExport: the tracks of a list as an extended M3U playlist in UTF-8, for other players.
#pragma once

#include <QString>
#include <QStringList>

namespace M3uExport {

/// The seconds of a play time "m:ss" (the minutes may pass 59) or "h:mm:ss"; -1 for anything else
/// and for "00:00", which the program writes where a time could not be read.
int Seconds(const QString &playTime);

/// How a playlist in playlistFolder names a file (an absolute path): relative to the playlist's folder
/// when the file lies below it, else absolute; with the platform's separators.
QString EntryPath(const QString &file, const QString &playlistFolder);

/// A playlist and what it holds.
struct TPlaylist
{
    QStringList Lines;
    int Tracks = 0;      ///< tracks written
    int WithoutFile = 0; ///< tracks left out because they name no file
};

/// The playlist of a list's lines, read as the loader reads them: "#EXTM3U", then for every track with a
/// "file:" value "#EXTINF:<seconds>,<author> - <title>" (the title alone without an author) and the
/// file's path (EntryPath of the stored path resolved against programFolder). albumRow, when not -1,
/// takes only that album (its row in the tree). Throws the loader's KsError for a count that is no
/// integer, lines past the end, or albums that overlap.
TPlaylist PlaylistLines(const QStringList &listLines, const QString &playlistPath, const QString &programFolder,
                        int albumRow = -1);

/// Writes the playlist of the list's lines to path through the safe save, in UTF-8 without a mark,
/// lines ending with CR LF. Throws KsError "Cannot create file %s" (and as PlaylistLines).
TPlaylist WritePlaylist(const QString &path, const QStringList &listLines, const QString &programFolder,
                        int albumRow = -1);

/// What the user is told after a playlist was written: the tracks left out for want of a file, or that
/// it holds none. Empty when every track is in it.
QString LeftOutMessage(const TPlaylist &playlist);

} // namespace M3uExport
