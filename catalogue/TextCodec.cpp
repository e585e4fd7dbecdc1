// TextCodec: code page 1251 tables built once from Qt's converter, and the file-level choice of encoding.
#include "TextCodec.h"

#include "KsError.h"

#include <QStringDecoder>
#include <array>
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

QString decodeFile(QByteArrayView bytes)
{
    if (bytes.startsWith(QByteArrayView(kUtf8Bom, 3))) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes.sliced(3));
        if (!utf8.hasError())
            return text;
        // Not UTF-8 after all: read every byte as code page 1251 so that a save keeps them all.
    }
    return decode1251(bytes);
}

QByteArray encodeFile(const QString &text)
{
    if (fits1251(text))
        return encode1251Lossy(text);
    return QByteArray(kUtf8Bom, 3) + text.toUtf8();
}

} // namespace TextCodec
