// QtDecoders: BMP and PNG pictures through Qt's readers, with the length check Qt's BMP reader lacks.
#include "Decoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace Pictures::Detail {
namespace {

QImage DecodeWithQt(const QByteArray &data, const char *format, const QString &failure)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw KsError(failure);
    return image;
}

// True when run-length pixel data starting at offset reaches its end code, or its last row, inside the file.
bool RunLengthComplete(const uchar *bytes, qsizetype size, qint64 offset, qint64 height, bool fourBit)
{
    qint64 row = 0;
    for (qint64 i = offset; i + 1 < size && row < height;) {
        const uchar count = bytes[i], code = bytes[i + 1];
        i += 2;
        if (count != 0)
            continue; // a run of one value
        if (code == 0) {
            ++row; // end of line
        } else if (code == 1) {
            return true; // end of bitmap
        } else if (code == 2) {
            if (i + 1 >= size)
                return false;
            row += bytes[i + 1]; // a move right and down
            i += 2;
        } else {
            const qint64 literal = fourBit ? (code + 1) / 2 : code; // pixels as they stand, word-aligned
            i += (literal + 1) & ~qint64(1);
        }
    }
    return row >= height;
}

// Qt decodes a cut-off bitmap without complaint, leaving the missing rows blank; so the pixel
// data such a bitmap needs is checked against the file's length first.
bool BitmapTooShort(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const qsizetype size = data.size();
    if (size < 18 || bytes[0] != 'B' || bytes[1] != 'M')
        return false; // Qt rejects these itself
    const qint64 pixelsAt = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    qint64 width = 0, height = 0, bitCount = 0;
    quint32 compression = 0;
    if (headerSize == 12 && size >= 26) {
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<quint16>(bytes + 20);
        bitCount = qFromLittleEndian<quint16>(bytes + 24);
    } else if (headerSize >= 40 && size >= 34) {
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 22))); // negative: rows top-down
        bitCount = qFromLittleEndian<quint16>(bytes + 28);
        compression = qFromLittleEndian<quint32>(bytes + 30);
    } else {
        return false;
    }
    if (!SizeAllowed(width, height))
        throw SizeError(width, height);
    constexpr quint32 Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6;
    if (compression == Rle8 || compression == Rle4)
        return !RunLengthComplete(bytes, size, pixelsAt, height, compression == Rle4);
    if (compression != Rgb && compression != BitFields && compression != AlphaBitFields)
        return false; // left to Qt
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    return pixelsAt + rowBytes * height > size;
}

} // namespace

QImage DecodeBitmap(const QByteArray &data)
{
    const QString failure = QStringLiteral("Bitmap image is not valid");
    if (BitmapTooShort(data))
        throw KsError(failure);
    return DecodeWithQt(data, "bmp", failure);
}

QImage DecodePng(const QByteArray &data)
{
    return DecodeWithQt(data, "png", QStringLiteral("PNG image is not valid"));
}

} // namespace Pictures::Detail
