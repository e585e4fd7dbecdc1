// Tests of TAudioInfo: play times of built streams and of real encoder output, file facts, bad input.
#include "AudioInfo.h"
#include "TestSupport.h"
#include "FileStamp.h"
#include "KsError.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <iterator>
#include <utility>

using namespace TestSupport;

namespace {

const QByteArray kHdr128("\xFF\xFB\x90\x64", 4);  // MPEG-1 Layer III, 128 kbit/s, 44100 Hz, 417 bytes
const QByteArray kHdrMono("\xFF\xFB\x90\xC4", 4); // the same, single channel
const QByteArray kHdrLsf("\xFF\xF3\x80\x00", 4);  // MPEG-2 Layer III, 64 kbit/s, 22050 Hz, 208 bytes
const QByteArray kFalseHdr("\xFF\xFE\x41\x00", 4);

// n bytes of silence with frame headers at the given offsets.
QByteArray stream(qint64 n, std::initializer_list<qint64> frames, const QByteArray &hdr = kHdr128)
{
    QByteArray b(n, '\0');
    for (qint64 at : frames)
        b.replace(at, 4, hdr);
    return b;
}

// A stream of frames of two bit rates in turn (128 and 160 kbit/s at 44100 Hz), without a header.
QByteArray variableStream(int frames)
{
    const QByteArray hdr160("\xFF\xFB\xA0\x64", 4); // 522 bytes
    QByteArray b;
    for (int i = 0; i < frames; ++i)
        b += (i % 2 ? hdr160 + QByteArray(518, '\0') : kHdr128 + QByteArray(413, '\0'));
    return b;
}

QByteArray tagImage()
{
    QByteArray t(128, ' ');
    t.replace(0, 6, "TAGAbc");
    return t;
}

QByteArray id3v2(qint64 body, char flags = 0)
{
    QByteArray h("ID3\x04\x00", 5);
    h += flags;
    for (int shift : {21, 14, 7, 0})
        h += char((body >> shift) & 0x7F);
    QByteArray b = h + QByteArray(body, 'x');
    b.replace(12, 4, kFalseHdr); // a UTF-16 mark and a letter: a valid header by itself
    return b;
}

// A Xing or Info header in the first of two frames (by default 44100 Hz, 128 kbit/s).
QByteArray withXing(const char *marker, quint32 flags, quint32 frames, quint32 bytes, const QByteArray &hdr = kHdr128,
                    int at = 36, qint64 size = 100000)
{
    TMpegFrameHdr h;
    h.Decode(reinterpret_cast<const quint8 *>(hdr.constData()), 4);
    QByteArray b = stream(size, {0, h.FrameLength}, hdr);
    QByteArray x(marker, 4);
    for (quint32 v : {flags, frames, bytes})
        for (int shift : {24, 16, 8, 0})
            x += char((v >> shift) & 0xFF);
    b.replace(at, x.size(), x);
    return b;
}

void analyze(TAudioInfo &info, QByteArray bytes, qint64 start = 0, qint64 size = -1)
{
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(buffer.seek(start));
    info.AnalyzeStream(buffer, size < 0 ? bytes.size() - start : size);
}

qint64 durationOf(const QByteArray &bytes)
{
    TAudioInfo info;
    analyze(info, bytes);
    return info.Duration;
}

} // namespace

class TstAudioInfo : public QObject
{
    Q_OBJECT
private slots:
    void constantBitRate();
    void searchWindow();
    void skipsId3v2();
    void falseHeaderIsPassedOver();
    void xingAndInfo();
    void truncatedXingStream();
    void variableRateWithoutHeader();
    void corpusFiles_data();
    void corpusFiles();
    void rangeOfStream();
    void over4GB();
    void encoderFiles_data();
    void encoderFiles();
    void fileFacts();
    void fileErrors();
    void unreadableFile();
    void badInput();
};

void TstAudioInfo::constantBitRate()
{
    QCOMPARE(durationOf(stream(1000000, {0, 417}) + tagImage()), 62000);
    QCOMPARE(durationOf(stream(1000000, {0, 417})), 62000);
    QCOMPARE(durationOf(stream(1024000, {0, 417})), 64000);

    // The tag counts only when its 128 bytes follow the first frame.
    TAudioInfo info;
    QByteArray tag = tagImage();
    tag.replace(3, 4, kHdr128); // lets the second-frame check pass
    analyze(info, stream(421, {0, 417}) + tag);
    QVERIFY(info.Tag.Exists);
    analyze(info, stream(414, {0}) + tag);
    QCOMPARE(info.FirstFrameOffset, 0);
    QVERIFY(!info.Tag.Exists);
}

void TstAudioInfo::searchWindow()
{
    TAudioInfo info;
    analyze(info, stream(30000, {10292, 10292 + 417}));
    QCOMPARE(info.FirstFrameOffset, 10292);
    analyze(info, stream(30000, {10293, 10293 + 417}) + tagImage());
    QCOMPARE(info.FirstFrameOffset, -1);
    QCOMPARE(info.Duration, 0);
    QVERIFY(info.Tag.Exists);

    // Past the window a header needs three frames behind it, and the search ends at ResyncLimit.
    const QByteArray late = stream(60000, {10293, 10710, 11127, 11544});
    analyze(info, late);
    QCOMPARE(info.FirstFrameOffset, 10293);
    QCOMPARE(info.Duration, 3000);
    info.ResyncLimit = 10293;
    analyze(info, late);
    QCOMPARE(info.FirstFrameOffset, -1);
}

void TstAudioInfo::skipsId3v2()
{
    // 20 KB of tag, then frames: found after the tag, whose bytes are no audio.
    TAudioInfo info;
    const QByteArray tag = id3v2(20000);
    analyze(info, tag + stream(1000000, {0, 417}));
    QCOMPARE(info.FirstFrameOffset, tag.size());
    QCOMPARE(info.Duration, 62000);

    // The search limit counts from the end of the tag; a footer adds 10 bytes.
    const QByteArray withFooter = id3v2(20000, 0x10) + QByteArray(10, 'f');
    analyze(info, withFooter + stream(20000, {10292, 10292 + 417}));
    QCOMPARE(info.FirstFrameOffset, withFooter.size() + 10292);
    analyze(info, tag + tag + stream(20000, {0, 417}));
    QCOMPARE(info.FirstFrameOffset, 2 * tag.size());

    // A size past the end of the file leaves no audio.
    analyze(info, id3v2(20000).left(5000) + stream(5000, {0, 417}));
    QCOMPARE(info.FirstFrameOffset, -1);
    QCOMPARE(info.Duration, 0);
}

void TstAudioInfo::falseHeaderIsPassedOver()
{
    // FF FE 41 00 is a valid MPEG-1 Layer I header, but no frame follows it.
    TMpegFrameHdr fake;
    QVERIFY(fake.Decode(reinterpret_cast<const quint8 *>(kFalseHdr.constData()), 4));

    QByteArray junk(1024, 'j');
    junk.replace(100, 4, kFalseHdr);
    TAudioInfo info;
    analyze(info, junk + stream(1000000, {0, 417}));
    QCOMPARE(info.FirstFrameOffset, 1024);
    QCOMPARE(info.Header.BitRate, 128);
    QCOMPARE(info.Duration, 62000);

    // A free-format header has no frame length to find its next frame by, and is no proof either.
    QByteArray freeFormat = junk;
    freeFormat.replace(200, 4, QByteArray("\xFF\xFB\x00\x64", 4));
    analyze(info, freeFormat + stream(1000000, {0, 417}));
    QCOMPARE(info.FirstFrameOffset, 1024);

    // With nothing behind it, no frame is taken.
    analyze(info, junk + QByteArray(1000000, 'j'));
    QCOMPARE(info.FirstFrameOffset, -1);
    QCOMPARE(info.Duration, 0);

    // A next header of another layer or rate refutes it as well.
    QByteArray mixed = stream(100000, {0});
    mixed.replace(417, 4, kHdrLsf);
    analyze(info, mixed);
    QCOMPARE(info.FirstFrameOffset, -1);
}

void TstAudioInfo::xingAndInfo()
{
    TAudioInfo info;
    analyze(info, withXing("Xing", 1, 1000, 0));
    QVERIFY(info.IsVBR);
    QCOMPARE(info.Duration, 26000); // 1000 * 1152 / 44100 = 26.1 s
    analyze(info, withXing("Xing", 0, 1000, 0));
    QCOMPARE(info.Duration, 0);
    analyze(info, withXing("Xing", 1, 1000, 0, kHdrMono, 21));
    QCOMPARE(info.Duration, 26000);
    analyze(info, withXing("Xing", 1, 1000, 0, kHdrMono, 36));
    QVERIFY(!info.IsVBR);

    // MPEG-2 Layer III frames hold 576 samples: 1000 * 576 / 22050 = 26.1 s.
    analyze(info, withXing("Xing", 1, 1000, 0, kHdrLsf, 21));
    QCOMPARE(info.Duration, 26000);

    // Halves go to even: 125 and 375 frames at 32000 Hz are 4.5 and 13.5 s.
    const QByteArray hdr32k("\xFF\xFB\x98\x64", 4);
    analyze(info, withXing("Xing", 1, 125, 0, hdr32k));
    QCOMPARE(info.Duration, 4000);
    analyze(info, withXing("Xing", 1, 375, 0, hdr32k));
    QCOMPARE(info.Duration, 14000);

    // An Info header gives the frame count of a constant-rate stream (bytes alone say 6 s).
    analyze(info, withXing("Info", 3, 1000, 100000));
    QVERIFY(!info.IsVBR);
    QCOMPARE(info.Duration, 26000);
    analyze(info, withXing("Info", 0, 1000, 0));
    QCOMPARE(info.Duration, 6000);

    // A VBRI header lies 32 bytes after the frame header, its byte and frame counts at 10 and 14.
    QByteArray vbri = stream(100000, {0, 417});
    vbri.replace(36, 18, QByteArray("VBRI\0\1\0\0\0\0\0\1\x86\xA0\0\0\x03\xE8", 18));
    analyze(info, vbri);
    QVERIFY(info.IsVBR);
    QCOMPARE(info.Duration, 26000);
    vbri.replace(46, 4, QByteArray("\0\x06\x1A\x80", 4)); // 400,000 bytes counted, a quarter held
    analyze(info, vbri);
    QCOMPARE(info.Duration, 7000);
}

void TstAudioInfo::truncatedXingStream()
{
    // The header counts 200,000 bytes, the stream holds 100,000: half of 26.1 s is left.
    TAudioInfo info;
    analyze(info, withXing("Xing", 3, 1000, 200000));
    QCOMPARE(info.Duration, 13000);
    analyze(info, withXing("Xing", 3, 1000, 100000));
    QCOMPARE(info.Duration, 26000);
    analyze(info, withXing("Xing", 3, 1000, 100000) + tagImage());
    QCOMPARE(info.Duration, 26000);
}

void TstAudioInfo::variableRateWithoutHeader()
{
    // 1000 frames of 1152 samples at 44100 Hz are 26.1 s, whatever follows them.
    QByteArray apeItem = variableStream(200); // frames inside a tag are no audio
    apeItem.prepend(QByteArray("\0\0\0\0\0\0\0\0Cover\0", 14));
    QByteArray apeFooter("APETAGEX\xD0\x07\0\0", 12);
    for (quint32 v : {quint32(apeItem.size() + 32), 1u, 0u})
        for (int shift : {0, 8, 16, 24})
            apeFooter += char((v >> shift) & 0xFF);
    apeFooter += QByteArray(8, '\0');
    const QByteArray frames = variableStream(1000);
    QByteArray gap = frames;
    gap.insert(frames.size() / 2 - 100, QByteArray(5000, '\0'));
    for (const QByteArray &b : {frames, frames + tagImage(), frames + apeItem + apeFooter + tagImage(), gap,
                                frames + QByteArray(300, '\0') + kHdr128, frames + kHdr128 + QByteArray(100, '\0'),
                                frames + QByteArray(3000000, '\0')}) {
        TAudioInfo info;
        analyze(info, b);
        QVERIFY(info.IsVBR);
        QCOMPARE(info.Duration, 26000);
    }

    // 1015 frames are 26.51 s, 1014 are 26.49 s: a last frame cut short does not count.
    const QByteArray longer = variableStream(1015);
    QCOMPARE(durationOf(longer), 27000);
    for (qint64 cut = longer.size() - 940; cut < longer.size(); cut += 7)
        QCOMPARE(durationOf(longer.left(cut)), 26000);
    // Frames that stop halfway.
    QCOMPARE(durationOf(frames.left(frames.size() / 2) + QByteArray(frames.size() / 2, 'j')), 13000);

    // Runs of sync-like bytes hold no frame.
    QCOMPARE(durationOf(QByteArray(2000000, '\xFF')), 0);
    QCOMPARE(durationOf(kHdr128.repeated(500000)), 0);
}

void TstAudioInfo::corpusFiles_data()
{
    // Files that a first-frame guess gets wrong, made by make-audio-corpus.sh --small with the
    // lengths ffmpeg decodes from them.
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("decoded");
    QFile lengths(QStringLiteral(KS_TEST_DATA_DIR "/audio/corpus/lengths.tsv"));
    QVERIFY(lengths.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!lengths.atEnd()) {
        const QList<QByteArray> fields = lengths.readLine().trimmed().split('\t');
        QCOMPARE(fields.size(), 2);
        QTest::newRow(fields[0].constData()) << QString::fromLatin1(fields[0]) << fields[1].toLongLong();
    }
}

void TstAudioInfo::corpusFiles()
{
    QFETCH(QString, file);
    QFETCH(qint64, decoded);
    TAudioInfo info;
    info.AnalyzeFile(QStringLiteral(KS_TEST_DATA_DIR "/audio/corpus/") + file);
    QVERIFY2(qAbs(info.Duration - decoded) <= 1000, qPrintable(QString::number(info.Duration)));
}

void TstAudioInfo::rangeOfStream()
{
    const QByteArray bytes = QByteArray(5000, 'p') + stream(500000, {100, 517}) + tagImage();
    TAudioInfo info;
    analyze(info, bytes, 5000);
    QCOMPARE(info.FirstFrameOffset, 100);
    QCOMPARE(info.Duration, 31000);
    QVERIFY(info.Tag.Exists);
    analyze(info, bytes, 5000, 1 << 30); // a size past the end is cut to the stream
    QCOMPARE(info.Duration, 31000);
    analyze(info, bytes, 5000, 300000);
    QCOMPARE(info.Duration, 18000);
    QVERIFY(!info.Tag.Exists);
}

void TstAudioInfo::over4GB()
{
    // 4.5 GB of silence after constant or variable-rate frames, then a tag, without a file of that size.
    struct LongStream : QIODevice
    {
        QByteArray head;
        QByteArray tail = tagImage();
        qint64 total = 4500000000LL + 128;
        qint64 size() const override { return total; }
        qint64 readData(char *data, qint64 maxSize) override
        {
            const qint64 at = pos();
            const qint64 n = qMin(maxSize, total - at);
            std::memset(data, 0, size_t(n));
            for (qint64 i = at; i < qMin(at + n, qint64(head.size())); ++i)
                data[i - at] = head[i];
            for (qint64 i = qMax(at, total - tail.size()); i < at + n; ++i)
                data[i - at] = tail[i - (total - tail.size())];
            return n;
        }
        qint64 writeData(const char *, qint64) override { return -1; }
    };
    const std::pair<QByteArray, qint64> cases[] = {{stream(1000, {0, 417}), 4500000000LL * 8 / 128000 * 1000},
                                                   {variableStream(1000), 26000}};
    for (const auto &[head, duration] : cases) {
        LongStream longStream;
        longStream.head = head;
        QVERIFY(longStream.open(QIODevice::ReadOnly));
        TAudioInfo info;
        info.AnalyzeStream(longStream, longStream.size());
        QVERIFY(info.Tag.Exists);
        QCOMPARE(info.Duration, duration);
    }
}

void TstAudioInfo::encoderFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<bool>("vbr");
    QTest::addColumn<int>("sampleRate");
    // Every file but the cut one holds 4 s of sound; ffmpeg decodes the cut one to 2.35 s.
    QTest::newRow("cbr with Info") << "cbr64_44k_info.mp3" << qint64(4000) << false << 44100;
    QTest::newRow("mpeg2.5 cbr 8k") << "cbr8_8k.mp3" << qint64(4000) << false << 8000;
    QTest::newRow("xing") << "vbr_44k_xing.mp3" << qint64(4000) << true << 44100;
    QTest::newRow("xing mono") << "vbr_44k_mono_xing.mp3" << qint64(4000) << true << 44100;
    QTest::newRow("mpeg2 xing") << "vbr_22k_xing.mp3" << qint64(4000) << true << 22050;
    QTest::newRow("mpeg2.5 xing") << "vbr_11k_xing.mp3" << qint64(4000) << true << 11025;
    QTest::newRow("mpeg2 layer II") << "mp2_32k_22k.mp3" << qint64(4000) << false << 22050;
    QTest::newRow("id3v2 picture") << "id3v2_picture_vbr.mp3" << qint64(4000) << true << 44100;
    QTest::newRow("truncated") << "truncated_vbr.mp3" << qint64(2000) << true << 44100;
}

void TstAudioInfo::encoderFiles()
{
    QFETCH(QString, file);
    TAudioInfo info;
    info.AnalyzeFile(QStringLiteral(KS_TEST_DATA_DIR "/audio/") + file);
    QTEST(info.Duration, "duration");
    QTEST(info.IsVBR, "vbr");
    QTEST(info.Header.SampleRate, "sampleRate");
    QVERIFY(info.Header.Valid);
}

void TstAudioInfo::fileFacts()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral(".hidden.mp3"), stream(100000, {0, 417}));
    const QDateTime stamp(QDate(2021, 6, 15), QTime(13, 45, 31));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));

    TAudioInfo info;
    info.Duration = 777;
    info.AnalyzeFile(QStringLiteral("   "));
    QCOMPARE(info.Duration, 777);
    QCOMPARE(info.FileSize, -1);

    info.AnalyzeFile(path);
    QCOMPARE(info.FileSize, 100000);
    QCOMPARE(info.FileAge, (qint64(41 << 9 | 6 << 5 | 15) << 16) | (13 << 11 | 45 << 5 | 15));
    QCOMPARE(info.FileAttributes, FileStamp::ReadOnly | FileStamp::Hidden | FileStamp::Archive);
}

void TstAudioInfo::fileErrors()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.mp3"));
    TAudioInfo info;
    info.AnalyzeFile(QStringLiteral(KS_TEST_DATA_DIR "/audio/cbr8_8k.mp3"));
    QCOMPARE(errorOf([&] { info.AnalyzeFile(missing); }), QStringLiteral("Cannot open file ") + missing);
    QCOMPARE(info.FirstFrameOffset, -1);
    QCOMPARE(info.FileSize, -1);
    QCOMPARE(info.FileAge, -1);
    QCOMPARE(errorOf([&] { info.AnalyzeFile(dir.path()); }), QStringLiteral("Cannot open file ") + dir.path());

    // A stream that holds less than it reports (a file cut while it is read) is a read error.
    struct ShrunkBuffer : QBuffer
    {
        qint64 size() const override { return QBuffer::size() + 1000; }
    } shrunk;
    QByteArray bytes = stream(5000, {0, 417});
    shrunk.setBuffer(&bytes);
    QVERIFY(shrunk.open(QIODevice::ReadOnly));
    QCOMPARE(errorOf([&] { info.AnalyzeStream(shrunk, 6000); }), QStringLiteral("Stream read error"));
}

void TstAudioInfo::unreadableFile()
{
    QTemporaryDir dir;
    TAudioInfo info;
    const QString locked = writeFile(dir, QStringLiteral("locked.mp3"), stream(1000, {0}));
    QVERIFY(QFile::setPermissions(locked, {}));
    QFile probe(locked);
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("permissions do not bind this user");
    QCOMPARE(errorOf([&] { info.AnalyzeFile(locked); }), QStringLiteral("Cannot open file ") + locked);
}

void TstAudioInfo::badInput()
{
    // Every length from 0 to 200 bytes, filled with headers, with the tag marker, or with a sync at the end.
    TAudioInfo info;
    for (int n = 0; n <= 200; ++n) {
        QByteArray headers;
        while (headers.size() < n)
            headers += kHdr128;
        headers.truncate(n);
        QByteArray tail(n, '\0');
        if (n >= 3)
            tail.replace(n - 3, 3, kHdr128.left(3));
        for (const QByteArray &b : {headers, tail, (QByteArray("TAG") + QByteArray(n, 'x')).left(n)}) {
            analyze(info, b);
            QVERIFY(info.Duration >= 0 && info.Duration <= 1000);
            QVERIFY(info.FirstFrameOffset < n);
        }
        QCOMPARE(info.FirstFrameOffset, -1);
        QCOMPARE(info.Tag.Exists, n == 128);
    }

    // Prefixes of real files, and random bytes seeded with the markers the analysis looks for.
    QStringList files;
    QDirIterator it(QStringLiteral(KS_TEST_DATA_DIR "/audio"), {QStringLiteral("*.mp3")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    QVERIFY(files.size() >= 20);
    QRandomGenerator rng(20261209);
    for (const QString &name : files) {
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        for (int i = 0; i < 40; ++i) {
            analyze(info, whole.left(rng.bounded(whole.size() + 1)));
            QVERIFY(info.Duration >= 0 && info.Duration <= 5000);
        }
    }
    const QByteArray markers[] = {kHdr128, kHdrMono, kHdrLsf, "ID3", "Xing", "Info", "TAG", kFalseHdr, "VBRI", "APETAGEX"};
    for (int i = 0; i < 3000; ++i) {
        QByteArray b(rng.bounded(3000), Qt::Uninitialized);
        for (char &c : b)
            c = char(rng.bounded(256));
        for (int k = rng.bounded(12); k > 0 && !b.isEmpty(); --k)
            b.replace(rng.bounded(b.size()), 4, markers[rng.bounded(int(std::size(markers)))]);
        analyze(info, b);
        QVERIFY(info.Duration >= 0);
        QVERIFY(info.FirstFrameOffset < b.size());
    }
}

QTEST_APPLESS_MAIN(TstAudioInfo)
#include "tst_AudioInfo.moc"
