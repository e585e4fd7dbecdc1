// DirectoryScan on Windows: names are UTF-16, so every one is text; Qt's iterator gives the kinds.
#include "DirectoryScan.h"

#include <QDirIterator>
#include <QFileInfo>

struct TDirectoryScan::TImpl
{
    explicit TImpl(const QString &folder)
        : it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
    {
    }
    QDirIterator it;
};

TDirectoryScan::TDirectoryScan(const QString &folder) : d(new TImpl(folder)) {}

TDirectoryScan::~TDirectoryScan() = default;

bool TDirectoryScan::Next(std::vector<TScanEntry> &into, int max, bool foldersOnly)
{
    for (int n = 0; n < max; ++n) {
        if (!d->it.hasNext())
            return false;
        d->it.next();
        const QFileInfo info = d->it.fileInfo();
        if (foldersOnly && !info.isDir())
            continue;
        TScanEntry entry;
        entry.Name = d->it.fileName();
        if (info.isDir())
            entry.Kind = info.isSymLink() || info.isJunction() ? TEntryKind::FolderLink : TEntryKind::Folder;
        else if (info.isFile())
            entry.Kind = TEntryKind::File;
        entry.Hidden = info.isHidden();
        into.push_back(std::move(entry));
    }
    return true;
}
