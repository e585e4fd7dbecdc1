// FileFinder: TFileFinder, the walk of a folder tree that reports every entry whose name fits a name
// or a mask, keeps the user interface alive meanwhile and can be stopped.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

/// One directory entry as the scan returned it. Its size, stamp and attributes are read from the file
/// system when first asked for, so that a walk that needs only names costs no more than the scan.
struct TSearchRec
{
    QString Name;
    QFileInfo Info;

    /// FileStamp::Attribute bits: read-only, hidden, system, directory, archive.
    int Attr() const;
    qint64 Size() const { return Info.size(); }
    /// Last modification.
    QDateTime Time() const { return Info.lastModified(); }
};

/// Walks a tree from Root, depth first: in each folder every entry first, in name order, then its
/// subfolders. Folders whose names begin with "." are not entered, nor links to folders; a folder
/// that cannot be read holds nothing.
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
    /// The folder being scanned (or scanned last).
    const QString &Scanning() const { return m_scanning; }
    /// Clears Stopped and walks the tree from Root.
    void Execute();
    /// Scans one folder (ending with a separator) and recurses.
    void SearchDirectory(const QString &directory);
    /// Asks the walk to end after the entry in hand (from an event handler or a button).
    void Stop() { m_stopped = true; }
    /// Lets the user interface handle its pending events when ProcessMessages is set and PumpInterval
    /// has passed since the last time; for work done on the finder's behalf between two entries.
    void PumpEvents();

private:
    bool Fits(const QString &name) const;
    void ReportUndecodable(const QString &directory);
    bool m_stopped = false;
    QString m_status;
    QString m_scanning;
    QElapsedTimer m_sincePump;
};
