// Pictures: reads a picture file into memory and hands it to the decoder its extension names.
#include "Pictures.h"

#include "Decoders.h"
#include "KsError.h"

#include <QFile>
#include <QFileInfo>

namespace Pictures {
namespace Detail {

bool SizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height <= MaxPixels;
}

KsError SizeError(qint64 width, qint64 height)
{
    return KsError(QStringLiteral("Picture size %1 x %2 is not supported").arg(width).arg(height));
}

} // namespace Detail

namespace {

// Covers are small; anything this large is not a picture worth reading whole.
constexpr qint64 MaxFileSize = qint64(64) * 1024 * 1024;

// The extension as the name writes it, without the dot; empty when the name has none.
QString ExtensionOf(const QString &path)
{
    const qsizetype nameStart = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= nameStart ? path.mid(dot + 1) : QString();
}

QByteArray ReadWhole(const QString &path)
{
    // Opening a FIFO would wait for a writer, and a device such as /dev/zero has no end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw KsError::cannotOpen(path);
    if (file.size() > MaxFileSize)
        throw KsError(QStringLiteral("Picture file %1 is too large").arg(path));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KsError(QStringLiteral("Cannot read file %1").arg(path));
    return data;
}

} // namespace

QImage LoadPicture(const QString &path)
{
    const QString ext = ExtensionOf(path);
    const QString lower = ext.toLower();
    QImage (*decode)(const QByteArray &) = nullptr;
    if (lower == QLatin1String("bmp"))
        decode = Detail::DecodeBitmap;
    else if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg"))
        decode = Detail::DecodeJpeg;
    else if (lower == QLatin1String("gif"))
        decode = Detail::DecodeGif;
    else if (lower == QLatin1String("png"))
        decode = Detail::DecodePng;
    else
        throw KsError(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
    return decode(ReadWhole(path));
}

} // namespace Pictures
