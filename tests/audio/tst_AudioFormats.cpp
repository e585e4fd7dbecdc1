// Tests of the play times of the formats besides MP3: the small mixed set against the lengths ffmpeg
// decodes, files cut or damaged anywhere, and the play-time texts of audio file names.
#include "AudioInfo.h"
#include "PlayTime.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace TestSupport;

namespace {

const QString kDir = QStringLiteral(KS_TEST_DATA_DIR "/audio/corpus/formats/");

// The format each file of the set is made in, by the start of its name, and how far the exact length
// may lie from the decoded one: ffmpeg decodes the padding of the last AAC and Speex frame and drops part
// of the last WMA frame; every other count is the decoder's to the millisecond. MP3 inside WAV keeps no
// count (below -1): its frames time it as any MP3 file, within a second.
struct Kind
{
    const char *prefix;
    const char *format;
    double below, above;
};
const Kind kKinds[] = {
    {"aac_", "MP4", 130, 0},         {"alac_", "MP4", 1, 1},          {"aiff_", "AIFF", 1, 1},
    {"cut_opus_", "Opus", 1, 1},     {"cut_vorbis_", "Ogg Vorbis", 1, 1}, {"cut_wav_", "WAV", 1, 1},
    {"flac_", "FLAC", 1, 1},         {"oggflac_", "Ogg FLAC", 1, 1},  {"opus_", "Opus", 1, 1},
    {"speex_", "Speex", 10, 0},      {"tta_", "TrueAudio", 1, 1},     {"vorbis_", "Ogg Vorbis", 1, 1},
    {"wav_", "WAV", 1, 1},           {"wav_mp3_", "WAV", -1, -1},     {"wavpack_", "WavPack", 1, 1},
    {"wma_", "Windows Media Audio", 0, 130},
};

const Kind &kindOf(const QString &file)
{
    const Kind *best = nullptr;
    for (const Kind &k : kKinds)
        if (file.startsWith(QLatin1String(k.prefix)) && (!best || qstrlen(k.prefix) > qstrlen(best->prefix)))
            best = &k;
    if (!best)
        qFatal("no kind for %s", qPrintable(file));
    return *best;
}

QByteArray bytesOf(const QString &file)
{
    QFile f(kDir + file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    return f.readAll();
}

// The analysis of the first size bytes of a file's image.
TAudioInfo analyze(const QByteArray &bytes, qint64 size)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TAudioInfo info;
    info.AnalyzeStream(buffer, size);
    return info;
}

} // namespace

class TstAudioFormats : public QObject
{
    Q_OBJECT

private slots:
    void mixedSet_data()
    {
        // Made by make-audio-corpus.sh --small, with the lengths ffmpeg decodes from them.
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("decoded");
        QFile lengths(kDir + u"lengths.tsv"_s);
        QVERIFY(lengths.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!lengths.atEnd()) {
            const QList<QByteArray> fields = lengths.readLine().trimmed().split('\t');
            QCOMPARE(fields.size(), 2);
            QTest::newRow(fields[0].constData()) << QString::fromLatin1(fields[0]) << fields[1].toLongLong();
        }
    }

    void mixedSet()
    {
        QFETCH(QString, file);
        QFETCH(qint64, decoded);
        const Kind &kind = kindOf(file);
        TAudioInfo info;
        info.AnalyzeFile(kDir + file);
        QCOMPARE(AudioFormats::Name(info.Format), QString::fromLatin1(kind.format));
        if (kind.below < 0) {
            QVERIFY(!info.Samples.Known() && info.FirstFrameOffset > 0);
            QVERIFY2(qAbs(info.Duration - decoded) < 1000, qPrintable(QString::number(info.Duration)));
            return;
        }
        QVERIFY(info.Samples.Known());
        const double exact = double(info.Samples.Frames) * 1000 / double(info.Samples.Rate);
        QVERIFY2(exact >= double(decoded) - kind.below && exact <= double(decoded) + kind.above,
                 qPrintable(QString::number(exact)));
        QCOMPARE(info.Duration, (decoded + 500) / 1000 * 1000); // no length of the set ends near a half second
    }

    void cutOrDamagedAnywhere_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file : {"flac_picture_short.flac", "vorbis_q4_short.ogg", "opus_preskip120_short.opus",
                                 "oggflac_short.oga", "aac_cbr_short.m4a", "aac_faststart_short.m4a",
                                 "wav_adpcm_short.wav", "aiff_short.aiff", "wavpack_short.wv", "wma_short.wma"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }

    void cutOrDamagedAnywhere()
    {
        // A file cut shorter never gets a longer time; bytes damaged anywhere read nothing outside the file.
        QFETCH(QString, file);
        const QByteArray bytes = bytesOf(file);
        const qint64 full = analyze(bytes, bytes.size()).Duration;
        QVERIFY(full > 0);
        qint64 previous = 0;
        for (qint64 size = 0; size <= bytes.size(); size += size < 256 ? 7 : bytes.size() / 40 + 1) {
            const qint64 d = analyze(bytes, size).Duration;
            QVERIFY2(d >= previous && d <= full, qPrintable(u"%1 bytes: %2 ms"_s.arg(size).arg(d)));
            previous = d;
        }
        QRandomGenerator random(20);
        for (int i = 0; i < 300; ++i) {
            QByteArray damaged = bytes;
            const qint64 region = qMin<qint64>(bytes.size(), 512);
            for (int n = random.bounded(1, 8); n > 0; --n) {
                const qint64 at = random.bounded(region);
                damaged[i % 2 ? at : bytes.size() - 1 - at] = char(random.bounded(256));
            }
            QVERIFY(analyze(damaged, damaged.size()).Duration >= 0);
        }
    }

    void playTimeTexts()
    {
        // A time for every audio name, by content; none for other names, which are not opened.
        QTemporaryDir dir;
        const QByteArray flac = bytesOf(u"flac_short.flac"_s);
        const struct
        {
            QString name;
            QByteArray bytes;
            QString any;
            bool readable;
        } cases[] = {
            {u"Song.FLAC"_s, flac, u"00:03"_s, true},
            {u"misnamed.mp3"_s, flac, u"00:03"_s, true},
            {u"notes.txt"_s, flac, QString(), true},
            {u"noise.ogg"_s, QByteArray(3000, 'x'), u"00:00"_s, true},
            {u"gone.opus"_s, QByteArray(), u"00:00"_s, false},
        };
        for (const auto &c : cases) {
            const QString path = c.bytes.isEmpty() ? dir.filePath(c.name) : writeFile(dir, c.name, c.bytes);
            TAudioInfo info;
            bool readable = false;
            QCOMPARE(PlayTime::OfAudioFile(info, path, readable), c.any);
            QCOMPARE(readable, c.readable);
        }
    }
};

QTEST_GUILESS_MAIN(TstAudioFormats)
#include "tst_AudioFormats.moc"
