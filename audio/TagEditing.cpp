// TagEditing: reading and writing the editor's fields, and the names-to-title-and-number rule.
#include "TagEditing.h"

#include "AudioInfo.h"
#include "KsError.h"
#include "language.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace TagEditing {

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

void ApplyTagToFile(const QString &path, const TTagFields &fields)
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
    tag.SetTrack(TrackNumber(fields.Track));
    tag.SetTextField(TID3v1Tag::FieldComment, fields.Comment);
    tag.SaveToFile(path);
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

void ApplyTagToFolder(const QList<TFolderFile> &files, const TTagFields &fields,
                      const std::function<void(const TTagFields &)> &shown)
{
    for (int k = 0; k < files.size(); ++k) {
        TTagFields own = fields;
        const TTagFields fromName = FromFileName(files.at(k).Name, k);
        own.Track = fromName.Track;
        own.Title = fromName.Title;
        if (shown)
            shown(own);
        ApplyTagToFile(files.at(k).Path, own);
    }
}

void RemoveTagFromFolder(const QList<TFolderFile> &files)
{
    for (const TFolderFile &f : files) {
        TAudioInfo info;
        info.Tag.RemoveFromFile(f.Path);
    }
}

} // namespace TagEditing
