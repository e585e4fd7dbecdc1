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

QString ListEdits::BlankTitleMessage()
{
    return u"Название не может быть пустым."_s;
}

QString ListEdits::NoAlbumToRenameMessage()
{
    return u"Не могу переименовать: в списке нет этого альбома."_s;
}

QString ListEdits::DamagedRenameMessage()
{
    return u"Не могу переименовать: строки альбома в списке повреждены."_s;
}

namespace {
// The line at index is one a node of the trimmed title was read from by its key.
bool isNodeLine(const QStringList &lines, qint64 index, const QString &key, const QString &title)
{
    if (index < 0 || index >= lines.size() || !lines.at(index).contains(key))
        return false;
    return language::Trim(language::CutSubstring(lines.at(index), key)) == title;
}
} // namespace

bool ListEdits::RenameAlbum(QStringList &lines, qint64 albumLine, const QString &oldTitle, const QString &newTitle)
{
    if (!isNodeLine(lines, albumLine, u"album:"_s, oldTitle))
        return false;
    lines[albumLine] = u"album: "_s + newTitle;
    return true;
}

bool ListEdits::RenameTrack(QStringList &lines, const TAlbum &album, int trackRow, const QString &oldTitle,
                            const QString &newTitle)
{
    if (album.LineIndex < 0)
        return false;
    if (album.LineIndex + AlbumBlockLength(album.TrackCount) - 4 >= lines.size())
        throw KsError::indexOutOfBounds(lines.size());
    // As for a deletion: a line found elsewhere (a damaged copy, a position that is not a track's)
    // is not the node's, and changing it would bring the old title back at the next load.
    const qint64 t = qint64(album.LineIndex) + 5 + 4 * qint64(trackRow);
    if (!IsWholeAlbumBlock(lines, album) || trackRow < 0 || trackRow >= album.TrackCount
        || !isNodeLine(lines, t, u"track:"_s, oldTitle))
        return false;
    lines[t] = u"track: "_s + newTitle;
    return true;
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
