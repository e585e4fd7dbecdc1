// SafeSave_unix: a hidden temporary file, fsync, rename over the target, fsync of the folder.
#include "SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
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

} // namespace

bool SafeSave::WriteFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(targetOf(path));
    if (target.isDir())
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

    struct stat old {};
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    bool ok = writeAll(fd, bytes.constData(), bytes.size());
    if (ok && ::stat(targetName.constData(), &old) == 0)
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
    return true;
}
