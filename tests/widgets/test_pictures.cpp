// Tests of the picture decoders: pixels against Qt's own readers and known colours, and every failure path.
#include "KsError.h"
#include "TestSupport.h"
#include "Pictures.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace TestSupport;

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(KS_TEST_DATA_DIR "/pictures/") + name;
}

QByteArray fixtureBytes(const QString &name)
{
    QFile file(fixture(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

// The message LoadPicture fails with, or "decoded" when it does not fail.
QString failureOf(const QString &path)
{
    try {
        Pictures::LoadPicture(path);
    } catch (const KsError &e) {
        return e.message();
    }
    return u"decoded"_s;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT
private slots:
    void decodesLikeQt_data();
    void decodesLikeQt();
    void knownColours();
    void grayscaleStaysGray();
    void interlacedRowsInOrder();
    void extensionChoosesDecoder();
    void unknownExtension();
    void cannotOpen();
    void truncated_data();
    void truncated();
    void garbage_data();
    void garbage();
    void absurdSizeRefused();
    void damagedFilesFailCleanly();
};

void TestPictures::decodesLikeQt_data()
{
    QTest::addColumn<QString>("name");
    // Not offset.gif: Qt paints the screen outside the first frame in the background colour, we leave it clear.
    for (const char *name : { "rgb.jpg", "gray.jpg", "progressive.jpg", "cmyk.jpg", "transparent.gif", "interlaced.gif",
             "colours.bmp", "rle8.bmp", "colours.png" })
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPictures::decodesLikeQt()
{
    QFETCH(QString, name);
    const QImage ours = Pictures::LoadPicture(fixture(name)).convertToFormat(QImage::Format_ARGB32);
    const QImage qt = QImage(fixture(name)).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!qt.isNull(), "Qt cannot read the fixture");
    QCOMPARE(ours.size(), qt.size());
    for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x)
            if (ours.pixel(x, y) != qt.pixel(x, y))
                QFAIL(qPrintable(u"pixel %1,%2: %3 instead of %4"_s.arg(x)
                                     .arg(y)
                                     .arg(ours.pixel(x, y), 8, 16)
                                     .arg(qt.pixel(x, y), 8, 16)));
}

void TestPictures::knownColours()
{
    const QImage gif = Pictures::LoadPicture(fixture(u"transparent.gif"_s));
    QCOMPARE(gif.size(), QSize(16, 4));
    QCOMPARE(gif.pixel(1, 1), qRgb(255, 0, 0));
    QCOMPARE(gif.pixel(5, 2), qRgb(0, 255, 0));
    QCOMPARE(gif.pixel(9, 3), qRgb(0, 0, 255));
    QCOMPARE(qAlpha(gif.pixel(13, 0)), 0);

    // A 4x3 frame at 3,2 on a 10x8 screen: the rest of the screen is transparent.
    const QImage offset = Pictures::LoadPicture(fixture(u"offset.gif"_s));
    QCOMPARE(offset.size(), QSize(10, 8));
    QCOMPARE(offset.pixel(3, 2), qRgb(255, 0, 0));
    QCOMPARE(offset.pixel(6, 4), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(offset.pixel(2, 2)), 0);
    QCOMPARE(qAlpha(offset.pixel(7, 2)), 0);
    QCOMPARE(qAlpha(offset.pixel(3, 5)), 0);

    const QImage bmp = Pictures::LoadPicture(fixture(u"colours.bmp"_s));
    QCOMPARE(bmp.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(bmp.pixel(4, 3), qRgb(0, 255, 0));
    QCOMPARE(bmp.pixel(15, 3), qRgb(255, 255, 255));
    const QImage rle = Pictures::LoadPicture(fixture(u"rle8.bmp"_s));
    QCOMPARE(rle.pixel(15, 7), qRgb(255, 0, 0));
    QCOMPARE(rle.pixel(16, 0), qRgb(0, 0, 255));

    const QImage png = Pictures::LoadPicture(fixture(u"colours.png"_s));
    QCOMPARE(png.pixel(8, 0), qRgb(0, 0, 255));
    QVERIFY(qAbs(qAlpha(png.pixel(12, 0)) - 128) <= 1);

    // Adobe CMYK: left half red, right half blue.
    const QImage cmyk = Pictures::LoadPicture(fixture(u"cmyk.jpg"_s));
    const auto near = [](QRgb a, QRgb b) {
        return qAbs(qRed(a) - qRed(b)) <= 12 && qAbs(qGreen(a) - qGreen(b)) <= 12 && qAbs(qBlue(a) - qBlue(b)) <= 12;
    };
    QVERIFY2(near(cmyk.pixel(2, 4), qRgb(255, 0, 0)), qPrintable(QString::number(cmyk.pixel(2, 4), 16)));
    QVERIFY2(near(cmyk.pixel(13, 4), qRgb(0, 0, 255)), qPrintable(QString::number(cmyk.pixel(13, 4), 16)));
}

void TestPictures::grayscaleStaysGray()
{
    const QImage gray = Pictures::LoadPicture(fixture(u"gray.jpg"_s));
    QCOMPARE(gray.size(), QSize(24, 16));
    QVERIFY(gray.isGrayscale());
    QVERIFY(qGray(gray.pixel(0, 0)) > 200); // white at the top
    QVERIFY(qGray(gray.pixel(0, 15)) < 55); // black at the bottom
}

void TestPictures::interlacedRowsInOrder()
{
    // A top-to-bottom gradient: rows out of interlace order would break the rise in brightness.
    const QImage image = Pictures::LoadPicture(fixture(u"interlaced.gif"_s));
    QCOMPARE(image.height(), 16);
    for (int y = 1; y < image.height(); ++y)
        QVERIFY2(qGray(image.pixel(0, y)) > qGray(image.pixel(0, y - 1)), qPrintable(QString::number(y)));
}

void TestPictures::extensionChoosesDecoder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QImage expected = Pictures::LoadPicture(fixture(u"rgb.jpg"_s));
    for (const QString &name : { u"COVER.JPG"_s, u"cover.Jpeg"_s, u"folder.png.d/cover.jpg"_s }) {
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path()));
        QCOMPARE(Pictures::LoadPicture(writeFile(dir, name, fixtureBytes(u"rgb.jpg"_s))), expected);
    }
    QCOMPARE(
        Pictures::LoadPicture(writeFile(dir, u"A.GIF"_s, fixtureBytes(u"transparent.gif"_s))).size(), QSize(16, 4));
    QCOMPARE(Pictures::LoadPicture(writeFile(dir, u"a.BMP"_s, fixtureBytes(u"colours.bmp"_s))).size(), QSize(16, 4));
    // The extension decides, not the content: a PNG named .jpg is a broken JPEG, a JPEG named .bmp a broken bitmap.
    QCOMPARE(failureOf(writeFile(dir, u"png.jpg"_s, fixtureBytes(u"colours.png"_s))),
        u"Not a JPEG file: starts with 0x89 0x50"_s);
    QCOMPARE(failureOf(writeFile(dir, u"jpeg.bmp"_s, fixtureBytes(u"rgb.jpg"_s))), u"Bitmap image is not valid"_s);
}

void TestPictures::unknownExtension()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray jpeg = fixtureBytes(u"rgb.jpg"_s);
    QCOMPARE(failureOf(writeFile(dir, u"cover.tiff"_s, jpeg)), u"Unknown picture file extension (.tiff)"_s);
    QCOMPARE(failureOf(writeFile(dir, u"cover.JPG2"_s, jpeg)), u"Unknown picture file extension (.JPG2)"_s);
    QCOMPARE(failureOf(writeFile(dir, u"cover"_s, jpeg)), u"Unknown picture file extension (.)"_s);
    QCOMPARE(failureOf(writeFile(dir, u"cover."_s, jpeg)), u"Unknown picture file extension (.)"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"art.jpg"_s));
    QCOMPARE(failureOf(writeFile(dir, u"art.jpg/cover"_s, jpeg)), u"Unknown picture file extension (.)"_s);
    // The extension is judged before the file is opened.
    QCOMPARE(failureOf(dir.filePath(u"missing.txt"_s)), u"Unknown picture file extension (.txt)"_s);
}

void TestPictures::cannotOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(u"missing.jpg"_s);
    QCOMPARE(failureOf(missing), u"Cannot open file "_s + missing);
    const QString folder = dir.filePath(u"folder.gif"_s);
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(failureOf(folder), u"Cannot open file "_s + folder);
    const QString fifo = dir.filePath(u"fifo.jpg"_s); // opening it would wait for a writer
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    QCOMPARE(failureOf(fifo), u"Cannot open file "_s + fifo);
}

void TestPictures::truncated_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure"); // the whole message, or its start followed by "*"
    const QString jpeg = u"*"_s;
    QTest::newRow("jpg") << u"rgb.jpg"_s << jpeg;
    QTest::newRow("progressive jpg") << u"progressive.jpg"_s << jpeg;
    QTest::newRow("gray jpg") << u"gray.jpg"_s << jpeg;
    QTest::newRow("gif") << u"transparent.gif"_s << u"GIF image is not valid: *"_s;
    QTest::newRow("interlaced gif") << u"interlaced.gif"_s << u"GIF image is not valid: *"_s;
    QTest::newRow("bmp") << u"colours.bmp"_s << u"Bitmap image is not valid"_s;
    QTest::newRow("run-length bmp") << u"rle8.bmp"_s << u"Bitmap image is not valid"_s;
    QTest::newRow("png") << u"colours.png"_s << u"PNG image is not valid"_s;
}

void TestPictures::truncated()
{
    QFETCH(QString, name);
    QFETCH(QString, failure);
    const QByteArray whole = fixtureBytes(name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const qsizetype length : { qsizetype(0), qsizetype(1), qsizetype(12), whole.size() / 2, whole.size() - 6 }) {
        const QString message = failureOf(writeFile(dir, name, whole.left(length)));
        const QString context = u"cut to %1 bytes: %2"_s.arg(length).arg(message);
        QVERIFY2(message != u"decoded"_s, qPrintable(context));
        if (failure.endsWith(u'*'))
            QVERIFY2(message.startsWith(failure.chopped(1)), qPrintable(context));
        else
            QCOMPARE(message, failure);
    }
    const QString cut = failureOf(writeFile(dir, name, whole.left(whole.size() / 2)));
    if (name.endsWith(u".jpg"_s))
        QCOMPARE(cut, u"Premature end of JPEG file"_s);
}

void TestPictures::garbage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure");
    QTest::newRow("jpg") << u"junk.jpg"_s << u"Not a JPEG file: starts with 0x6e 0x6f"_s;
    QTest::newRow("gif") << u"junk.gif"_s << u"GIF image is not valid: Data is not in GIF format"_s;
    QTest::newRow("bmp") << u"junk.bmp"_s << u"Bitmap image is not valid"_s;
    QTest::newRow("png") << u"junk.png"_s << u"PNG image is not valid"_s;
}

void TestPictures::garbage()
{
    QFETCH(QString, name);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray junk;
    for (int i = 0; i < 200; ++i)
        junk += "not a picture " + QByteArray::number(i * 7919 % 256) + '\0';
    QCOMPARE(failureOf(writeFile(dir, name, junk)), failure);
    // A right signature followed by junk.
    const QByteArray head = fixtureBytes(name == u"junk.jpg"_s ? u"rgb.jpg"_s
            : name == u"junk.gif"_s                            ? u"transparent.gif"_s
            : name == u"junk.bmp"_s                            ? u"colours.bmp"_s
                                                               : u"colours.png"_s)
                                .left(4);
    QVERIFY(failureOf(writeFile(dir, name, head + junk)) != u"decoded"_s);
}

void TestPictures::absurdSizeRefused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The JPEG's frame header claims 65000 x 65000 pixels.
    QByteArray jpeg = fixtureBytes(u"rgb.jpg"_s);
    const qsizetype sof = jpeg.indexOf("\xff\xc0");
    QVERIFY(sof > 0);
    jpeg[sof + 5] = char(0xfd);
    jpeg[sof + 6] = char(0xe8);
    jpeg[sof + 7] = char(0xfd);
    jpeg[sof + 8] = char(0xe8);
    QCOMPARE(failureOf(writeFile(dir, u"big.jpg"_s, jpeg)), u"Picture size 65000 x 65000 is not supported"_s);

    QByteArray gif = fixtureBytes(u"transparent.gif"_s);
    gif[6] = gif[7] = gif[8] = gif[9] = char(0xff);
    QCOMPARE(failureOf(writeFile(dir, u"big.gif"_s, gif)), u"Picture size 65535 x 65535 is not supported"_s);
}

void TestPictures::damagedFilesFailCleanly()
{
    // Bytes changed at random (a fixed seed): each file decodes or fails with a message, and never
    // reads outside its buffers (run under valgrind or the sanitizers to see that part).
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QRandomGenerator random(20261209);
    int failures = 0;
    for (const QString &name : { u"rgb.jpg"_s, u"progressive.jpg"_s, u"cmyk.jpg"_s, u"interlaced.gif"_s,
             u"transparent.gif"_s, u"offset.gif"_s, u"colours.bmp"_s, u"rle8.bmp"_s }) {
        const QByteArray whole = fixtureBytes(name);
        for (int round = 0; round < 150; ++round) {
            QByteArray damaged = whole;
            const int changes = 1 + int(random.bounded(4));
            for (int c = 0; c < changes; ++c)
                damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
            const QString message = failureOf(writeFile(dir, name, damaged));
            QVERIFY(!message.isEmpty());
            failures += message != u"decoded"_s;
        }
    }
    QVERIFY(failures > 0);
}

QTEST_GUILESS_MAIN(TestPictures)
#include "test_pictures.moc"
