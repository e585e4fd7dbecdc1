// Decoders: the per-format decoders behind Pictures::LoadPicture, each working on a file read into memory.
#pragma once

#include <QByteArray>
#include <QImage>

#include "KsError.h"

namespace Pictures::Detail {

/// Largest picture accepted, in pixels (a cover is far smaller; this stops absurd headers early).
constexpr qint64 MaxPixels = qint64(8192) * 8192;

/// True when a picture of that size may be allocated.
bool SizeAllowed(qint64 width, qint64 height);
/// The failure for a picture whose size is not allowed or could not be allocated.
KsError SizeError(qint64 width, qint64 height);

QImage DecodeJpeg(const QByteArray &data); ///< libjpeg; grayscale, RGB and CMYK/YCCK
QImage DecodeGif(const QByteArray &data); ///< giflib; first frame
QImage DecodeBitmap(const QByteArray &data); ///< QImage's BMP reader
QImage DecodePng(const QByteArray &data); ///< QImage's PNG reader

} // namespace Pictures::Detail
