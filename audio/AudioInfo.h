// AudioInfo: play time, size, stamp and attributes of an audio file; first frame and ID3v1 tag of an MP3 file.
#pragma once

#include "AudioFormats.h"
#include "ID3Tags.h"
#include "MpegFrameHdr.h"

#include <QString>

class QIODevice;
class RangeReader;

/// The analysis of one audio file; one object may analyse many files in turn. The format is told by
/// the content: MPEG audio is timed by its frames, FLAC, Ogg, MP4, WAV and AIFF by the sample counts
/// their containers keep, and the other formats by TagLib.
class TAudioInfo
{
public:
    /// The format found; None before an analysis.
    TAudioFormat Format = TAudioFormat::None;
    /// The first frame header found (MPEG audio).
    TMpegFrameHdr Header;
    /// Offset of the first frame from the start of the analysed range; -1 when none was found.
    qint64 FirstFrameOffset = -1;
    /// Variable bit rate: a Xing or VBRI header in the first frame, or frames of differing bit rates.
    bool IsVBR = false;
    /// The file's ID3v1 tag (MPEG audio only).
    TID3v1Tag Tag;
    /// Play time in milliseconds, a whole number of seconds; 0 when the file gives none.
    qint64 Duration = 0;
    /// The exact length Duration was rounded from, where a container keeps a count of samples (Rate 0 for
    /// MPEG audio and when there is none).
    AudioFormats::TSampleCount Samples;
    /// How many bytes the first-frame search reads (after a leading ID3v2 tag) before a header it
    /// finds needs three frames behind it instead of one.
    qint64 SearchLimit = 10240;
    /// How many bytes that are no audio the search for frames passes over: after the window when it
    /// holds no frame, and between two frames when a variable-rate stream is counted.
    qint64 ResyncLimit = 8 * 1024 * 1024;
    /// File size in bytes; -1 when unknown.
    qint64 FileSize = -1;
    /// The file's date-time stamp in the packed form; -1 when unknown.
    qint64 FileAge = -1;
    /// The file's attribute bits; 0 when unknown.
    int FileAttributes = 0;

    /// Clears the results of the last analysis (Duration and the header and tag texts stay).
    void Reset();
    /// Analyses a whole file; a blank name only resets. Throws KsError when it cannot be opened or read.
    void AnalyzeFile(const QString &fileName);
    /// Analyses size bytes of an open stream from its current position; throws KsError on a short read.
    void AnalyzeStream(QIODevice &stream, qint64 size);

private:
    void analyzeRange(QIODevice &stream, qint64 start, qint64 size);
    void analyzeMpeg(RangeReader &reader, qint64 searchFrom);
};
