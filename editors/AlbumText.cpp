// AlbumText: the text of album and track blocks composed by the album builder.
#include "AlbumText.h"

#include "AudioInfo.h"
#include "LinesFile.h"
#include "ListEdits.h"
#include "Paths.h"
#include "PlayTime.h"
#include "language.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int NamedLeftOut = 5; // paths named in the message; the count tells the rest

// CR and LF end a list's lines; a text box (QTextDocument) also starts a new paragraph at the
// paragraph separator and at its frame marks, so that these never come back from it as they went in.
bool breaksLine(QChar c)
{
    switch (c.unicode()) {
    case u'\r':
    case u'\n':
    case QChar::ParagraphSeparator:
    case 0xFDD0:
    case 0xFDD1:
        return true;
    default:
        return false;
    }
}

// A path as a message shows it: on one line.
QString oneLine(QString path)
{
    for (QChar &c : path)
        if (breaksLine(c) || c == QChar::LineSeparator)
            c = QChar::ReplacementCharacter;
    return path;
}

} // namespace

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

QString TitleFromFileName(const QString &name, const QString &suffix)
{
    return language::Trim(language::RemoveFirstIgnoringCase(name, suffix));
}

QString TitleFromFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return TitleFromFileName(name, dot < 0 ? QString() : name.mid(dot));
}

bool ListCanHold(const QString &path)
{
    // A stored backslash is read as a separator where the file system has another one.
    return path.isValidUtf16() && Paths::toFileSystem(path) == path
        && std::none_of(path.cbegin(), path.cend(), breaksLine);
}

QString LeftOutMessage(int unreadable, const QStringList &leftOut)
{
    QStringList parts;
    if (unreadable > 0)
        parts << PlayTime::UnreadableMessage(unreadable);
    if (!leftOut.isEmpty()) {
        QString text = u"Пропущено файлов и папок: %1. Их имена нельзя записать в список (перевод строки, "
                       u"обратная косая черта, байты не в UTF-8). Переименуйте их:"_s.arg(leftOut.size());
        for (const QString &path : leftOut.mid(0, NamedLeftOut))
            text += u'\n' + oneLine(path);
        if (leftOut.size() > NamedLeftOut)
            text += u"\n…"_s;
        parts << text;
    }
    return parts.join(u"\n\n"_s);
}

bool TTrackList::Add(const TTrackFields &track)
{
    if (track.File.isEmpty() || track.Title.isEmpty())
        return false;
    m_lines << TrackBlock(track);
    ++m_count;
    return true;
}

TTrackList::TGenerated TTrackList::Generate(const QList<TFoundFile> &files, const QString &duration,
                                            const QString &descriptionFile)
{
    const bool ownTimes = language::Trim(duration).isEmpty();
    TAudioInfo info;
    TGenerated result;
    for (const TFoundFile &f : files) {
        if (!ListCanHold(f.Path)) {
            result.LeftOut << f.Path;
            continue;
        }
        bool readable = true;
        const QString size = ownTimes ? PlayTime::OfAudioFile(info, f.Path, readable) : duration;
        result.Unreadable += readable ? 0 : 1;
        m_lines << TrackBlock({ TitleFromFileName(f.Name), size, f.Path, descriptionFile });
        ++m_count;
    }
    return result;
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

TSaveCheck CheckListSave(const QStringList &lines, const QString &path, bool isOpenListFile)
{
    if (std::all_of(lines.cbegin(), lines.cend(), [](const QString &line) { return language::Trim(line).isEmpty(); }))
        return { u"Нет текста для сохранения."_s, QString() };
    if (isOpenListFile)
        return { QString(), u"«%1» — файл открытого списка. Заменить весь список этим текстом?"_s.arg(path) };
    return {};
}

void SaveAlbumList(const QString &fileName, const QStringList &album, TUndoHistory *history)
{
    LinesFile::writeLines(Paths::toFileSystem(fileName), album, history);
}

bool AppendToListFile(const QString &fileName, const QStringList &album, TUndoHistory *history)
{
    if (!Paths::fileExists(fileName))
        return false;
    const QString path = Paths::toFileSystem(fileName);
    const LinesFile::TLinesText list = LinesFile::readFile(path);
    LinesFile::writeFile(path, ListEdits::AppendAlbums(list.Lines, album), list.Encoding, history);
    return true;
}

} // namespace AlbumText
