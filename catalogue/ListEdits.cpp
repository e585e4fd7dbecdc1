// ListEdits: deleting, renaming and rewriting albums and tracks in the lines of the open list.
#include "ListEdits.h"

#include "KsError.h"
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

void ListEdits::DeleteAlbum(QStringList &lines, const TAlbum &album)
{
    const qint64 first = qint64(album.LineIndex) - 2;
    const qint64 last = first + AlbumBlockLength(album.TrackCount) - 1;
    if (first < 0)
        throw KsError::indexOutOfBounds(first);
    if (last >= lines.size())
        throw KsError::indexOutOfBounds(lines.size());
    // A block whose count does not match its tracks would take lines of the next album with it.
    if (lines.at(first) != "-newalbum"_L1 || lines.at(last) != "--endofalbum"_L1)
        throw KsError(u"The lines of album '%1' are not a complete album block; nothing was deleted"_s.arg(album.Title));
    lines.remove(first, last - first + 1);
}

void ListEdits::DeleteTrack(QStringList &lines, TAlbum &album, const TTrack &track)
{
    const qint64 t = track.LineIndex;
    const qint64 countLine = qint64(album.LineIndex) + 3;
    if (t < 0)
        throw KsError::indexOutOfBounds(t);
    if (t + 3 >= lines.size())
        throw KsError::indexOutOfBounds(lines.size());
    if (countLine < 0 || countLine >= t)
        throw KsError::indexOutOfBounds(countLine);
    lines.remove(t, 4);
    album.TrackCount -= 1;
    lines[countLine] = u"nt: "_s + QString::number(album.TrackCount);
}

int ListEdits::RenameAlbum(QStringList &lines, const QString &oldTitle, const QString &newTitle)
{
    const QString oldLine = u"album: "_s + oldTitle;
    const QString newLine = u"album: "_s + newTitle;
    int changed = 0;
    for (QString &line : lines) {
        if (line == oldLine) {
            line = newLine;
            ++changed;
        }
    }
    return changed;
}

int ListEdits::RenameTrack(QStringList &lines, const TAlbum &album, const QString &oldTitle, const QString &newTitle)
{
    const QString albumLine = u"album: "_s + album.Title;
    const QString oldLine = u"track: "_s + oldTitle;
    const QString newLine = u"track: "_s + newTitle;
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

bool ListEdits::WriteAlbumProperties(QStringList &lines, const QString &keyLine, const TAlbumFields &fields)
{
    const qsizetype found = lines.indexOf(keyLine, 1);
    if (found < 0)
        return false;
    const qint64 a = found;
    writeLine(lines, a, u"album: "_s + fields.Name);
    writeLine(lines, a - 1, u"author: "_s + fields.Author);
    writeLine(lines, a + 1, u"url: "_s + fields.Url);
    writeLine(lines, a + 2, u"discriptionfile: "_s + fields.DescriptionFile);
    writeLine(lines, a + 4, u"image: "_s + fields.Image);
    return true;
}

bool ListEdits::WriteTrackProperties(QStringList &lines, qint32 trackLine, const TTrackFields &fields)
{
    if (trackLine < 0)
        return false;
    const qint64 t = trackLine;
    writeLine(lines, t, u"track: "_s + fields.Title);
    writeLine(lines, t + 1, u"size: "_s + fields.Size);
    writeLine(lines, t + 3, u"dfile: "_s + fields.DescriptionFile);
    return true;
}
