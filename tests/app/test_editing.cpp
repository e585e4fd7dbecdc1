// test_editing: the main window's commands that delete, rename, open and save the list, on recording fakes.
#include "MainWindowFixture.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "ListEdits.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using CatalogueTestUtil::listBytes;
using CatalogueTestUtil::readBytes;

namespace {

// A loaded window over one list file in its own program folder.
struct TEditedList : TWindowOnList
{
    TForm1 &Form() const { return *W.Form; }
    TCatalogueTree &Tree() const { return W.Form->Tree(); }
    THETreeView &View() const { return *W.Form->TreeView(); }
    TTreeNode *Node(int index) const { return Tree().NodeByIndex(index); }
    void Trigger(const QString &action) const { W.Find<QAction>(action)->trigger(); }
    /// The list on disk is the list in memory.
    bool OnDisk() const { return readBytes(File) == listBytes(W.Form->OpenList().ListLines); }
    QStringList Texts() const { return CatalogueTestUtil::texts(Tree()); }

    bool Rename(TTreeNode *node, const QString &text) const { return RenameInPlace(W, node, text); }
};

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    void deleteAlbumLeavesTheOthers()
    {
        const QStringList one = albumBlock(u"Один"_s, {}, {}, tracksNamed({ u"a"_s, u"b"_s }));
        const QStringList two = albumBlock(u"Два"_s, {}, {}, tracksNamed({ u"c"_s }));
        const QStringList three = albumBlock(u"Три"_s, {}, {});
        TEditedList l;
        QVERIFY(l.Load(QStringList{ u"заметка"_s } + one + two + three));

        // The last album, with the one before it expanded and selected before.
        l.View().expand(l.Tree().IndexOf(l.Node(3)));
        l.View().Select(l.Node(5));
        l.Trigger(u"Delete"_s);
        QCOMPARE(readBytes(l.File), listBytes(QStringList{ u"заметка"_s } + one + two));
        QVERIFY(l.OnDisk());
        QCOMPARE(l.Texts(), (QStringList{ u"Один"_s, u"  a"_s, u"  b"_s, u"Два"_s, u"  c"_s }));

        // The menu item does the same; the list is not reloaded.
        TTreeNode *first = l.Node(0);
        l.View().Select(first);
        l.W.Find<QAction>(u"N2"_s)->trigger();
        QCOMPARE(readBytes(l.File), listBytes(QStringList{ u"заметка"_s } + two));
        QCOMPARE(l.Texts(), (QStringList{ u"Два"_s, u"  c"_s }));

        // The only album leaves the placeholder, which cannot be deleted.
        l.View().Select(l.Node(0));
        l.Trigger(u"Delete"_s);
        QCOMPARE(readBytes(l.File), listBytes({ u"заметка"_s }));
        QCOMPARE(l.Texts(), QStringList{ u"{пусто}"_s });
        QCOMPARE(l.Form().OpenList().CurrentAlbum.TrackCount, 0);
        l.View().Select(l.Node(0));
        l.Trigger(u"Delete"_s);
        QCOMPARE(l.Texts(), QStringList{ u"{пусто}"_s });
        QCOMPARE(readBytes(l.File), listBytes({ u"заметка"_s }));
        QVERIFY(l.W.Messages.Errors.isEmpty());
    }

    void deleteTrackRewritesTheCountAndReloads()
    {
        const QStringList other = albumBlock(u"Other"_s, {}, {}, tracksNamed({ u"x"_s }));
        TEditedList l;
        QVERIFY(l.Load(other + albumBlock(u"Album"_s, {}, {}, tracksNamed({ u"One"_s, u"Two"_s, u"Three"_s }))));
        l.View().Select(l.Node(4));
        QCOMPARE(l.Node(4)->Text(), u"Two"_s);
        l.Trigger(u"Delete"_s);
        QCOMPARE(readBytes(l.File), listBytes(other + albumBlock(u"Album"_s, {}, {}, tracksNamed({ u"One"_s, u"Three"_s }))));
        QVERIFY(l.OnDisk());
        QCOMPARE(l.Texts(), (QStringList{ u"Other"_s, u"  x"_s, u"Album"_s, u"  One"_s, u"  Three"_s }));
        QCOMPARE(l.View().Selected(), l.Node(0));
    }

    void deletesKeepToTheUsersChoice()
    {
        // Two albums titled "Live": deleting the second removes its own block and node.
        const QStringList first = albumBlock(u"Live"_s, {}, {}, tracksNamed({ u"a"_s }));
        const QStringList second = albumBlock(u"Live"_s, {}, {}, tracksNamed({ u"b"_s, u"b"_s }));
        QStringList damaged = albumBlock(u"Damaged"_s, {}, {}, tracksNamed({ u"x"_s }));
        damaged[5] = u"nt: 3"_s; // counted past its end, into the empty album after it
        const QStringList empty = albumBlock(u"Empty"_s, {}, {});
        TEditedList l;
        QVERIFY(l.Load(first + second + damaged + empty));
        l.View().Select(l.Node(4)); // the second "b" of the second "Live"
        l.Trigger(u"Delete"_s);
        const QStringList secondAfter = albumBlock(u"Live"_s, {}, {}, tracksNamed({ u"b"_s }));
        QCOMPARE(readBytes(l.File), listBytes(first + secondAfter + damaged + empty));
        l.View().Select(l.Node(2));
        l.Trigger(u"Delete"_s);
        QCOMPARE(readBytes(l.File), listBytes(first + damaged + empty));
        QCOMPARE(l.Texts().mid(0, 3), (QStringList{ u"Live"_s, u"  a"_s, u"Damaged"_s }));

        // A damaged album is not deleted, and the user is told why; neither is any of its tracks.
        const QByteArray before = readBytes(l.File);
        for (int node : { 2, 3 }) {
            l.View().Select(l.Node(node));
            l.Trigger(u"Delete"_s);
        }
        QCOMPARE(l.W.Messages.Messages, (QStringList{ ListEdits::DamagedAlbumMessage(), ListEdits::DamagedTrackMessage() }));
        QCOMPARE(readBytes(l.File), before);
        QVERIFY(l.OnDisk());
        QVERIFY(l.W.Messages.Errors.isEmpty());
    }

    void unmatchedTitlesDoNothing()
    {
        // Album and track lines with a trailing blank are shown but cannot be looked up.
        QStringList lines = albumBlock(u"Winter"_s, {}, {}, tracksNamed({ u"Thaw"_s }));
        lines[2] = u"album: Winter "_s;
        lines += albumBlock(u"Summer"_s, {}, {}, tracksNamed({ u"Heat"_s }));
        lines[12 + 7] = u"track: Heat "_s;
        TEditedList l;
        QVERIFY(l.Load(lines));
        const QByteArray before = readBytes(l.File);
        for (int node : { 0, 1, 3 }) {
            l.View().Select(l.Node(node));
            l.Trigger(u"Delete"_s);
        }
        QCOMPARE(readBytes(l.File), before);
        QCOMPARE(l.Tree().NodeCount(), 4);
        QVERIFY(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty());
    }

    void failedSaveKeepsTheFile()
    {
        TEditedList l;
        const QStringList lines = albumBlock(u"A"_s, {}, {}, tracksNamed({ u"t"_s })) + albumBlock(u"B"_s, {}, {});
        QVERIFY(l.Load(lines, u"sub/list.lst"_s));
        const QByteArray before = readBytes(l.File);
        // The list's folder is moved away while the list is open.
        const QString moved = l.Folder.Path(u"moved"_s);
        QVERIFY(QDir().rename(l.Folder.Path(u"sub"_s), moved));

        // Memory, tree and file agree after each failure.
        l.View().Select(l.Node(2));
        l.Trigger(u"Delete"_s);
        QCOMPARE(l.W.Messages.Errors, QStringList{ u"Cannot create file "_s + l.File + u'.' });
        QCOMPARE(l.Texts(), (QStringList{ u"A"_s, u"  t"_s, u"B"_s }));
        QCOMPARE(l.Form().OpenList().ListLines, lines);

        l.W.Messages.Errors.clear();
        l.View().SetReadOnly(false);
        QVERIFY(l.Rename(l.Node(0), u"A2"_s));
        QCOMPARE(l.W.Messages.Messages, QStringList{ u"Не могу сохранить список."_s });
        QVERIFY(l.W.Messages.Errors.isEmpty());
        QTRY_COMPARE(l.Node(0)->Text(), u"A"_s);
        QCOMPARE(l.Form().OpenList().ListLines, lines);
        QCOMPARE(readBytes(moved + u"/list.lst"_s), before);

        // Once the list can be written again, the next edit saves only itself: album B is still there.
        QVERIFY(QDir().rename(moved, l.Folder.Path(u"sub"_s)));
        QVERIFY(l.Rename(l.Node(0), u"A2"_s));
        QCOMPARE(readBytes(l.File), listBytes(albumBlock(u"A2"_s, {}, {}, tracksNamed({ u"t"_s })) + albumBlock(u"B"_s, {}, {})));
        QCOMPARE(l.Texts(), (QStringList{ u"A2"_s, u"  t"_s, u"B"_s }));
    }

    void renameAlbumsAndTracks()
    {
        const QStringList other = albumBlock(u"Other"_s, {}, {}, tracksNamed({ u"Song"_s, u"Song"_s }));
        const QStringList live = albumBlock(u"Live"_s, {}, {}, tracksNamed({ u"Song"_s }));
        TEditedList l;
        QVERIFY(l.Load(live + other + live));
        l.View().SetReadOnly(false);
        QStringList expected = live + other + live;

        // Titles that repeat: only the renamed node's own line changes.
        QVERIFY(l.Rename(l.Node(5), u"Live 1999"_s));
        QCOMPARE(l.Form().EditOldText(), u"Live"_s);
        expected[28 + 2] = u"album: Live 1999"_s;
        QCOMPARE(readBytes(l.File), listBytes(expected));
        QVERIFY(l.Rename(l.Node(4), u"Song B"_s));
        expected[12 + 11] = u"track: Song B"_s;
        QCOMPARE(readBytes(l.File), listBytes(expected));

        // A title of its own: the track line of its album; a trailing blank is kept.
        QVERIFY(l.Rename(l.Node(6), u"Song "_s));
        expected[28 + 7] = u"track: Song "_s;
        QCOMPARE(readBytes(l.File), listBytes(expected));
        QVERIFY(l.OnDisk());
        QVERIFY(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty());

        // A blank title is refused: nothing saved, the node keeps its title.
        QVERIFY(l.Rename(l.Node(2), u" "_s));
        QCOMPARE(l.W.Messages.Messages, QStringList{ ListEdits::BlankTitleMessage() });
        QCOMPARE(readBytes(l.File), listBytes(expected));
        QTRY_COMPARE(l.Node(2)->Text(), u"Other"_s);

        // The renamed list reloads with the new titles.
        l.Form().LoadList(l.File);
        QCOMPARE(l.Texts(), (QStringList{ u"Live"_s, u"  Song"_s, u"Other"_s, u"  Song"_s, u"  Song B"_s,
                                          u"Live 1999"_s, u"  Song"_s }));
    }

    void renameAllowedByTheSettings()
    {
        TEditedList l;
        l.Folder.WriteLines(u"ks.ini"_s, { u"[Options]"_s, u"ReadOnly=false"_s });
        QVERIFY(l.Load(albumBlock(u"A"_s, {}, {}, tracksNamed({ u"t"_s }))));
        QVERIFY(!l.View().ReadOnly());
        QVERIFY(l.Rename(l.Node(1), u"Талая вода"_s));
        QStringList expected = albumBlock(u"A"_s, {}, {}, tracksNamed({ u"t"_s }));
        expected[7] = u"track: Талая вода"_s;
        QCOMPARE(readBytes(l.File), listBytes(expected));
    }

    void renamePastTheEndChangesNothing()
    {
        // The last album's final track block stops after its title line: it loads, its range runs out.
        QStringList lines = albumBlock(u"A"_s, {}, {}, tracksNamed({ u"x"_s })) + albumBlock(u"B"_s, {}, {}, tracksNamed({ u"y"_s }));
        lines = lines.mid(0, lines.size() - 4);
        TEditedList l;
        QVERIFY(l.Load(lines));
        const QByteArray before = readBytes(l.File);
        l.View().Select(l.Node(3)); // its lookup fails on the missing lines
        l.W.Messages.Errors.clear();
        l.View().SetReadOnly(false);
        QVERIFY(l.Rename(l.Node(3), u"z"_s));
        QCOMPARE(l.W.Messages.Errors.value(0), u"List index out of bounds (20)"_s);
        QCOMPARE(readBytes(l.File), before);
        QCOMPARE(l.Form().OpenList().ListLines, lines);
        QTRY_COMPARE(l.Node(3)->Text(), u"y"_s); // the node keeps its title
    }

    void informationOpensThePropertyDialogs()
    {
        TEditedList l;
        QVERIFY(l.Load(albumBlock(u"Album"_s, u"notes\\a.htm"_s, {}, tracksNamed({ u"Track"_s }))));
        auto *form4 = l.W.Form->findChild<QDialog *>(u"Form4"_s);
        auto *form3 = l.W.Form->findChild<QDialog *>(u"Form3"_s);
        l.View().Select(l.Node(0));
        l.W.Find<QAction>(u"N5"_s)->trigger();
        QVERIFY(form4->isVisible() && !form4->isModal());
        QCOMPARE(form4->windowTitle(), u"album: Album"_s);
        QCOMPARE(form4->findChild<QLineEdit *>(u"Edit3"_s)->text(), l.Folder.Path(u"notes\\a.htm"_s));

        // The track dialog is modal: it is looked at and closed while it runs.
        QString title;
        bool modal = false;
        QTimer::singleShot(0, form3, [&] {
            title = form3->windowTitle();
            modal = form3->isModal() && form3->isVisible();
            form3->reject();
        });
        l.View().Select(l.Node(1));
        l.W.Find<QAction>(u"N5"_s)->trigger();
        QVERIFY(modal);
        QCOMPARE(title, u"track: Track"_s);
        QCOMPARE(l.Form().OpenList().CurrentTrack.FileName, l.Folder.Path(u"Track"_s));

        // The tag editor's hand-over looks the selected records up.
        l.Form().OpenList().CurrentTrack = TTrack();
        l.W.Find<QAction>(u"ID3tag2"_s)->trigger();
        QCOMPARE(l.Form().OpenList().CurrentTrack.Title, u"Track"_s);
    }

    void openSaveAndMakeDefault()
    {
        TEditedList l;
        const QStringList lines = albumBlock(u"Start"_s, {}, {}, tracksNamed({ u"a"_s, u"b"_s }));
        QVERIFY(l.Load(lines, u"lists/start.lst"_s));
        const QString jazz = l.Folder.WriteLines(u"lists/jazz.lst"_s, albumBlock(u"Jazz"_s, {}, {}));
        const QString filter = u"Список музыкальных файлов|*.lst"_s;

        // Open: a file name without "." gets ".lst", also when a folder has one.
        l.W.FileDialogs.Answer(l.Folder.Path(u"lists/jazz"_s));
        QTest::mouseClick(l.W.Find<QToolButton>(u"SpeedButton1"_s), Qt::LeftButton);
        QCOMPARE(l.Form().OpenList().ListFileName, jazz);
        QCOMPARE(l.Texts(), QStringList{ u"Jazz"_s });
        l.W.FileDialogs.Answer(l.Folder.Path(u"my.lists/jazz"_s));
        l.Trigger(u"OpenList"_s);
        const QString dotted = l.Folder.Path(u"my.lists/jazz.lst"_s);
        QCOMPARE(l.W.Messages.Errors, QStringList{ u"Cannot open file "_s + dotted + u'.' });
        l.W.FileDialogs.Cancel();
        l.Trigger(u"OpenList"_s);
        QCOMPARE(l.Form().OpenList().ListFileName, jazz);

        // Save under another name: the loaded list stays the one later edits go to.
        l.Form().LoadList(l.File);
        l.W.FileDialogs.Answer(l.Folder.Path(u"copy"_s));
        QTest::mouseClick(l.W.Find<QToolButton>(u"SpeedButton6"_s), Qt::LeftButton);
        QCOMPARE(readBytes(l.Folder.Path(u"copy.lst"_s)), listBytes(lines));
        l.W.FileDialogs.Cancel();
        l.Trigger(u"SaveAction"_s);
        QCOMPARE(l.Form().OpenList().ListFileName, l.File);
        l.View().Select(l.Node(1));
        l.Trigger(u"Delete"_s);
        QCOMPARE(readBytes(l.Folder.Path(u"copy.lst"_s)), listBytes(lines));
        QVERIFY(l.OnDisk());
        QCOMPARE(l.Texts(), (QStringList{ u"Start"_s, u"  b"_s }));

        // Make default: the program folder's list.lst, without a message.
        l.W.Find<QAction>(u"N8"_s)->trigger();
        QCOMPARE(readBytes(l.Folder.Path(u"list.lst"_s)), readBytes(l.File));
        QCOMPARE(l.Form().OpenList().ListFileName, l.File);

        QCOMPARE(l.W.FileDialogs.Requests.size(), 5);
        for (const auto &r : l.W.FileDialogs.Requests)
            QCOMPARE(r.Filter, filter);
        // Every dialog started in the folder of the list open at the time.
        QCOMPARE(l.W.FileDialogs.Requests[0].StartFolder, l.Folder.Path(u"lists/"_s));
        QCOMPARE(l.W.FileDialogs.Requests[3].StartFolder, l.Folder.Path(u"lists/"_s));
        QCOMPARE(l.W.FileDialogs.Requests[3].Kind, u"save"_s);
        QCOMPARE(l.W.Messages.Errors.size(), 1);
    }

    // "Экспорт в M3U": the whole list, or after "Да" the selected track's album alone; the open list refused.
    void m3uExport()
    {
        TEditedList l;
        QVERIFY(l.Load(albumBlock(u"Один"_s, {}, {}, tracksNamed({ u"a"_s }))
                       + albumBlock(u"Два"_s, {}, {}, tracksNamed({ u"b"_s, u"c"_s }))));
        l.View().Select(l.Node(3));
        for (const bool albumOnly : { false, true }) {
            l.W.Messages.Answers = { albumOnly };
            l.W.FileDialogs.Answer(l.Folder.Path(u"x"_s));
            l.Trigger(u"M3U1"_s);
            QCOMPARE(l.W.Messages.Questions.last(), u"Записать в плейлист только альбом «Два»? «Нет» — весь список."_s);
            const QByteArray playlist = readBytes(l.Folder.Path(u"x.m3u8"_s));
            QCOMPARE(playlist.count("#EXTINF:180,Someone - "), albumOnly ? 2 : 3);
            QCOMPARE(playlist.contains("\r\na\r\n"), !albumOnly);
        }
        l.W.FileDialogs.Answer(l.File);
        l.Trigger(u"M3U1"_s);
        QVERIFY(l.W.Messages.Messages.last().startsWith(u"Плейлист не может заменить открытый список."_s));
        QVERIFY(l.OnDisk());
    }

    void commandsShowTheirDialogs()
    {
        TEditedList l;
        QVERIFY(l.Load(albumBlock(u"A"_s, {}, {})));
        QTest::mouseClick(l.W.Find<QToolButton>(u"SpeedButton2"_s), Qt::LeftButton);
        QTRY_VERIFY(l.W.Form->findChild<QDialog *>(u"Form2"_s)->isVisible());
        QTest::mouseClick(l.W.Find<QToolButton>(u"SpeedButton5"_s), Qt::LeftButton);
        QTRY_VERIFY(l.W.Form->findChild<QDialog *>(u"Form5"_s)->isVisible());
        l.Trigger(u"Find"_s);
        QTRY_VERIFY(l.W.Form->findChild<QDialog *>(u"Form6"_s)->isVisible());
        for (const char16_t *name : { u"Form2", u"Form5", u"Form6" })
            l.W.Form->findChild<QDialog *>(QString::fromUtf16(name))->hide();
        l.Trigger(u"NewList"_s);
        QTRY_VERIFY(l.W.Form->findChild<QDialog *>(u"Form2"_s)->isVisible());
        l.W.Find<QAction>(u"N9"_s)->trigger();
        QTRY_VERIFY(l.W.Form->findChild<QDialog *>(u"Form6"_s)->isVisible());
    }
};

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
