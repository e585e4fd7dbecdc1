// TagLibTimes: TagLib's file classes reading a range of a Qt stream, and their counts of samples.
#include "TagLibTimes.h"

#include "RangeReader.h"

#include <apefile.h>
#include <asffile.h>
#include <mpcfile.h>
#include <trueaudiofile.h>
#include <tiostream.h>
#include <wavpackfile.h>

namespace TagLibTimes {

namespace {

// A read-only TagLib stream over a range. TagLib cannot take an exception through its code, so a
// failed read ends the stream and is reported afterwards.
class RangeStream : public TagLib::IOStream
{
public:
    explicit RangeStream(RangeReader &r) : m_reader(r) {}

    bool failed() const { return m_failed; }

    TagLib::FileName name() const override { return ""; }
    TagLib::ByteVector readBlock(unsigned long length) override
    {
        const qint64 n = m_failed ? 0 : qBound<qint64>(0, m_reader.size() - m_pos, qint64(length));
        if (n == 0)
            return TagLib::ByteVector();
        TagLib::ByteVector bytes(static_cast<unsigned int>(n));
        try {
            m_reader.get(m_pos, bytes.data(), n);
        } catch (const KsError &) {
            m_failed = true;
            return TagLib::ByteVector();
        }
        m_pos += n;
        return bytes;
    }
    void writeBlock(const TagLib::ByteVector &) override {}
    void insert(const TagLib::ByteVector &, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position p) override
    {
        const qint64 base = p == Beginning ? 0 : p == Current ? m_pos : m_reader.size();
        m_pos = qMax<qint64>(0, base + offset);
    }
    long tell() const override { return long(m_pos); }
    long length() override { return long(m_reader.size()); }
    void truncate(long) override {}

private:
    RangeReader &m_reader;
    qint64 m_pos = 0;
    bool m_failed = false;
};

// The exact count of the formats whose properties keep one.
template <typename Properties> AudioFormats::TSampleCount frames(const Properties *p)
{
    if (!p || p->sampleRate() <= 0)
        return {};
    return {qint64(p->sampleFrames()), p->sampleRate()};
}

} // namespace

AudioFormats::TSampleCount Read(TAudioFormat format, RangeReader &r)
{
    RangeStream stream(r);
    AudioFormats::TSampleCount count;
    switch (format) {
    case TAudioFormat::WavPack:
        count = frames(TagLib::WavPack::File(&stream).audioProperties());
        break;
    case TAudioFormat::MonkeysAudio:
        count = frames(TagLib::APE::File(&stream).audioProperties());
        break;
    case TAudioFormat::Musepack:
        count = frames(TagLib::MPC::File(&stream).audioProperties());
        break;
    case TAudioFormat::TrueAudio:
        count = frames(TagLib::TrueAudio::File(&stream).audioProperties());
        break;
    case TAudioFormat::Asf: {
        // Its header gives the play time in 100 ns units, which TagLib hands on in milliseconds.
        TagLib::ASF::File file(&stream);
        if (const TagLib::ASF::Properties *p = file.audioProperties())
            count = {p->lengthInMilliseconds(), 1000};
        break;
    }
    default:
        break;
    }
    if (stream.failed())
        throw KsError(QStringLiteral("Stream read error"));
    return count;
}

} // namespace TagLibTimes
