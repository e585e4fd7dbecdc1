// QtDecoders: BMP and PNG pictures through Qt's readers, with a length check Qt's BMP reader lacks.
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

// Qt decodes a cut-off uncompressed bitmap without complaint, leaving the missing rows blank;
// so the pixel data such a bitmap needs is checked against the file's length first.
bool UncompressedBitmapTooShort(const QByteArray &data)
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
    constexpr quint32 Rgb = 0, BitFields = 3, AlphaBitFields = 6;
    if (compression != Rgb && compression != BitFields && compression != AlphaBitFields)
        return false; // run-length data has no fixed length
    if (!SizeAllowed(width, height))
        throw SizeError(width, height);
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    return pixelsAt + rowBytes * height > size;
}

} // namespace

QImage DecodeBitmap(const QByteArray &data)
{
    const QString failure = QStringLiteral("Bitmap image is not valid");
    if (UncompressedBitmapTooShort(data))
        throw KsError(failure);
    return DecodeWithQt(data, "bmp", failure);
}

QImage DecodePng(const QByteArray &data)
{
    return DecodeWithQt(data, "png", QStringLiteral("PNG image is not valid"));
}

} // namespace Pictures::Detail
