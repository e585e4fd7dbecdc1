// TextCodec: code page 1251 tables built once from Qt's converter, UTF-8 detection, and encoding whole files of lines.
#include "TextCodec.h"

#include "KsError.h"
#include "LinesFile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// A 256-entry table makes decoding and the fit test cheap; Qt's converter fills it once.
struct Cp1251Table
{
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, char> fromUnicode;

    Cp1251Table()
    {
        QStringDecoder decoder("windows-1251", QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            throw KsError(QStringLiteral("The code page 1251 converter is not available"));
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            // 0x98 is unassigned in code page 1251; keep it as the C1 control so no byte is lost.
            const char16_t ch = (s.size() == 1 && s.at(0) != QChar::ReplacementCharacter) ? s.at(0).unicode() : char16_t(b);
            toUnicode[size_t(b)] = ch;
            fromUnicode.emplace(ch, byte);
        }
    }
};

const Cp1251Table &table()
{
    static const Cp1251Table t;
    return t;
}

} // namespace

namespace TextCodec {

QString decode1251(QByteArrayView bytes)
{
    const auto &map = table().toUnicode;
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(map[uchar(bytes[i])]);
    return out;
}

bool fits1251(const QString &text)
{
    const auto &map = table().fromUnicode;
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        if (map.find(c.unicode()) == map.end())
            return false;
    }
    return true;
}

QByteArray encode1251Lossy(const QString &text)
{
    const auto &map = table().fromUnicode;
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < 0x80) {
            dst[i] = char(u);
            continue;
        }
        const auto it = map.find(u);
        dst[i] = it == map.end() ? '?' : it->second;
    }
    return out;
}

void TFileEncoding::AddCp1251Line(const QString &line)
{
    m_cp1251Lines.append(line);
    m_cp1251Data.insert(line.constData());
}

bool TFileEncoding::IsCp1251Line(const QString &line) const
{
    return !line.isEmpty() && m_cp1251Data.contains(line.constData());
}

TUtf16 utf16MarkOf(QByteArrayView bytes)
{
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE)
        return TUtf16::LittleEndian;
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFE && uchar(bytes[1]) == 0xFF)
        return TUtf16::BigEndian;
    return TUtf16::None;
}

bool isValidUtf8(QByteArrayView bytes, bool *hasMultibyte)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    bool multibyte = false;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The lead byte fixes the length and the range of the second byte (no overlong forms,
        // no surrogates, nothing above U+10FFFF).
        int length;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length || p[i + 1] < low || p[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        multibyte = true;
        i += length;
    }
    if (hasMultibyte)
        *hasMultibyte = multibyte;
    return true;
}

namespace {

// Valid UTF-8 only; a mark inside the text stays a character (U+FEFF).
QString decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

// Every code unit as it stands, unpaired surrogates too, so that a save gives the same bytes back.
QString decodeUtf16(QByteArrayView bytes, TUtf16 order)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    QString out(bytes.size() / 2, Qt::Uninitialized);
    QChar *dst = out.data();
    const int high = order == TUtf16::BigEndian ? 0 : 1;
    for (qsizetype i = 0; i < out.size(); ++i)
        dst[i] = QChar(char16_t(p[2 * i + high] << 8 | p[2 * i + 1 - high]));
    return out;
}

QByteArray encodeUtf16Lines(const QStringList &lines, TUtf16 order)
{
    qsizetype units = 1;
    for (const QString &line : lines)
        units += line.size() + 2;
    QByteArray out(2 * units, Qt::Uninitialized);
    char *dst = out.data();
    const int high = order == TUtf16::BigEndian ? 0 : 1;
    const auto put = [&](char16_t u) {
        dst[high] = char(u >> 8);
        dst[1 - high] = char(u & 0xFF);
        dst += 2;
    };
    put(0xFEFF);
    for (const QString &line : lines) {
        for (const QChar c : line)
            put(c.unicode());
        put(u'\r');
        put(u'\n');
    }
    return out;
}

// True when the code page 1251 bytes of lines would read back as UTF-8: every line valid UTF-8 and
// at least one multi-byte sequence (line breaks are ASCII, so lines can be judged one by one).
bool cp1251ReadsAsUtf8(const QStringList &lines)
{
    bool multibyte = false;
    for (const QString &line : lines) {
        if (std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c.unicode() < 0x80; }))
            continue;
        bool lineMultibyte = false;
        if (!isValidUtf8(encode1251Lossy(line), &lineMultibyte))
            return false;
        multibyte = multibyte || lineMultibyte;
    }
    return multibyte;
}

// The byte lines of a file: CR LF, CR or LF end a line; a final break adds no empty line.
QList<QByteArrayView> splitByteLines(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    const char *data = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QByteArrayView(data + start, i - start));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QByteArrayView(data + start, n - start));
    return lines;
}

} // namespace

QStringList decodeLines(QByteArrayView bytes, TFileEncoding *encoding, bool utf16Marks)
{
    TFileEncoding found;
    QStringList lines;
    const TUtf16 utf16 = utf16Marks ? utf16MarkOf(bytes) : TUtf16::None;
    if (utf16 != TUtf16::None) {
        found.Utf16 = utf16;
        lines = LinesFile::splitLines(decodeUtf16(bytes.sliced(2), utf16));
    } else if (bytes.startsWith(QByteArrayView(kUtf8Bom, 3))) {
        found.Utf8 = true;
        found.Mark = true;
        const QByteArrayView body = bytes.sliced(3);
        if (isValidUtf8(body)) {
            lines = LinesFile::splitLines(decodeUtf8(body));
        } else {
            // Lines of another list pasted in: each line that is not UTF-8 is read as code page 1251
            // and remembered, so that a save gives it back its own bytes.
            for (const QByteArrayView line : splitByteLines(body)) {
                if (isValidUtf8(line)) {
                    lines.append(decodeUtf8(line));
                } else {
                    lines.append(decode1251(line));
                    found.AddCp1251Line(lines.last());
                }
            }
        }
    } else {
        bool multibyte = false;
        if (isValidUtf8(bytes, &multibyte) && multibyte) {
            found.Utf8 = true;
            lines = LinesFile::splitLines(decodeUtf8(bytes));
        } else {
            lines = LinesFile::splitLines(decode1251(bytes));
        }
    }
    if (encoding)
        *encoding = std::move(found);
    return lines;
}

TFileEncoding encodingForSave(const QStringList &lines, const TFileEncoding &read)
{
    // A file must not begin with the mark's bytes unless they are the mark: a first line that starts
    // with U+FEFF (or, in code page 1251, with the three characters of the mark's bytes) is only kept
    // whole behind a real mark.
    const QString first = lines.isEmpty() ? QString() : lines.first();
    if (read.Utf16 != TUtf16::None)
        return read;
    if (read.Utf8) {
        TFileEncoding save = read;
        if (first.startsWith(QChar(0xFEFF)))
            save.Mark = true;
        return save;
    }
    bool needsUtf8 = first.startsWith(decode1251(QByteArrayView(kUtf8Bom, 3)));
    for (const QString &line : lines) {
        if (needsUtf8)
            break;
        needsUtf8 = !fits1251(line);
    }
    // Code page 1251 bytes that the loader would take for UTF-8 would come back as other text.
    if (!needsUtf8 && !cp1251ReadsAsUtf8(lines))
        return read;
    TFileEncoding utf8;
    utf8.Utf8 = true;
    utf8.Mark = true;
    return utf8;
}

QByteArray encodeLines(const QStringList &lines, const TFileEncoding &encoding)
{
    if (encoding.Utf16 != TUtf16::None)
        return encodeUtf16Lines(lines, encoding.Utf16);
    // Sized for the worst case, then written in place: no allocation per line.
    qsizetype worst = 3;
    for (const QString &line : lines)
        worst += 3 * line.size() + 2;
    QByteArray out(worst, Qt::Uninitialized);
    char *dst = out.data();
    if (encoding.Mark) {
        memcpy(dst, kUtf8Bom, 3);
        dst += 3;
    }
    const auto &map = table().fromUnicode;
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const bool mixed = encoding.HasCp1251Lines();
    for (const QString &line : lines) {
        if (!encoding.Utf8 || (mixed && encoding.IsCp1251Line(line))) {
            for (const QChar c : line) {
                const char16_t u = c.unicode();
                if (u < 0x80) {
                    *dst++ = char(u);
                } else {
                    const auto it = map.find(u);
                    *dst++ = it == map.end() ? '?' : it->second;
                }
            }
        } else {
            dst = utf8.appendToBuffer(dst, line);
        }
        *dst++ = '\r';
        *dst++ = '\n';
    }
    out.truncate(dst - out.constData());
    return out;
}

} // namespace TextCodec
