// Tests of loading a list into the tree, the settings line, and the album and track lookups.
#include "CatalogueTestUtil.h"
#include "CatalogueTree.h"
#include "KsError.h"
#include "OpenList.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

namespace {

// The one-album example list, byte for byte (lines 4, 11 and 15 end with the blank after the colon).
const QByteArray kWinterBytes = "-newalbum\r\n"
                                "author: Ensemble Nord\r\n"
                                "album: Winter Songs\r\n"
                                "url: \r\n"
                                "discriptionfile: notes\\winter.htm\r\n"
                                "nt: 2\r\n"
                                "image: C:\\Covers\\winter.jpg\r\n"
                                "track: First Snow\r\n"
                                "size: 03:41\r\n"
                                "file: C:\\Music\\Winter\\01 First Snow.mp3\r\n"
                                "dfile: \r\n"
                                "track: Thaw\r\n"
                                "size: 04:05\r\n"
                                "file: Music\\02 Thaw.mp3\r\n"
                                "dfile: \r\n"
                                "--endofalbum\r\n"
                                "ini: winter.ini\r\n";


} // namespace

class TestOpenList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void workedExample();
    void workedExampleFixtureMatches();
    void settingsLine_data();
    void settingsLine();
    void settingsFolderChoice();
    void settingsNameIsAlwaysJoined();
    void zeroCountAlbumHasNoChildren();
    void duplicateTitlesReadTheFirst();
    void nodesFindTheirOwnBlocks();
    void untrimmedTitlesShowButCannotBeLookedUp();
    void firstLineIsNeverAnAlbumLine();
    void trackSearchStaysInsideTheAlbum();
    void newAlbumInsideABlockIsAnAlbum();
    void lookupCountIsTrimmed();
    void lookupOffsetsPastTheEnd();
    void trackRangePastTheEnd();
    void unknownAlbumGivesEmptyTrack();
    void openFailureKeepsTheOpenList();

private:
    QString write(const QString &name, const QByteArray &bytes);
    bool load(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    QString m_programFolder;
    TOpenList m_list;
    TCatalogueTree m_tree;
    TLoadContext m_context;
    QStringList m_applied;
};

QString TestOpenList::write(const QString &name, const QByteArray &bytes)
{
    const QString p = m_dir.filePath(name);
    writeBytes(p, bytes);
    return p;
}

bool TestOpenList::load(const QString &name, const QByteArray &bytes)
{
    return m_list.LoadList(write(name, bytes), m_tree, m_context);
}

void TestOpenList::init()
{
    m_programFolder = m_dir.filePath(u"prog"_s) + u'/';
    QDir().mkpath(m_programFolder);
    m_list = TOpenList();
    m_applied.clear();
    m_context = TLoadContext { m_programFolder, QString(), [this](const QString &p) { m_applied << p; } };
}

void TestOpenList::workedExample()
{
    const QString file = write(u"winter.lst"_s, kWinterBytes);
    QVERIFY(m_list.LoadList(file, m_tree, m_context));
    QCOMPARE(m_list.ListFileName, file);
    QCOMPARE(m_list.ListLines.size(), 17);
    QCOMPARE(m_list.ListLines.at(3), u"url: "_s);
    QCOMPARE(texts(m_tree), (QStringList { u"Winter Songs"_s, u"  First Snow"_s, u"  Thaw"_s }));
    QCOMPARE(m_tree.Root(0)->ChildCount(), 2);
    QCOMPARE(m_applied, QStringList { m_programFolder + u"winter.ini"_s });

    const TAlbum album = m_list.ReadAlbumRecord(m_tree.Root(0)->Text(), m_programFolder);
    TAlbum expectedAlbum;
    expectedAlbum.Title = u"Winter Songs"_s;
    expectedAlbum.Author = u"Ensemble Nord"_s;
    expectedAlbum.DescriptionFile = m_programFolder + u"notes\\winter.htm"_s;
    expectedAlbum.Url = QString();
    expectedAlbum.Image = u"C:\\Covers\\winter.jpg"_s;
    expectedAlbum.LineIndex = 2;
    expectedAlbum.TrackCount = 2;
    QCOMPARE(album, expectedAlbum);

    const TTrack thaw = m_list.ReadTrackRecord(u"Winter Songs"_s, u"Thaw"_s, m_programFolder);
    QCOMPARE(m_list.CurrentAlbum, expectedAlbum);
    TTrack expectedThaw;
    expectedThaw.AlbumTitle = u"Winter Songs"_s;
    expectedThaw.Title = u"Thaw"_s;
    expectedThaw.FileName = m_programFolder + u"Music\\02 Thaw.mp3"_s;
    expectedThaw.DescriptionFile = QString();
    expectedThaw.Size = u"04:05"_s;
    expectedThaw.LineIndex = 11;
    QCOMPARE(thaw, expectedThaw);

    const TTrack first = m_list.ReadTrackRecord(u"Winter Songs"_s, u"First Snow"_s, m_programFolder);
    QCOMPARE(first.FileName, u"C:\\Music\\Winter\\01 First Snow.mp3"_s);
    QCOMPARE(first.Size, u"03:41"_s);
    QCOMPARE(first.LineIndex, 7);

    // Saving the untouched lines writes the very same bytes.
    m_list.SaveTo(m_list.ListFileName);
    QCOMPARE(readBytes(file), kWinterBytes);
}

void TestOpenList::workedExampleFixtureMatches()
{
    QCOMPARE(readBytes(QStringLiteral(KS_TEST_DATA_DIR "/catalogue/winter.lst")), kWinterBytes);
}

void TestOpenList::settingsLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringList { u"x"_s, u"ini: a.ini"_s } << u"a.ini"_s;
    QTest::newRow("blanks around") << QStringList { u"  ini: a.ini \t"_s } << u"a.ini"_s;
    QTest::newRow("not last") << QStringList { u"ini: a.ini"_s, u"x"_s } << QString();
    QTest::newRow("no blank after colon") << QStringList { u"ini:a.ini"_s } << QString();
    QTest::newRow("inside a longer line") << QStringList { u"note ini: b.ini"_s } << u"note  b.ini"_s;
    QTest::newRow("empty list") << QStringList() << QString();
    QTest::newRow("key alone") << QStringList { u"ini: "_s } << QString();
}

void TestOpenList::settingsLine()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, name);
    QCOMPARE(TOpenList::SettingsLineName(lines), name);
}

void TestOpenList::settingsFolderChoice()
{
    const QByteArray bytes = listBytes(albumBlock(u"A"_s, u"B"_s, {}) << u"ini: a.ini"_s);
    QDir().mkpath(m_dir.filePath(u"lists"_s));
    const QString listFolder = m_dir.filePath(u"lists"_s) + u'/';

    // The command-line list's folder holds a.ini: that one is applied.
    writeBytes(listFolder + u"a.ini"_s, "[Colors]\r\n");
    m_context.FirstArgument = listFolder + u"main.lst"_s;
    load(u"one.lst"_s, bytes);
    QCOMPARE(m_applied, QStringList { listFolder + u"a.ini"_s });

    // No a.ini there: the program folder's, whether or not it exists.
    m_applied.clear();
    QVERIFY(QFile::remove(listFolder + u"a.ini"_s));
    load(u"one.lst"_s, bytes);
    QCOMPARE(m_applied, QStringList { m_programFolder + u"a.ini"_s });

    // An argument without a folder part: the program folder.
    m_applied.clear();
    m_context.FirstArgument = u"main.lst"_s;
    load(u"one.lst"_s, bytes);
    QCOMPARE(m_applied, QStringList { m_programFolder + u"a.ini"_s });

    // No settings line, or no callback: nothing applied, the load still works.
    m_applied.clear();
    load(u"two.lst"_s, listBytes(albumBlock(u"A"_s, u"B"_s, {}) << u"ini:a.ini"_s));
    QVERIFY(m_applied.isEmpty());
    m_context.LoadSettingsFile = nullptr;
    QVERIFY(load(u"one.lst"_s, bytes));
}

void TestOpenList::settingsNameIsAlwaysJoined()
{
    load(u"abs.lst"_s, listBytes({ u"ini: /etc/x.ini"_s }));
    QCOMPARE(m_applied, QStringList { m_programFolder + u"/etc/x.ini"_s });
}

void TestOpenList::zeroCountAlbumHasNoChildren()
{
    QVERIFY(load(u"zero.lst"_s, listBytes(albumBlock(u"A"_s, u"Silence"_s, {}))));
    QCOMPARE(texts(m_tree), QStringList { u"Silence"_s });
    QCOMPARE(m_list.ReadAlbumRecord(u"Silence"_s, m_programFolder).TrackCount, 0);

    QStringList negative = albumBlock(u"A"_s, u"Minus"_s, {});
    negative[5] = u"nt: -4"_s;
    QVERIFY(load(u"neg.lst"_s, listBytes(negative)));
    QCOMPARE(texts(m_tree), QStringList { u"Minus"_s });
    QCOMPARE(m_list.ReadTrackRecord(u"Minus"_s, u"x"_s, m_programFolder).LineIndex, -1);
}

void TestOpenList::duplicateTitlesReadTheFirst()
{
    const QStringList lines
        = albumBlock(u"First"_s, u"Live"_s, { u"a"_s }) + albumBlock(u"Second"_s, u"Live"_s, { u"b"_s });
    QVERIFY(load(u"dup.lst"_s, listBytes(lines)));
    QCOMPARE(texts(m_tree), (QStringList { u"Live"_s, u"  a"_s, u"Live"_s, u"  b"_s }));
    const TAlbum album = m_list.ReadAlbumRecord(m_tree.Root(1)->Text(), m_programFolder);
    QCOMPARE(album.Author, u"First"_s);
    QCOMPARE(album.LineIndex, 2);
    QCOMPARE(m_list.ReadTrackRecord(u"Live"_s, u"b"_s, m_programFolder).LineIndex, -1);
}

// A node whose title repeats is looked up in its own block; a unique title as by its title.
void TestOpenList::nodesFindTheirOwnBlocks()
{
    QStringList shadow = albumBlock(u"Shadow"_s, u"Live"_s, { u"s"_s });
    shadow[2] = u"album: Live "_s; // shown as "Live", but its line is not exactly "album: Live"
    const QStringList lines = albumBlock(u"First"_s, u"Live"_s, { u"a"_s, u"a"_s }) + shadow
        + albumBlock(u"Second"_s, u"Live"_s, { u"b"_s }) + albumBlock(u"Own"_s, u"Solo"_s, { u"c"_s });
    QVERIFY(load(u"dup.lst"_s, listBytes(lines)));

    // Node index, then the line of its record (album or track), its author, and whether its own block was used.
    const struct
    {
        int node;
        int line;
        const char16_t *author;
        bool own;
    } expected[] = {
        { 0, 2, u"First", true },       { 1, 7, u"First", true },       { 2, 11, u"First", true },
        { 3, -1, u"", true },           { 4, -1, u"", true },           { 5, 28 + 2, u"Second", true },
        { 6, 28 + 7, u"Second", true }, { 7, 40 + 2, u"Own", false },   { 8, 40 + 7, u"Own", false },
    };
    for (const auto &e : expected) {
        const TTreeNode *node = m_tree.NodeByIndex(e.node);
        const bool own = m_list.LookUpNode(*node, m_programFolder);
        const int line = node->Level() ? m_list.CurrentTrack.LineIndex : m_list.CurrentAlbum.LineIndex;
        QVERIFY2(line == e.line && own == e.own, qPrintable(u"node %1: line %2"_s.arg(e.node).arg(line)));
        if (e.line >= 0)
            QCOMPARE(m_list.CurrentAlbum.Author, QString::fromUtf16(e.author));
    }
}

void TestOpenList::untrimmedTitlesShowButCannotBeLookedUp()
{
    QStringList lines = albumBlock(u"A"_s, u"Winter Songs"_s, { u"Thaw"_s });
    lines[2] = u"album:Winter Songs"_s;
    lines += albumBlock(u"B"_s, u"Spring"_s, { u"Thaw"_s });
    lines[lines.size() - 10] = u"album: Spring "_s;
    lines[lines.size() - 5] = u"track: Thaw "_s;
    QVERIFY(load(u"untrimmed.lst"_s, listBytes(lines)));
    QCOMPARE(texts(m_tree), (QStringList { u"Winter Songs"_s, u"  Thaw"_s, u"Spring"_s, u"  Thaw"_s }));
    const TAlbum winter = m_list.ReadAlbumRecord(u"Winter Songs"_s, m_programFolder);
    QCOMPARE(winter.LineIndex, -1);
    QCOMPARE(winter.Title, u"Winter Songs"_s);
    QVERIFY(winter.Author.isEmpty());
    QCOMPARE(winter.TrackCount, 0);
    QCOMPARE(m_list.ReadAlbumRecord(u"Spring"_s, m_programFolder).LineIndex, -1);
    // The album line itself looked up with its blank is found; its track with a blank is not.
    QCOMPARE(m_list.ReadAlbumRecord(u"Spring "_s, m_programFolder).LineIndex, 14);
    const TTrack thaw = m_list.ReadTrackRecord(u"Spring "_s, u"Thaw"_s, m_programFolder);
    QCOMPARE(thaw.LineIndex, -1);
    QCOMPARE(thaw.Title, u"Thaw"_s);
    QVERIFY(thaw.FileName.isEmpty());
    // The track title is trimmed before the search, so the blank cannot be asked for either.
    QCOMPARE(m_list.ReadTrackRecord(u"Spring "_s, u"Thaw "_s, m_programFolder).LineIndex, -1);
}

void TestOpenList::firstLineIsNeverAnAlbumLine()
{
    m_list.ListLines = QStringList { u"album: X"_s, u"url: "_s, u"discriptionfile: "_s, u"nt: 0"_s, u"image: "_s };
    QCOMPARE(m_list.ReadAlbumRecord(u"X"_s, m_programFolder).LineIndex, -1);
}

void TestOpenList::trackSearchStaysInsideTheAlbum()
{
    const QStringList lines
        = albumBlock(u"A"_s, u"One"_s, { u"a1"_s }) + albumBlock(u"B"_s, u"Two"_s, { u"b1"_s, u"b2"_s });
    QVERIFY(load(u"two.lst"_s, listBytes(lines)));
    QCOMPARE(m_list.ReadTrackRecord(u"One"_s, u"b1"_s, m_programFolder).LineIndex, -1);
    QCOMPARE(m_list.CurrentAlbum.Title, u"One"_s);
    const TTrack b2 = m_list.ReadTrackRecord(u"Two"_s, u"b2"_s, m_programFolder);
    QCOMPARE(b2.LineIndex, 12 + 11);
    QCOMPARE(b2.FileName, m_programFolder + u"b2.mp3"_s);
    QCOMPARE(m_list.CurrentAlbum.LineIndex, 14);
}

void TestOpenList::newAlbumInsideABlockIsAnAlbum()
{
    // A track line reading "-newalbum" starts an album of its own as well (shown as a track "lbum").
    QStringList lines { u"-newalbum"_s, u"author: A"_s, u"album: Outer"_s, u"url: "_s, u"discriptionfile: "_s,
        u"nt: 2"_s, u"image: "_s };
    lines << u"-newalbum"_s << u"size: 1"_s << u"album: Inner"_s << u"dfile: "_s;
    lines << u"track: t2"_s << u"nt: 0"_s << u"file: "_s << u"dfile: "_s << u"--endofalbum"_s;
    QVERIFY(load(u"inner.lst"_s, listBytes(lines)));
    QCOMPARE(texts(m_tree), (QStringList { u"Outer"_s, u"  lbum"_s, u"  t2"_s, u"Inner"_s }));
}

void TestOpenList::lookupCountIsTrimmed()
{
    QStringList lines = albumBlock(u"A"_s, u"X"_s, { u"t"_s });
    lines[5] = u"nt: 1 "_s;
    write(u"trail.lst"_s, listBytes(lines));
    m_list.ListLines = lines;
    QCOMPARE(m_list.ReadAlbumRecord(u"X"_s, m_programFolder).TrackCount, 1);
    QCOMPARE(m_list.ReadTrackRecord(u"X"_s, u"t"_s, m_programFolder).LineIndex, 7);
    lines[5] = u"nt: one"_s;
    m_list.ListLines = lines;
    try {
        m_list.ReadAlbumRecord(u"X"_s, m_programFolder);
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"'one' is not a valid integer value"_s);
    }
}

void TestOpenList::lookupOffsetsPastTheEnd()
{
    m_list.ListLines = QStringList { u"author: A"_s, u"album: X"_s, u"url: u"_s };
    try {
        m_list.ReadAlbumRecord(u"X"_s, m_programFolder);
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"List index out of bounds (3)"_s);
    }
    // A found track whose block is cut short.
    m_list.ListLines = QStringList { u"-"_s, u"album: X"_s, u"url: "_s, u"discriptionfile: "_s, u"nt: 1"_s,
        u"image: "_s, u"track: t"_s, u"size: 1"_s };
    m_list.CurrentAlbum = TAlbum();
    try {
        m_list.ReadTrackRecord(u"X"_s, u"t"_s, m_programFolder);
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"List index out of bounds (8)"_s);
    }
    QCOMPARE(m_list.CurrentAlbum.LineIndex, 1); // the album part of the lookup is kept
}

void TestOpenList::trackRangePastTheEnd()
{
    QStringList lines = albumBlock(u"A"_s, u"X"_s, { u"t1"_s, u"t2"_s });
    lines[5] = u"nt: 1000"_s;
    m_list.ListLines = lines;
    // Found before the range leaves the list: no error.
    QCOMPARE(m_list.ReadTrackRecord(u"X"_s, u"t2"_s, m_programFolder).LineIndex, 11);
    try {
        m_list.ReadTrackRecord(u"X"_s, u"t3"_s, m_programFolder);
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"List index out of bounds (%1)"_s.arg(lines.size()));
    }
}

void TestOpenList::unknownAlbumGivesEmptyTrack()
{
    QVERIFY(load(u"w.lst"_s, kWinterBytes));
    m_list.ReadTrackRecord(u"Winter Songs"_s, u"Thaw"_s, m_programFolder);
    const TTrack none = m_list.ReadTrackRecord(u"Summer"_s, u"Thaw"_s, m_programFolder);
    TTrack empty;
    empty.LineIndex = -1;
    QCOMPARE(none, empty);
    QCOMPARE(m_list.CurrentAlbum.Title, u"Summer"_s);
    QCOMPARE(m_list.CurrentAlbum.LineIndex, -1);
}

void TestOpenList::openFailureKeepsTheOpenList()
{
    const QString good = write(u"good.lst"_s, kWinterBytes);
    QVERIFY(m_list.LoadList(good, m_tree, m_context));
    const QStringList before = m_list.ListLines;
    for (const QString &bad : { m_dir.filePath(u"missing.lst"_s), m_dir.path() }) {
        try {
            m_list.LoadList(bad, m_tree, m_context);
            QFAIL("no error");
        } catch (const KsError &e) {
            QCOMPARE(e.message(), u"Cannot open file "_s + bad);
        }
        QCOMPARE(m_tree.NodeCount(), 0); // cleared, no placeholder
        QCOMPARE(m_list.ListLines, before);
        QCOMPARE(m_list.ListFileName, good);
    }
}

QTEST_GUILESS_MAIN(TestOpenList)
#include "tst_openlist.moc"
