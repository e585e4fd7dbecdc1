// GifDecoder: the first frame of a GIF through giflib, placed on the logical screen with its transparency.
#include "Decoders.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>

namespace Pictures::Detail {
namespace {

struct Source
{
    const QByteArray *Data;
    qsizetype Position = 0;
};

int ReadFromMemory(GifFileType *gif, GifByteType *buffer, int length)
{
    auto *source = static_cast<Source *>(gif->UserData);
    const qsizetype count = qMin<qsizetype>(length, source->Data->size() - source->Position);
    if (count <= 0)
        return 0;
    std::memcpy(buffer, source->Data->constData() + source->Position, size_t(count));
    source->Position += count;
    return int(count);
}

struct GifCloser
{
    void operator()(GifFileType *gif) const { DGifCloseFile(gif, nullptr); }
};

KsError GifError(int code)
{
    const char *text = GifErrorString(code);
    return KsError(QStringLiteral("GIF image is not valid: %1")
                       .arg(text ? QString::fromLatin1(text) : QStringLiteral("error %1").arg(code)));
}

} // namespace

QImage DecodeGif(const QByteArray &data)
{
    Source source { &data };
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadFromMemory, &error));
    if (!gif)
        throw GifError(error);
    // The screen size is known before any frame is decoded; refuse absurd ones early.
    if (gif->SWidth > 0 && gif->SHeight > 0 && !SizeAllowed(gif->SWidth, gif->SHeight))
        throw SizeError(gif->SWidth, gif->SHeight);
    // DGifSlurp reads interlaced frames into their rows in display order.
    if (DGifSlurp(gif.get()) != GIF_OK)
        throw GifError(gif->Error);
    if (gif->ImageCount < 1)
        throw KsError(QStringLiteral("GIF image is not valid: it holds no picture"));

    const SavedImage &frame = gif->SavedImages[0];
    const GifImageDesc &desc = frame.ImageDesc;
    const ColorMapObject *colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!colours || !colours->Colors || colours->ColorCount <= 0)
        throw KsError(QStringLiteral("GIF image is not valid: it has no colour map"));

    int transparent = NO_TRANSPARENT_COLOR;
    GraphicsControlBlock control;
    if (DGifSavedExtensionToGCB(gif.get(), 0, &control) == GIF_OK)
        transparent = control.TransparentColor;

    // A screen of zero size (some writers leave it so) is taken to be the frame's extent.
    const qint64 width = gif->SWidth > 0 ? gif->SWidth : qint64(desc.Left) + desc.Width;
    const qint64 height = gif->SHeight > 0 ? gif->SHeight : qint64(desc.Top) + desc.Height;
    if (!SizeAllowed(width, height))
        throw SizeError(width, height);
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        throw SizeError(width, height);
    image.fill(Qt::transparent); // what the first frame does not cover

    const int left = qMax(desc.Left, 0), top = qMax(desc.Top, 0);
    const int right = int(qMin<qint64>(width, qint64(desc.Left) + desc.Width));
    const int bottom = int(qMin<qint64>(height, qint64(desc.Top) + desc.Height));
    bool anyTransparent = left > 0 || top > 0 || right < width || bottom < height;
    for (int y = top; y < bottom; ++y) {
        const GifByteType *in = frame.RasterBits + qsizetype(y - desc.Top) * desc.Width + (left - desc.Left);
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = left; x < right; ++x, ++in) {
            const int index = *in;
            if (index == transparent) {
                anyTransparent = true;
                continue;
            }
            // An index past the colour map is drawn black rather than read from outside it.
            if (index >= colours->ColorCount) {
                out[x] = qRgb(0, 0, 0);
                continue;
            }
            const GifColorType &c = colours->Colors[index];
            out[x] = qRgb(c.Red, c.Green, c.Blue);
        }
    }
    if (!anyTransparent)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace Pictures::Detail
