// Tests of TMpegFrameHdr: decoding of the header fields, frame lengths and the header search.
#include "MpegFrameHdr.h"

#include <QTest>

class TstMpegFrameHdr : public QObject
{
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void shortDecodeChangesNothing();
    void findFrame();
};

void TstMpegFrameHdr::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("layer");
    QTest::addColumn<int>("bitRate");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("frameLength");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("samples");

    QTest::newRow("mpeg1 L3 128k") << QByteArray("\xFF\xFB\x90\x64", 4) << 1 << 3 << 128 << 44100 << 417 << true << 1152;
    QTest::newRow("padded") << QByteArray("\xFF\xFB\x92\x64", 4) << 1 << 3 << 128 << 44100 << 418 << true << 1152;
    QTest::newRow("bit-rate index 15") << QByteArray("\xFF\xFB\xF0\x64", 4) << 1 << 3 << -1 << 44100 << 0 << false << 1152;
    QTest::newRow("rate index 3") << QByteArray("\xFF\xFB\x9C\x64", 4) << 1 << 3 << 128 << -1 << 0 << false << 1152;
    QTest::newRow("version reserved") << QByteArray("\xFF\xEB\x90\x64", 4) << 0 << 3 << -1 << -1 << 0 << false << 0;
    QTest::newRow("layer reserved") << QByteArray("\xFF\xF9\x90\x64", 4) << 1 << 0 << -1 << 44100 << 0 << false << 0;
    QTest::newRow("free format") << QByteArray("\xFF\xFB\x02\x64", 4) << 1 << 3 << 0 << 44100 << 1 << true << 1152;
    // Layer I counts 4-byte slots: 12 * 288000 / 44100 = 78.4 slots.
    QTest::newRow("mpeg1 L1") << QByteArray("\xFF\xFF\x90\x00", 4) << 1 << 1 << 288 << 44100 << 312 << true << 384;
    QTest::newRow("mpeg2 L1 padded") << QByteArray("\xFF\xF7\x82\x00", 4) << 2 << 1 << 128 << 22050 << 280 << true << 384;
    // Layer II keeps coefficient 144 at the low rates; Layer III halves it.
    QTest::newRow("mpeg2 L2") << QByteArray("\xFF\xF5\x80\x00", 4) << 2 << 2 << 64 << 22050 << 417 << true << 1152;
    QTest::newRow("mpeg2 L3") << QByteArray("\xFF\xF3\x80\x00", 4) << 2 << 3 << 64 << 22050 << 208 << true << 576;
    QTest::newRow("mpeg2.5 L3 11025") << QByteArray("\xFF\xE3\x90\x00", 4) << 3 << 3 << 80 << 11025 << 522 << true << 576;
    QTest::newRow("mpeg2.5 L3 12000") << QByteArray("\xFF\xE3\x94\x00", 4) << 3 << 3 << 80 << 12000 << 480 << true << 576;
    QTest::newRow("mpeg2.5 L3 8000") << QByteArray("\xFF\xE3\x18\xC0", 4) << 3 << 3 << 8 << 8000 << 72 << true << 576;
}

void TstMpegFrameHdr::decode()
{
    QFETCH(QByteArray, bytes);
    TMpegFrameHdr h;
    const bool valid = h.Decode(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size());
    QTEST(valid, "valid");
    QTEST(h.Valid, "valid");
    QTEST(h.Version, "version");
    QTEST(h.Layer(), "layer");
    QTEST(h.BitRate, "bitRate");
    QTEST(h.SampleRate, "sampleRate");
    QTEST(h.FrameLength, "frameLength");
    QTEST(h.SamplesPerFrame(), "samples");
}

void TstMpegFrameHdr::shortDecodeChangesNothing()
{
    TMpegFrameHdr h;
    const quint8 good[] = {0xFF, 0xFB, 0x90, 0x64};
    QVERIFY(h.Decode(good, 4));
    const quint8 other[] = {0xFF, 0xE3, 0x18};
    QVERIFY(!h.Decode(other, 3));
    QCOMPARE(h.HeaderBytes[1], quint8(0xFB));
    QVERIFY(h.Valid);
    QCOMPARE(h.ChannelMode(), 1);
    QCOMPARE(TMpegFrameHdr::ChannelModeNames[h.ChannelMode()], QStringLiteral("Joint Stereo"));
}

void TstMpegFrameHdr::findFrame()
{
    TMpegFrameHdr h;
    QCOMPARE(h.FindFrame(nullptr, 3), -1); // too short to look at
    const quint8 atStart[] = {0xFF, 0xFB, 0x90, 0x64, 0x00};
    QCOMPARE(h.FindFrame(atStart, 5), 0);

    // An invalid candidate is passed over and leaves its fields until a valid one replaces them.
    const quint8 later[] = {0x00, 0xFF, 0xFB, 0xF0, 0x64, 0xFF, 0xE3, 0x18, 0xC0};
    QCOMPARE(h.FindFrame(later, sizeof later), 5);
    QCOMPARE(h.SampleRate, 8000);

    const quint8 tailOnly[] = {0x00, 0x00, 0x00, 0xFF, 0xFB, 0x90};
    QCOMPARE(h.FindFrame(tailOnly, sizeof tailOnly), -1);
    const quint8 onlyBad[] = {0xFF, 0xFB, 0xF0, 0x64};
    QCOMPARE(h.FindFrame(onlyBad, 4), -1);
    QVERIFY(!h.Valid);
    QCOMPARE(h.BitRate, -1);
}

QTEST_APPLESS_MAIN(TstMpegFrameHdr)
#include "tst_MpegFrameHdr.moc"
