// Tests of loading malformed, odd and hostile list files: the messages, the partial tree, never a crash.
#include "CatalogueTestUtil.h"
#include "CatalogueTree.h"
#include "KsError.h"
#include "OpenList.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

namespace {


QByteArray withCount(const QString &countLine, int tracks)
{
    QStringList tr;
    for (int i = 1; i <= tracks; ++i)
        tr << u"t%1"_s.arg(i);
    QStringList lines = albumBlock(u"A"_s, u"X"_s, tr);
    lines[5] = countLine;
    return listBytes(lines);
}

} // namespace

class TestBadLists : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void placeholderOnly_data();
    void placeholderOnly();
    void loadsDespiteOddities_data();
    void loadsDespiteOddities();
    void stopsWithMessage_data();
    void stopsWithMessage();
    void lineBreakFormsReadAlike();
    void nulByteDoesNotEndTheList();
    void utf8ListWithNamesOutside1251();
    void hugeLines();
    void overlappingAlbumsStopAtTheBound();
    void binaryJunkNeverCrashes();

private:
    QString write(const QByteArray &bytes);

    QTemporaryDir m_dir;
    TOpenList m_list;
    TCatalogueTree m_tree;
    TLoadContext m_context;
    int m_files = 0;
    std::unique_ptr<QAbstractItemModelTester> m_tester; // checks the model through every load
};

void TestBadLists::initTestCase()
{
    m_tester
        = std::make_unique<QAbstractItemModelTester>(&m_tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

QString TestBadLists::write(const QByteArray &bytes)
{
    const QString p = m_dir.filePath(u"list%1.lst"_s.arg(++m_files));
    writeBytes(p, bytes);
    return p;
}

void TestBadLists::init()
{
    m_list = TOpenList();
    m_context = TLoadContext { u"/opt/ks/"_s, QString(), {} };
}

void TestBadLists::placeholderOnly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("one line break") << QByteArray("\r\n");
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n\r\n\r\n");
    QTest::newRow("notes only") << QByteArray("my music\r\n--endofalbum\r\nalbum: X\r\n");
    QTest::newRow("fewer than three lines") << QByteArray("-newalbum\r\nauthor: A\r\n");
    QTest::newRow("marker in the last two lines") << QByteArray("x\r\n-newalbum\r\nalbum: X\r\n");
    QTest::newRow("marker with blank") << QByteArray("-newalbum \r\na\r\nalbum: X\r\n");
    QTest::newRow("marker upper case") << QByteArray("-NEWALBUM\r\na\r\nalbum: X\r\n");
    QTest::newRow("settings line only") << QByteArray("ini: x.ini\r\n");
}

void TestBadLists::placeholderOnly()
{
    QFETCH(QByteArray, bytes);
    const QString file = write(bytes);
    QVERIFY(!m_list.LoadList(file, m_tree, m_context));
    QCOMPARE(texts(m_tree), QStringList { u"{пусто}"_s });
    QCOMPARE(m_tree.NodeCount(), 1);
    QCOMPARE(m_list.ListFileName, file);
}

void TestBadLists::loadsDespiteOddities_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("tree");
    QTest::newRow("count with two blanks") << withCount(u"nt:  2"_s, 2) << QStringList { u"X"_s, u"  t1"_s, u"  t2"_s };
    QTest::newRow("smaller count hides tracks") << withCount(u"nt: 1"_s, 2) << QStringList { u"X"_s, u"  t1"_s };
    QTest::newRow("larger count takes next lines")
        << withCount(u"nt: 2"_s, 1) + listBytes({ u"one"_s, u"two"_s, u"three"_s })
        << QStringList { u"X"_s, u"  t1"_s, u"  ofalbum"_s };
    QTest::newRow("lines without keys") << listBytes({ u"-newalbum"_s, u"Nord"_s, u"Winter Songs"_s, u""_s, u""_s,
        u"  1"_s, u""_s, u"Thaw is long"_s, u""_s, u""_s, u""_s })
                                        << QStringList { u"r Songs"_s, u"  is long"_s };
    QTest::newRow("foreign lines between blocks") << listBytes(QStringList { u"notes"_s, QString() }
        + albumBlock(u"A"_s, u"X"_s, { u"t"_s }) + QStringList { QString(), u"-- more --"_s }
        + albumBlock(u"B"_s, u"Y"_s, {})) << QStringList { u"X"_s, u"  t"_s, u"Y"_s };
    QTest::newRow("empty title") << listBytes(albumBlock(u"A"_s, QString(), { QString() }))
                                 << QStringList { u""_s, u"  "_s };
    QTest::newRow("album with no end line at the end of the file")
        << listBytes({ u"-newalbum"_s, u"a"_s, u"album: X"_s, u"u"_s, u"d"_s, u"nt: 0"_s }) << QStringList { u"X"_s };
}

void TestBadLists::loadsDespiteOddities()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, tree);
    QVERIFY(m_list.LoadList(write(bytes), m_tree, m_context));
    QCOMPARE(texts(m_tree), tree);
}

void TestBadLists::stopsWithMessage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("tree");
    const QByteArray good = listBytes(albumBlock(u"A"_s, u"Good"_s, { u"g"_s }));
    QTest::newRow("count with trailing blank")
        << good + withCount(u"nt: 2 "_s, 2) << u"' 2 ' is not a valid integer value"_s
        << QStringList { u"Good"_s, u"  g"_s, u"X"_s };
    QTest::newRow("count not a number") << withCount(u"nt: two"_s, 2) << u"' two' is not a valid integer value"_s
                                        << QStringList { u"X"_s };
    QTest::newRow("count overflows") << withCount(u"nt: 99999999999"_s, 0)
                                     << u"' 99999999999' is not a valid integer value"_s << QStringList { u"X"_s };
    QTest::newRow("empty count") << withCount(u"nt: "_s, 0) << u"' ' is not a valid integer value"_s
                                 << QStringList { u"X"_s };
    QTest::newRow("blank line inside the header")
        << listBytes({ u"-newalbum"_s, u"author: A"_s, QString(), u"album: X"_s, u"url: "_s, u"discriptionfile: "_s,
               u"nt: 0"_s, u"image: "_s, u"--endofalbum"_s })
        << u"'scriptionfile: ' is not a valid integer value"_s << QStringList { QString() };
    QTest::newRow("header cut short") << QByteArray("-newalbum\r\nauthor: a\r\nalbum: b\r\n")
                                      << u"List index out of bounds (5)"_s << QStringList { u"b"_s };
    QTest::newRow("track block cut short")
        << good + listBytes(albumBlock(u"A"_s, u"X"_s, { u"t1"_s, u"t2"_s }).mid(0, 11))
        << u"List index out of bounds (23)"_s << QStringList { u"Good"_s, u"  g"_s, u"X"_s, u"  t1"_s };
    QTest::newRow("huge count") << withCount(u"nt: 2000000000"_s, 1) << u"List index out of bounds (15)"_s
                                << QStringList { u"X"_s, u"  t1"_s, u"  ofalbum"_s };
}

void TestBadLists::stopsWithMessage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(QStringList, tree);
    const QString file = write(bytes);
    QSignalSpy resetBegun(&m_tree, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy resetDone(&m_tree, &QAbstractItemModel::modelReset);
    try {
        m_list.LoadList(file, m_tree, m_context);
        QFAIL("the load reported success");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), message);
    }
    // The bulk update ended despite the failure: views are told, and later changes signal again.
    QCOMPARE(resetDone.size(), resetBegun.size());
    QSignalSpy inserted(&m_tree, &QAbstractItemModel::rowsInserted);
    m_tree.AddRoot(u"probe"_s);
    QCOMPARE(inserted.size(), 1);
    m_tree.DeleteNode(m_tree.Root(m_tree.RootCount() - 1));
    // Work done before the failure stays; no placeholder; the new lines are the open list.
    QCOMPARE(texts(m_tree), tree);
    QCOMPARE(m_list.ListFileName, file);
    QCOMPARE(listBytes(m_list.ListLines), bytes);
}

void TestBadLists::lineBreakFormsReadAlike()
{
    const QStringList lines = albumBlock(u"A"_s, u"X"_s, { u"t1"_s, u"t2"_s });
    const QByteArray crlf = listBytes(lines);
    QByteArray lf = crlf, cr = crlf;
    lf.replace("\r\n", "\n");
    cr.replace("\r\n", "\r");
    for (const QByteArray &bytes : { crlf, lf, cr, crlf.chopped(2), lf.chopped(1) }) {
        QVERIFY(m_list.LoadList(write(bytes), m_tree, m_context));
        QCOMPARE(m_list.ListLines, lines);
        QCOMPARE(texts(m_tree), (QStringList { u"X"_s, u"  t1"_s, u"  t2"_s }));
    }
}

void TestBadLists::nulByteDoesNotEndTheList()
{
    QByteArray bytes = listBytes(albumBlock(u"A"_s, u"First"_s, { u"a"_s }));
    bytes += QByteArray("note with a ", 12) + '\0' + QByteArray(" inside\r\n");
    bytes += listBytes(albumBlock(u"B"_s, u"After NUL"_s, { u"b"_s }));
    const QString file = write(bytes);
    QVERIFY(m_list.LoadList(file, m_tree, m_context));
    QCOMPARE(texts(m_tree), (QStringList { u"First"_s, u"  a"_s, u"After NUL"_s, u"  b"_s }));
    QCOMPARE(m_list.ReadTrackRecord(u"After NUL"_s, u"b"_s, m_context.ProgramFolder).FileName, u"/opt/ks/b.mp3"_s);
    m_list.SaveTo(m_list.ListFileName);
    QCOMPARE(readBytes(file), bytes);
}

void TestBadLists::utf8ListWithNamesOutside1251()
{
    const QString source = QStringLiteral(KS_TEST_DATA_DIR "/catalogue/utf8bom.lst");
    QVERIFY(m_list.LoadList(source, m_tree, m_context));
    QCOMPARE(texts(m_tree),
        (QStringList {
            u"Homogenic"_s, u"  Jóga"_s, u"Ace of Spades"_s, u"  Ace of Spades"_s, u"Звезда"_s, u"  Звезда"_s }));
    QCOMPARE(m_list.ReadAlbumRecord(u"Homogenic"_s, m_context.ProgramFolder).Author, u"Björk"_s);
    QCOMPARE(m_list.ReadTrackRecord(u"Homogenic"_s, u"Jóga"_s, m_context.ProgramFolder).FileName,
        u"/opt/ks/Music\\Jóga.mp3"_s);
    // Saved elsewhere it keeps every character.
    const QString copy = m_dir.filePath(u"copy.lst"_s);
    m_list.SaveTo(copy);
    QCOMPARE(readBytes(copy), readBytes(source));
}

void TestBadLists::hugeLines()
{
    const QString title(6 * 1024 * 1024, u'я');
    QStringList lines = QStringList { QString(3 * 1024 * 1024, u'x') } + albumBlock(u"A"_s, title, { u"t"_s });
    QVERIFY(m_list.LoadList(write(listBytes(lines)), m_tree, m_context));
    QCOMPARE(m_tree.NodeCount(), 2);
    QCOMPARE(m_tree.Root(0)->Text().size(), title.size());
    QCOMPARE(m_list.ReadTrackRecord(title, u"t"_s, m_context.ProgramFolder).LineIndex, 8);

    // One line of several megabytes without any break.
    QVERIFY(!m_list.LoadList(write(QByteArray(5 * 1024 * 1024, 'z')), m_tree, m_context));
    QCOMPARE(m_list.ListLines.size(), 1);
}

// Albums whose counts overlap would build a tree that grows with the square of the file: the load
// stops once the tree would hold more nodes than the list has lines, keeping what it added.
void TestBadLists::overlappingAlbumsStopAtTheBound()
{
    QStringList lines;
    const int units = 2000;
    for (int u = 0; u < units; ++u) {
        QStringList unit = albumBlock(u"a"_s, u"x%1"_s.arg(u), { u"t"_s }).mid(0, 8);
        unit[5] = u"nt: %1"_s.arg(((units - u) * 8 - 7) / 4);
        lines += unit;
    }
    try {
        m_list.LoadList(write(listBytes(lines)), m_tree, m_context);
        QFAIL("the damaged list loaded");
    } catch (const KsError &e) {
        QVERIFY2(e.message().startsWith(u"Список повреждён"_s), qPrintable(e.message()));
    }
    QVERIFY(m_tree.NodeCount() > 0);
    QVERIFY(m_tree.NodeCount() <= lines.size());
    QCOMPARE(m_list.ListLines.size(), lines.size());

    // Lists of whole blocks always load in full.
    lines = albumBlock(u"a"_s, u"x"_s, { u"t"_s, u"u"_s }) + albumBlock(u"b"_s, u"y"_s, { u"v"_s });
    QVERIFY(m_list.LoadList(write(listBytes(lines)), m_tree, m_context));
    QCOMPARE(m_tree.NodeCount(), 5);
}

void TestBadLists::binaryJunkNeverCrashes()
{
    QRandomGenerator rng(20261209);
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes(int(rng.bounded(1, 64 * 1024)), Qt::Uninitialized);
        for (char &c : bytes)
            c = char(rng.bounded(256));
        // Sprinkle markers and counts so the loader gets past its first test now and then.
        for (int k = 0; k < 30; ++k) {
            const int at = int(rng.bounded(bytes.size()));
            bytes.insert(at, rng.bounded(2) ? QByteArray("\r\n-newalbum\r\n") : QByteArray("\r\nnt: 3\r\n"));
        }
        const QString file = write(bytes);
        try {
            const bool select = m_list.LoadList(file, m_tree, m_context);
            QCOMPARE(select, m_tree.Root(0)->Text() != TCatalogueTree::EmptyPlaceholder() || m_tree.NodeCount() > 1);
            for (int r = 0; r < m_tree.RootCount(); ++r) {
                const TTreeNode *album = m_tree.Root(r);
                for (int c = 0; c < album->ChildCount(); ++c)
                    m_list.ReadTrackRecord(album->Text(), album->Child(c)->Text(), m_context.ProgramFolder);
            }
        } catch (const KsError &) {
            // A message is a fine answer to junk.
        }
    }
}

QTEST_GUILESS_MAIN(TestBadLists)
#include "tst_badlists.moc"
