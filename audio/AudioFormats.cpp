// AudioFormats: format signatures, and the sample counts of FLAC's stream information, the last whole
// Ogg page, MP4's media header and edit list, and the audio bytes of WAV and AIFF files.
#include "AudioFormats.h"

#include "RangeReader.h"

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace AudioFormats {

namespace {

constexpr qint64 kAhead = 64 * 1024;  // read-ahead of the box and chunk walks
constexpr int kMaxChunks = 4096;      // boxes or chunks looked at on one level, against endless walks
constexpr qint64 kOggHeader = 27;     // an Ogg page header before its segment table
constexpr qint64 kOggBlock = 16 * 1024;         // the reads of the search for the last page
constexpr qint64 kOggLookBack = 1024 * 1024;    // how far back from the end it goes

bool is(const quint8 *p, const char *tag) { return std::memcmp(p, tag, std::strlen(tag)) == 0; }
quint32 be32(const quint8 *p) { return qFromBigEndian<quint32>(p); }
quint64 be64(const quint8 *p) { return qFromBigEndian<quint64>(p); }
quint16 le16(const quint8 *p) { return qFromLittleEndian<quint16>(p); }
quint32 le32(const quint8 *p) { return qFromLittleEndian<quint32>(p); }

// Rate and total samples of a FLAC STREAMINFO block (34 bytes); no count when the total is not given.
TSampleCount streamInfo(const quint8 *s)
{
    const qint64 rate = qint64(s[10]) << 12 | qint64(s[11]) << 4 | s[12] >> 4;
    const qint64 total = qint64(s[13] & 0x0F) << 32 | be32(s + 14);
    return total > 0 ? TSampleCount{total, rate} : TSampleCount{};
}

TSampleCount readFlac(RangeReader &r, qint64 at)
{
    // "fLaC", then the STREAMINFO block, which must come first.
    if (r.size() - at < 8 + 34)
        return {};
    const quint8 *p = r.load(at, 8 + 34);
    if ((p[4] & 0x7F) != 0 || (qint64(p[5]) << 16 | p[6] << 8 | p[7]) < 34)
        return {};
    return streamInfo(p + 8);
}

// ---- Ogg

struct OggPage
{
    qint64 Granule = -1;
    quint32 Serial = 0;
    qint64 HeaderLength = 0; // with the segment table
    qint64 Length = 0;       // header and body
};

// The page whose header starts p, of which avail bytes are at hand; false when they hold no whole header.
bool parsePage(const quint8 *p, qint64 avail, OggPage &page)
{
    if (avail < kOggHeader || !is(p, "OggS") || p[4] != 0 || avail < kOggHeader + p[26])
        return false;
    page.Granule = qFromLittleEndian<qint64>(p + 6);
    page.Serial = le32(p + 14);
    page.HeaderLength = kOggHeader + p[26];
    page.Length = page.HeaderLength;
    for (int i = 0; i < p[26]; ++i)
        page.Length += p[kOggHeader + i];
    return true;
}

// The first page's first packet, when the page holds it whole and it is at least need bytes long.
const quint8 *firstPacket(RangeReader &r, qint64 at, qint64 need, OggPage &page)
{
    const qint64 avail = qMin(r.size() - at, kOggHeader + 255 + need);
    const quint8 *p = r.load(at, avail);
    if (!parsePage(p, avail, page))
        return nullptr;
    qint64 packet = 0;
    for (int i = 0; i < p[26]; ++i) {
        packet += p[kOggHeader + i];
        if (p[kOggHeader + i] < 255)
            break;
    }
    return packet >= need && page.HeaderLength + need <= avail ? p + page.HeaderLength : nullptr;
}

// Granule position of the last whole page of the stream serial that has one (a page where no packet
// ends has none); -1 when there is none after from. A page cut short does not count. The signature,
// version and serial number make a false page in the audio data unlikely enough without its checksum.
qint64 lastGranule(RangeReader &r, qint64 from, quint32 serial)
{
    // Back from the end in blocks: a page's header alone tells whether the page is whole.
    const qint64 stop = qMax(from, r.size() - kOggLookBack);
    OggPage page;
    for (qint64 end = r.size(); end > stop; end -= kOggBlock) {
        const qint64 begin = qMax(stop, end - kOggBlock);
        const qint64 n = qMin(r.size(), end + kOggHeader + 255) - begin;
        const quint8 *p = r.load(begin, n);
        for (qint64 i = end - begin - 1; i >= 0; --i) {
            if (p[i] == 'O' && parsePage(p + i, n - i, page) && begin + i + page.Length <= r.size()
                && page.Serial == serial && page.Granule >= 0)
                return page.Granule;
        }
    }
    return -1;
}

TSampleCount readOgg(TAudioFormat format, RangeReader &r, qint64 at)
{
    // The codec's identification header: the clock of its granule positions and the samples it skips.
    OggPage first;
    qint64 rate = 0;
    qint64 skip = 0;
    if (format == TAudioFormat::OggVorbis) {
        if (const quint8 *p = firstPacket(r, at, 16, first))
            rate = le32(p + 12);
    } else if (format == TAudioFormat::Opus) {
        if (const quint8 *p = firstPacket(r, at, 12, first)) {
            rate = 48000; // Opus counts at 48 kHz whatever the input's rate was
            skip = le16(p + 10);
        }
    } else if (format == TAudioFormat::OggFlac) {
        if (const quint8 *p = firstPacket(r, at, 13 + 4 + 34, first))
            rate = qint64(p[27]) << 12 | p[28] << 4 | p[29] >> 4; // STREAMINFO at 17; its total may be unset
    } else if (format == TAudioFormat::Speex) {
        if (const quint8 *p = firstPacket(r, at, 40, first))
            rate = le32(p + 36);
    }
    if (rate <= 0)
        return {};
    const qint64 granule = lastGranule(r, at, first.Serial);
    if (granule < 0)
        return {};
    return {qMax<qint64>(0, granule - skip), rate};
}

// ---- MP4

struct Box
{
    qint64 Payload = 0;
    qint64 End = 0;
};

// The first box of the given type in [from, end).
bool findBox(RangeReader &r, qint64 from, qint64 end, const char *type, Box &box)
{
    for (int n = 0; n < kMaxChunks && end - from >= 8; ++n) {
        const quint8 *h = r.load(from, qMin<qint64>(16, end - from), kAhead);
        qint64 size = be32(h);
        qint64 header = 8;
        if (size == 1) {
            if (end - from < 16)
                return false;
            size = qint64(qMin<quint64>(be64(h + 8), quint64(end - from)));
            header = 16;
        } else if (size == 0) {
            size = end - from; // to the end of the file
        }
        if (size < header)
            return false;
        if (is(h + 4, type)) {
            box = {from + header, qMin(end, from + size)};
            return true;
        }
        from += size;
    }
    return false;
}

// The payload of a box of up to n bytes, or null when it is shorter than need.
const quint8 *payload(RangeReader &r, const Box &box, qint64 need, qint64 n = 0)
{
    const qint64 size = box.End - box.Payload;
    return size >= need ? r.load(box.Payload, qMax(need, qMin(n, size))) : nullptr;
}

// Time scale and duration of an mvhd or mdhd box (version 0: 32-bit times, version 1: 64-bit).
bool timeHeader(RangeReader &r, const Box &box, qint64 &scale, qint64 &duration)
{
    const quint8 *p = payload(r, box, 20);
    if (!p)
        return false;
    if (p[0] == 1) {
        if (!(p = payload(r, box, 32)))
            return false;
        scale = be32(p + 20);
        duration = qint64(qMin<quint64>(be64(p + 24), quint64(1) << 62));
    } else {
        scale = be32(p + 12);
        duration = be32(p + 16);
    }
    return scale > 0;
}

// The media time of the first edit and the length of the edits that play media, in the movie's scale.
void editList(RangeReader &r, const Box &elst, qint64 &start, qint64 &played)
{
    const quint8 *p = payload(r, elst, 8, 8 + 64 * 20);
    if (!p)
        return;
    const qint64 entry = p[0] == 1 ? 20 : 12;
    const qint64 count = qMin<qint64>(be32(p + 4), (qMin(elst.End - elst.Payload, 8 + 64 * 20) - 8) / entry);
    for (qint64 i = 0; i < count; ++i) {
        const quint8 *e = p + 8 + i * entry;
        const qint64 segment = entry == 20 ? qint64(qMin<quint64>(be64(e), quint64(1) << 40)) : be32(e);
        const qint64 time = entry == 20 ? qint64(be64(e + 8)) : qint32(be32(e + 4));
        if (time < 0)
            continue; // an empty edit: a pause before the media
        if (start < 0)
            start = time;
        played += segment;
    }
}

// The first sound track's duration: its media header's count, less what its edit list leaves out
// (the encoder's priming samples and the padding of the last frame).
TSampleCount readMp4(RangeReader &r, qint64 at)
{
    Box moov, mvhd;
    qint64 movieScale = 0, movieDuration = 0;
    if (!findBox(r, at, r.size(), "moov", moov))
        return {};
    if (findBox(r, moov.Payload, moov.End, "mvhd", mvhd))
        timeHeader(r, mvhd, movieScale, movieDuration);
    Box trak{0, moov.Payload};
    while (findBox(r, trak.End, moov.End, "trak", trak)) {
        Box mdia, hdlr, mdhd, edts, elst;
        if (!findBox(r, trak.Payload, trak.End, "mdia", mdia) || !findBox(r, mdia.Payload, mdia.End, "hdlr", hdlr))
            continue;
        const quint8 *h = payload(r, hdlr, 12);
        if (!h || !is(h + 8, "soun"))
            continue;
        qint64 scale = 0, duration = 0;
        if (!findBox(r, mdia.Payload, mdia.End, "mdhd", mdhd) || !timeHeader(r, mdhd, scale, duration))
            return {};
        qint64 start = -1, played = 0;
        if (movieScale > 0 && findBox(r, trak.Payload, trak.End, "edts", edts)
            && findBox(r, edts.Payload, edts.End, "elst", elst))
            editList(r, elst, start, played);
        if (played > 0 && start >= 0 && start < duration) {
            const qint64 edited = std::llround(double(played) * double(scale) / double(movieScale));
            duration = qMin(duration - start, edited);
        }
        return {duration, scale};
    }
    return {};
}

// ---- WAV and AIFF

// Frames still present of a count made for declared bytes when only present bytes are there.
qint64 presentShare(qint64 frames, qint64 present, qint64 declared)
{
    if (present >= declared || declared <= 0)
        return frames;
    return qint64(std::floor(double(frames) * double(present) / double(declared)));
}

TSampleCount readWav(RangeReader &r, qint64 at, TEmbedded &embedded)
{
    const quint8 *p = r.load(at, 12);
    const bool rf64 = is(p, "RF64");
    quint16 tag = 0, blockAlign = 0;
    quint32 rate = 0, bytesPerSecond = 0;
    qint64 fact = -1, dataStart = -1, declared = 0, rf64Data = -1;
    bool haveFormat = false;
    qint64 pos = at + 12;
    for (int n = 0; n < kMaxChunks && pos + 8 <= r.size() && !(haveFormat && dataStart >= 0); ++n) {
        const quint8 *h = r.load(pos, 8, kAhead);
        const qint64 length = le32(h + 4);
        const qint64 body = pos + 8;
        const qint64 avail = qMin(length, r.size() - body);
        if (is(h, "fmt ") && avail >= 16) {
            const quint8 *f = r.load(body, qMin<qint64>(avail, 26));
            tag = le16(f);
            rate = le32(f + 4);
            bytesPerSecond = le32(f + 8);
            blockAlign = le16(f + 12);
            if (tag == 0xFFFE && avail >= 26)
                tag = le16(f + 24); // WAVE_FORMAT_EXTENSIBLE: the sub-format's first two bytes
            haveFormat = true;
        } else if (is(h, "fact") && avail >= 4) {
            fact = le32(r.load(body, 4));
        } else if (is(h, "ds64") && avail >= 16) {
            rf64Data = qint64(qMin<quint64>(qFromLittleEndian<quint64>(r.load(body, 16) + 8), quint64(1) << 62));
        } else if (is(h, "data")) {
            dataStart = body;
            declared = length;
            if (length == 0xFFFFFFFF) // sizes kept in ds64, or a stream written without a size
                declared = rf64 && rf64Data >= 0 ? rf64Data : r.size() - body;
        }
        pos = body + length + (length & 1);
    }
    if (!haveFormat || dataStart < 0 || rate == 0)
        return {};
    const qint64 present = qBound<qint64>(0, r.size() - dataStart, declared);
    switch (tag) {
    case 0x0001: // PCM
    case 0x0003: // IEEE float
    case 0x0006: // A-law
    case 0x0007: // mu-law
        return blockAlign ? TSampleCount{present / blockAlign, rate} : TSampleCount{};
    case 0x0050: // MPEG audio, timed by its own frames
    case 0x0055:
        embedded = {dataStart, present};
        return {};
    default: // a compressed codec: the sample count of its fact chunk, else the average byte rate
        if (fact >= 0)
            return {presentShare(fact, present, declared), rate};
        if (bytesPerSecond == 0)
            return {};
        return {qint64(double(present) * rate / bytesPerSecond), rate};
    }
}

// An 80-bit IEEE 754 extended number (AIFF's sample rate) rounded to a whole number; 0 when out of range.
qint64 extended80(const quint8 *p)
{
    const int exponent = (p[0] & 0x7F) << 8 | p[1];
    const quint64 mantissa = be64(p + 2);
    const int shift = 16383 + 63 - exponent;
    if (mantissa == 0 || (p[0] & 0x80) || shift < 0 || shift > 63)
        return 0;
    return std::llround(std::ldexp(double(mantissa), -shift));
}

TSampleCount readAiff(RangeReader &r, qint64 at)
{
    qint64 frames = -1, rate = 0, dataStart = -1, declared = 0;
    qint64 pos = at + 12;
    for (int n = 0; n < kMaxChunks && pos + 8 <= r.size() && !(frames >= 0 && dataStart >= 0); ++n) {
        const quint8 *h = r.load(pos, 8, kAhead);
        const qint64 length = be32(h + 4);
        const qint64 body = pos + 8;
        if (is(h, "COMM") && length >= 18 && r.size() - body >= 18) {
            const quint8 *c = r.load(body, 18);
            frames = be32(c + 2);
            rate = extended80(c + 8);
        } else if (is(h, "SSND")) {
            dataStart = body;
            declared = length;
        }
        pos = body + length + (length & 1);
    }
    if (frames < 0 || rate <= 0 || dataStart < 0)
        return {};
    return {presentShare(frames, qBound<qint64>(0, r.size() - dataStart, declared), declared), rate};
}

} // namespace

qint64 TSampleCount::DurationMs() const
{
    if (!Known())
        return 0;
    const qint64 q = Frames / Rate;
    const qint64 rest = Frames % Rate;
    return (2 * rest > Rate || (2 * rest == Rate && (q & 1)) ? q + 1 : q) * 1000;
}

TAudioFormat Sniff(RangeReader &r, qint64 at)
{
    static const quint8 asf[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                   0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    const qint64 n = qMin<qint64>(r.size() - at, 16);
    if (n < 12)
        return TAudioFormat::Mpeg;
    const quint8 *p = r.load(at, n, kAhead);
    if (is(p, "fLaC"))
        return TAudioFormat::Flac;
    if ((is(p, "RIFF") || is(p, "RF64")) && is(p + 8, "WAVE"))
        return TAudioFormat::Wav;
    if (is(p, "FORM") && (is(p + 8, "AIFF") || is(p + 8, "AIFC")))
        return TAudioFormat::Aiff;
    if (is(p + 4, "ftyp"))
        return TAudioFormat::Mp4;
    if (is(p, "wvpk"))
        return TAudioFormat::WavPack;
    if (is(p, "MAC "))
        return TAudioFormat::MonkeysAudio;
    if (is(p, "MPCK") || is(p, "MP+"))
        return TAudioFormat::Musepack;
    if (is(p, "TTA1"))
        return TAudioFormat::TrueAudio;
    if (n == 16 && std::memcmp(p, asf, 16) == 0)
        return TAudioFormat::Asf;
    if (!is(p, "OggS"))
        return TAudioFormat::Mpeg;
    OggPage page;
    const quint8 *packet = firstPacket(r, at, 8, page);
    if (!packet)
        return TAudioFormat::Ogg;
    if (is(packet, "\x01vorbis"))
        return TAudioFormat::OggVorbis;
    if (is(packet, "OpusHead"))
        return TAudioFormat::Opus;
    if (is(packet, "\x7f" "FLAC"))
        return TAudioFormat::OggFlac;
    if (is(packet, "Speex   "))
        return TAudioFormat::Speex;
    return TAudioFormat::Ogg;
}

QString Name(TAudioFormat format)
{
    switch (format) {
    case TAudioFormat::None: return u"none"_s;
    case TAudioFormat::Mpeg: return u"MPEG audio"_s;
    case TAudioFormat::Flac: return u"FLAC"_s;
    case TAudioFormat::OggVorbis: return u"Ogg Vorbis"_s;
    case TAudioFormat::Opus: return u"Opus"_s;
    case TAudioFormat::OggFlac: return u"Ogg FLAC"_s;
    case TAudioFormat::Speex: return u"Speex"_s;
    case TAudioFormat::Ogg: return u"Ogg"_s;
    case TAudioFormat::Mp4: return u"MP4"_s;
    case TAudioFormat::Wav: return u"WAV"_s;
    case TAudioFormat::Aiff: return u"AIFF"_s;
    case TAudioFormat::WavPack: return u"WavPack"_s;
    case TAudioFormat::MonkeysAudio: return u"Monkey's Audio"_s;
    case TAudioFormat::Musepack: return u"Musepack"_s;
    case TAudioFormat::TrueAudio: return u"TrueAudio"_s;
    case TAudioFormat::Asf: return u"Windows Media Audio"_s;
    }
    return QString();
}

TSampleCount Read(TAudioFormat format, RangeReader &r, qint64 at, TEmbedded &embedded)
{
    switch (format) {
    case TAudioFormat::Flac: return readFlac(r, at);
    case TAudioFormat::OggVorbis:
    case TAudioFormat::Opus:
    case TAudioFormat::OggFlac:
    case TAudioFormat::Speex: return readOgg(format, r, at);
    case TAudioFormat::Mp4: return readMp4(r, at);
    case TAudioFormat::Wav: return readWav(r, at, embedded);
    case TAudioFormat::Aiff: return readAiff(r, at);
    default: return {};
    }
}

} // namespace AudioFormats
