// Tests of TID3v1Tag: parsing, building, code page 1251 text, and the file operations with their failures.
#include "ID3Tags.h"
#include "TestSupport.h"
#include "KsError.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace TestSupport;

namespace {

QByteArray image(const QByteArray &title = "Title", char b125 = 0, char b126 = 7, char genre = 17)
{
    QByteArray t(128, '\0');
    t.replace(0, 3, "TAG");
    t.replace(3, title.size(), title);
    t.replace(97, 4, "Note");
    t[125] = b125;
    t[126] = b126;
    t[127] = genre;
    return t;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TstID3Tags : public QObject
{
    Q_OBJECT
private slots:
    void genreList();
    void readFields();
    void readWithoutMarker();
    void setFieldsAndWidths();
    void saveToBuffer();
    void text1251();
    void fileOperations();
    void fileErrors();
    void failedWriteLeavesFileIntact_data();
    void failedWriteLeavesFileIntact();
};

void TstID3Tags::genreList()
{
    const QStringList &g = GenreList();
    QCOMPARE(g.size(), 148);
    QCOMPARE(g.first(), QStringLiteral("Blues"));
    QCOMPARE(g[79], QStringLiteral("Hard Rock"));
    QCOMPARE(g[80], QStringLiteral("Folk"));
    QCOMPARE(g[136], QStringLiteral("Christian Gangs"));
    QCOMPARE(g[140], QStringLiteral("Contemporary Ch?"));
    QCOMPARE(g[141], QStringLiteral("Cristian Rock"));
    QCOMPARE(g[147], QStringLiteral("Synthpop"));
}

void TstID3Tags::readFields()
{
    TID3v1Tag tag;
    QByteArray t = image(QByteArray("Word") + QByteArray(26, '\0'));
    t.replace(33, 30, QByteArray("Word") + QByteArray(26, ' '));
    t.replace(63, 5, QByteArray("A\0BC\x01", 5));
    tag.ReadFromBuffer(t.constData(), t.size());
    QVERIFY(tag.Exists);
    QCOMPARE(tag.Title, QStringLiteral("Word"));
    QCOMPARE(tag.Artist, QStringLiteral("Word"));
    QCOMPARE(tag.Album, QStringLiteral("A"));
    QCOMPARE(tag.Track, 7);
    QVERIFY(!tag.NoTrack);
    QCOMPARE(tag.Comment, QStringLiteral("Note"));
    QCOMPARE(tag.GenreName, QStringLiteral("Rock"));

    // A letter in byte 125 belongs to a 30-byte comment; 0 followed by 0 is no track either.
    t = image("T", 'x', 'y', char(147));
    t.replace(97, 28, QByteArray(28, 'c'));
    tag.ReadFromBuffer(t.constData(), t.size());
    QVERIFY(tag.NoTrack);
    QCOMPARE(tag.Track, 0);
    QCOMPARE(tag.Comment.size(), 30);
    QCOMPARE(tag.GenreName, QStringLiteral("Synthpop"));
    t = image("T", 0, 0, char(255));
    tag.ReadFromBuffer(t.constData(), t.size());
    QVERIFY(tag.NoTrack);
    QCOMPARE(tag.Genre, 255);
    QVERIFY(tag.GenreName.isEmpty());
}

void TstID3Tags::readWithoutMarker()
{
    TID3v1Tag tag;
    const QByteArray t = image("Kept");
    tag.ReadFromBuffer(t.constData(), t.size());
    QByteArray lower = image("Lost");
    lower.replace(0, 3, "tag");
    tag.ReadFromBuffer(lower.constData(), lower.size());
    QVERIFY(!tag.Exists);
    QCOMPARE(tag.Title, QStringLiteral("Kept"));
    tag.ReadFromBuffer(t.constData(), 127);
    QVERIFY(!tag.Exists);
}

void TstID3Tags::setFieldsAndWidths()
{
    TID3v1Tag tag;
    const QString c30(30, u'c');
    tag.SetTextField(TID3v1Tag::FieldComment, c30);
    QCOMPARE(tag.Comment.size(), 28);
    QVERIFY(tag.Modified);
    tag.NoTrack = true;
    tag.SetTextField(TID3v1Tag::FieldComment, c30);
    QCOMPARE(tag.Comment.size(), 30);
    tag.SetTextField(3, QStringLiteral("199912"));
    QCOMPARE(tag.Year, QStringLiteral("1999"));
    tag.SetTextField(4, QStringLiteral("Album"));
    QCOMPARE(tag.Album, QStringLiteral("Album"));

    tag.Modified = false;
    tag.SetTextField(TID3v1Tag::FieldYear, QStringLiteral("1999"));
    tag.SetTextField(6, QStringLiteral("nothing"));
    tag.SetTrack(0);
    QVERIFY(!tag.Modified);
    tag.SetTrack(5);
    QVERIFY(!tag.NoTrack);
    QVERIFY(tag.Modified);
    tag.SetTrack(0);
    QVERIFY(tag.NoTrack);
}

void TstID3Tags::saveToBuffer()
{
    TID3v1Tag tag;
    char small[127];
    std::memset(small, 'z', sizeof small);
    QCOMPARE(errorOf([&] { tag.SaveToBuffer(small, sizeof small); }), QStringLiteral("TID3v1Tag.Save: Buffer too small"));
    QCOMPARE(small[0], 'z');

    tag.SetTextField(TID3v1Tag::FieldTitle, QStringLiteral("Word"));
    tag.SetTrack(300);
    tag.Genre = 300;
    char out[128];
    tag.SaveToBuffer(out, 128);
    QVERIFY(!tag.Modified);
    QCOMPARE(QByteArray(out, 34), QByteArray("TAGWord") + QByteArray(26, ' ') + ' ');
    QCOMPARE(out[125], '\0');
    QCOMPARE(uchar(out[126]), uchar(44));
    QCOMPARE(uchar(out[127]), uchar(44));

    // Without a track the comment fills bytes 125 and 126.
    tag.SetTrack(0);
    tag.SetTextField(TID3v1Tag::FieldComment, QString(30, u'c'));
    tag.SaveToBuffer(out, 128);
    QCOMPARE(QByteArray(out + 97, 30), QByteArray(30, 'c'));
}

void TstID3Tags::text1251()
{
    TID3v1Tag tag;
    tag.SetTextField(TID3v1Tag::FieldTitle, QString(31, u'Ж'));
    tag.SetTextField(TID3v1Tag::FieldArtist, QStringLiteral("Ёж 日本"));
    char out[128];
    tag.SaveToBuffer(out, 128);
    QCOMPARE(QByteArray(out + 3, 30), QByteArray(30, '\xC6'));
    QCOMPARE(QByteArray(out + 33, 6), QByteArray("\xA8\xE6 ?? "));
    TID3v1Tag back;
    back.ReadFromBuffer(out, 128);
    QCOMPARE(back.Title, QString(30, u'Ж'));
    QCOMPARE(back.Artist, QStringLiteral("Ёж ??"));
}

void TstID3Tags::fileOperations()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.mp3"));
    const QByteArray audio(100, 'a');
    writeFile(path, audio);

    TID3v1Tag tag;
    tag.SetTextField(TID3v1Tag::FieldTitle, QStringLiteral("One"));
    tag.SaveToFile(path);
    QCOMPARE(QFileInfo(path).size(), 228);
    tag.SetTextField(TID3v1Tag::FieldTitle, QStringLiteral("Two"));
    tag.SaveToFile(path);
    QCOMPARE(QFileInfo(path).size(), 228);
    QVERIFY(fileBytes(path).startsWith(audio));

    TID3v1Tag read;
    read.ReadFromFile(path);
    QVERIFY(read.Exists);
    QCOMPARE(read.Title, QStringLiteral("Two"));

    // Two tags in a row: each removal cuts one.
    writeFile(path, audio + image("First") + image("Second"));
    tag.RemoveFromFile(path);
    QCOMPARE(fileBytes(path), audio + image("First"));
    tag.RemoveFromFile(path);
    tag.RemoveFromFile(path);
    QCOMPARE(fileBytes(path), audio);
    read.ReadFromFile(path);
    QVERIFY(!read.Exists);
}

void TstID3Tags::fileErrors()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.mp3"));
    TID3v1Tag tag;
    QCOMPARE(errorOf([&] { tag.ReadFromFile(missing); }), QStringLiteral("Cannot open file ") + missing);
    QCOMPARE(errorOf([&] { tag.SaveToFile(missing); }), QStringLiteral("Cannot open file ") + missing);
    QVERIFY(!QFile::exists(missing));
    QCOMPARE(errorOf([&] { tag.RemoveFromFile(dir.path()); }), QStringLiteral("Cannot open file ") + dir.path());
    QCOMPARE(errorOf([&] { tag.ReadFromFile(dir.path()); }), QStringLiteral("Cannot open file ") + dir.path());

    // A range that claims more bytes than the stream holds is a read error.
    QByteArray bytes = image();
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(errorOf([&] { tag.ReadFromStream(buffer, 200); }), QStringLiteral("Stream read error"));
}

void TstID3Tags::failedWriteLeavesFileIntact_data()
{
    QTest::addColumn<QByteArray>("audio");
    QTest::newRow("append") << QByteArray(100, 'a');
    QTest::newRow("replace") << QByteArray(100, 'a') + "TAG" + QByteArray(125, 'o');
}

void TstID3Tags::failedWriteLeavesFileIntact()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, audio);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.mp3"));
    writeFile(path, audio);
    TID3v1Tag tag;
    tag.SetTextField(TID3v1Tag::FieldTitle, QStringLiteral("T"));

    // A file size limit makes the append, or the replacement of the old tag, fail half way.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit low = old;
    low.rlim_cur = 150;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &low);
    const QString error = errorOf([&] { tag.SaveToFile(path); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(error, QStringLiteral("Stream write error"));
    QVERIFY(tag.Modified);
    QCOMPARE(fileBytes(path), audio);
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_APPLESS_MAIN(TstID3Tags)
#include "tst_ID3Tags.moc"
