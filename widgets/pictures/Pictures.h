// Pictures: cover images decoded by file-name extension (JPEG by libjpeg, GIF by giflib, BMP and PNG by QImage).
#pragma once

#include <QImage>
#include <QString>

namespace Pictures {

/// Decodes the picture at a file-system path, choosing the decoder by the name's extension
/// (.jpg/.jpeg, .gif, .bmp, .png, case-insensitive). Throws KsError with
/// "Unknown picture file extension (.%s)", "Bitmap image is not valid", "JPEG error #%d"
/// (or the decoder's own text), or "Cannot open file %s".
QImage LoadPicture(const QString &path);

} // namespace Pictures
