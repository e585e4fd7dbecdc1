// Paths: platform-neutral part of the stored-path rules.
#include "Paths.h"

#include "language.h"

#include <QFileInfo>
#include <utility>

#include <algorithm>

namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

namespace Paths {

QString programFolder()
{
    return overrideFolder().isEmpty() ? executableFolder() : overrideFolder();
}

void setProgramFolder(const QString &folder)
{
    QString f = folder;
    if (!f.isEmpty() && !f.endsWith(separator()) && !f.endsWith(u'/'))
        f += separator();
    overrideFolder() = f;
}

QString resolve(const QString &stored, const QString &folder)
{
    if (language::Trim(stored).isEmpty() || isAbsolute(stored))
        return stored;
    return folder + stored;
}

QString resolve(const QString &stored)
{
    return resolve(stored, programFolder());
}

bool fileExists(const QString &stored)
{
    if (language::Trim(stored).isEmpty())
        return false;
    const QFileInfo info(toFileSystem(stored));
    return info.exists() && !info.isDir();
}

namespace {
// The canonical folder and the name of a path; the name is empty for an existing file, whose canonical
// path is then the folder. Both are empty when not even the folder exists.
std::pair<QString, QString> canonicalPlace(const QString &path)
{
    const QFileInfo info(toFileSystem(path));
    if (info.exists())
        return { info.canonicalFilePath(), QString() };
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return { folder, folder.isEmpty() ? QString() : info.fileName() };
}
} // namespace

bool sameFile(const QString &a, const QString &b)
{
    if (language::Trim(a).isEmpty() || language::Trim(b).isEmpty())
        return false;
    const auto [folderA, nameA] = canonicalPlace(a);
    const auto [folderB, nameB] = canonicalPlace(b);
    return !folderA.isEmpty() && folderA == folderB && nameA.compare(nameB, Qt::CaseInsensitive) == 0;
}

bool NameLess(const QString &a, const QString &b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QString folderOf(const QString &path)
{
    qsizetype i = path.size() - 1;
    while (i >= 0 && path.at(i) != u'\\' && path.at(i) != u'/' && path.at(i) != u':')
        --i;
    return path.left(i + 1);
}

QString fileNameOf(const QString &path)
{
    return path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
}

QString withDefaultExtension(const QString &path, const QString &extension)
{
    return fileNameOf(path).contains(u'.') ? path : path + extension;
}

} // namespace Paths
