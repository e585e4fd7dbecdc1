// Tests of the bundled demo catalogue as the build places it: it loads, and everything it names is there and readable.
#include "CatalogueTree.h"
#include "KsError.h"
#include "OpenList.h"
#include "Paths.h"
#include "Pictures.h"
#include "TextCodec.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString ProgramFolder = QStringLiteral(KS_DEMO_PROGRAM_FOLDER);
// The committed lists; the copies beside the program may have been edited in the program.
const QString SourceFolder = QStringLiteral(KS_DEMO_SOURCE_FOLDER);

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return !utf8.hasError();
}

struct Referenced
{
    QStringList descriptions, images, audio;
    QStringList urls;
};

// Loads a list the way the program does and gathers every file its albums and tracks name.
Referenced loadAndCollect(const QString &listFile, int expectedAlbums)
{
    Referenced found;
    TOpenList list;
    TCatalogueTree tree;
    const TLoadContext context { ProgramFolder, QString(), {} };
    if (!list.LoadList(listFile, tree, context))
        qFatal("%s has no albums", qPrintable(listFile));
    if (tree.RootCount() != expectedAlbums)
        qFatal("%s: %d albums", qPrintable(listFile), tree.RootCount());
    for (int a = 0; a < tree.RootCount(); ++a) {
        const TTreeNode *albumNode = tree.Root(a);
        const TAlbum album = list.ReadAlbumRecord(albumNode->Text(), ProgramFolder);
        if (album.LineIndex < 0 || album.TrackCount != albumNode->ChildCount() || album.TrackCount < 1)
            qFatal("album %s cannot be looked up", qPrintable(albumNode->Text()));
        if (!album.DescriptionFile.isEmpty())
            found.descriptions << album.DescriptionFile;
        if (!album.Image.isEmpty())
            found.images << album.Image;
        if (!album.Url.isEmpty())
            found.urls << album.Url;
        for (int t = 0; t < albumNode->ChildCount(); ++t) {
            const TTrack track = list.ReadTrackRecord(albumNode->Text(), albumNode->Child(t)->Text(), ProgramFolder);
            if (track.LineIndex < 0 || !QRegularExpression(u"^\\d\\d:\\d\\d$"_s).match(track.Size).hasMatch())
                qFatal("track %s cannot be looked up", qPrintable(albumNode->Child(t)->Text()));
            found.audio << track.FileName;
            if (!track.DescriptionFile.isEmpty())
                found.descriptions << track.DescriptionFile;
        }
    }
    return found;
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT
private slots:
    void listsAreInTheStoredFormat_data();
    void listsAreInTheStoredFormat();
    void everythingNamedIsThere();
    void quickLoadEntriesOpenTheLists();
};

void TestDemo::listsAreInTheStoredFormat_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("list.lst") << SourceFolder + u"list.lst"_s;
    QTest::newRow("second.lst") << SourceFolder + u"second.lst"_s;
    QTest::newRow("main.lis") << SourceFolder + u"main.lis"_s;
}

void TestDemo::listsAreInTheStoredFormat()
{
    QFETCH(QString, path);
    const QByteArray bytes = bytesOf(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    // Code page 1251 with CR LF after every line: Russian text that is not valid UTF-8, no mark, no bare breaks.
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY(!isUtf8(bytes));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    const QString text = TextCodec::decode1251(bytes);
    QVERIFY(text.contains(QRegularExpression(u"[А-Яа-я]"_s)));
    if (!path.endsWith(u".lst"_s))
        return;

    // Nothing but album blocks, each of exactly 8 + 4 N lines with every key at its offset.
    const QStringList lines = text.split(u"\r\n"_s).mid(0, text.count(u"\r\n"_s));
    const QStringList header
        = { u"author: "_s, u"album: "_s, u"url: "_s, u"discriptionfile: "_s, u"nt: "_s, u"image: "_s };
    const QStringList track = { u"track: "_s, u"size: "_s, u"file: "_s, u"dfile: "_s };
    qsizetype i = 0;
    while (i < lines.size()) {
        QCOMPARE(lines[i], u"-newalbum"_s);
        for (qsizetype k = 0; k < header.size(); ++k)
            QVERIFY2(lines.value(i + 1 + k).startsWith(header[k]), qPrintable(lines.value(i + 1 + k)));
        bool ok = false;
        const int count = lines[i + 5].mid(4).toInt(&ok);
        QVERIFY(ok && count > 0);
        for (int t = 0; t < count; ++t)
            for (qsizetype k = 0; k < track.size(); ++k)
                QVERIFY2(
                    lines.value(i + 7 + 4 * t + k).startsWith(track[k]), qPrintable(lines.value(i + 7 + 4 * t + k)));
        QCOMPARE(lines.value(i + 7 + 4 * count), u"--endofalbum"_s);
        i += 8 + 4 * count;
    }
}

void TestDemo::everythingNamedIsThere()
{
    Referenced all = loadAndCollect(SourceFolder + u"list.lst"_s, 5);
    const Referenced second = loadAndCollect(SourceFolder + u"second.lst"_s, 2);
    all.descriptions += second.descriptions;
    all.images += second.images;
    all.audio += second.audio;
    all.urls += second.urls;

    QSet<QString> kinds;
    for (const QString &page : std::as_const(all.descriptions)) {
        QVERIFY2(Paths::fileExists(page), qPrintable(page));
        const QByteArray bytes = bytesOf(Paths::toFileSystem(page));
        kinds << page.section(u'.', -1);
        // The view is told the code page; the pages must not say one of their own.
        QVERIFY2(!bytes.toLower().contains("charset"), qPrintable(page));
        QVERIFY2(!isUtf8(bytes), qPrintable(page));
    }
    for (const QString &cover : std::as_const(all.images)) {
        QVERIFY2(Paths::fileExists(cover), qPrintable(cover));
        kinds << cover.section(u'.', -1);
        try {
            const QImage image = Pictures::LoadPicture(Paths::toFileSystem(cover));
            QVERIFY2(image.width() >= 100 && image.height() >= 100, qPrintable(cover));
        } catch (const KsError &e) {
            QFAIL(qPrintable(cover + u": "_s + e.message()));
        }
    }
    for (const QString &audio : std::as_const(all.audio)) {
        QVERIFY2(Paths::fileExists(audio), qPrintable(audio));
        const QByteArray bytes = bytesOf(Paths::toFileSystem(audio));
        // A bare MPEG audio frame header at the start: sync bits and layer III.
        QVERIFY2(bytes.size() > 2000 && uchar(bytes[0]) == 0xff && (uchar(bytes[1]) & 0xe6) == 0xe2, qPrintable(audio));
    }
    for (const char *kind : { "htm", "txt", "jpg", "gif", "bmp" })
        QVERIFY2(kinds.contains(QString::fromLatin1(kind)), kind);
    QVERIFY(!all.urls.isEmpty());
    QCOMPARE(QSet<QString>(all.audio.cbegin(), all.audio.cend()).size(), all.audio.size());
}

void TestDemo::quickLoadEntriesOpenTheLists()
{
    // Relative entries: the demo works wherever its program folder is.
    const QList<TQuickLoadEntry> entries = QuickLoad::ReadIndex(SourceFolder);
    QCOMPARE(entries.size(), 2);
    QStringList firstAlbums;
    for (const TQuickLoadEntry &entry : entries) {
        QVERIFY(entry.Name.endsWith(u' ') && entry.Name.size() > 1);
        TOpenList list;
        TCatalogueTree tree;
        QVERIFY(!Paths::isAbsolute(entry.File));
        const QString file = Paths::resolve(entry.File, ProgramFolder);
        QVERIFY2(list.LoadList(file, tree, TLoadContext { ProgramFolder, QString(), {} }), qPrintable(file));
        firstAlbums << tree.Root(0)->Text();
    }
    QCOMPARE(entries[0].File, u"list.lst"_s);
    QVERIFY(firstAlbums[0] != firstAlbums[1]); // choosing the other entry visibly changes the tree
}

QTEST_GUILESS_MAIN(TestDemo)
#include "test_demo.moc"
