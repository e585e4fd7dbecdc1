// DirectoryScan on POSIX: readdir with the entry types the file system gives, and a stat only for links
// and for file systems that give no type. Names are bytes; those that are not UTF-8 are marked.
#include "DirectoryScan.h"

#include <QByteArrayView>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

struct TDirectoryScan::TImpl
{
    DIR *dir = nullptr;
};

namespace {

TEntryKind kindOfMode(mode_t mode)
{
    return S_ISREG(mode) ? TEntryKind::File : S_ISDIR(mode) ? TEntryKind::Folder : TEntryKind::Other;
}

TEntryKind kindOf(DIR *dir, const dirent *e)
{
    switch (e->d_type) {
    case DT_REG:
        return TEntryKind::File;
    case DT_DIR:
        return TEntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        break;
    default:
        return TEntryKind::Other;
    }
    struct stat st;
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return TEntryKind::Other;
    if (!S_ISLNK(st.st_mode))
        return kindOfMode(st.st_mode);
    // A link: what it leads to, a folder kept apart; a broken one is Other.
    if (::fstatat(::dirfd(dir), e->d_name, &st, 0) != 0)
        return TEntryKind::Other;
    const TEntryKind target = kindOfMode(st.st_mode);
    return target == TEntryKind::Folder ? TEntryKind::FolderLink : target;
}

} // namespace

TDirectoryScan::TDirectoryScan(const QString &folder) : d(new TImpl)
{
    d->dir = ::opendir(QFile::encodeName(folder).constData());
}

TDirectoryScan::~TDirectoryScan()
{
    if (d->dir)
        ::closedir(d->dir);
}

bool TDirectoryScan::Next(std::vector<TScanEntry> &into, int max, bool foldersOnly)
{
    if (!d->dir)
        return false;
    for (int n = 0; n < max; ++n) {
        const dirent *e = ::readdir(d->dir);
        if (!e) {
            ::closedir(d->dir);
            d->dir = nullptr;
            return false;
        }
        const QByteArrayView bytes(e->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        const TEntryKind kind = kindOf(d->dir, e);
        if (foldersOnly && kind != TEntryKind::Folder && kind != TEntryKind::FolderLink)
            continue;
        TScanEntry entry;
        // Invalid bytes become U+FFFD, as in the names Qt gives.
        entry.Name = QString::fromUtf8(bytes);
        entry.Undecodable = !bytes.isValidUtf8();
        entry.Kind = kind;
        entry.Hidden = bytes.startsWith('.');
        into.push_back(std::move(entry));
    }
    return true;
}
