// UndecodableNames on POSIX: names are bytes, and Qt lists only those that are valid UTF-8.
#include "UndecodableNames.h"

#include <QFile>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

QList<TUndecodableEntry> UndecodableEntries(const QString &folder)
{
    QList<TUndecodableEntry> entries;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    while (const dirent *e = ::readdir(dir)) {
        // The same decoder as Qt's scan: a name it reads without error is listed there.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString name = utf8(QByteArrayView(e->d_name));
        if (!utf8.hasError())
            continue;
        bool folderEntry = e->d_type == DT_DIR;
        struct stat st;
        if (e->d_type == DT_UNKNOWN && ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            folderEntry = S_ISDIR(st.st_mode);
        entries.append({ std::move(name), folderEntry });
    }
    ::closedir(dir);
    return entries;
}
