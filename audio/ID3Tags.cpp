// ID3Tags: parsing and building the ID3v1 tag image in code page 1251, and its file operations.
#include "ID3Tags.h"

#include "KsError.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

constexpr char kGenreText[] =
    "\"Blues\", \"Classic Rock\", \"Country\", \"Dance\", \"Disco\", \"Funk\", \"Grunge\", \"Hip-Hop\", "
    "\"Jazz\", \"Metal\", \"New Age\", \"Oldies\", \"Other\", \"Pop\", \"R&B\", \"Rap\", \"Reggae\", "
    "\"Rock\", \"Techno\", \"Industrial\", \"Alternative\", \"Ska\", \"Death Metal\", \"Pranks\", "
    "\"Soundtrack\", \"Euro-Techno\", \"Ambient\", \"Trip-Hop\", \"Vocal\", \"Jazz+Funk\", \"Fusion\", "
    "\"Trance\", \"Classical\", \"Instrumental\", \"Acid\", \"House\", \"Game\", \"Sound Clip\", "
    "\"Gospel\", \"Noise\", \"AlternRock\", \"Bass\", \"Soul\", \"Punk\", \"Space\", \"Meditative\", "
    "\"Instrumental Pop\", \"Instrumental Rock\", \"Ethnic\", \"Gothic\", \"Darkwave\", "
    "\"Techno-Industrial\", \"Electronic\", \"Pop-Folk\", \"Eurodance\", \"Dream\", \"Southern Rock\", "
    "\"Comedy\", \"Cult\", \"Gangsta\", \"Top 40\", \"Christian Rap\", \"Pop/Funk\", \"Jungle\", "
    "\"Native American\", \"Cabaret\", \"New Wave\", \"Psychedelic\", \"Rave\", \"Showtunes\", "
    "\"Trailer\", \"Lo-Fi\", \"Tribal\", \"Acid Punk\", \"Acid Jazz\", \"Polka\", \"Retro\", "
    "\"Musical\", \"Rock & Roll\", \"Hard Rock\", \"Folk\", \"Folk/Rock\", \"National Folk\", "
    "\"Swing\", \"Fast Fusion\", \"Bebob\", \"Latin\", \"Revival\", \"Celtic\", \"Bluegrass\", "
    "\"Avantgarde\", \"Gothic Rock\", \"Progressive Rock\", \"Psychedelic Rock\", \"Symphonic Rock\", "
    "\"Slow Rock\", \"Big Band\", \"Chorus\", \"Easy Listening\", \"Acoustic\", \"Humour\", \"Speech\", "
    "\"Chanson\", \"Opera\", \"Chamber Music\", \"Sonata\", \"Symphony\", \"Booty Bass\", \"Primus\", "
    "\"Porn Groove\", \"Satire\", \"Slow Jam\", \"Club\", \"Tango\", \"Samba\", \"Folklore\", "
    "\"Ballad\", \"Power Ballad\", \"Rhythmic Soul\", \"Freestyle\", \"Duet\", \"Punk Rock\", "
    "\"Drum Solo\", \"Acapella\", \"Euro-House\", \"Dance Hall\", \"Goa\", \"Drum & Bass\", "
    "\"Club-House\", \"Hardcore\", \"Terror\", \"Indie\", \"BritPop\", \"Negerpunk\", \"Polsk Punk\", "
    "\"Beat\", \"Christian Gangs\", \"Heavy Metal\", \"Black Metal\", \"Crossover\", "
    "\"Contemporary Ch?\", \"Cristian Rock\", \"Merengue\", \"Salsa\", \"Thrash Metal\", \"Anime\", "
    "\"JPop\", \"Synthpop\"";

// Quoted names separated by commas; blanks after a comma are skipped.
QStringList parseQuotedList(const char *text)
{
    QStringList names;
    const char *p = text;
    while (*p) {
        while (*p == ' ')
            ++p;
        if (*p != '"')
            break;
        const char *begin = ++p;
        while (*p && *p != '"')
            ++p;
        names.append(QString::fromLatin1(begin, p - begin));
        if (*p == '"')
            ++p;
        while (*p && *p != ',')
            ++p;
        if (*p == ',')
            ++p;
    }
    return names;
}

struct FieldSpan
{
    int offset;
    int width;
};

constexpr FieldSpan kTitle{3, 30}, kArtist{33, 30}, kAlbum{63, 30}, kYear{93, 4}, kComment{97, 30};

// Field bytes up to the first zero byte, without trailing characters of codes 0 to 32.
QString readField(const char *tag, FieldSpan f)
{
    const char *begin = tag + f.offset;
    const char *zero = static_cast<const char *>(std::memchr(begin, 0, size_t(f.width)));
    qint64 n = zero ? zero - begin : f.width;
    while (n > 0 && uchar(begin[n - 1]) <= 32)
        --n;
    return TextCodec::decode1251(QByteArrayView(begin, n));
}

// The text in code page 1251 ('?' where it has no byte), padded with blanks to the field width.
void writeField(char *tag, FieldSpan f, const QString &text)
{
    const QByteArray bytes = TextCodec::encode1251Lossy(text.left(f.width));
    const qint64 n = qMin<qint64>(bytes.size(), f.width);
    std::memcpy(tag + f.offset, bytes.constData(), size_t(n));
    std::memset(tag + f.offset + n, ' ', size_t(f.width - n));
}

void openExisting(QFile &file, QIODevice::OpenMode mode)
{
    // QFile opens a folder on Linux; a folder holds no tag.
    if (QFileInfo(file.fileName()).isDir() || !file.open(mode | QIODevice::ExistingOnly))
        throw KsError::cannotOpen(file.fileName());
}

// Reads exactly n bytes at offset, or throws.
void readAt(QIODevice &stream, qint64 offset, char *into, qint64 n)
{
    if (!stream.seek(offset) || stream.read(into, n) != n)
        throw KsError(QStringLiteral("Stream read error"));
}

bool hasTagAt(QFile &file, qint64 size)
{
    if (size < TID3v1Tag::Size)
        return false;
    char marker[3];
    readAt(file, size - TID3v1Tag::Size, marker, 3);
    return std::memcmp(marker, "TAG", 3) == 0;
}

} // namespace

const QStringList &GenreList()
{
    static const QStringList list = parseQuotedList(kGenreText);
    return list;
}

void TID3v1Tag::SetTextField(int field, const QString &text)
{
    QString *target = nullptr;
    int width = 30;
    switch (field) {
    case FieldTitle: target = &Title; break;
    case FieldArtist: target = &Artist; break;
    case FieldYear: target = &Year; width = 4; break;
    case FieldAlbum: target = &Album; break;
    case FieldComment: target = &Comment; width = NoTrack ? 30 : 28; break;
    default: return;
    }
    const QString cut = text.left(width);
    if (cut != *target) {
        *target = cut;
        Modified = true;
    }
}

void TID3v1Tag::SetTrack(int number)
{
    if (number == Track)
        return;
    Track = number;
    NoTrack = number == 0;
    Modified = true;
}

void TID3v1Tag::ReadFromBuffer(const char *bytes, qint64 length)
{
    Exists = false;
    Modified = false;
    if (length < Size || std::memcmp(bytes, "TAG", 3) != 0)
        return;
    Exists = true;
    Title = readField(bytes, kTitle);
    Artist = readField(bytes, kArtist);
    Album = readField(bytes, kAlbum);
    Year = readField(bytes, kYear);
    Comment = readField(bytes, kComment);
    const uchar zero = uchar(bytes[125]);
    const uchar track = uchar(bytes[126]);
    NoTrack = !(zero == 0 && track != 0);
    Track = NoTrack ? 0 : track;
    Genre = uchar(bytes[127]);
    GenreName = GenreList().value(Genre);
}

void TID3v1Tag::ReadFromStream(QIODevice &stream, qint64 size)
{
    if (size < Size) {
        Exists = false;
        return;
    }
    char image[Size];
    readAt(stream, stream.pos() + size - Size, image, Size);
    ReadFromBuffer(image, Size);
}

void TID3v1Tag::ReadFromFile(const QString &fileName)
{
    QFile file(fileName);
    openExisting(file, QIODevice::ReadOnly);
    ReadFromStream(file, file.size());
}

void TID3v1Tag::SaveToBuffer(char *bytes, qint64 length)
{
    if (length < Size)
        throw KsError(QStringLiteral("TID3v1Tag.Save: Buffer too small"));
    std::memcpy(bytes, "TAG", 3);
    writeField(bytes, kTitle, Title);
    writeField(bytes, kArtist, Artist);
    writeField(bytes, kAlbum, Album);
    writeField(bytes, kYear, Year);
    writeField(bytes, kComment, Comment);
    if (!NoTrack) {
        bytes[125] = 0;
        bytes[126] = char(Track & 0xFF);
    }
    bytes[127] = char(Genre & 0xFF);
    Modified = false;
}

void TID3v1Tag::WriteToStream(QIODevice &stream)
{
    const bool wasModified = Modified;
    char image[Size];
    SaveToBuffer(image, Size);
    if (stream.write(image, Size) != Size) {
        Modified = wasModified;
        throw KsError(QStringLiteral("Stream write error"));
    }
}

void TID3v1Tag::SaveToFile(const QString &fileName)
{
    QFile file(fileName);
    openExisting(file, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const qint64 size = file.size();
    const bool replace = hasTagAt(file, size);
    const qint64 at = replace ? size - Size : size;
    char oldImage[Size];
    if (replace)
        readAt(file, at, oldImage, Size);

    const bool wasModified = Modified;
    try {
        if (!file.seek(at))
            throw KsError(QStringLiteral("Stream write error"));
        WriteToStream(file);
        if (!file.flush())
            throw KsError(QStringLiteral("Stream write error"));
    } catch (const KsError &) {
        // Leave the file as it was: cut an appended part off, or put the old tag back.
        if (replace) {
            if (file.seek(at))
                file.write(oldImage, Size);
        } else {
            file.resize(size);
        }
        Modified = wasModified;
        throw;
    }
}

void TID3v1Tag::RemoveFromFile(const QString &fileName)
{
    QFile file(fileName);
    openExisting(file, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const qint64 size = file.size();
    if (hasTagAt(file, size) && !file.resize(size - Size))
        throw KsError(QStringLiteral("Stream write error"));
}
