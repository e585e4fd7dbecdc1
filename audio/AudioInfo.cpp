// AudioInfo: first-frame search past ID3v2 tags, second-frame check, Xing/Info frame count and play time.
#include "AudioInfo.h"

#include "FileStamp.h"
#include "KsError.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr qint64 kWindow = 128;     // bytes of the first read of the search
constexpr qint64 kWindowStep = 124; // fresh bytes of each later read (4 carried over)
constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kId3v2HeaderSize = 10;
constexpr int kMaxId3v2Tags = 16;

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

// Reads a range of a stream, keeping the last block read so that nearby fields cost no I/O.
class RangeReader
{
public:
    RangeReader(QIODevice &stream, qint64 start, qint64 size) : m_stream(stream), m_start(start), m_size(size) {}

    qint64 size() const { return m_size; }

    // Makes [offset, offset + n) of the range available and returns it; n must lie within the range.
    const quint8 *load(qint64 offset, qint64 n)
    {
        if (!covers(offset, n)) {
            m_block.resize(n);
            readExactly(offset, m_block.data(), n);
            m_blockOffset = offset;
        }
        return reinterpret_cast<const quint8 *>(m_block.constData()) + (offset - m_blockOffset);
    }

    // Copies n bytes at offset of the range.
    void get(qint64 offset, void *into, qint64 n)
    {
        if (covers(offset, n))
            std::memcpy(into, m_block.constData() + (offset - m_blockOffset), size_t(n));
        else
            readExactly(offset, static_cast<char *>(into), n);
    }

private:
    bool covers(qint64 offset, qint64 n) const
    {
        return offset >= m_blockOffset && offset + n <= m_blockOffset + m_block.size();
    }

    void readExactly(qint64 offset, char *into, qint64 n)
    {
        if (!m_stream.seek(m_start + offset) || m_stream.read(into, n) != n)
            throw KsError(QStringLiteral("Stream read error"));
    }

    QIODevice &m_stream;
    qint64 m_start;
    qint64 m_size;
    QByteArray m_block;
    qint64 m_blockOffset = 0;
};

// Offset after the ID3v2 tags that open the range (0 when there are none).
qint64 skipId3v2Tags(RangeReader &r)
{
    qint64 pos = 0;
    for (int n = 0; n < kMaxId3v2Tags && pos + kId3v2HeaderSize <= r.size(); ++n) {
        quint8 h[kId3v2HeaderSize];
        r.get(pos, h, kId3v2HeaderSize);
        const bool isTag = h[0] == 'I' && h[1] == 'D' && h[2] == '3' && h[3] != 0xFF && h[4] != 0xFF
            && ((h[6] | h[7] | h[8] | h[9]) & 0x80) == 0;
        if (!isTag)
            break;
        const qint64 body = qint64(h[6]) << 21 | qint64(h[7]) << 14 | qint64(h[8]) << 7 | qint64(h[9]);
        const qint64 footer = (h[5] & 0x10) ? kId3v2HeaderSize : 0;
        pos += kId3v2HeaderSize + body + footer;
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

} // namespace

void TAudioInfo::Reset()
{
    Header.Valid = false;
    FirstFrameOffset = -1;
    IsVBR = false;
    Tag.Exists = false;
    FileSize = -1;
    FileAge = -1;
    FileAttributes = 0;
}

void TAudioInfo::AnalyzeFile(const QString &fileName)
{
    Reset();
    if (std::all_of(fileName.begin(), fileName.end(), [](QChar c) { return c.unicode() <= 32; }))
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw KsError::cannotOpen(fileName);
    // QFile opens a folder on Linux; the stamp query tells it apart.
    const FileStamp::Info stamp = FileStamp::read(file);
    if (stamp.size < 0 || (stamp.attributes & FileStamp::Directory))
        throw KsError::cannotOpen(fileName);
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

    // One read covers a leading ID3v2 header and, without a tag, the whole search.
    const qint64 searchBytes = searchLength(SearchLimit);
    if (size > 0)
        reader.load(0, qMin(size, qMin(searchBytes, kChunk) + kId3v2HeaderSize));

    // First-frame search after the ID3v2 tags; a header whose next frame is no frame is passed over.
    const qint64 searchFrom = skipId3v2Tags(reader);
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
        bool confirmed = true;
        if (next + 4 < size) {
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
                const qint64 samples = frames * Header.SamplesPerFrame();
                if (Header.SampleRate <= 0) {
                    Duration = 0;
                } else if (streamBytes > audioBytes) {
                    // Truncated: the file holds only part of the stream the header counts.
                    const double seconds = double(samples) / Header.SampleRate * double(audioBytes) / double(streamBytes);
                    Duration = qint64(std::nearbyint(seconds)) * 1000;
                } else {
                    Duration = roundedSeconds(samples, Header.SampleRate) * 1000;
                }
                return;
            }
        }
    }

    // Constant bit rate: audio bytes over the first header's bit rate, truncated to whole seconds.
    if (!Header.Valid || Header.BitRate <= 0)
        Duration = 0;
    else
        Duration = audioBytes * 8 / Header.BitRateBps() * 1000;
}
