// MpegFrameHdr: the four-byte header of an MPEG audio frame and the search for the first valid one.
#pragma once

#include <QString>
#include <QtGlobal>

/// One decoded MPEG audio frame header (MPEG-1, MPEG-2 and MPEG-2.5; Layers I to III).
class TMpegFrameHdr
{
public:
    /// The raw header bytes, byte 0 first.
    quint8 HeaderBytes[4] = {0, 0, 0, 0};
    /// Validity found by the last Decode given at least four bytes.
    bool Valid = false;
    /// 0 reserved (invalid), 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5.
    int Version = 0;
    /// Bit rate in kbit/s; 0 for free format, -1 when unknown.
    int BitRate = -1;
    /// Sampling frequency in Hz; -1 when unknown.
    int SampleRate = -1;
    /// Length of the whole frame in bytes, header included.
    int FrameLength = 0;

    /// Labels of the channel modes 0..3.
    static const QString ChannelModeNames[4];
    /// Labels of the emphasis codes 0..3.
    static const QString EmphasisNames[4];
    /// Labels of the mode extension: 0..3 for Layers I and II, 4..7 for Layer III.
    static const QString ModeExtensionNames[8];

    /// Decodes the first four of length bytes; false (and nothing changed) when length is below 4.
    bool Decode(const quint8 *bytes, qint64 length);
    /// Offset of the first valid header among count bytes, or -1.
    qint64 FindFrame(const quint8 *bytes, qint64 count);

    /// Sync, version, layer, bit rate and sample rate are all usable.
    bool IsValid() const;
    /// The eleven sync bits are all ones.
    bool HasSync() const;
    /// 1..3, or 0 for the reserved layer bits.
    int Layer() const;
    /// BitRate in bits per second.
    int BitRateBps() const { return BitRate * 1000; }
    /// The padding bit.
    bool HasPadding() const { return (HeaderBytes[2] & 0x02) != 0; }
    /// Bytes added by the padding bit: 4 for Layer I, 1 otherwise, 0 without padding.
    int PaddingSize() const;
    /// 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel.
    int ChannelMode() const { return HeaderBytes[3] >> 6; }

    /// PCM samples one frame carries: 384, 1152, or 576 for Layer III of MPEG-2 and 2.5; 0 when unknown.
    int SamplesPerFrame() const;
    /// Offset from the frame start to the end of the Layer III side information (where Xing/Info lies).
    int SideInfoEnd() const;
};
