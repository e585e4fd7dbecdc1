// FileFinder: the scan of one folder in batches, its sort in steps, the recursion, the stop flags and
// the event pumping.
#include "FileFinder.h"

#include "FileStamp.h"
#include "Paths.h"
#include "StrUt1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

constexpr int kBatch = 1024; // entries read between two chances to pump
constexpr std::size_t kRun = 2048; // entries sorted between two chances to pump

QString withSeparator(const QString &folder)
{
    return folder.endsWith(u'/') || folder.endsWith(Paths::separator()) ? folder : folder + Paths::separator();
}

bool nameLess(const TScanEntry &a, const TScanEntry &b)
{
    return Paths::NameLess(a.Name, b.Name);
}

} // namespace

int TSearchRec::Attr() const
{
    int attr = 0;
    switch (Kind) {
    case TEntryKind::Folder:
    case TEntryKind::FolderLink:
        attr |= FileStamp::Directory;
        break;
    case TEntryKind::File:
        attr |= FileStamp::Archive;
        break;
    case TEntryKind::Other:
        attr |= FileStamp::System;
        break;
    }
    if (Hidden)
        attr |= FileStamp::Hidden;
    if (!(QFileInfo(Folder + Name).permissions() & QFileDevice::WriteOwner))
        attr |= FileStamp::ReadOnly;
    return attr;
}

qint64 TSearchRec::Size() const
{
    return QFileInfo(Folder + Name).size();
}

QDateTime TSearchRec::Time() const
{
    return QFileInfo(Folder + Name).lastModified();
}

TFileFinder::TFileFinder(QObject *owner) : QObject(owner), Root(withSeparator(QDir::toNativeSeparators(QDir::rootPath())))
{
}

void TFileFinder::Execute()
{
    m_stopped = false;
    if (!Root.isEmpty())
        Root = withSeparator(Root);
    m_status.clear();
    m_scanning.clear();
    m_sincePump.start();
    SearchDirectory(Root);
}

bool TFileFinder::Fits(const QString &name) const
{
    if (NameTest)
        return NameTest(name);
    return FuzzySearch ? MatchMask(name, Filename, IgnoreCase) : SameName(name, Filename, IgnoreCase);
}

void TFileFinder::PumpEvents(int interval)
{
    if (!ProcessMessages || !QCoreApplication::instance())
        return;
    if (m_sincePump.isValid() && m_sincePump.elapsed() < (interval < 0 ? PumpInterval : interval))
        return;
    if (OnPump)
        OnPump();
    QCoreApplication::processEvents();
    m_sincePump.start();
}

std::vector<TScanEntry> TFileFinder::ReadFolder(const QString &directory, std::vector<TScanEntry> &undecodable)
{
    const auto wanted = [this](const TScanEntry &e) {
        if (e.Hidden && !(FileAttr & FileStamp::Hidden))
            return false;
        switch (e.Kind) {
        case TEntryKind::File:
            return true;
        case TEntryKind::Folder:
        case TEntryKind::FolderLink:
            return (FileAttr & FileStamp::Directory) != 0;
        case TEntryKind::Other:
            return (FileAttr & FileStamp::System) != 0;
        }
        return false;
    };
    std::vector<TScanEntry> entries;
    std::vector<TScanEntry> batch;
    TDirectoryScan scan(directory);
    for (bool more = true; more && !m_stopped;) {
        batch.clear();
        more = scan.Next(batch, kBatch);
        for (TScanEntry &e : batch) {
            if (e.Undecodable) {
                if (!e.Hidden || (FileAttr & FileStamp::Hidden))
                    undecodable.push_back(std::move(e));
            } else if (wanted(e)) {
                entries.push_back(std::move(e));
            }
        }
        PumpEvents();
    }
    SortEntries(entries);
    return entries;
}

void TFileFinder::SortEntries(std::vector<TScanEntry> &entries)
{
    // Runs sorted one at a time, then merged pairwise, the user interface let in between.
    const std::size_t n = entries.size();
    for (std::size_t from = 0; from < n && !m_stopped; from += kRun) {
        std::sort(entries.begin() + qsizetype(from), entries.begin() + qsizetype(std::min(n, from + kRun)), nameLess);
        PumpEvents();
    }
    std::vector<TScanEntry> merged;
    for (std::size_t width = kRun; width < n && !m_stopped; width *= 2) {
        merged.clear();
        merged.reserve(n);
        for (std::size_t from = 0; from < n; from += 2 * width) {
            const auto first = std::make_move_iterator(entries.begin() + qsizetype(from));
            const auto middle = std::make_move_iterator(entries.begin() + qsizetype(std::min(n, from + width)));
            const auto last = std::make_move_iterator(entries.begin() + qsizetype(std::min(n, from + 2 * width)));
            std::merge(first, middle, middle, last, std::back_inserter(merged), nameLess);
            PumpEvents();
        }
        entries.swap(merged);
    }
}

void TFileFinder::SearchDirectory(const QString &directory)
{
    bool stop = m_stopped;
    QStringList subfolders;
    m_scanning = directory;
    std::vector<TScanEntry> undecodable;
    const std::vector<TScanEntry> entries = ReadFolder(directory, undecodable);

    for (const TScanEntry &e : entries) {
        if (m_stopped || stop)
            break;
        // A link to a folder is reported like a folder but never entered: it may lead back up the tree.
        if (e.Kind == TEntryKind::Folder && !e.Name.startsWith(u'.'))
            subfolders.append(directory + e.Name);
        if (!Filename.isEmpty() && OnFileFound && Fits(e.Name))
            OnFileFound(*this, directory, TSearchRec{ e.Name, e.Kind, e.Hidden, directory }, stop);
        stop = stop || m_stopped;
        m_stopped = stop;
        if (StatusLabel && m_status != directory) {
            m_status = directory;
            StatusLabel->setProperty("text", directory);
        }
        PumpEvents();
    }

    // Entries no path can name: told when they would have been entered or reported.
    if (OnUndecodable && !m_stopped && !stop) {
        for (const TScanEntry &e : undecodable) {
            const bool entered = e.Kind == TEntryKind::Folder && SubFolders && (FileAttr & FileStamp::Directory)
                && !e.Name.startsWith(u'.');
            if (entered || (!Filename.isEmpty() && Fits(e.Name)))
                OnUndecodable(*this, directory, e.Name);
        }
    }
    if (SubFolders && !m_stopped && !stop)
        for (const QString &sub : subfolders)
            SearchDirectory(withSeparator(sub));
    if (directory == Root && OnStop)
        OnStop(*this);
}
