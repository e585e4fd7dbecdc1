// MpegFrameHdr: bit-rate and sample-rate tables, frame length and the header search.
#include "MpegFrameHdr.h"

#include <cstring>

namespace {

// [version 1..3][layer 1..3][bit-rate index]; index 0 is free format, 15 is forbidden.
constexpr int kBitRates[3][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}},
};

constexpr int kSampleRates[3][4] = {
    {44100, 48000, 32000, -1},
    {22050, 24000, 16000, -1},
    {11025, 12000, 8000, -1},
};

// Version bits 00, 01, 10, 11 to the version code.
constexpr int kVersionCodes[4] = {3, 0, 2, 1};

} // namespace

const QString TMpegFrameHdr::ChannelModeNames[4] = {
    QStringLiteral("Stereo"), QStringLiteral("Joint Stereo"), QStringLiteral("Dual"), QStringLiteral("Mono")};
const QString TMpegFrameHdr::EmphasisNames[4] = {
    QStringLiteral("None"), QStringLiteral("50/15 ms"), QStringLiteral("?!!"), QStringLiteral("CCIT J.17")};
const QString TMpegFrameHdr::ModeExtensionNames[8] = {
    QStringLiteral("Bands 4-31"), QStringLiteral("Bands 8-31"), QStringLiteral("Bands 12-31"), QStringLiteral("Bands 16-31"),
    QString(), QStringLiteral("Intensity"), QStringLiteral("MS"), QStringLiteral("MS/Intensity")};

bool TMpegFrameHdr::Decode(const quint8 *bytes, qint64 length)
{
    if (length < 4)
        return false;
    for (int i = 0; i < 4; ++i)
        HeaderBytes[i] = bytes[i];

    Version = kVersionCodes[(HeaderBytes[1] >> 3) & 0x03];
    const int layer = Layer();
    BitRate = (Version == 0 || layer == 0) ? -1 : kBitRates[Version - 1][layer - 1][HeaderBytes[2] >> 4];
    SampleRate = Version == 0 ? -1 : kSampleRates[Version - 1][(HeaderBytes[2] >> 2) & 0x03];

    if (SampleRate <= 0 || BitRate < 0) {
        FrameLength = 0;
    } else {
        // Lengths of ISO/IEC 11172-3 and 13818-3: Layer I counts 4-byte slots, and only
        // Layer III of the low sampling frequencies halves its coefficient.
        const qint64 bps = BitRateBps();
        if (layer == 1)
            FrameLength = int(12 * bps / SampleRate) * 4 + PaddingSize();
        else
            FrameLength = int((layer == 3 && Version != 1 ? 72 : 144) * bps / SampleRate) + PaddingSize();
    }
    Valid = IsValid();
    return Valid;
}

qint64 TMpegFrameHdr::FindFrame(const quint8 *bytes, qint64 count)
{
    if (count < 4)
        return -1;
    // Candidates start with 0xFF, which memchr finds many bytes at a time.
    const quint8 *end = bytes + count - 3;
    for (const quint8 *p = bytes; p < end; ++p) {
        p = static_cast<const quint8 *>(std::memchr(p, 0xFF, std::size_t(end - p)));
        if (!p)
            return -1;
        if ((p[1] & 0xE0) == 0xE0 && Decode(p, count - (p - bytes)))
            return p - bytes;
    }
    return -1;
}

bool TMpegFrameHdr::IsValid() const
{
    return HasSync() && Version != 0 && Layer() != 0 && BitRate != -1 && SampleRate != -1;
}

bool TMpegFrameHdr::HasSync() const
{
    return HeaderBytes[0] == 0xFF && (HeaderBytes[1] & 0xE0) == 0xE0;
}

int TMpegFrameHdr::Layer() const
{
    return (4 - ((HeaderBytes[1] >> 1) & 0x03)) % 4;
}

int TMpegFrameHdr::PaddingSize() const
{
    if (!HasPadding())
        return 0;
    return Layer() == 1 ? 4 : 1;
}

int TMpegFrameHdr::SamplesPerFrame() const
{
    if (Version == 0)
        return 0;
    switch (Layer()) {
    case 1: return 384;
    case 2: return 1152;
    case 3: return Version == 1 ? 1152 : 576;
    default: return 0;
    }
}

int TMpegFrameHdr::SideInfoEnd() const
{
    const bool mono = ChannelMode() == 3;
    if (Version == 1)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}
