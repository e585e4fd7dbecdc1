// test_undo: "Отменить" and "Повторить" in the main window over every kind of change to a list file, by
// their keys, byte for byte, with the tree and its selection following; and what they leave alone.
#include "MainWindowFixture.h"

#include "Unit1.h"
#include "Unit2.h"
#include "Unit41.h"
#include "Unit5.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QAction>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using CatalogueTestUtil::listBytes;
using CatalogueTestUtil::readBytes;

namespace {

struct TUndoWindow : TWindowOnList
{
    THETreeView &View() const { return *W.Form->TreeView(); }
    TTreeNode *Node(int index) const { return W.Form->Tree().NodeByIndex(index); }
    QStringList Texts() const { return CatalogueTestUtil::texts(W.Form->Tree()); }
    QString Selected() const { return View().Selected() ? View().Selected()->Text() : QString(); }
    void Select(int index) const { View().Select(Node(index)); }
    template <class T> T *In(QWidget *dialog, const QString &name) const { return dialog->findChild<T *>(name); }
    void Click(QWidget *dialog, const QString &button) const { In<QPushButton>(dialog, button)->click(); }

    /// Every file a change may touch, with its bytes (or "<missing>").
    QMap<QString, QByteArray> Files() const
    {
        QMap<QString, QByteArray> files;
        for (const QString &name : { u"open.lst"_s, u"list.lst"_s, u"main.lis"_s, u"new.lst"_s })
            files[name] = readBytes(Folder.Path(name));
        return files;
    }
    /// A key pressed in the tree, as the user presses it in the active window.
    bool Press(QKeyCombination keys) const
    {
        W.Form->activateWindow();
        if (!QTest::qWaitForWindowActive(W.Form.get()))
            return false;
        View().setFocus();
        QTest::keyClick(&View(), keys.key(), keys.keyboardModifiers());
        return true;
    }
};

const QStringList One = albumBlock(u"Один"_s, {}, {}, tracksNamed({ u"a"_s, u"b"_s, u"c"_s }));
const QStringList Two = albumBlock(u"Два"_s, {}, {}, tracksNamed({ u"d"_s }));

struct TChange
{
    const char *Name;
    void (*Make)(TUndoWindow &);
    const char *SelectedAfterUndo; // what the selection was when the key was pressed, or where it went
    bool DefaultList = false;      // a list.lst is there before
};

const TChange Changes[] = {
    { "delete an album",
      [](TUndoWindow &l) {
          l.Select(0);
          l.W.Find<QAction>(u"Delete"_s)->trigger();
      },
      "Два" },
    { "delete a track",
      [](TUndoWindow &l) {
          l.Select(2);
          l.W.Find<QAction>(u"Delete"_s)->trigger();
          l.Select(2); // "c"
      },
      "c" },
    { "rename in place",
      [](TUndoWindow &l) {
          l.View().SetReadOnly(false);
          QVERIFY(RenameInPlace(l.W, l.Node(4), u"Два с половиной"_s));
      },
      "Два" },
    { "album properties",
      [](TUndoWindow &l) {
          l.Select(0);
          l.W.Find<QAction>(u"N5"_s)->trigger();
          TForm4 *d = l.W.Form->Form4();
          l.In<QLineEdit>(d, u"Edit2"_s)->setText(u"Новый автор"_s);
          l.Click(d, u"Button1"_s);
      },
      "Один" },
    { "the album builder's album added",
      [](TUndoWindow &l) {
          TForm2 *d = l.W.Form->Form2();
          l.In<QLineEdit>(d, u"Edit1"_s)->setText(u"Три"_s);
          l.In<QLineEdit>(d, u"Edit5"_s)->setText(u"e"_s);
          l.In<QLineEdit>(d, u"Edit7"_s)->setText(u"/m/e.mp3"_s);
          for (const QString &button : { u"Button4"_s, u"Button2"_s, u"Button7"_s })
              l.Click(d, button);
          l.Select(6); // the new album, gone after the undo
      },
      "Один" },
    { "the file search's text added",
      [](TUndoWindow &l) {
          TFileFindForm *d = l.W.Form->FileFindForm();
          l.In<QPlainTextEdit>(d, u"RichEdit1"_s)->setPlainText(albumBlock(u"/m/Три"_s, {}, {}).join(u'\n'));
          l.Click(d, u"Button4"_s);
      },
      "Один" },
    { "the file search's text saved as a new list",
      [](TUndoWindow &l) {
          TFileFindForm *d = l.W.Form->FileFindForm();
          l.In<QPlainTextEdit>(d, u"RichEdit1"_s)->setPlainText(albumBlock(u"/m/Три"_s, {}, {}).join(u'\n'));
          l.W.FileDialogs.Answer(l.Folder.Path(u"new"_s));
          l.Click(d, u"Button3"_s);
      },
      "Один" },
    { "make default, without a list.lst before",
      [](TUndoWindow &l) { l.W.Find<QAction>(u"N8"_s)->trigger(); }, "Один" },
    { "make default, replacing list.lst", [](TUndoWindow &l) { l.W.Find<QAction>(u"N8"_s)->trigger(); }, "Один", true },
    { "the quick-load manager's main.lis",
      [](TUndoWindow &l) {
          TForm5 *d = l.W.Form->Form5();
          l.W.Form->findChild<QToolButton *>(u"SpeedButton5"_s)->click();
          l.In<QLineEdit>(d, u"Edit1"_s)->setText(u"Джаз"_s);
          l.In<QLineEdit>(d, u"Edit2"_s)->setText(u"jazz.lst"_s);
          l.Click(d, u"Button1"_s);
          l.Click(d, u"Button2"_s);
      },
      "Один" },
};

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    // Each change made, undone by Ctrl+Z, redone by Ctrl+Y, undone and redone by Ctrl+Shift+Z: every file
    // holds its bytes of before or after, the tree and the quick-load box show them, and the selection
    // stays where it can.
    void eachChangeUndoneAndRedone()
    {
        for (const TChange &change : Changes) {
            const char *name = change.Name;
            TUndoWindow l;
            QVERIFY(l.Load(One + Two, u"open.lst"_s));
            l.Folder.WriteLines(u"main.lis"_s, { u"Рок {rock.lst}"_s });
            if (change.DefaultList)
                l.Folder.WriteLines(u"list.lst"_s, Two);
            l.W.Form->LoadQuickLoadIndex();
            const QMap<QString, QByteArray> before = l.Files();
            const QStringList treeBefore = l.Texts() + l.W.Form->QuickLoadFiles();
            change.Make(l);
            const QMap<QString, QByteArray> after = l.Files();
            const QStringList treeAfter = l.Texts() + l.W.Form->QuickLoadFiles();
            QVERIFY2(after != before, name);
            for (int round = 0; round < 2; ++round) {
                QVERIFY(l.Press(Qt::CTRL | Qt::Key_Z));
                QVERIFY2(l.Files() == before, name);
                QVERIFY2(l.Texts() + l.W.Form->QuickLoadFiles() == treeBefore, name);
                if (round == 0)
                    QCOMPARE(l.Selected(), QString::fromUtf8(change.SelectedAfterUndo));
                QVERIFY(l.Press(round == 0 ? Qt::CTRL | Qt::Key_Y : Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
                QVERIFY2(l.Files() == after, name);
                QVERIFY2(l.Texts() + l.W.Form->QuickLoadFiles() == treeAfter, name);
            }
            QVERIFY2(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty(), name);
        }
    }

    // A list changed by another program since the last save is not undone; nor is a text field's Ctrl+Z
    // taken for the list's.
    void leavesAloneWhatItDidNotWrite()
    {
        TUndoWindow l;
        QVERIFY(l.Load(One + Two, u"open.lst"_s));
        l.Select(0);
        l.W.Find<QAction>(u"Delete"_s)->trigger();

        // In the field of a node edited in place, Ctrl+Z takes back the typing, with a step to undo and one to redo.
        l.W.Find<QAction>(u"N11"_s)->trigger();
        QVERIFY(l.W.Find<QAction>(u"N12"_s)->isEnabled() && !l.W.Find<QAction>(u"N11"_s)->isEnabled());
        l.View().SetReadOnly(false);
        static_cast<QAbstractItemView &>(l.View()).edit(l.W.Form->Tree().IndexOf(l.Node(0)));
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = l.View().findChild<QLineEdit *>()) && editor->isVisible());
        QTest::keyClicks(editor, u"xyz"_s);
        for (const QKeyCombination keys : { Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
                                            Qt::CTRL | Qt::Key_Z })
            QTest::keyClick(editor, keys.key(), keys.keyboardModifiers());
        QCOMPARE(editor->text(), u"Один"_s);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(readBytes(l.File), listBytes(One + Two));
        l.W.Find<QAction>(u"N12"_s)->trigger();
        QCOMPARE(readBytes(l.File), listBytes(Two));
        QCOMPARE(l.Texts(), (QStringList{ u"Два"_s, u"  d"_s }));

        const QByteArray outside = listBytes(Two + One);
        CatalogueTestUtil::writeBytes(l.File, outside);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(l.Press(Qt::CTRL | Qt::Key_Z));
            QCOMPARE(readBytes(l.File), outside);
        }
        QCOMPARE(l.W.Messages.Messages.size(), 2);
        QVERIFY(l.W.Messages.Messages.first().contains(l.File));
        QCOMPARE(l.Texts(), (QStringList{ u"Два"_s, u"  d"_s }));
        QVERIFY(l.W.Find<QAction>(u"N11"_s)->isEnabled());
    }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
