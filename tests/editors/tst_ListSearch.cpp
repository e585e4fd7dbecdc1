// tst_ListSearch: search in the open list and quick-load entries.
#include "CatalogueTree.h"
#include "KsError.h"
#include "LinesFile.h"
#include "ListSearch.h"
#include "OpenList.h"
#include "QuickLoadEntries.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList block(const QString &author, const QString &title, const QStringList &tracks, int count = -1)
{
    QStringList b{ u"-newalbum"_s, u"author: "_s + author, u"album: "_s + title, u"url: http://example.org/"_s + author,
                   u"discriptionfile: "_s, u"nt: %1"_s.arg(count < 0 ? tracks.size() : count), u"image: "_s };
    for (const QString &t : tracks)
        b << u"track: "_s + t << u"size: 03:00"_s << u"file: C:\\Music\\x.mp3"_s << u"dfile: "_s;
    b << u"--endofalbum"_s;
    return b;
}

/// The lines loaded into a tree by the program's own loader.
struct TLoaded
{
    QStringList Lines;
    TCatalogueTree Tree;

    explicit TLoaded(const QStringList &lines)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"list.lst"_s);
        LinesFile::writeLines(file, lines);
        TOpenList list;
        list.LoadList(file, Tree, TLoadContext{ dir.path() + u"/"_s, QString(), {} });
        Lines = list.ListLines;
    }

    /// "Album" or "Album/Track" for the node a search selects, or "-" for none.
    QString Find(const QString &text)
    {
        const TTreeNode *node = ListSearch::FindNode(Lines, Tree, text);
        if (!node)
            return u"-"_s;
        return node->Parent() ? node->Parent()->Text() + u"/"_s + node->Text() : node->Text();
    }
};

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TstListSearch : public QObject
{
    Q_OBJECT

private slots:
    void search_data();
    void search();
    void firstNodeInDisplayOrderWins();
    void nothingToSearch();
    void placeholderTreeFindsNothing();

    void entriesAreBuiltFromTheFieldsAsTheyStand();
    void clickSplitsAndRemembersThePosition();
    void changeUsesThePositionNotTheEntry();
    void loadAndSave();
    void failedWriteKeepsTheEntries();
    void unreadableIndexIsNotOverwritten();
};

void TstListSearch::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("node");
    QTest::newRow("latin letters in any case") << u"beatles"_s << u"Зима/BEATLES Medley"_s;
    QTest::newRow("cyrillic with the same case") << u"Зим"_s << u"Зима"_s;
    QTest::newRow("cyrillic in another case") << u"зИМ"_s << u"Зима"_s;
    QTest::newRow("every script folds") << u"motörhead cover"_s << u"Зима/MOTÖRHEAD Cover"_s;
    QTest::newRow("other capitals in the same case") << u"motÖrhead cover"_s << u"Зима/MOTÖRHEAD Cover"_s;
    QTest::newRow("surrounding blanks are trimmed") << u" \t Thaw  "_s << u"Зима/Thaw"_s;
    QTest::newRow("author line only") << u"Nord"_s << u"-"_s;
    QTest::newRow("path line only") << u"music"_s << u"-"_s;
    QTest::newRow("the keyword matches every track line") << u"track"_s << u"Зима/BEATLES Medley"_s;
    QTest::newRow("and every album line") << u"ALBUM"_s << u"Зима"_s;
    QTest::newRow("album key without its blank") << u"spring"_s << u"Spring"_s;
    QTest::newRow("title line with a trailing blank") << u"Melt"_s << u"Spring/Melt"_s;
    // "album:" decides over "track:": the value keeps "track:" and no node has it.
    QTest::newRow("both keys on one line") << u"best of"_s << u"-"_s;
}

void TstListSearch::search()
{
    QFETCH(QString, text);
    QFETCH(QString, node);
    QStringList lines = block(u"Ensemble Nord"_s, u"Зима"_s, { u"BEATLES Medley"_s, u"Thaw"_s, u"MOTÖRHEAD Cover"_s });
    QStringList spring = block(u"Motörhead"_s, u"Spring"_s, { u"Melt "_s, u"Best of album: 2"_s });
    spring[2] = u"album:Spring"_s;
    lines << spring << u"note: Motörhead live"_s;
    TLoaded loaded(lines);
    QCOMPARE(loaded.Tree.NodeCount(), 7);
    QCOMPARE(loaded.Find(text), node);
    // Every search starts afresh at the first line.
    QCOMPARE(loaded.Find(text), node);
}

void TstListSearch::firstNodeInDisplayOrderWins()
{
    // "Echo" is hidden in the first album (its count is 1) and shown in the second:
    // the first line found is the hidden one, the node selected lies in the other album.
    QStringList lines = block(u"A"_s, u"One"_s, { u"Intro"_s, u"Echo"_s }, 1);
    lines << block(u"B"_s, u"Two"_s, { u"Echo"_s }) << block(u"C"_s, u"Three"_s, { u"Echo"_s });
    TLoaded loaded(lines);
    const TTreeNode *found = ListSearch::FindNode(loaded.Lines, loaded.Tree, u"echo"_s);
    QVERIFY(found);
    QCOMPARE(loaded.Tree.IndexOfNode(found), 3);
    QCOMPARE(found->Parent()->Text(), u"Two"_s);

    // A track that shares its text with a later album: the earlier node is chosen.
    TLoaded shared(block(u"A"_s, u"One"_s, { u"Two"_s }) + block(u"B"_s, u"Two"_s, { u"x"_s }));
    QCOMPARE(shared.Find(u"Two"_s), u"One/Two"_s);
}

void TstListSearch::nothingToSearch()
{
    TLoaded loaded(block(u"A"_s, u"One"_s, { u"First"_s }));
    QCOMPARE(loaded.Find(QString()), u"-"_s);
    QCOMPARE(loaded.Find(u" \t "_s), u"-"_s);
    TCatalogueTree empty;
    QVERIFY(!ListSearch::FindNode({}, empty, u"One"_s));
    QVERIFY(!ListSearch::FindNode({}, loaded.Tree, u"One"_s));
}

void TstListSearch::placeholderTreeFindsNothing()
{
    // Title lines without a "-newalbum" line: the tree shows only the placeholder.
    TLoaded loaded({ u"album: Lost"_s, u"track: Gone"_s, u"nt: 1"_s });
    QCOMPARE(loaded.Tree.NodeCount(), 1);
    QCOMPARE(loaded.Tree.NodeByIndex(0)->Text(), TCatalogueTree::EmptyPlaceholder());
    QCOMPARE(loaded.Find(u"lost"_s), u"-"_s);
    QCOMPARE(loaded.Find(u"gone"_s), u"-"_s);
    QCOMPARE(loaded.Find(u"пусто"_s), u"-"_s);
    QCOMPARE(ListSearch::NotFoundMessage(), u"Текстовой фрагмент в данном списке отсутствует."_s);
}

void TstListSearch::entriesAreBuiltFromTheFieldsAsTheyStand()
{
    QCOMPARE(TQuickLoadEntries::BuildEntry(u"Рок"_s, u"C:\\rock.lst"_s), u"Рок {C:\\rock.lst}"_s);
    QCOMPARE(TQuickLoadEntries::BuildEntry(u" Джаз "_s, QString()), u" Джаз  {}"_s);
    TQuickLoadEntries entries;
    QCOMPARE(entries.Add(u"  Blues "_s, u"/lists/b.lst"_s), TQuickLoadEntries::TEdit::Done);
    QCOMPARE(entries.Add(u"Blues"_s, u"/lists/b.lst"_s), TQuickLoadEntries::TEdit::Done); // no duplicate check
    for (const QString &name : { QString(), u" \t "_s }) {
        QCOMPARE(entries.Add(name, u"x.lst"_s), TQuickLoadEntries::TEdit::NameMissing);
        QCOMPARE(entries.Change(name, u"x.lst"_s), TQuickLoadEntries::TEdit::NameMissing);
    }
    QCOMPARE(entries.Entries(), (QStringList{ u"  Blues  {/lists/b.lst}"_s, u"Blues {/lists/b.lst}"_s }));
}

void TstListSearch::clickSplitsAndRemembersThePosition()
{
    TQuickLoadEntries entries;
    QCOMPARE(entries.RememberedPosition(), 0);
    QVERIFY(!entries.Click(0)); // nothing there
    entries.Add(u"Рок"_s, u"C:\\rock.lst"_s);
    entries.Add(u"Half"_s, u"C:\\x.ls"_s);
    entries.Add(u"Jazz"_s, u"/j.lst"_s);

    std::optional<TQuickLoadEntry> split = entries.Click(0);
    QVERIFY(split);
    QCOMPARE(split->Name, u"Рок"_s);
    QCOMPARE(split->File, u"C:\\rock.lst"_s);
    split = entries.Click(2);
    QCOMPARE(split->Name, u"Jazz"_s);
    QCOMPARE(entries.RememberedPosition(), 2);
    QVERIFY(!entries.Click(3));
    QVERIFY(!entries.Click(-1));
    QCOMPARE(entries.RememberedPosition(), 2);
}

void TstListSearch::changeUsesThePositionNotTheEntry()
{
    TQuickLoadEntries entries;
    QCOMPARE(entries.Change(u"New"_s, u"n.lst"_s), TQuickLoadEntries::TEdit::NoEntryThere);
    for (const QString &name : { u"A"_s, u"B"_s })
        entries.Add(name, name + u".lst"_s);
    entries.Click(1);
    entries.Remove(1);
    entries.Remove(5);
    QCOMPARE(entries.RememberedPosition(), 1); // a position, not an entry
    QCOMPARE(entries.Change(u"Gone"_s, u"g.lst"_s), TQuickLoadEntries::TEdit::NoEntryThere);
    QCOMPARE(entries.Entries(), QStringList{ u"A {A.lst}"_s });
}

void TstListSearch::loadAndSave()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u"/"_s;
    TQuickLoadEntries entries;
    entries.Add(u"Kept"_s, u"k.lst"_s);
    entries.Load(folder); // no main.lis: the entries stay
    QCOMPARE(entries.Entries(), QStringList{ u"Kept {k.lst}"_s });

    TestSupport::writeFile(dir, u"main.lis"_s, "\xd0\xee\xea {C:\\rock.lst}\r\nJazz {D:\\j.lst}");
    entries.Load(folder);
    QCOMPARE(entries.Entries(), (QStringList{ u"Рок {C:\\rock.lst}"_s, u"Jazz {D:\\j.lst}"_s }));

    entries.Add(u"Blues"_s, QString());
    entries.Save(folder);
    QCOMPARE(readBytes(folder + u"main.lis"_s), QByteArray("\xd0\xee\xea {C:\\rock.lst}\r\nJazz {D:\\j.lst}\r\nBlues {}\r\n"));
    entries.Clear();
    entries.Save(folder);
    QCOMPARE(readBytes(folder + u"main.lis"_s), QByteArray());
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{ u"main.lis"_s });
}

void TstListSearch::failedWriteKeepsTheEntries()
{
    QTemporaryDir dir;
    const QString missing = dir.path() + u"/gone/"_s;
    TQuickLoadEntries entries;
    entries.Add(u"A"_s, u"a.lst"_s);
    QCOMPARE(TestSupport::errorOf([&] { entries.Save(missing); }), u"Cannot create file "_s + missing + u"main.lis"_s);
    QCOMPARE(entries.Entries(), QStringList{ u"A {a.lst}"_s });

    // The next load keeps the unsaved entries instead of the older file, until a write succeeds.
    const QString folder = dir.path() + u"/"_s;
    TestSupport::writeFile(dir, u"main.lis"_s, "Old {o.lst}\r\n");
    entries.Load(folder);
    QCOMPARE(entries.Entries(), QStringList{ u"A {a.lst}"_s });
    entries.Save(folder);
    QCOMPARE(readBytes(folder + u"main.lis"_s), QByteArray("A {a.lst}\r\n"));
    TestSupport::writeFile(dir, u"main.lis"_s, "Newer {n.lst}\r\n");
    entries.Load(folder);
    QCOMPARE(entries.Entries(), QStringList{ u"Newer {n.lst}"_s });
}

void TstListSearch::unreadableIndexIsNotOverwritten()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u"/"_s;
    // A main.lis that exists but cannot be read as a file.
    QVERIFY(QDir(folder).mkdir(u"main.lis"_s));
    TQuickLoadEntries entries;
    QCOMPARE(TestSupport::errorOf([&] { entries.Load(folder); }), u"Cannot open file "_s + folder + u"main.lis"_s);
    entries.Save(folder); // nothing edited: the index is left alone
    QVERIFY(QFileInfo(folder + u"main.lis"_s).isDir());
    // An edit is the user's own list, and its write is attempted (and fails loudly here).
    entries.Add(u"A"_s, u"a.lst"_s);
    QVERIFY_THROWS_EXCEPTION(KsError, entries.Save(folder));
}

QTEST_GUILESS_MAIN(TstListSearch)
#include "tst_ListSearch.moc"
