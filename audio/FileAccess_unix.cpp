// FileAccess on POSIX: open, pread, close.
#include "FileAccess.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace FileAccess {

int OpenRead(const QString &path)
{
    int descriptor;
    do
        descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

std::int64_t ReadAt(int descriptor, std::int64_t offset, void *into, std::int64_t n)
{
    std::int64_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(descriptor, static_cast<char *>(into) + done, size_t(n - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void Close(int descriptor)
{
    ::close(descriptor);
}

} // namespace FileAccess
