// SafeSave_unix: a hidden temporary file, fsync, rename over the target, fsync of the folder.
#include "SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// The file that is really replaced: a link's target, so that the link stays a link.
QString targetOf(const QString &path)
{
    QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// The temporary files of saves of this target are "." + name + "." + a base-36 number + ".tmp".
bool isTemporaryOf(const char *entry, const QByteArray &name)
{
    const size_t length = strlen(entry);
    const size_t prefix = size_t(name.size()) + 2;
    if (length < prefix + 5 || entry[0] != '.' || memcmp(entry + 1, name.constData(), size_t(name.size())) != 0
        || entry[prefix - 1] != '.' || strcmp(entry + length - 4, ".tmp") != 0)
        return false;
    for (size_t i = prefix; i < length - 4; ++i)
        if (!((entry[i] >= '0' && entry[i] <= '9') || (entry[i] >= 'a' && entry[i] <= 'z')))
            return false;
    return length - 4 - prefix <= 7; // 32 bits take at most seven base-36 digits
}

// Removes the temporary files that killed saves of this target left in its folder. Only our own
// regular files untouched for a while go: a fresh one may belong to a save still running elsewhere.
void removeStaleTemporaries(const QByteArray &folder, const QByteArray &name)
{
    constexpr time_t StaleAfter = 10 * 60;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid() && now - info.st_mtime > StaleAfter)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

bool SafeSave::WriteFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(targetOf(path));
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    // Only a regular file is replaced, and only when the user may write it: the rename needs no
    // permission on the file itself and would pass over its write protection.
    if (exists && (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, targetName.constData(), W_OK, AT_EACCESS) != 0))
        return false;
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    // A dot name keeps the unfinished file out of the user's sight if the program dies mid-save;
    // the name part is cut so that the temporary name stays within the file system's limit.
    const QByteArray name = QFile::encodeName(target.fileName()).left(200);

    int fd = -1;
    QByteArray temp;
    for (int attempt = 0; attempt < 64 && fd < 0; ++attempt) {
        temp = folder + "/." + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    bool ok = writeAll(fd, bytes.constData(), bytes.size());
    if (ok && exists)
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    // The rename reaches the disk with the folder; a folder that cannot be synced has still been written.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    removeStaleTemporaries(folder, name);
    return true;
}

bool SafeSave::RemoveFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)
        || ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0 || ::unlink(name.constData()) != 0)
        return false;
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
