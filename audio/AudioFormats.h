// AudioFormats: which audio format a file holds, and the exact sample counts of the containers that
// keep one: FLAC, Ogg (Vorbis, Opus, FLAC, Speex), MP4, WAV and AIFF.
#pragma once

#include <QString>
#include <QtGlobal>

class RangeReader;

/// The formats the audio analysis tells apart by their content.
enum class TAudioFormat {
    None,       ///< nothing analysed yet, or no file
    Mpeg,       ///< MPEG audio (MP3, MP2), the default for content no other format claims
    Flac,
    OggVorbis,
    Opus,
    OggFlac,
    Speex,
    Ogg,        ///< an Ogg stream of another codec
    Mp4,        ///< MP4/M4A audio: AAC, ALAC and the others
    Wav,
    Aiff,
    WavPack,
    MonkeysAudio,
    Musepack,
    TrueAudio,
    Asf,        ///< Windows Media Audio
};

namespace AudioFormats {

/// A play time as the container gives it: Frames units of 1/Rate seconds; Rate 0 when there is none.
struct TSampleCount
{
    qint64 Frames = 0;
    qint64 Rate = 0;

    bool Known() const { return Rate > 0 && Frames >= 0; }
    /// Whole seconds in milliseconds, halves to even (the rounding of counted MP3 times); 0 when unknown.
    qint64 DurationMs() const;
};

/// The format whose signature the range holds at offset at (after any ID3v2 tags); Mpeg when none.
TAudioFormat Sniff(RangeReader &r, qint64 at);

/// Short English name of a format, e.g. "Ogg Vorbis".
QString Name(TAudioFormat format);

/// Where the audio data of a RIFF WAVE file lies, for the codecs whose time comes from their own
/// frames (MPEG audio inside WAV).
struct TEmbedded
{
    qint64 Offset = -1;
    qint64 Size = 0;
};

/// The sample count of a format this unit reads (Flac, the Ogg ones, Mp4, Wav, Aiff) whose signature
/// is at offset at. A file cut short counts the audio it still holds. A WAV file of MPEG audio gives no
/// count but fills embedded with its data chunk. Only bytes inside the range are read.
TSampleCount Read(TAudioFormat format, RangeReader &r, qint64 at, TEmbedded &embedded);

} // namespace AudioFormats
