// TagEditing: reading and writing the editor's fields, the names-to-title-and-number rule, and the
// checks that keep a write from changing or cutting text.
#include "TagEditing.h"

#include "AudioInfo.h"
#include "ID3v2Tags.h"
#include "KsError.h"
#include "SafeSave.h"
#include "TextCodec.h"
#include "language.h"

#include <QFile>
#include <QFileInfo>
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

// The fields written to the file at position k of a folder: title and track from its name, the title
// cut to what ID3v1 holds unless an ID3v2 tag takes it whole.
TTagFields folderFields(const TFolderFile &file, int k, const TTagFields &fields, bool id3v2)
{
    TTagFields own = fields;
    const TTagFields fromName = FromFileName(file.Name, k);
    own.Track = fromName.Track;
    own.Title = id3v2 ? fromName.Title : fromName.Title.left(TextWidth);
    return own;
}

// The file's ID3v2 tag that the editor writes; none also when the file cannot be read, which its
// write then reports.
ID3v2Tags::THeader editableTag(const QString &path)
{
    try {
        const ID3v2Tags::THeader header = ID3v2Tags::ReadHeader(path);
        return header.Editable() ? header : ID3v2Tags::THeader();
    } catch (const KsError &) {
        return {};
    }
}

// Why a folder-wide write cannot go ahead, without the closing sentence: a file without an ID3v2 tag
// whose fields ID3v1 cannot hold. tagged tells for each file whether it has an ID3v2 tag.
QString folderRefusal(const QList<TFolderFile> &files, const TTagFields &fields, const QList<bool> &tagged)
{
    for (int k = 0; k < files.size(); ++k) {
        if (tagged.at(k))
            continue;
        const TTagFields own = folderFields(files.at(k), k, fields, false);
        const QString unfit = unfitCharacters(own.Title);
        if (!unfit.isEmpty())
            return cannotHold(u"Название из имени файла «"_s + files.at(k).Name + u'»', unfit);
        if (QString refusal = fieldRefusal(own); !refusal.isEmpty())
            return u"Файл «"_s + files.at(k).Name + u"» (тега ID3v2 в нём нет): "_s + refusal;
    }
    return {};
}

// The character itself where code page 1251 has it, else its letters without their marks ("ö" gives
// "o") where the code page has those, else "?".
QString nearest1251(const QString &text)
{
    if (TextCodec::fits1251(text))
        return text;
    QString nearest;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (TextCodec::fits1251(one)) {
            nearest += one;
            continue;
        }
        QString base;
        for (const QChar part : one.normalized(QString::NormalizationForm_KD))
            if (part.category() != QChar::Mark_NonSpacing)
                base += part;
        nearest += !base.isEmpty() && TextCodec::fits1251(base) ? base : u"?"_s;
    }
    return nearest;
}

// What the ID3v1 tag of a file with an ID3v2 tag gets: each text as near as code page 1251 holds it.
// told lists each field that differs from what was typed, with what ID3v1 holds; unfit the characters.
TTagFields id3v1Fields(const TTagFields &f, QStringList *told, QString *unfit)
{
    TTagFields nearest = f;
    const int commentWidth = TrackNumber(f.Track) == 0 ? TextWidth : CommentWidth;
    const struct
    {
        const char16_t *caption;
        QString TTagFields::*field;
        int width;
    } fields[] = { { u"Название", &TTagFields::Title, TextWidth }, { u"Автор", &TTagFields::Artist, TextWidth },
                   { u"Год", &TTagFields::Year, YearWidth },       { u"Альбом", &TTagFields::Album, TextWidth },
                   { u"Комментарий", &TTagFields::Comment, commentWidth } };
    QString all;
    for (const auto &field : fields) {
        const QString &typed = f.*field.field;
        if (TextCodec::fits1251(typed))
            continue;
        nearest.*field.field = nearest1251(typed);
        all += typed;
        *told << u"«"_s + QString::fromUtf16(field.caption) + u"» — «"_s + (nearest.*field.field).left(field.width) + u'»';
    }
    *unfit = unfitCharacters(all);
    return nearest;
}

// What the ID3v2 tag gets: the fields as typed; the track as typed when it is a number (or "n/m") or
// is the tag's own text, the number ID3v1 gets otherwise, and no frame for number 0.
TTagFields id3v2Fields(const TTagFields &f, const TTagFields &present)
{
    static const QRegularExpression numbered(u"^[0-9]+(/[0-9]+)?$"_s);
    TTagFields v2 = f;
    const int number = TrackNumber(f.Track);
    if (f.Track != present.Track)
        v2.Track = number == 0 ? QString() : numbered.match(f.Track.trimmed()).hasMatch() ? f.Track.trimmed()
                                                                                        : QString::number(number);
    return v2;
}

// The ID3v1 tag of fields that fit, with a genre byte.
TID3v1Tag id3v1Tag(const TTagFields &fields, int genre)
{
    TID3v1Tag tag;
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
    return tag;
}

// Writes fields that fit as the file's ID3v1 tag, in place; the genre of its tag is kept.
void writeTag(const QString &path, const TTagFields &fields)
{
    TAudioInfo info;
    info.Tag.ReadFromFile(path);
    id3v1Tag(fields, info.Tag.Exists ? info.Tag.Genre : NoGenre).SaveToFile(path);
}

// The first count bytes of a file, or all of them.
QByteArray readBytes(const QString &path, qint64 count = -1)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw KsError::cannotOpen(path);
    const qint64 size = count < 0 ? file.size() : qMin(count, file.size());
    const QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        throw KsError(u"Stream read error"_s);
    return bytes;
}

// What a write into both tags did: a refusal (nothing written), or the fields whose text ID3v1 holds
// otherwise than typed, with the characters it lacks.
struct TWritten
{
    QString Refusal;
    QStringList Told;
    QString Unfit;
};

// Writes fields into both tags of a file that opens with an ID3v2 tag: the new file is its new ID3v2
// tag, the bytes that followed the old one as they were, and its ID3v1 tag replaced or appended. A safe
// save replaces the file, whole or not at all.
TWritten writeBothTags(const QString &path, const TTagFields &fields)
{
    const QByteArray bytes = readBytes(path);
    const ID3v2Tags::THeader header = ID3v2Tags::ParseHeader(bytes);
    if (!header.Editable() || header.Size > bytes.size())
        throw KsError(u"Stream read error"_s); // the file changed since its tag was found
    const QByteArray oldTag = bytes.left(header.Size);
    const ID3v2Tags::TRebuilt rebuilt =
        ID3v2Tags::Rebuild(oldTag, id3v2Fields(fields, ID3v2Tags::ReadFields(oldTag)));
    if (!rebuilt.Refusal.isEmpty())
        return { rebuilt.Refusal, {}, {} };

    TWritten written;
    const TTagFields v1 = id3v1Fields(fields, &written.Told, &written.Unfit);
    if (rebuilt.Tag.isEmpty()) {
        // The ID3v2 tag stays byte for byte: only the ID3v1 tag changes, as in a file without ID3v2.
        writeTag(path, v1);
        return written;
    }
    TID3v1Tag old;
    const qint64 end = bytes.size() - TID3v1Tag::Size;
    if (end >= header.Size)
        old.ReadFromBuffer(bytes.constData() + end, TID3v1Tag::Size);
    char image[TID3v1Tag::Size];
    id3v1Tag(v1, old.Exists ? old.Genre : NoGenre).SaveToBuffer(image, TID3v1Tag::Size);
    QByteArray file;
    file.reserve(rebuilt.Tag.size() + bytes.size() - header.Size + TID3v1Tag::Size);
    file += rebuilt.Tag;
    file += QByteArrayView(bytes).sliced(header.Size, (old.Exists ? end : bytes.size()) - header.Size);
    file += QByteArrayView(image, TID3v1Tag::Size);
    if (!SafeSave::WriteFile(path, file))
        throw KsError::cannotCreate(path);
    return written;
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
    TTagFields fields{ QString(), QString(), QString(), QString(), u"0"_s, QString() };
    TTagFields v2;
    try {
        info.Tag.ReadFromFile(path);
        if (const ID3v2Tags::THeader header = editableTag(path); header.Exists())
            v2 = ID3v2Tags::ReadFields(readBytes(path, header.Size));
    } catch (const KsError &) {
        // Looking at a file that cannot be read shows an empty tag; writing it reports the failure.
        info.Tag.Exists = false;
    }
    if (info.Tag.Exists) {
        const TID3v1Tag &t = info.Tag;
        fields = { t.Title, t.Artist, t.Year, t.Album, QString::number(t.Track), t.Comment };
    }
    // An ID3v2 field is what players show, in full; ID3v1 fills the fields it lacks.
    for (QString TTagFields::*field : { &TTagFields::Title, &TTagFields::Artist, &TTagFields::Year,
                                        &TTagFields::Album, &TTagFields::Track, &TTagFields::Comment })
        if (!(v2.*field).isEmpty())
            fields.*field = v2.*field;
    return fields;
}

int ID3v2Version(const QString &path)
{
    return editableTag(path).Version;
}

int TrackNumber(const QString &text)
{
    // "n/m" (track n of m) is track n.
    static const QRegularExpression ofTotal(u"^ *([0-9]+) */ *[0-9]* *$"_s);
    if (const QRegularExpressionMatch m = ofTotal.match(text); m.hasMatch())
        return TrackNumber(m.captured(1));
    try {
        return language::StrToInt(text);
    } catch (const KsError &) {
        return 99;
    }
}

QString ApplyTagToFile(const QString &path, const TTagFields &fields)
{
    if (ID3v2Tags::ReadHeader(path).Editable()) {
        const TWritten written = writeBothTags(path, fields);
        if (!written.Refusal.isEmpty())
            return written.Refusal + u" Ничего не записано."_s;
        if (written.Told.isEmpty())
            return {};
        return u"Поля записаны в тег ID3v2 полностью. В кодовой странице 1251 тега ID3v1 нет символов "_s
            + written.Unfit + u", поэтому в нём записано: "_s + written.Told.join(u"; "_s) + u'.';
    }
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

QString ApplyTagToFolder(const QList<TFolderFile> &files, const TTagFields &fields, const TFolderProgress &progress)
{
    QList<bool> tagged;
    for (const TFolderFile &file : files)
        tagged << editableTag(file.Path).Exists();
    if (const QString refusal = folderRefusal(files, fields, tagged); !refusal.isEmpty())
        return refusal + u" Ни один файл не изменён."_s;
    QString example;
    int approximated = 0;
    for (int k = 0; k < files.size(); ++k) {
        const TTagFields own = folderFields(files.at(k), k, fields, tagged.at(k));
        if (progress && !progress(k, own))
            break;
        if (!tagged.at(k)) {
            writeTag(files.at(k).Path, own);
            continue;
        }
        const TWritten written = writeBothTags(files.at(k).Path, own);
        if (!written.Refusal.isEmpty())
            return u"Файл «"_s + files.at(k).Name + u"»: "_s + written.Refusal
                + u" Он и следующие файлы не изменены, предыдущие изменены."_s;
        if (!written.Told.isEmpty() && approximated++ == 0)
            example = u"«"_s + files.at(k).Name + u"»: "_s + written.Told.join(u"; "_s);
    }
    if (approximated == 0)
        return {};
    return u"Поля записаны в теги ID3v2 полностью. В кодовой странице 1251 тегов ID3v1 нет некоторых символов, "
           u"поэтому у %1 файлов там записан текст без них, например у "_s.arg(approximated) + example + u'.';
}

void RemoveTagFromFolder(const QList<TFolderFile> &files, const std::function<bool(int)> &progress)
{
    for (int k = 0; k < files.size(); ++k) {
        if (progress && !progress(k))
            return;
        TAudioInfo info;
        info.Tag.RemoveFromFile(files.at(k).Path);
    }
}

} // namespace TagEditing
