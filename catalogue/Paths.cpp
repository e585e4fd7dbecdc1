// Paths: platform-neutral part of the stored-path rules.
#include "Paths.h"

#include "language.h"

#include <QFileInfo>
#include <utility>

#include <algorithm>
#include <vector>

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

void SortNames(QStringList &names)
{
    // The key folds code unit by code unit as the case-insensitive comparison does: a pair's high
    // surrogate stays, its low one becomes that of the folded character.
    const auto keyOf = [](const QString &name) {
        QString key(name.size(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(key.data());
        const char16_t *in = reinterpret_cast<const char16_t *>(name.constData());
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char16_t c = in[i];
            if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(in[i - 1]))
                out[i] = QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(in[i - 1], c)));
            else if (QChar::isSurrogate(c))
                out[i] = c;
            else
                out[i] = char16_t(QChar::toCaseFolded(char32_t(c)));
        }
        return key;
    };
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(std::size_t(names.size()));
    for (QString &name : names)
        keyed.emplace_back(keyOf(name), std::move(name));
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        const int c = a.first.compare(b.first);
        return c != 0 ? c < 0 : a.second < b.second;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[std::size_t(i)].second);
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
