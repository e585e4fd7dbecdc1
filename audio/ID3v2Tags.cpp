// ID3v2Tags: the tag header read by hand; the frames read, replaced and rendered by TagLib, and the
// rendered tag read back before anyone writes it.
#include "ID3v2Tags.h"

#include "KsError.h"

#include <QFile>
#include <QFileInfo>

#include <commentsframe.h>
#include <id3v2frame.h>
#include <id3v2header.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <tbytevectorstream.h>
#include <textidentificationframe.h>

#include <vector>

using namespace Qt::StringLiterals;
using TagLib::ID3v2::Frame;

namespace ID3v2Tags {

namespace {

enum Field { Title, Artist, Album, Year, Track, Comment, FieldCount };

// The frame of each field, in Field order.
const char *const FrameIds[FieldCount] = { "TIT2", "TPE1", "TALB", "TDRC", "TRCK", "COMM" };
const char16_t *const Captions[FieldCount] = { u"Название", u"Автор", u"Альбом", u"Год", u"Номер", u"Комментарий" };
// Frames of ID3v2.3 that TagLib folds into or makes from the recording time: they belong to the year.
const QStringList DateParts = { u"TYER"_s, u"TDAT"_s, u"TIME"_s, u"TRDA"_s };

QString &fieldOf(TagEditing::TTagFields &f, int field)
{
    QString *members[FieldCount] = { &f.Title, &f.Artist, &f.Album, &f.Year, &f.Track, &f.Comment };
    return *members[field];
}

const QString &fieldOf(const TagEditing::TTagFields &f, int field)
{
    return fieldOf(const_cast<TagEditing::TTagFields &>(f), field);
}

TagLib::String toTagLib(const QString &text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

QString fromTagLib(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

QString idOf(const Frame *frame)
{
    const TagLib::ByteVector id = frame->frameID();
    return QString::fromLatin1(id.data(), id.size());
}

// A tag image as TagLib reads it; the file object owns the tag.
class TParsed
{
public:
    explicit TParsed(const QByteArray &image)
        : m_stream(TagLib::ByteVector(image.constData(), static_cast<unsigned int>(image.size())))
        , m_file(&m_stream, TagLib::ID3v2::FrameFactory::instance(), false)
    {
    }
    TagLib::ID3v2::Tag *Tag() { return m_file.ID3v2Tag(false); }

private:
    TagLib::ByteVectorStream m_stream;
    TagLib::MPEG::File m_file;
};

// The comment the editor shows: the first one without a description.
TagLib::ID3v2::CommentsFrame *editorComment(const TagLib::ID3v2::Tag &tag)
{
    for (Frame *frame : tag.frameList("COMM")) {
        auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame);
        if (comment && comment->description().isEmpty())
            return comment;
    }
    return nullptr;
}

TagEditing::TTagFields readFields(const TagLib::ID3v2::Tag &tag)
{
    TagEditing::TTagFields fields;
    for (int f = 0; f < Comment; ++f) {
        const TagLib::ID3v2::FrameList &frames = tag.frameList(FrameIds[f]);
        if (frames.isEmpty())
            continue;
        // Several values of one frame (ID3v2.4) show as ID3v2.3 writes them, split by "/".
        QStringList values;
        if (const auto *text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame *>(frames.front()))
            for (const TagLib::String &value : text->fieldList())
                values << fromTagLib(value);
        fieldOf(fields, f) = values.join(u'/');
    }
    if (const auto *comment = editorComment(tag))
        fields.Comment = fromTagLib(comment->text());
    return fields;
}

// TagLib keeps a frame's flags to itself; a class derived from its frame may read them.
struct TFrameFlags : Frame
{
    // The frame asks to be dropped when the tag is changed, and TagLib's render drops it.
    static bool DroppedOnChange(const Frame *frame)
    {
        return (frame->*(&TFrameFlags::header))()->tagAlterPreservation();
    }
};

// The frames a render must keep: all but those that ask to be dropped when the tag changes, empty ones,
// and the parts of an ID3v2.3 date, which the year read back covers.
QStringList keptIds(const TagLib::ID3v2::Tag &tag)
{
    QStringList ids;
    for (const Frame *frame : tag.frameList()) {
        const QString id = idOf(frame);
        if (!TFrameFlags::DroppedOnChange(frame) && frame->size() > 0 && !DateParts.contains(id))
            ids << id;
    }
    ids.sort();
    return ids;
}

// The frames of one list that the other lacks, each named once.
QString missingFrom(const QStringList &from, QStringList other)
{
    QStringList missing;
    for (const QString &id : from)
        if (!other.removeOne(id) && !missing.contains(id))
            missing << id;
    return missing.join(u", "_s);
}

} // namespace

THeader ParseHeader(QByteArrayView bytes)
{
    if (bytes.size() < HeaderSize)
        return {};
    const auto *h = reinterpret_cast<const quint8 *>(bytes.data());
    const bool isTag = h[0] == 'I' && h[1] == 'D' && h[2] == '3' && h[3] != 0xFF && h[4] != 0xFF
        && ((h[6] | h[7] | h[8] | h[9]) & 0x80) == 0;
    if (!isTag)
        return {};
    const qint64 body = qint64(h[6]) << 21 | qint64(h[7]) << 14 | qint64(h[8]) << 7 | qint64(h[9]);
    const qint64 footer = (h[5] & 0x10) ? HeaderSize : 0;
    return { h[3], HeaderSize + body + footer };
}

THeader ReadHeader(const QString &path)
{
    QFile file(path);
    // QFile opens a folder on Linux; a folder holds no tag.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw KsError::cannotOpen(path);
    const QByteArray head = file.read(HeaderSize);
    if (file.error() != QFileDevice::NoError)
        throw KsError(u"Stream read error"_s);
    const THeader header = ParseHeader(head);
    return header.Size <= file.size() ? header : THeader();
}

TagEditing::TTagFields ReadFields(const QByteArray &image)
{
    TParsed parsed(image);
    const TagLib::ID3v2::Tag *tag = parsed.Tag();
    return tag ? readFields(*tag) : TagEditing::TTagFields();
}

TRebuilt Rebuild(const QByteArray &image, const TagEditing::TTagFields &fields)
{
    TParsed parsed(image);
    TagLib::ID3v2::Tag *tag = parsed.Tag();
    if (!tag)
        return { {}, u"Тег ID3v2 не читается."_s };
    const unsigned int version = tag->header()->majorVersion();
    // Unicode as each version has it: UTF-8 in 2.4, UTF-16 with a byte-order mark in 2.3.
    const TagLib::String::Type encoding = version == 4 ? TagLib::String::UTF8 : TagLib::String::UTF16;
    const TagEditing::TTagFields old = readFields(*tag);
    const QStringList before = keptIds(*tag);
    QStringList expected = before;
    bool changed = false;
    for (int f = 0; f < FieldCount; ++f) {
        const QString &text = fieldOf(fields, f);
        if (text == fieldOf(old, f))
            continue;
        changed = true;
        std::vector<Frame *> gone;
        TagLib::ByteVector language("eng");
        if (f == Comment) {
            if (auto *comment = editorComment(*tag)) {
                language = comment->language();
                gone.push_back(comment);
            }
        } else {
            for (Frame *frame : tag->frameList(FrameIds[f]))
                gone.push_back(frame);
            if (f == Year)
                for (const QString &id : DateParts)
                    for (Frame *frame : tag->frameList(id.toLatin1().constData()))
                        gone.push_back(frame);
        }
        for (Frame *frame : gone) {
            expected.removeOne(idOf(frame));
            tag->removeFrame(frame, true);
        }
        if (text.isEmpty())
            continue;
        if (f == Comment) {
            auto *comment = new TagLib::ID3v2::CommentsFrame(encoding);
            comment->setLanguage(language);
            comment->setText(toTagLib(text));
            tag->addFrame(comment);
        } else {
            auto *frame = new TagLib::ID3v2::TextIdentificationFrame(FrameIds[f], encoding);
            frame->setText(toTagLib(text));
            tag->addFrame(frame);
        }
        expected << QString::fromLatin1(FrameIds[f]);
    }
    if (!changed)
        return {};

    const TagLib::ByteVector rendered = tag->render(version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3);
    const QByteArray out(rendered.data(), rendered.size());
    // What TagLib rendered is read back: the same other frames, and the fields as asked.
    TParsed check(out);
    const TagLib::ID3v2::Tag *again = check.Tag();
    const QStringList actual = again ? keptIds(*again) : QStringList();
    expected.sort();
    if (!again)
        return { {}, u"Тег ID3v2 не записан: TagLib не прочла тег, который построила."_s };
    if (actual != expected) {
        const QString lost = missingFrom(expected, actual), added = missingFrom(actual, expected);
        return { {},
            u"Тег ID3v2 не записан: "_s
                + (lost.isEmpty() ? u"в нём появились бы кадры "_s + added : u"из него пропали бы кадры "_s + lost)
                + u'.' };
    }
    const TagEditing::TTagFields back = readFields(*again);
    for (int f = 0; f < FieldCount; ++f)
        if (fieldOf(back, f) != fieldOf(fields, f))
            return { {},
                u"Тег ID3v2 не записан: поле «"_s + QString::fromUtf16(Captions[f])
                    + u"» читалось бы после записи как «"_s + fieldOf(back, f) + u"»."_s };
    return { out, {} };
}

} // namespace ID3v2Tags
