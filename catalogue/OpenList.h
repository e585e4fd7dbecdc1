// OpenList: the lines of the open list file, the loader that builds the tree, and the record lookups.
#pragma once

#include "LinesFile.h"
#include "Records.h"
#include "TextCodec.h"

#include <QString>
#include <QStringList>
#include <functional>

class TCatalogueTree;
class TTreeNode;
class TUndoHistory;

/// What LoadList needs from its surroundings.
struct TLoadContext
{
    QString ProgramFolder;  ///< with trailing separator
    QString FirstArgument;  ///< first command-line argument, or empty
    /// Applies a settings file (given its full path); may be empty when nothing is to be applied.
    std::function<void(const QString &path)> LoadSettingsFile;
};

/// The open list. Its lines change only through Commit, which saves them first.
class TOpenList
{
public:
    QStringList ListLines;   ///< the lines of the open list, in file order
    QString ListFileName;    ///< the file they came from and are saved to
    TAlbum CurrentAlbum;     ///< last album looked up
    TTrack CurrentTrack;     ///< last track looked up (set by callers)
    TextCodec::TFileEncoding Encoding; ///< how the file's lines were encoded; saves keep it
    TUndoHistory *History = nullptr;   ///< where Commit and SaveTo record their writes, if anywhere

    /// Replaces the open list with the file's lines and rebuilds the tree. Throws KsError
    /// ("Cannot open file %s", "'%s' is not a valid integer value", "List index out of bounds (%d)",
    /// or the damaged-list message when albums overlap so that the tree would hold more nodes than
    /// the list has lines) after leaving the tree as far as it got; on an open failure ListLines and
    /// ListFileName stay.
    /// Returns true when the first node should now be selected (the tree has albums).
    bool LoadList(const QString &fileName, TCatalogueTree &tree, const TLoadContext &context);

    /// LoadList after the file has been read: lines as read from fileName.
    bool LoadLines(LinesFile::TLinesText text, const QString &fileName, TCatalogueTree &tree,
                   const TLoadContext &context);

    /// The album whose "album: " line equals "album: " + title (searched from line index 1).
    TAlbum ReadAlbumRecord(const QString &title, const QString &programFolder) const;

    /// The track of an album; always replaces CurrentAlbum with the album record it read.
    TTrack ReadTrackRecord(const QString &albumTitle, const QString &trackTitle, const QString &programFolder);

    /// The record of the album node at row among the root nodes, whose trimmed text is title. While no
    /// other album has that title this is ReadAlbumRecord(title); otherwise the album's own block is
    /// used (the row-th "-newalbum" block), found only when its line is exactly "album: " + title.
    /// ownBlock tells which of the two ways was taken.
    TAlbum ReadAlbumRecordAt(const QString &title, int row, const QString &programFolder,
                             bool *ownBlock = nullptr) const;

    /// The track node at trackRow under the album node at albumRow; always replaces CurrentAlbum. A
    /// title that repeats within the album is found at its own track position, else as ReadTrackRecord
    /// finds it. ownBlock is true when the album or the track was found by its own block.
    TTrack ReadTrackRecordAt(const QString &albumTitle, int albumRow, const QString &trackTitle, int trackRow,
                             const QString &programFolder, bool *ownBlock = nullptr);

    /// Looks up a tree node's records as the selection and the commands do: an album node's album
    /// into CurrentAlbum; a track node's track into CurrentTrack and its album into CurrentAlbum.
    /// Returns true when the node's title repeats and its own block was used.
    bool LookUpNode(const TTreeNode &node, const QString &programFolder);

    /// An in-place rename of a tree node, whose editing began with the trimmed title oldTitle, to newText
    /// as typed: lines become ListLines with the node's own line renamed (the line the loader read it
    /// from; see ListEdits::RenameAlbum and RenameTrack). Returns the message that refuses the rename,
    /// lines then unchanged: a blank newText, no album for the node, or damaged lines. Throws
    /// "List index out of bounds (%d)" when the album's lines run past the end of the list.
    QString RenameNode(const TTreeNode &node, const QString &oldTitle, const QString &newText,
                       QStringList &lines) const;

    /// Saves lines to ListFileName and only then makes them the open list, so that a failed save
    /// ("Cannot create file %s", thrown) leaves the open list as it was.
    void Commit(QStringList lines);

    /// Writes ListLines to another file, in the list's encoding; throws "Cannot create file %s".
    void SaveTo(const QString &fileName) const;

    /// True when path names the file of the open list (Paths::sameFile: another spelling or a link of the
    /// same file counts).
    bool IsListFile(const QString &path) const;

    /// The settings file named by the last line ("ini: name"), or empty when the last line is none.
    static QString SettingsLineName(const QStringList &lines);
};

/// A quick-load entry of main.lis split the way the main window reads it.
struct TQuickLoadEntry
{
    QString Name; ///< StripDelimited("{", "}", line)
    QString File; ///< after the first "{" up to but not including the last character
};

namespace QuickLoad {
/// The main window's split of one main.lis line.
TQuickLoadEntry SplitEntry(const QString &line);
/// The quick-load manager's split: StripDelimited(" {", "}") and ExtractBetween("{", "}").
TQuickLoadEntry SplitEntryForManager(const QString &line);
/// Reads program folder + main.lis; a missing file gives no entries.
QList<TQuickLoadEntry> ReadIndex(const QString &programFolder);
} // namespace QuickLoad
