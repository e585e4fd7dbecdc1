// M3uExport: the playlist lines of a list's album blocks, and their write.
#include "M3uExport.h"

#include "KsError.h"
#include "LinesFile.h"
#include "Paths.h"
#include "SafeSave.h"
#include "language.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

using LinesFile::lineAt;
using LinesFile::valueAt;

namespace {


bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

namespace M3uExport {

int Seconds(const QString &playTime)
{
    const QStringList parts = language::Trim(playTime).split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return -1;
    qint64 total = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        // The first part counts on; the others are minutes or seconds within their hour or minute.
        if (!allDigits(part) || part.size() > (i == 0 ? 6 : 2) || (i > 0 && part.toInt() > 59))
            return -1;
        total = total * 60 + part.toInt();
    }
    return total > 0 ? int(total) : -1;
}

QString EntryPath(const QString &file, const QString &playlistFolder)
{
    const QString clean = QDir::cleanPath(file);
    if (QDir::isAbsolutePath(clean)) {
        const QString way = QDir(playlistFolder).relativeFilePath(clean);
        if (!way.isEmpty() && !QDir::isAbsolutePath(way) && way != ".."_L1 && !way.startsWith("../"_L1))
            return QDir::toNativeSeparators(way);
    }
    return QDir::toNativeSeparators(clean);
}

TPlaylist PlaylistLines(const QStringList &listLines, const QString &playlistPath, const QString &programFolder,
                        int albumRow)
{
    TPlaylist playlist;
    playlist.Lines << u"#EXTM3U"_s;
    const QString folder = QFileInfo(Paths::toFileSystem(playlistPath)).absolutePath();
    const QString newAlbum = u"-newalbum"_s;
    const qsizetype n = listLines.size();
    int row = -1;
    qint64 tracks = 0;
    for (qsizetype i = 0; i + 2 < n; ++i) {
        if (listLines.at(i) != newAlbum)
            continue;
        ++row;
        if (albumRow >= 0 && row != albumRow)
            continue;
        const QString author = valueAt(listLines, i + 1, u"author:"_s);
        const qint32 count = language::StrToInt(language::CutSubstring(lineAt(listLines, i + 5), u"nt:"_s));
        // As in the loader: overlapping albums would give more tracks than the list has lines.
        tracks += std::min<qint64>(std::max<qint32>(count, 0), std::max<qint64>(0, (n - i - 4) / 4));
        if (tracks > n)
            throw KsError::damagedList(i);
        for (qint64 k = 0; k < count; ++k) {
            const qint64 t = i + 7 + 4 * k;
            const QString title = valueAt(listLines, t, u"track:"_s);
            const QString size = valueAt(listLines, t + 1, u"size:"_s);
            const QString file = valueAt(listLines, t + 2, u"file:"_s);
            if (file.isEmpty()) {
                ++playlist.WithoutFile;
                continue;
            }
            const QString name = author.isEmpty() ? title : author + u" - "_s + title;
            playlist.Lines << u"#EXTINF:%1,%2"_s.arg(Seconds(size)).arg(name)
                           << EntryPath(Paths::toFileSystem(Paths::resolve(file, programFolder)), folder);
            ++playlist.Tracks;
        }
    }
    return playlist;
}

TPlaylist WritePlaylist(const QString &path, const QStringList &listLines, const QString &programFolder, int albumRow)
{
    const TPlaylist playlist = PlaylistLines(listLines, path, programFolder, albumRow);
    if (!SafeSave::WriteFile(Paths::toFileSystem(path), LinesFile::joinLines(playlist.Lines).toUtf8()))
        throw KsError::cannotCreate(path);
    return playlist;
}

QString LeftOutMessage(const TPlaylist &playlist)
{
    if (playlist.Tracks == 0)
        return u"В плейлисте нет ни одной дорожки: в списке нет дорожек с файлом."_s;
    if (playlist.WithoutFile == 0)
        return QString();
    return u"В плейлист записано дорожек: %1. Пропущено дорожек без файла: %2."_s.arg(playlist.Tracks)
        .arg(playlist.WithoutFile);
}

} // namespace M3uExport
