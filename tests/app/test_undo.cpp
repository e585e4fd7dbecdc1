// test_undo: "Отменить" and "Повторить" in the main window over every kind of change to a list file, by
// their keys, byte for byte, with the tree and its selection following; and what they leave alone.
#include "MainWindowFixture.h"

#include "LineTextBox.h"
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
    /// The tree's texts and the quick-load box's files.
    QStringList Shown() const { return CatalogueTestUtil::texts(W.Form->Tree()) + W.Form->QuickLoadFiles(); }
    QString Selected() const { return View().Selected() ? View().Selected()->Text() : QString(); }
    /// Selects the node at index (unless -1) and triggers an action.
    void Do(const QString &action, int node = -1) const
    {
        if (node >= 0)
            View().Select(W.Form->Tree().NodeByIndex(node));
        W.Find<QAction>(action)->trigger();
    }
    /// Types into a dialog's fields and clicks its buttons, in order.
    void Fill(QWidget *dialog, const QList<std::pair<QString, QString>> &fields, const QStringList &buttons) const
    {
        for (const auto &[name, text] : fields)
            dialog->findChild<QLineEdit *>(name)->setText(text);
        for (const QString &name : buttons)
            dialog->findChild<QPushButton *>(name)->click();
    }
    QMap<QString, QByteArray> Files() const
    {
        QMap<QString, QByteArray> files;
        for (const QString &name : { u"open.lst"_s, u"list.lst"_s, u"main.lis"_s })
            files[name] = readBytes(Folder.Path(name));
        return files;
    }
    /// A key pressed in the tree of the active window, as the user presses it.
    bool Press(QKeyCombination keys) const
    {
        W.Form->activateWindow();
        if (!QTest::qWaitForWindowActive(W.Form.get()))
            return false;
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
    const char *SelectedAfterUndo; // the node selected when the key was pressed, or where the selection went
    bool DefaultList = false;      // a list.lst is there before
};

const TChange Changes[] = {
    { "delete an album", [](TUndoWindow &l) { l.Do(u"Delete"_s, 0); }, "Два" },
    { "delete a track", [](TUndoWindow &l) { l.Do(u"Delete"_s, 2), l.View().Select(l.W.Form->Tree().NodeByIndex(2)); }, "c" },
    { "rename in place", // the renamed node is found at its place
      [](TUndoWindow &l) { l.View().SetReadOnly(false), RenameInPlace(l.W, l.W.Form->Tree().NodeByIndex(4), u"Два с половиной"_s); },
      "Два" },
    { "album properties",
      [](TUndoWindow &l) { l.Do(u"N5"_s, 0), l.Fill(l.W.Form->Form4(), { { u"Edit2"_s, u"Новый автор"_s } }, { u"Button1"_s }); },
      "Один" },
    { "the album builder's album added", // the new album is gone after the undo
      [](TUndoWindow &l) {
          l.Fill(l.W.Form->Form2(), { { u"Edit1"_s, u"Три"_s }, { u"Edit5"_s, u"e"_s }, { u"Edit7"_s, u"/m/e.mp3"_s } },
                 { u"Button4"_s, u"Button2"_s, u"Button7"_s });
          l.View().Select(l.W.Form->Tree().NodeByIndex(6));
      },
      "Один" },
    { "the file search's text added",
      [](TUndoWindow &l) {
          l.W.Form->FileFindForm()->findChild<TLineTextBox *>(u"RichEdit1"_s)->Editor()->setPlainText(albumBlock(u"/m/Три"_s, {}, {}).join(u'\n'));
          l.Fill(l.W.Form->FileFindForm(), {}, { u"Button4"_s });
      },
      "Один" },
    { "make default, without a list.lst before", [](TUndoWindow &l) { l.Do(u"N8"_s); }, "Один" },
    { "make default, replacing list.lst", [](TUndoWindow &l) { l.Do(u"N8"_s); }, "Один", true },
    { "the quick-load manager's main.lis",
      [](TUndoWindow &l) {
          l.W.Form->findChild<QToolButton *>(u"SpeedButton5"_s)->click();
          l.Fill(l.W.Form->Form5(), { { u"Edit1"_s, u"Джаз"_s }, { u"Edit2"_s, u"jazz.lst"_s } }, { u"Button1"_s, u"Button2"_s });
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
            const QStringList shownBefore = l.Shown();
            change.Make(l);
            const QMap<QString, QByteArray> after = l.Files();
            const QStringList shownAfter = l.Shown();
            QVERIFY2(after != before, name);
            for (int round = 0; round < 2; ++round) {
                QVERIFY(l.Press(Qt::CTRL | Qt::Key_Z));
                QVERIFY2(l.Files() == before && l.Shown() == shownBefore, name);
                if (round == 0)
                    QCOMPARE(l.Selected(), QString::fromUtf8(change.SelectedAfterUndo));
                QVERIFY(l.Press(round == 0 ? Qt::CTRL | Qt::Key_Y : Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
                QVERIFY2(l.Files() == after && l.Shown() == shownAfter, name);
            }
            QVERIFY2(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty(), name);
        }
    }

    // A text field keeps Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z for its typing; a list changed by another
    // program since the last save is not undone.
    void leavesAloneWhatItDidNotWrite()
    {
        TUndoWindow l;
        QVERIFY(l.Load(One + Two, u"open.lst"_s));
        l.Do(u"Delete"_s, 0);
        l.Do(u"N11"_s);
        QVERIFY(l.W.Find<QAction>(u"N12"_s)->isEnabled() && !l.W.Find<QAction>(u"N11"_s)->isEnabled());
        l.View().SetReadOnly(false);
        static_cast<QAbstractItemView &>(l.View()).edit(l.W.Form->Tree().IndexOf(l.W.Form->Tree().NodeByIndex(0)));
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = l.View().findChild<QLineEdit *>()) && editor->isVisible());
        QTest::keyClicks(editor, u"xyz"_s);
        for (const QKeyCombination keys : { Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
                                            Qt::CTRL | Qt::Key_Z })
            QTest::keyClick(editor, keys.key(), keys.keyboardModifiers());
        QCOMPARE(editor->text(), u"Один"_s);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(readBytes(l.File), listBytes(One + Two));

        l.Do(u"N12"_s);
        const QByteArray outside = listBytes(Two + One);
        CatalogueTestUtil::writeBytes(l.File, outside);
        for (int i = 0; i < 2; ++i)
            QVERIFY(l.Press(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(readBytes(l.File), outside);
        QCOMPARE(l.W.Messages.Messages.size(), 2);
        QVERIFY(l.W.Messages.Messages.first().contains(l.File));
        QCOMPARE(l.Shown(), (QStringList{ u"Два"_s, u"  d"_s }));
    }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
