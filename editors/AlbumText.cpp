// AlbumText: the text of album and track blocks composed by the album builder.
#include "AlbumText.h"

#include "AudioInfo.h"
#include "LinesFile.h"
#include "Paths.h"
#include "PlayTime.h"
#include "language.h"

using namespace Qt::StringLiterals;

namespace AlbumText {

QString DescriptionFilter()
{
    return u"HTML|*.htm|TXT|*.txt"_s;
}

QString ImageFilter()
{
    return u"Изображения BMP|*.bmp|Изображения JPG|*.jpg|Изображения GIF|*.gif|"
           u"Все поддерживаемые форматы|*.bmp;*.jpg;*.gif;*.png"_s;
}

QString ListFilter()
{
    return u"Список|*.lst"_s;
}

QString DescriptionExtension(int filterIndex)
{
    return filterIndex == 0 ? u".htm"_s : u".txt"_s;
}

QString ImageExtension(int filterIndex)
{
    return filterIndex == 0 ? u".bmp"_s : u".jpg"_s;
}

QStringList TrackBlock(const TTrackFields &track)
{
    return { u"track: "_s + track.Title, u"size: "_s + track.Duration, u"file: "_s + track.File,
             u"dfile: "_s + track.DescriptionFile };
}

QString TitleFromFileName(const QString &name)
{
    return language::Trim(language::CutSubstring(name, u".mp3"_s));
}

bool TTrackList::Add(const TTrackFields &track)
{
    if (track.File.isEmpty() || track.Title.isEmpty())
        return false;
    m_lines << TrackBlock(track);
    ++m_count;
    return true;
}

int TTrackList::Generate(const QList<TFoundFile> &files, const QString &duration, const QString &descriptionFile)
{
    const bool ownTimes = language::Trim(duration).isEmpty();
    TAudioInfo info;
    int unreadable = 0;
    for (const TFoundFile &f : files) {
        bool readable = true;
        const QString size = ownTimes ? PlayTime::OfFile(info, f.Path, readable) : duration;
        unreadable += readable ? 0 : 1;
        m_lines << TrackBlock({ TitleFromFileName(f.Name), size, f.Path, descriptionFile });
        ++m_count;
    }
    return unreadable;
}

void TTrackList::Clear()
{
    m_lines.clear();
    m_count = 0;
}

TComposition ComposeAlbum(const TAlbumFields &album, const TTrackList &tracks)
{
    if (language::Trim(album.Name).isEmpty())
        return { u"Введите название альбома."_s, {} };
    if (tracks.Count() == 0)
        return { u"Альбом должен содержать хотя бы один звуковой файл."_s, {} };
    QStringList lines{ u"-newalbum"_s,
                       u"author: "_s + album.Author,
                       u"album: "_s + album.Name,
                       u"url: "_s + album.Url,
                       u"discriptionfile: "_s + album.DescriptionFile,
                       u"nt: "_s + QString::number(tracks.Count()),
                       u"image: "_s + album.Image };
    lines << tracks.Lines() << u"--endofalbum"_s;
    return { QString(), lines };
}

QString ListFilePath(const QString &chosen)
{
    if (language::Trim(chosen).isEmpty())
        return QString();
    return Paths::withDefaultExtension(chosen, u".lst"_s);
}

void SaveAlbumList(const QString &fileName, const QStringList &album)
{
    LinesFile::writeLines(Paths::toFileSystem(fileName), album);
}

bool AppendToListFile(const QString &fileName, const QStringList &album)
{
    if (!Paths::fileExists(fileName))
        return false;
    const QString path = Paths::toFileSystem(fileName);
    const LinesFile::TLinesText list = LinesFile::readFile(path);
    LinesFile::writeFile(path, list.Lines + album, list.Encoding);
    return true;
}

} // namespace AlbumText
