// Tests of deleting, renaming and rewriting albums and tracks in the lines of a list.
#include "CatalogueTestUtil.h"
#include "KsError.h"
#include "ListEdits.h"
#include "OpenList.h"
#include "TestSupport.h"
#include "language.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;
using TestSupport::errorOf;

namespace {

const QString kFolder = u"/prog/"_s;

TAlbum album(const QStringList &lines, const QString &title)
{
    return TOpenList{ lines, {}, {}, {}, {} }.ReadAlbumRecord(title, kFolder);
}

} // namespace

class TestListEdits : public QObject
{
    Q_OBJECT
private slots:
    void deleteAlbumRemovesOnlyItsBlock();
    void deleteRemovesOneBlockOrNothing_data();
    void deleteRemovesOneBlockOrNothing();
    void deleteTrackRewritesTheCount();
    void renameChangesTheNodesOwnLineOrNothing_data();
    void renameChangesTheNodesOwnLineOrNothing();
    void albumPropertiesWriteTheirLines();
    void albumPropertiesOutsideTheList();
    void trackPropertiesWriteTheirLines();
    void renamedListReloads();
};

void TestListEdits::deleteAlbumRemovesOnlyItsBlock()
{
    const QStringList first = albumBlock(u"A"_s, u"One"_s, { u"x"_s, u"y"_s });
    const QStringList second = albumBlock(u"B"_s, u"Two"_s, { u"z"_s });
    const QStringList third = albumBlock(u"C"_s, u"Three"_s, {});
    const QStringList all = QStringList{ u"note"_s } + first + second + third + QStringList{ u"ini: a.ini"_s };

    QStringList lines = all;
    ListEdits::DeleteAlbum(lines, album(lines, u"Two"_s));
    QCOMPARE(lines, QStringList{ u"note"_s } + first + third + QStringList{ u"ini: a.ini"_s });

    lines = all;
    ListEdits::DeleteAlbum(lines, album(lines, u"Three"_s));
    QCOMPARE(lines, QStringList{ u"note"_s } + first + second + QStringList{ u"ini: a.ini"_s });

    // A negative count is an album without tracks: its eight lines go.
    QStringList negative = albumBlock(u"N"_s, u"Neg"_s, {});
    negative[5] = u"nt: -3"_s;
    lines = first + negative + second;
    ListEdits::DeleteAlbum(lines, album(lines, u"Neg"_s));
    QCOMPARE(lines, first + second);
}

// A delete removes exactly one whole album block, or one track block at a track position of a whole
// album, or nothing at all.
void TestListEdits::deleteRemovesOneBlockOrNothing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("albumTitle");
    QTest::addColumn<QString>("trackTitle"); // empty: delete the album
    QTest::addColumn<QStringList>("after");  // empty: refused, nothing changes

    const QStringList next = albumBlock(u"B"_s, u"Next"_s, { u"z"_s });
    const QStringList empty = albumBlock(u"C"_s, u"Empty"_s, {});

    QStringList big = albumBlock(u"A"_s, u"Big"_s, { u"x"_s, u"y"_s });
    big[5] = u"nt: 3"_s;
    QTest::newRow("count above the tracks") << big + next << u"Big"_s << QString() << QStringList();
    QTest::newRow("track of that album") << big + next << u"Big"_s << u"x"_s << QStringList();

    // Counted as three tracks, the block ends exactly on the next album's end line.
    QStringList reaching = albumBlock(u"A"_s, u"Reach"_s, { u"x"_s });
    reaching[5] = u"nt: 3"_s;
    QTest::newRow("count reaching the end of an empty album") << reaching + empty << u"Reach"_s << QString()
                                                              << QStringList();

    QTest::newRow("stray album line before the block")
        << QStringList{ u"x"_s, u"author: ?"_s, u"album: Next"_s, u"url: "_s, u"discriptionfile: "_s, u"nt: 0"_s,
                        u"image: "_s, u"--endofalbum"_s } + next
        << u"Next"_s << QString() << QStringList();
    QTest::newRow("no room for -newalbum")
        << QStringList{ u"author: ?"_s, u"album: Top"_s, u"url: "_s, u"d: "_s, u"nt: 0"_s, u"image: "_s } + next
        << u"Top"_s << QString() << QStringList();
    QTest::newRow("end cut off") << next + albumBlock(u"A"_s, u"Cut"_s, { u"x"_s }).mid(0, 9) << u"Cut"_s << QString()
                                 << QStringList();

    // The title of a track matched on a "file:" line: deleting four lines there would cut the album.
    QStringList odd = albumBlock(u"A"_s, u"Odd"_s, { u"x"_s, u"y"_s });
    odd[9] = u"track: y"_s;
    QTest::newRow("track title on a file line") << odd + next << u"Odd"_s << u"y"_s << QStringList();

    QStringList blank = albumBlock(u"A"_s, u"Blank"_s, { u"x"_s, u"y"_s });
    blank.last() = u"--endofalbum "_s;
    QTest::newRow("end line with a trailing blank") << next + blank << u"Blank"_s << QString() << next;
    QStringList blankAfter = albumBlock(u"A"_s, u"Blank"_s, { u"y"_s });
    blankAfter.last() = u"--endofalbum "_s;
    QTest::newRow("track of an album with a trailing blank") << next + blank << u"Blank"_s << u"x"_s
                                                             << next + blankAfter;
}

void TestListEdits::deleteRemovesOneBlockOrNothing()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, albumTitle);
    QFETCH(QString, trackTitle);
    QFETCH(QStringList, after);

    TOpenList list{ lines, {}, {}, {}, {} };
    QStringList edited = lines;
    bool deleted = false;
    if (trackTitle.isEmpty()) {
        deleted = ListEdits::DeleteAlbum(edited, list.ReadAlbumRecord(albumTitle, kFolder));
    } else {
        const TTrack track = list.ReadTrackRecord(albumTitle, trackTitle, kFolder);
        QVERIFY(track.LineIndex >= 0);
        deleted = ListEdits::DeleteTrack(edited, list.CurrentAlbum, track);
    }
    QCOMPARE(deleted, !after.isEmpty());
    QCOMPARE(edited, after.isEmpty() ? lines : after);
}

void TestListEdits::deleteTrackRewritesTheCount()
{
    const QStringList other = albumBlock(u"B"_s, u"Other"_s, { u"Second"_s });
    QStringList lines = other + albumBlock(u"A"_s, u"Album"_s, { u"First"_s, u"Second"_s, u"Third"_s });
    TOpenList list{ lines, {}, {}, {}, {} };
    const TTrack track = list.ReadTrackRecord(u"Album"_s, u"Second"_s, kFolder);
    TAlbum owner = list.CurrentAlbum;
    QCOMPARE(track.LineIndex, 12 + 11);

    ListEdits::DeleteTrack(lines, owner, track);
    QCOMPARE(owner.TrackCount, 2);
    QCOMPARE(lines, other + albumBlock(u"A"_s, u"Album"_s, { u"First"_s, u"Third"_s }));
}

// A rename changes the line the node was read from, and no other, so that the next load shows the new
// title there; or it is refused and nothing changes.
void TestListEdits::renameChangesTheNodesOwnLineOrNothing_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("node"); // pre-order index in the loaded tree
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("changed"); // the line that changes; -1: refused or failed, nothing changes
    QTest::addColumn<QString>("refusal"); // the message, or the failure's text

    const QStringList live = albumBlock(u"A"_s, u"Live"_s, { u"Song"_s });
    const QStringList other = albumBlock(u"B"_s, u"Other"_s, { u"Song"_s, u"Song"_s });
    QTest::newRow("repeated track title") << live + other << 4 << u"Song B"_s << 12 + 11 << QString();
    QTest::newRow("last track of a long album")
        << albumBlock(u"A"_s, u"Long"_s, { u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s }) << 6 << u"Six"_s << 27
        << QString();

    // Lines that are not exactly the key line: the node's own line is renamed all the same.
    QTest::newRow("album line with a trailing blank") << albumBlock(u"A"_s, u"Winter "_s, {}) << 0 << u"Spring"_s << 2
                                                      << QString();
    QTest::newRow("track line with a trailing blank") << albumBlock(u"A"_s, u"W"_s, { u"Song "_s }) << 1 << u"Tune"_s
                                                      << 7 << QString();
    // Lines the lookups would find first are not the node's.
    const QStringList copy{ u"album: Live"_s, u"url: "_s, u"discriptionfile: "_s, u"nt: 1"_s, u"image: "_s,
                            u"track: Song"_s };
    QTest::newRow("album with a damaged copy before it") << copy + live << 0 << u"Live 2"_s << 6 + 2 << QString();
    QTest::newRow("track with a damaged copy before it") << copy + live << 1 << u"Tune"_s << 6 + 7 << QString();
    QStringList odd = albumBlock(u"A"_s, u"Odd"_s, { u"x"_s, u"y"_s });
    odd[9] = u"track: y"_s;
    QTest::newRow("track title also on a file line") << odd << 2 << u"z"_s << 11 << QString();

    // Refused.
    QTest::newRow("blank title") << live << 0 << u" \t"_s << -1 << ListEdits::BlankTitleMessage();
    QTest::newRow("empty placeholder") << QStringList{ u"ini: a.ini"_s } << 0 << u"A"_s << -1
                                       << ListEdits::NoAlbumToRenameMessage();
    QStringList big = albumBlock(u"A"_s, u"Big"_s, { u"x"_s, u"y"_s });
    big[5] = u"nt: 3"_s; // the third track is read from the next album's lines
    QTest::newRow("track of an album that is not one block") << big + live << 1 << u"z"_s << -1
                                                             << ListEdits::DamagedRenameMessage();
    QStringList cut = live + albumBlock(u"C"_s, u"Cut"_s, { u"x"_s });
    cut.remove(cut.size() - 4, 4); // the last track block stops after its title line
    QTest::newRow("album running past the end") << cut << 3 << u"z"_s << -1 << u"List index out of bounds (20)"_s;
}

void TestListEdits::renameChangesTheNodesOwnLineOrNothing()
{
    QFETCH(QStringList, lines);
    QFETCH(int, node);
    QFETCH(QString, text);
    QFETCH(int, changed);
    QFETCH(QString, refusal);

    TOpenList list;
    TCatalogueTree tree;
    list.LoadLines({ lines, {} }, u"/l.lst"_s, tree, TLoadContext{ kFolder, {}, {} });
    const TTreeNode *n = tree.NodeByIndex(node);
    QStringList edited;
    QString message;
    const QString error = errorOf([&] { message = list.RenameNode(*n, language::Trim(n->Text()), text, edited); });
    QCOMPARE(message + error, refusal);
    if (changed < 0) {
        QVERIFY(edited.isEmpty() || edited == lines);
        return;
    }
    QStringList expected = lines;
    expected[changed] = (n->Level() ? u"track: "_s : u"album: "_s) + text;
    QCOMPARE(edited, expected);
    // The next load shows the new title in the node's place.
    TCatalogueTree reloaded;
    TOpenList{}.LoadLines({ edited, {} }, u"/l.lst"_s, reloaded, TLoadContext{ kFolder, {}, {} });
    QStringList titles = texts(tree);
    titles[node] = (n->Level() ? u"  "_s : QString()) + text;
    QCOMPARE(texts(reloaded), titles);
}

void TestListEdits::albumPropertiesWriteTheirLines()
{
    const QStringList second = albumBlock(u"B"_s, u"Same"_s, { u"t"_s });
    QStringList lines = albumBlock(u"A"_s, u"Same"_s, { u"t"_s }) + second;
    const ListEdits::TAlbumFields fields{ u" New "_s, u"Автор"_s, u"/prog/d.htm"_s, u"http://x"_s, u""_s };
    QVERIFY(ListEdits::WriteAlbumProperties(lines, ListEdits::AlbumKeyLine(u" Same "_s), fields));
    QCOMPARE(lines.mid(0, 7), (QStringList{ u"-newalbum"_s, u"author: Автор"_s, u"album:  New "_s, u"url: http://x"_s,
                                            u"discriptionfile: /prog/d.htm"_s, u"nt: 1"_s, u"image: "_s }));
    QCOMPARE(lines.mid(7), albumBlock(u"A"_s, u"Same"_s, { u"t"_s }).mid(7) + second); // only the first album

    // No line matches (a trailing blank, or the first line): nothing is written.
    lines = QStringList{ u"album: X"_s } + albumBlock(u"A"_s, u"X "_s, {});
    const QStringList before = lines;
    QVERIFY(!ListEdits::WriteAlbumProperties(lines, u"album: X"_s, fields));
    QCOMPARE(lines, before);
}

void TestListEdits::albumPropertiesOutsideTheList()
{
    // The list ends at the count line: the image line is missing.
    QStringList lines = albumBlock(u"A"_s, u"Short"_s, {}).mid(0, 6);
    const ListEdits::TAlbumFields fields{ u"N"_s, u"Au"_s, u"D"_s, u"U"_s, u"I"_s };
    QCOMPARE(errorOf([&] { ListEdits::WriteAlbumProperties(lines, u"album: Short"_s, fields); }),
             u"List index out of bounds (6)"_s);
    // Nothing is written, not even the lines before the missing one.
    QCOMPARE(lines, albumBlock(u"A"_s, u"Short"_s, {}).mid(0, 6));
}

void TestListEdits::trackPropertiesWriteTheirLines()
{
    QStringList lines = albumBlock(u"A"_s, u"Al"_s, { u"One"_s, u"Two"_s });
    const QStringList before = lines;
    const ListEdits::TTrackFields fields{ u"Two "_s, u"04:05"_s, u"C:\\d.txt"_s };
    QVERIFY(ListEdits::WriteTrackProperties(lines, 11, fields));
    QStringList expected = before;
    expected[11] = u"track: Two "_s;
    expected[12] = u"size: 04:05"_s;
    expected[14] = u"dfile: C:\\d.txt"_s; // the file line stays
    QCOMPARE(lines, expected);

    lines = before;
    QVERIFY(!ListEdits::WriteTrackProperties(lines, -1, fields));
    QCOMPARE(lines, before);
    QCOMPARE(errorOf([&] { ListEdits::WriteTrackProperties(lines, 14, fields); }),
             u"List index out of bounds (17)"_s);
    QCOMPARE(lines, before);

    // A description left out keeps its line as stored.
    QVERIFY(ListEdits::WriteTrackProperties(lines, 11, { u"Two"_s, u"1:00"_s, std::nullopt }));
    QCOMPARE(lines.at(14), before.at(14));
}

void TestListEdits::renamedListReloads()
{
    QTemporaryDir dir;
    TOpenList list;
    list.ListLines = albumBlock(u"A"_s, u"Зима"_s, { u"Оттепель"_s }) + albumBlock(u"B"_s, u"Лето"_s, {});
    list.ListFileName = dir.filePath(u"list.lst"_s);
    QVERIFY(ListEdits::RenameAlbum(list.ListLines, 2, u"Зима"_s, u"Зима 2"_s));
    QVERIFY(ListEdits::RenameTrack(list.ListLines, list.ReadAlbumRecord(u"Зима 2"_s, kFolder), 0, u"Оттепель"_s,
                                   u"Весна"_s));
    list.SaveTo(list.ListFileName);
    QCOMPARE(readBytes(list.ListFileName), listBytes(list.ListLines));

    TCatalogueTree tree;
    TOpenList reloaded;
    QVERIFY(reloaded.LoadList(list.ListFileName, tree, TLoadContext{ kFolder, {}, {} }));
    QCOMPARE(texts(tree), (QStringList{ u"Зима 2"_s, u"  Весна"_s, u"Лето"_s }));
    QCOMPARE(reloaded.ReadTrackRecord(u"Зима 2"_s, u"Весна"_s, kFolder).LineIndex, 7);
}

QTEST_GUILESS_MAIN(TestListEdits)
#include "tst_listedits.moc"
