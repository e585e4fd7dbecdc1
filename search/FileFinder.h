// FileFinder: TFileFinder, the walk of a folder tree that reports every entry whose name fits a name
// or a mask, keeps the user interface alive meanwhile and can be stopped.
#pragma once

#include "DirectoryScan.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

/// One directory entry as the scan returned it. Its kind comes with the scan; its size, stamp and
/// read-only bit are read from the file system when asked for, so that a walk that needs only names
/// costs no more than the scan.
struct TSearchRec
{
    QString Name;
    TEntryKind Kind = TEntryKind::Other;
    bool Hidden = false;
    /// The folder scanned, ending with a separator.
    QString Folder;

    /// FileStamp::Attribute bits: read-only, hidden, system, directory, archive.
    int Attr() const;
    qint64 Size() const;
    /// Last modification.
    QDateTime Time() const;
};

/// Walks a tree from Root, depth first: in each folder every entry first, in name order, then its
/// subfolders. Folders whose names begin with "." are not entered, nor links to folders; a folder
/// that cannot be read holds nothing. A folder is read a batch of entries at a time and sorted in
/// steps, and the user interface gets its turns in between, so that a folder of any size leaves the
/// window alive and a stop takes effect within it.
class TFileFinder : public QObject
{
public:
    /// Sender, the folder being scanned (ending with a separator), the entry, and the stop request.
    using TFileFoundEvent = std::function<void(TFileFinder &, const QString &, const TSearchRec &, bool &)>;
    using TNotifyEvent = std::function<void(TFileFinder &)>;
    /// Sender, the folder being scanned, and a name with U+FFFD for its bytes that are not text.
    using TNameEvent = std::function<void(TFileFinder &, const QString &, const QString &)>;

    explicit TFileFinder(QObject *owner = nullptr);

    /// Kinds of entries scanned (FileStamp::Attribute bits): plain files always; folders, hidden and
    /// system entries when their bit is set. 63 asks for every kind.
    int FileAttr = 63;
    /// Folder where Execute starts, ending with a separator.
    QString Root;
    /// Descend into subfolders.
    bool SubFolders = true;
    /// Let the user interface handle pending events while walking (see PumpInterval).
    bool ProcessMessages = true;
    /// Milliseconds between two turns of the event loop while walking; 0 gives one after each entry.
    int PumpInterval = 0;
    /// The name or mask entries must fit; empty reports nothing.
    QString Filename;
    /// When set, its "text" property shows the folder being scanned (a label); not owned.
    QPointer<QObject> StatusLabel;
    /// Filename is a mask for MatchMask; otherwise whole names are compared.
    bool FuzzySearch = false;
    /// Compare without regard to letter case.
    bool IgnoreCase = true;
    /// When set, it decides which names fit, in place of Filename (which must still not be empty).
    std::function<bool(const QString &)> NameTest;
    /// Called for each fitting entry.
    TFileFoundEvent OnFileFound;
    /// Called when the top-level folder is finished, stopped or not.
    TNotifyEvent OnStop;
    /// Called for each entry that the walk cannot name because its name is not text in the file
    /// system's encoding (see UndecodableNames), when it would have been entered as a folder or its
    /// name fits Filename.
    TNameEvent OnUndecodable;

    /// The last walk was stopped.
    bool Stopped() const { return m_stopped; }
    /// Called each time the walk lets the user interface handle its events, just before.
    std::function<void()> OnPump;

    /// The folder being scanned (or scanned last).
    const QString &Scanning() const { return m_scanning; }
    /// Clears Stopped and walks the tree from Root.
    void Execute();
    /// Scans one folder (ending with a separator) and recurses.
    void SearchDirectory(const QString &directory);
    /// Asks the walk to end after the entry in hand (from an event handler or a button).
    void Stop() { m_stopped = true; }
    /// Lets the user interface handle its pending events when ProcessMessages is set and interval
    /// milliseconds (PumpInterval when negative) have passed since the last time; for work done on the
    /// finder's behalf between two entries.
    void PumpEvents(int interval = -1);

private:
    bool Fits(const QString &name) const;
    /// Reads and sorts the entries of the kinds asked for; the undecodable ones that matter go apart.
    std::vector<TScanEntry> ReadFolder(const QString &directory, std::vector<TScanEntry> &undecodable);
    void SortEntries(std::vector<TScanEntry> &entries);
    bool m_stopped = false;
    QString m_status;
    QString m_scanning;
    QElapsedTimer m_sincePump;
};
