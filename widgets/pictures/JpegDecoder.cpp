// JpegDecoder: JPEG pictures through libjpeg, with an error manager that longjmps back to the decoder.
#include "Decoders.h"

#include "KsError.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it needs its types.
#include <jerror.h>

namespace Pictures::Detail {
namespace {

struct ErrorManager
{
    jpeg_error_mgr Base; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

// Warnings are silent, except running out of data: the rest of the picture would be made up.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        OnError(info);
}

// Everything the decoding touches lives here, outside the function that calls setjmp,
// so that nothing with a destructor is jumped over and no local of that function changes.
struct Decoding
{
    jpeg_decompress_struct Info {}; // zeroed: destroying it is safe whatever point decoding reached
    ErrorManager Errors;
    QImage Image;
    bool TooLarge = false;
};

void ConvertCmyk(const JSAMPLE *in, QRgb *out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        // Adobe writes inverted CMYK, so the stored bytes already are 255 - ink.
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Returns false when libjpeg failed; the message is then in d.Errors.Message.
bool Decode(Decoding &d, const unsigned char *bytes, unsigned long size)
{
    jpeg_decompress_struct &info = d.Info;
    info.err = jpeg_std_error(&d.Errors.Base);
    d.Errors.Base.error_exit = OnError;
    d.Errors.Base.emit_message = OnMessage;
    if (setjmp(d.Errors.Jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, size);
    jpeg_read_header(&info, TRUE);
    if (!SizeAllowed(info.image_width, info.image_height)) {
        d.TooLarge = true;
        return true;
    }

    bool cmyk = false;
    QImage::Format format = QImage::Format_RGB888;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        format = QImage::Format_RGB32;
        cmyk = true;
        break;
    default:
        info.out_color_space = JCS_RGB;
        break;
    }

    jpeg_start_decompress(&info);
    d.Image = QImage(int(info.output_width), int(info.output_height), format);
    if (d.Image.isNull()) {
        d.TooLarge = true;
        return true;
    }
    // CMYK rows go through a line of libjpeg's own memory, freed with the decompressor.
    JSAMPARRAY line = cmyk
        ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, info.output_width * 4, 1)
        : nullptr;
    while (info.output_scanline < info.output_height) {
        uchar *target = d.Image.scanLine(int(info.output_scanline));
        JSAMPROW row = cmyk ? line[0] : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
        if (cmyk)
            ConvertCmyk(row, reinterpret_cast<QRgb *>(target), info.output_width, info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray &data)
{
    Decoding d;
    const bool decoded
        = Decode(d, reinterpret_cast<const unsigned char *>(data.constData()), static_cast<unsigned long>(data.size()));
    const qint64 width = d.Info.image_width, height = d.Info.image_height;
    jpeg_destroy_decompress(&d.Info);
    if (!decoded)
        throw KsError(QString::fromLatin1(d.Errors.Message));
    if (d.TooLarge)
        throw SizeError(width, height);
    return std::move(d.Image);
}

} // namespace Pictures::Detail
