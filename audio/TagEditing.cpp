// TagEditing: reading and writing the editor's fields, the names-to-title-and-number rule, and the
// checks that keep a write from changing or cutting text.
#include "TagEditing.h"

#include "AudioInfo.h"
#include "KsError.h"
#include "TextCodec.h"
#include "language.h"

#include <QRegularExpression>
#include <limits>

using namespace Qt::StringLiterals;

namespace TagEditing {

namespace {

// The characters of text that code page 1251 lacks, each once, followed by their codes (an invisible
// character must still be found).
QString unfitCharacters(const QString &text)
{
    if (TextCodec::fits1251(text))
        return {};
    QString characters;
    QStringList codes;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (TextCodec::fits1251(one) || characters.contains(one))
            continue;
        characters += one;
        codes << u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0')).toUpper();
    }
    return u"«"_s + characters + u"» ("_s + codes.join(u' ') + u')';
}

QString cannotHold(const QString &what, const QString &characters)
{
    return what + u": символы "_s + characters + u" нельзя записать в тег ID3v1, в кодовой странице 1251 их нет."_s;
}

// The first refusal of the text fields, without the closing sentence.
QString fieldRefusal(const TTagFields &f)
{
    const int commentWidth = TrackNumber(f.Track) == 0 ? TextWidth : CommentWidth;
    const struct
    {
        const char16_t *caption;
        const QString &text;
        int width;
    } fields[] = { { u"Название", f.Title, TextWidth }, { u"Автор", f.Artist, TextWidth },
                   { u"Год", f.Year, YearWidth },       { u"Альбом", f.Album, TextWidth },
                   { u"Комментарий", f.Comment, commentWidth } };
    for (const auto &field : fields) {
        const QString what = u"Поле «"_s + QString::fromUtf16(field.caption) + u'»';
        const QString unfit = unfitCharacters(field.text);
        if (!unfit.isEmpty())
            return cannotHold(what, unfit);
        if (field.text.size() > field.width) {
            const QString text = what + u" вмещает не больше %1 символов"_s.arg(field.width);
            return field.width == CommentWidth ? text + u" рядом с номером (без номера %1)."_s.arg(TextWidth)
                                               : text + u'.';
        }
    }
    return {};
}

// The fields written to the file at position k of a folder: title and track from its name.
TTagFields folderFields(const TFolderFile &file, int k, const TTagFields &fields)
{
    TTagFields own = fields;
    const TTagFields fromName = FromFileName(file.Name, k);
    own.Track = fromName.Track;
    own.Title = fromName.Title.left(TextWidth);
    return own;
}

// Why a folder-wide write cannot go ahead, without the closing sentence.
QString folderRefusal(const QList<TFolderFile> &files, const TTagFields &fields)
{
    for (int k = 0; k < files.size(); ++k) {
        const TTagFields own = folderFields(files.at(k), k, fields);
        const QString unfit = unfitCharacters(own.Title);
        if (!unfit.isEmpty())
            return cannotHold(u"Название из имени файла «"_s + files.at(k).Name + u'»', unfit);
        if (QString refusal = fieldRefusal(own); !refusal.isEmpty())
            return refusal;
    }
    return {};
}

// Writes fields that fit as the file's tag.
void writeTag(const QString &path, const TTagFields &fields)
{
    TAudioInfo info;
    info.Tag.ReadFromFile(path);
    const int genre = info.Tag.Exists ? info.Tag.Genre : NoGenre;

    TID3v1Tag &tag = info.Tag;
    tag = TID3v1Tag();
    tag.Genre = genre;
    tag.SetTextField(TID3v1Tag::FieldTitle, fields.Title);
    tag.SetTextField(TID3v1Tag::FieldArtist, fields.Artist);
    tag.SetTextField(TID3v1Tag::FieldYear, fields.Year);
    tag.SetTextField(TID3v1Tag::FieldAlbum, fields.Album);
    const int track = TrackNumber(fields.Track);
    tag.SetTrack(track);
    // Without a track number the comment keeps all its room, as a tag without a track byte has it.
    tag.NoTrack = track == 0 && fields.Comment.size() > CommentWidth;
    tag.SetTextField(TID3v1Tag::FieldComment, fields.Comment);
    tag.SaveToFile(path);
}

} // namespace

QString FileMask()
{
    return u"*.mp3"_s;
}

QString LoadRefusal(const QString &fileName)
{
    // The file list matches its mask the same way, ignoring case.
    static const QRegularExpression mask(QRegularExpression::wildcardToRegularExpression(FileMask()),
                                         QRegularExpression::CaseInsensitiveOption);
    if (mask.match(fileName).hasMatch())
        return {};
    return u"«"_s + fileName + u"» не файл MP3: редактор ID3 тегов открывает только файлы "_s + FileMask() + u'.';
}

TTagFields LoadFields(const QString &path)
{
    TAudioInfo info;
    try {
        info.Tag.ReadFromFile(path);
    } catch (const KsError &) {
        // Looking at a file that cannot be read shows an empty tag; writing it reports the failure.
        info.Tag.Exists = false;
    }
    if (!info.Tag.Exists)
        return { QString(), QString(), QString(), QString(), u"0"_s, QString() };
    const TID3v1Tag &t = info.Tag;
    return { t.Title, t.Artist, t.Year, t.Album, QString::number(t.Track), t.Comment };
}

int TrackNumber(const QString &text)
{
    try {
        return language::StrToInt(text);
    } catch (const KsError &) {
        return 99;
    }
}

QString ApplyTagToFile(const QString &path, const TTagFields &fields)
{
    if (const QString refusal = fieldRefusal(fields); !refusal.isEmpty())
        return refusal + u" Ничего не записано."_s;
    writeTag(path, fields);
    return {};
}

TTagFields FromFileName(const QString &fileName, int position)
{
    const QString name = language::RemoveFirstIgnoringCase(fileName, u".mp3"_s);
    TTagFields fields;

    qsizetype digits = 0;
    qint64 value = 0;
    while (digits < name.size() && name.at(digits) >= u'0' && name.at(digits) <= u'9') {
        value = qMin<qint64>(value * 10 + (name.at(digits).unicode() - u'0'), qint64(1) << 40);
        ++digits;
    }
    const bool fits = digits > 0 && value <= std::numeric_limits<qint32>::max();
    fields.Track = fits ? name.left(digits) : QString::number(position + 1);

    // The first letter keeps its place: the search for it starts at the first character.
    qsizetype letter = 0;
    while (letter < name.size() && name.at(letter).unicode() < 0x61)
        ++letter;
    QString title = name;
    if (letter < name.size()) {
        for (qsizetype i = 0; i + 1 < letter; ++i)
            if (title.at(i).unicode() < 0x61)
                title[i] = u' ';
    }
    fields.Title = language::Trim(title);
    return fields;
}

QString ApplyTagToFolder(const QList<TFolderFile> &files, const TTagFields &fields,
                         const std::function<void(const TTagFields &)> &shown)
{
    if (const QString refusal = folderRefusal(files, fields); !refusal.isEmpty())
        return refusal + u" Ни один файл не изменён."_s;
    for (int k = 0; k < files.size(); ++k) {
        const TTagFields own = folderFields(files.at(k), k, fields);
        if (shown)
            shown(own);
        writeTag(files.at(k).Path, own);
    }
    return {};
}

void RemoveTagFromFolder(const QList<TFolderFile> &files)
{
    for (const TFolderFile &f : files) {
        TAudioInfo info;
        info.Tag.RemoveFromFile(f.Path);
    }
}

} // namespace TagEditing
