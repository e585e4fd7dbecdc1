// AudioInfo: the choice of format by content; for MPEG audio the first-frame search past ID3v2 tags and
// junk, second-frame check, Xing/Info/VBRI frame counts, frame count of headerless variable-rate
// streams, and the play time.
#include "AudioInfo.h"

#include "FileAccess.h"
#include "FileStamp.h"
#include "ID3v2Tags.h"
#include "TagLibTimes.h"
#include "KsError.h"
#include "RangeReader.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr qint64 kWindow = 128;     // bytes of the first read of the search
constexpr qint64 kWindowStep = 124; // fresh bytes of each later read (4 carried over)
constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kBlock = 1024 * 1024; // reads of the long search and of the frame count
constexpr qint64 kSampleBytes = 4096; // the least span after the first frame whose bit rates are compared
constexpr int kLongSearchFrames = 3; // frames that must follow a header found past the window
constexpr qint64 kId3v2HeaderSize = ID3v2Tags::HeaderSize;
constexpr int kMaxId3v2Tags = 16;
constexpr qint64 kApeFooterSize = 32;
constexpr qint64 kVbriOffset = 36; // after the header, at a fixed place whatever the channel mode

// Bytes the windowed search consumes for a limit: whole windows until the limit is reached.
qint64 searchLength(qint64 limit)
{
    if (limit <= 0)
        return 0;
    if (limit <= kWindow)
        return kWindow;
    return kWindow + (limit - kWindow + kWindowStep - 1) / kWindowStep * kWindowStep;
}

quint32 bigEndian32(const quint8 *p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

quint32 littleEndian32(const quint8 *p)
{
    return quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | quint32(p[0]);
}

// Offset after the ID3v2 tags that open the range (0 when there are none).
qint64 skipId3v2Tags(RangeReader &r)
{
    qint64 pos = 0;
    for (int n = 0; n < kMaxId3v2Tags && pos + kId3v2HeaderSize <= r.size(); ++n) {
        char h[kId3v2HeaderSize];
        r.get(pos, h, kId3v2HeaderSize);
        const ID3v2Tags::THeader tag = ID3v2Tags::ParseHeader(QByteArrayView(h, kId3v2HeaderSize));
        if (!tag.Exists())
            break;
        pos += tag.Size;
    }
    return pos;
}

// Whole seconds of n / d, halves to even.
qint64 roundedSeconds(qint64 n, qint64 d)
{
    const qint64 q = n / d;
    const qint64 r = n % d;
    if (2 * r > d || (2 * r == d && (q & 1)))
        return q + 1;
    return q;
}

// A header that continues the stream begun by first: valid, not free format (whose frame length is
// unknown), and of the same version, layer and rate.
bool continues(const TMpegFrameHdr &h, const TMpegFrameHdr &first)
{
    return h.Valid && h.BitRate > 0 && h.Version == first.Version && h.Layer() == first.Layer()
        && h.SampleRate == first.SampleRate;
}

// Whether n frame headers continue the stream after the frame of h at offset. A chain that reaches
// the end of the range first (fewer than 4 bytes past its next frame start) holds when takeEnd says so.
bool followedBy(RangeReader &r, qint64 offset, const TMpegFrameHdr &h, int n, bool takeEnd)
{
    if (h.BitRate <= 0)
        return false;
    qint64 next = offset + h.FrameLength;
    TMpegFrameHdr following;
    for (int i = 0; i < n; ++i) {
        if (next + 4 >= r.size())
            return takeEnd;
        quint8 bytes[4];
        r.get(next, bytes, 4);
        if (!following.Decode(bytes, 4) || !continues(following, h))
            return false;
        next += following.FrameLength;
    }
    return true;
}

// The first header start in [from, to) that decodes into h and that accept takes, or -1. Reads blocks of kBlock.
template <typename Accept> qint64 scan(RangeReader &r, qint64 from, qint64 to, TMpegFrameHdr &h, Accept accept)
{
    to = qMin(to, r.size() - 3);
    while (from < to) {
        const qint64 n = qMin(kBlock, to - from);
        const quint8 *bytes = r.load(from, n + 3);
        for (qint64 i = 0; i < n; ++i) {
            const void *sync = std::memchr(bytes + i, 0xFF, size_t(n - i));
            if (!sync)
                break;
            i = static_cast<const quint8 *>(sync) - bytes;
            if ((bytes[i + 1] & 0xE0) == 0xE0 && h.Decode(bytes + i, 4) && accept(from + i))
                return from + i;
        }
        from += n;
    }
    return -1;
}

// The frame lengths of the headers that continue a stream, by bit-rate index and padding bit, so
// that a walk over many small frames need not decode each header in full.
class StreamFrames
{
public:
    explicit StreamFrames(const TMpegFrameHdr &first)
        : m_syncVersionLayer(first.HeaderBytes[1] & 0xFE)
        , m_rateIndex(first.HeaderBytes[2] & 0x0C)
    {
        TMpegFrameHdr h;
        for (int index = 0; index < 16; ++index) {
            for (int padding = 0; padding < 2; ++padding) {
                const quint8 rate = quint8(index << 4 | m_rateIndex | padding << 1);
                const quint8 bytes[4] = {0xFF, first.HeaderBytes[1], rate, first.HeaderBytes[3]};
                m_lengths[index][padding] = h.Decode(bytes, 4) && continues(h, first) ? h.FrameLength : 0;
            }
        }
    }

    // Length of the frame whose header p holds, or 0 when it is no header of this stream.
    int length(const quint8 *p) const
    {
        if (p[0] != 0xFF || (p[1] & 0xFE) != m_syncVersionLayer || (p[2] & 0x0C) != m_rateIndex)
            return 0;
        return m_lengths[p[2] >> 4][(p[2] >> 1) & 1];
    }

private:
    quint8 m_syncVersionLayer;
    quint8 m_rateIndex;
    int m_lengths[16][2];
};

// Whether the frames that follow the first within span bytes change bit rate: a stream without a
// Xing header that is not constant. A chain that breaks counts as constant.
bool bitRateVaries(RangeReader &r, qint64 from, qint64 span, const TMpegFrameHdr &first)
{
    const quint8 *bytes = r.load(from, span);
    TMpegFrameHdr h;
    for (qint64 at = first.FrameLength; at + 4 <= span; at += h.FrameLength) {
        if (!h.Decode(bytes + at, 4) || !continues(h, first))
            return false;
        if (h.BitRate != first.BitRate)
            return true;
    }
    return false;
}

// End of the audio before an APE tag whose footer ends at end; end when there is none.
qint64 beforeApeTag(RangeReader &r, qint64 audioStart, qint64 end)
{
    if (end - audioStart < kApeFooterSize)
        return end;
    quint8 footer[kApeFooterSize];
    r.get(end - kApeFooterSize, footer, kApeFooterSize);
    if (std::memcmp(footer, "APETAGEX", 8) != 0)
        return end;
    // The size counts the items and the footer; a header, when flagged, comes on top.
    const qint64 tagSize = qint64(littleEndian32(footer + 12)) + ((footer[23] & 0x80) ? kApeFooterSize : 0);
    if (tagSize < kApeFooterSize || tagSize > end - audioStart)
        return end - kApeFooterSize;
    return end - tagSize;
}

// Counts the frames from the one at from to end, passing over up to gap bytes of no audio between
// two frames. A last frame cut short does not count.
qint64 countFrames(RangeReader &r, qint64 from, qint64 end, const TMpegFrameHdr &first, qint64 gap)
{
    const StreamFrames stream(first);
    qint64 frames = 0;
    qint64 at = from;
    while (at >= 0 && at + 4 <= end) {
        // The frames whose headers the block holds; then the next block, or a search for the next frame.
        const quint8 *bytes = r.load(at, 4, kBlock);
        const qint64 held = qMin(r.held(at), end - at);
        qint64 i = 0;
        for (int length; i + 4 <= held && (length = stream.length(bytes + i)) > 0; i += length) {
            if (at + i + length > end)
                return frames;
            ++frames;
        }
        at += i;
        if (i + 4 > held)
            continue;
        // Bytes that are no frame: go on at the next header whose frame ends the audio or is followed by another.
        TMpegFrameHdr h;
        at = scan(r, at + 1, qMin(end - 3, at + 1 + gap), h, [&](qint64 offset) {
            const int length = continues(h, first) ? h.FrameLength : 0;
            const qint64 next = offset + length;
            if (length == 0 || next + 4 > end)
                return next == end && length > 0;
            quint8 following[4];
            r.get(next, following, 4); // leaves the block that scan holds in place
            return stream.length(following) > 0;
        });
    }
    return frames;
}

// Play time of a counted stream in milliseconds, whole seconds. When the stream's byte count is known
// and more than the range holds, the file was cut short and the time is cut in proportion.
qint64 countedDuration(qint64 frames, const TMpegFrameHdr &h, qint64 streamBytes, qint64 audioBytes)
{
    const qint64 samples = frames * h.SamplesPerFrame();
    if (h.SampleRate <= 0)
        return 0;
    if (streamBytes > audioBytes) {
        const double seconds = double(samples) / h.SampleRate * double(audioBytes) / double(streamBytes);
        return qint64(std::nearbyint(seconds)) * 1000;
    }
    return roundedSeconds(samples, h.SampleRate) * 1000;
}

} // namespace

void TAudioInfo::Reset()
{
    Header.Valid = false;
    FirstFrameOffset = -1;
    IsVBR = false;
    Tag.Exists = false;
    Format = TAudioFormat::None;
    Samples = {};
    FileSize = -1;
    FileAge = -1;
    FileAttributes = 0;
}

void TAudioInfo::AnalyzeFile(const QString &fileName)
{
    Reset();
    if (std::all_of(fileName.begin(), fileName.end(), [](QChar c) { return c.unicode() <= 32; }))
        return;
    // An open, a stat, positioned reads and a close: what a search of many files can afford.
    const int descriptor = FileAccess::OpenRead(fileName);
    if (descriptor < 0)
        throw KsError::cannotOpen(fileName);
    const struct Closer
    {
        int descriptor;
        ~Closer() { FileAccess::Close(descriptor); }
    } closer{ descriptor };
    // A folder opens on Linux; the stamp query tells it apart.
    const QByteArray name = QFile::encodeName(fileName);
    const FileStamp::Info stamp = FileStamp::readDescriptor(descriptor, std::string_view(name.constData(), std::size_t(name.size())));
    if (stamp.size < 0 || (stamp.attributes & FileStamp::Directory))
        throw KsError::cannotOpen(fileName);
    TPositionedFile file(descriptor, stamp.size);
    analyzeRange(file, 0, stamp.size);
    FileSize = stamp.size;
    FileAge = stamp.age;
    FileAttributes = stamp.attributes;
}

void TAudioInfo::AnalyzeStream(QIODevice &stream, qint64 size)
{
    const qint64 start = stream.pos();
    analyzeRange(stream, start, qBound<qint64>(0, size, stream.size() - start));
}

// Analyses size bytes from start; size must not pass the end of the stream.
void TAudioInfo::analyzeRange(QIODevice &stream, qint64 start, qint64 size)
{
    Reset();
    RangeReader reader(stream, start, size);

    // One read covers a leading ID3v2 header, the signatures of the other formats and, without a tag,
    // the whole search for an MPEG frame; a file of no more than a chunk is read whole with it.
    if (size > 0)
        reader.load(0, size <= kChunk ? size : qMin(searchLength(SearchLimit), kChunk) + kId3v2HeaderSize);
    const qint64 audioFrom = skipId3v2Tags(reader);
    Format = AudioFormats::Sniff(reader, audioFrom);
    if (Format == TAudioFormat::Mpeg) {
        analyzeMpeg(reader, audioFrom);
        return;
    }

    // Another container: the count of samples it keeps, else the one TagLib reads.
    AudioFormats::TEmbedded mpeg;
    Samples = AudioFormats::Read(Format, reader, audioFrom, mpeg);
    if (mpeg.Offset >= 0) {
        RangeReader inner(stream, start + mpeg.Offset, mpeg.Size);
        analyzeMpeg(inner, 0);
        if (FirstFrameOffset >= 0)
            FirstFrameOffset += mpeg.Offset;
        return;
    }
    if (!Samples.Known())
        Samples = TagLibTimes::Read(Format, reader);
    Duration = Samples.DurationMs();
}

// The MPEG audio analysis of a range whose frames are searched from searchFrom on.
void TAudioInfo::analyzeMpeg(RangeReader &reader, qint64 searchFrom)
{
    const qint64 size = reader.size();
    const qint64 searchBytes = searchLength(SearchLimit);
    // First-frame search; a header whose next frame is no frame is passed over.
    const qint64 searchEnd = searchFrom + qMin(searchBytes, qMax<qint64>(0, size - searchFrom));
    qint64 from = searchFrom;
    while (FirstFrameOffset < 0 && searchEnd - from >= 4) {
        const qint64 n = qMin(kChunk, searchEnd - from);
        const qint64 found = Header.FindFrame(reader.load(from, n), n);
        if (found < 0) {
            from += n - 3; // a header may straddle two chunks
            continue;
        }
        const qint64 offset = from + found;
        const qint64 next = offset + Header.FrameLength;
        // A free-format header gives no frame length, so no next frame to check it by: its "next
        // header" would be itself. Such a stream has no time from its headers either.
        bool confirmed = Header.BitRate > 0;
        if (confirmed && next + 4 < size) {
            quint8 bytes[4];
            reader.get(next, bytes, 4);
            TMpegFrameHdr second;
            confirmed = second.Decode(bytes, 4) && second.Version == Header.Version
                && second.Layer() == Header.Layer() && second.SampleRate == Header.SampleRate;
        }
        if (confirmed)
            FirstFrameOffset = offset;
        else
            from = offset + 1;
    }

    // Nothing in the window: junk before the audio (a damaged or unknown tag, a wrapper). Search on,
    // up to ResyncLimit bytes, and ask for more frames behind a find, as there are many more chances
    // of a false one.
    if (FirstFrameOffset < 0 && searchEnd < size) {
        const auto followed = [&](qint64 at) { return followedBy(reader, at, Header, kLongSearchFrames, false); };
        FirstFrameOffset = scan(reader, qMax(searchFrom, searchEnd - 3), searchFrom + ResyncLimit, Header, followed);
    }
    Header.Valid = FirstFrameOffset >= 0;

    // The tag counts when at least its 128 bytes follow the first frame.
    const qint64 audioStart = Header.Valid ? FirstFrameOffset + Header.FrameLength : 0;
    if (size - audioStart >= TID3v1Tag::Size) {
        char image[TID3v1Tag::Size];
        reader.get(size - TID3v1Tag::Size, image, TID3v1Tag::Size);
        Tag.ReadFromBuffer(image, TID3v1Tag::Size);
    } else {
        Tag.Exists = false;
    }
    const qint64 audioBytes = Header.Valid ? size - FirstFrameOffset - (Tag.Exists ? TID3v1Tag::Size : 0) : 0;

    // Xing (variable bit rate) or Info (constant) header: its frame count gives the exact time.
    if (Header.Valid) {
        const qint64 x = FirstFrameOffset + Header.SideInfoEnd();
        if (x + 12 < size) {
            quint8 xing[16] = {};
            const qint64 n = qMin<qint64>(16, size - x);
            reader.get(x, xing, n);
            const bool isXing = std::memcmp(xing, "Xing", 4) == 0;
            const bool isInfo = std::memcmp(xing, "Info", 4) == 0;
            const quint32 flags = bigEndian32(xing + 4);
            if (isXing || (isInfo && (flags & 0x01))) {
                IsVBR = isXing;
                const qint64 frames = (flags & 0x01) ? bigEndian32(xing + 8) : 0;
                const qint64 bytesAt = (flags & 0x01) ? 12 : 8;
                const qint64 streamBytes = (flags & 0x02) && bytesAt + 4 <= n ? bigEndian32(xing + bytesAt) : 0;
                Duration = countedDuration(frames, Header, streamBytes, audioBytes);
                return;
            }
        }
    }

    // VBRI header of the Fraunhofer encoders: stream bytes at its offset 10, frames at 14.
    if (Header.Valid && FirstFrameOffset + kVbriOffset + 18 <= size) {
        quint8 vbri[18];
        reader.get(FirstFrameOffset + kVbriOffset, vbri, sizeof vbri);
        if (std::memcmp(vbri, "VBRI", 4) == 0) {
            IsVBR = true;
            Duration = countedDuration(bigEndian32(vbri + 14), Header, bigEndian32(vbri + 10), audioBytes);
            return;
        }
    }

    // Variable bit rate without a header: the first frame's rate says nothing of the rest, so count
    // the frames up to the tags at the end. Only such streams are read whole.
    if (Header.Valid && Header.BitRate > 0) {
        const qint64 span = qMin(size - FirstFrameOffset, qBound(kSampleBytes, reader.held(FirstFrameOffset), kChunk));
        if (bitRateVaries(reader, FirstFrameOffset, span, Header)) {
            IsVBR = true;
            const qint64 end = beforeApeTag(reader, audioStart, size - (Tag.Exists ? TID3v1Tag::Size : 0));
            const qint64 frames = countFrames(reader, FirstFrameOffset, end, Header, ResyncLimit);
            Duration = countedDuration(frames, Header, 0, 0);
            return;
        }
    }

    // Constant bit rate: audio bytes over the first header's bit rate, truncated to whole seconds.
    if (!Header.Valid || Header.BitRate <= 0)
        Duration = 0;
    else
        Duration = audioBytes * 8 / Header.BitRateBps() * 1000;
}
