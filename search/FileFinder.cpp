// FileFinder: the scan of one folder, the recursion, the stop flags and the event pumping.
#include "FileFinder.h"

#include "FileStamp.h"
#include "Paths.h"
#include "StrUt1.h"
#include "UndecodableNames.h"

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

} // namespace

int TSearchRec::Attr() const
{
    int attr = 0;
    if (Info.isDir())
        attr |= FileStamp::Directory;
    else if (Info.isFile())
        attr |= FileStamp::Archive;
    else
        attr |= FileStamp::System;
    if (Info.isHidden())
        attr |= FileStamp::Hidden;
    if (!(Info.permissions() & QFileDevice::WriteOwner))
        attr |= FileStamp::ReadOnly;
    return attr;
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
    std::vector<TSearchRec> entries;
    for (QDirIterator it(directory, filters); it.hasNext();) {
        it.next();
        entries.push_back({ it.fileName(), it.fileInfo() });
    }
    std::sort(entries.begin(), entries.end(),
              [](const TSearchRec &a, const TSearchRec &b) { return Paths::NameLess(a.Name, b.Name); });

    for (const TSearchRec &e : entries) {
        if (m_stopped || stop)
            break;
        // A link to a folder is reported like a folder but never entered: it may lead back up the tree.
        if (e.Info.isDir() && !e.Name.startsWith(u'.') && !e.Info.isSymLink() && !e.Info.isJunction())
            subfolders.append(directory + e.Name);
        if (!Filename.isEmpty() && OnFileFound && Fits(e.Name))
            OnFileFound(*this, directory, e, stop);
        stop = stop || m_stopped;
        m_stopped = stop;
        if (StatusLabel && m_status != directory) {
            m_status = directory;
            StatusLabel->setProperty("text", directory);
        }
        PumpEvents();
    }

    if (OnUndecodable && !m_stopped && !stop)
        ReportUndecodable(directory);
    if (SubFolders && !m_stopped && !stop)
        for (const QString &sub : subfolders)
            SearchDirectory(withSeparator(sub));
    if (directory == Root && OnStop)
        OnStop(*this);
}

void TFileFinder::ReportUndecodable(const QString &directory)
{
    for (const TUndecodableEntry &e : UndecodableEntries(directory)) {
        if (e.Name.startsWith(u'.') && !(FileAttr & FileStamp::Hidden))
            continue;
        const bool entered = e.Folder && SubFolders && (FileAttr & FileStamp::Directory) && !e.Name.startsWith(u'.');
        if (entered || (!Filename.isEmpty() && Fits(e.Name)))
            OnUndecodable(*this, directory, e.Name);
    }
}
