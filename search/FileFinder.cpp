// FileFinder: the scan of one folder, the recursion, the stop flags and the event pumping.
#include "FileFinder.h"

#include "FileStamp.h"
#include "Paths.h"
#include "StrUt1.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

QString withSeparator(const QString &folder)
{
    return folder.endsWith(u'/') || folder.endsWith(Paths::separator()) ? folder : folder + Paths::separator();
}

struct Entry
{
    QString name;
    QFileInfo info;
};

int attributesOf(const QFileInfo &info)
{
    int attr = 0;
    if (info.isDir())
        attr |= FileStamp::Directory;
    else if (info.isFile())
        attr |= FileStamp::Archive;
    else
        attr |= FileStamp::System;
    if (info.isHidden())
        attr |= FileStamp::Hidden;
    if (!info.isWritable())
        attr |= FileStamp::ReadOnly;
    return attr;
}

} // namespace

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
    return FuzzySearch ? MatchMask(name, Filename, IgnoreCase) : SameName(name, Filename, IgnoreCase);
}

void TFileFinder::PumpEvents()
{
    if (!ProcessMessages || !QCoreApplication::instance())
        return;
    if (m_sincePump.isValid() && m_sincePump.elapsed() < PumpInterval)
        return;
    QCoreApplication::processEvents();
    m_sincePump.start();
}

void TFileFinder::SearchDirectory(const QString &directory)
{
    bool stop = m_stopped;
    QStringList subfolders;
    m_scanning = directory;

    // The scan: the entries of the kinds asked for, in name order as the file lists show them.
    QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
    if (FileAttr & FileStamp::Directory)
        filters |= QDir::Dirs;
    if (FileAttr & FileStamp::Hidden)
        filters |= QDir::Hidden;
    if (FileAttr & FileStamp::System)
        filters |= QDir::System;
    std::vector<Entry> entries;
    for (QDirIterator it(directory, filters); it.hasNext();) {
        it.next();
        entries.push_back({ it.fileName(), it.fileInfo() });
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return Paths::NameLess(a.name, b.name); });

    for (const Entry &e : entries) {
        if (m_stopped || stop)
            break;
        // A link to a folder is reported like a folder but never entered: it may lead back up the tree.
        if (e.info.isDir() && !e.name.startsWith(u'.') && !e.info.isSymLink() && !e.info.isJunction())
            subfolders.append(directory + e.name);
        if (!Filename.isEmpty() && OnFileFound && Fits(e.name)) {
            const TSearchRec rec{ e.name, attributesOf(e.info), e.info.size(), e.info.lastModified() };
            OnFileFound(*this, directory, rec, stop);
        }
        stop = stop || m_stopped;
        m_stopped = stop;
        if (StatusLabel && m_status != directory) {
            m_status = directory;
            StatusLabel->setProperty("text", directory);
        }
        PumpEvents();
    }

    if (SubFolders && !m_stopped && !stop)
        for (const QString &sub : subfolders)
            SearchDirectory(withSeparator(sub));
    if (directory == Root && OnStop)
        OnStop(*this);
}
