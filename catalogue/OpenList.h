// OpenList: the lines of the open list file, the loader that builds the tree, and the record lookups.
#pragma once

#include "Records.h"

#include <QString>
#include <QStringList>
#include <functional>

class TCatalogueTree;

/// What LoadList needs from its surroundings.
struct TLoadContext
{
    QString ProgramFolder;  ///< with trailing separator
    QString FirstArgument;  ///< first command-line argument, or empty
    /// Applies a settings file (given its full path); may be empty when nothing is to be applied.
    std::function<void(const QString &path)> LoadSettingsFile;
};

class TOpenList
{
public:
    QStringList ListLines;   ///< the lines of the open list, in file order
    QString ListFileName;    ///< the file they came from and are saved to
    TAlbum CurrentAlbum;     ///< last album looked up
    TTrack CurrentTrack;     ///< last track looked up (set by callers)

    /// Replaces the open list with the file's lines and rebuilds the tree. Throws KsError
    /// ("Cannot open file %s", "'%s' is not a valid integer value", "List index out of bounds (%d)")
    /// after leaving the tree as far as it got; on an open failure ListLines and ListFileName stay.
    /// Returns true when the first node should now be selected (the tree has albums).
    bool LoadList(const QString &fileName, TCatalogueTree &tree, const TLoadContext &context);

    /// The album whose "album: " line equals "album: " + title (searched from line index 1).
    TAlbum ReadAlbumRecord(const QString &title, const QString &programFolder) const;

    /// The track of an album; always replaces CurrentAlbum with the album record it read.
    TTrack ReadTrackRecord(const QString &albumTitle, const QString &trackTitle, const QString &programFolder);

    /// Writes ListLines to fileName through a safe save; throws "Cannot create file %s".
    void SaveTo(const QString &fileName) const;
    /// SaveTo(ListFileName).
    void Save() const;

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
