// ListEdits: deleting, renaming and rewriting albums and tracks in the lines of the open list.
#include "ListEdits.h"

#include "KsError.h"
#include "OpenList.h"
#include "language.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Replaces the line at index; an index outside the list fails the way a list access does.
void writeLine(QStringList &lines, qint64 index, const QString &text)
{
    if (index < 0 || index >= lines.size())
        throw KsError::indexOutOfBounds(index);
    lines[index] = text;
}

} // namespace

QString ListEdits::AlbumKeyLine(const QString &title)
{
    return u"album: "_s + language::Trim(title);
}

QString ListEdits::TrackKeyLine(const QString &title)
{
    return u"track: "_s + language::Trim(title);
}

qsizetype ListEdits::AlbumBlockLength(qint32 trackCount)
{
    return 8 + 4 * qsizetype(std::max<qint32>(trackCount, 0));
}

QString ListEdits::DamagedAlbumMessage()
{
    return u"Не могу удалить альбом: его строки в списке повреждены (число композиций не совпадает с блоком альбома)."_s;
}

QString ListEdits::DamagedTrackMessage()
{
    return u"Не могу удалить композицию: строки её альбома в списке повреждены."_s;
}

bool ListEdits::IsWholeAlbumBlock(const QStringList &lines, const TAlbum &album)
{
    const qint64 first = qint64(album.LineIndex) - 2;
    const qint64 last = first + AlbumBlockLength(album.TrackCount) - 1;
    if (album.LineIndex < 0 || first < 0 || last >= lines.size())
        return false;
    const auto isEnd = [](const QString &line) { return language::Trim(line) == "--endofalbum"_L1; };
    if (lines.at(first) != "-newalbum"_L1 || !isEnd(lines.at(last)))
        return false;
    for (qint64 j = first + 1; j < last; ++j)
        if (lines.at(j) == "-newalbum"_L1 || isEnd(lines.at(j)))
            return false;
    return true;
}

bool ListEdits::DeleteAlbum(QStringList &lines, const TAlbum &album)
{
    if (!IsWholeAlbumBlock(lines, album))
        return false;
    const qint64 first = qint64(album.LineIndex) - 2;
    lines.remove(first, AlbumBlockLength(album.TrackCount));
    return true;
}

bool ListEdits::DeleteTrack(QStringList &lines, TAlbum &album, const TTrack &track)
{
    const qint64 firstTrack = qint64(album.LineIndex) + 5;
    const qint64 t = track.LineIndex;
    if (!IsWholeAlbumBlock(lines, album) || t < firstTrack || (t - firstTrack) % 4 != 0
        || t >= firstTrack + 4 * qint64(album.TrackCount))
        return false;
    lines.remove(t, 4);
    album.TrackCount -= 1;
    lines[album.LineIndex + 3] = u"nt: "_s + QString::number(album.TrackCount);
    return true;
}

namespace {
// The rename of one line found in its own block: only when it is the old key line.
int renameOwnLine(QStringList &lines, qint32 line, const QString &oldLine, const QString &newLine)
{
    if (line < 0 || line >= lines.size() || lines.at(line) != oldLine)
        return 0;
    lines[line] = newLine;
    return 1;
}
} // namespace

int ListEdits::RenameAlbum(QStringList &lines, const QString &oldTitle, const QString &newTitle,
                           std::optional<qint32> ownLine)
{
    const QString oldLine = u"album: "_s + oldTitle;
    const QString newLine = u"album: "_s + newTitle;
    if (ownLine)
        return renameOwnLine(lines, *ownLine, oldLine, newLine);
    int changed = 0;
    for (QString &line : lines) {
        if (line == oldLine) {
            line = newLine;
            ++changed;
        }
    }
    return changed;
}

int ListEdits::RenameTrack(QStringList &lines, const TAlbum &album, const QString &oldTitle, const QString &newTitle,
                           std::optional<qint32> ownLine)
{
    const QString albumLine = u"album: "_s + album.Title;
    const QString oldLine = u"track: "_s + oldTitle;
    const QString newLine = u"track: "_s + newTitle;
    if (ownLine)
        return renameOwnLine(lines, *ownLine, oldLine, newLine);
    const qint64 span = 4 + 4 * qint64(album.TrackCount);

    QList<qsizetype> albums;
    for (qsizetype k = lines.size() - 1; k >= 0; --k)
        if (lines.at(k) == albumLine)
            albums.append(k);
    // The last album's range reaches furthest; check it before anything changes.
    if (!albums.isEmpty() && albums.first() + span >= lines.size())
        throw KsError::indexOutOfBounds(lines.size());

    int changed = 0;
    for (const qsizetype k : albums) {
        for (qint64 j = k; j <= k + span; ++j) {
            if (lines.at(j) == oldLine) {
                lines[j] = newLine;
                ++changed;
            }
        }
    }
    return changed;
}

bool ListEdits::WriteAlbumProperties(QStringList &lines, const QString &keyLine, const TAlbumFields &fields,
                                     qint32 albumLine)
{
    const qsizetype found = albumLine >= 0 ? (albumLine < lines.size() && lines.at(albumLine) == keyLine ? albumLine : -1)
                                           : lines.indexOf(keyLine, 1);
    if (found < 0)
        return false;
    const qint64 a = found;
    // The lines of an unchanged path are kept, yet they too must lie inside the list.
    if (a + 4 >= lines.size())
        throw KsError::indexOutOfBounds(a + 4);
    writeLine(lines, a, u"album: "_s + fields.Name);
    writeLine(lines, a - 1, u"author: "_s + fields.Author);
    writeLine(lines, a + 1, u"url: "_s + fields.Url);
    if (fields.DescriptionFile)
        writeLine(lines, a + 2, u"discriptionfile: "_s + *fields.DescriptionFile);
    if (fields.Image)
        writeLine(lines, a + 4, u"image: "_s + *fields.Image);
    return true;
}

bool ListEdits::WriteTrackProperties(QStringList &lines, qint32 trackLine, const TTrackFields &fields)
{
    if (trackLine < 0)
        return false;
    const qint64 t = trackLine;
    if (t + 3 >= lines.size())
        throw KsError::indexOutOfBounds(t + 3);
    writeLine(lines, t, u"track: "_s + fields.Title);
    writeLine(lines, t + 1, u"size: "_s + fields.Size);
    if (fields.DescriptionFile)
        writeLine(lines, t + 3, u"dfile: "_s + *fields.DescriptionFile);
    return true;
}

QStringList ListEdits::AppendAlbums(const QStringList &lines, const QStringList &albums)
{
    const qsizetype at = TOpenList::SettingsLineName(lines).isEmpty() ? lines.size() : lines.size() - 1;
    return lines.mid(0, at) + albums + lines.mid(at);
}
