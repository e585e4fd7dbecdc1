// test_PropertyDialogs: the album and track property dialogs, opened from the main window on recording fakes.
#include "app/MainWindowFixture.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "Unit31.h"
#include "Unit41.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

using namespace Qt::StringLiterals;
using CatalogueTestUtil::listBytes;
using CatalogueTestUtil::readBytes;

namespace {

const QString kDescriptionFilter = u"*.htm|*.htm|*.txt|*.txt|*.*|*.*"_s;

struct TOpenedList : TWindowOnList
{
    TCatalogueTree &Tree() const { return W.Form->Tree(); }
    TTreeNode *Node(int index) const { return Tree().NodeByIndex(index); }
    QStringList &Lines() const { return W.Form->OpenList().ListLines; }
    TForm4 *Form4() const { return W.Form->Form4(); }
    TForm3 *Form3() const { return W.Form->Form3(); }
    template <class T> T *In(QWidget *dialog, const QString &name) const { return dialog->findChild<T *>(name); }
    QLineEdit *Edit(QWidget *dialog, int n) const { return In<QLineEdit>(dialog, u"Edit%1"_s.arg(n)); }
    void Click(QWidget *dialog, const QString &button) const
    {
        QTest::mouseClick(In<QPushButton>(dialog, button), Qt::LeftButton);
    }

    /// "Информация" on a node.
    void Inform(int node) const
    {
        W.Form->TreeView()->Select(Node(node));
        W.Find<QAction>(u"N5"_s)->trigger();
    }
    /// "Информация" on a track node; act runs while the modal dialog is shown. False if it never ran.
    bool InformTrack(int node, const std::function<void(TForm3 *)> &act) const
    {
        bool ran = false;
        QTimer::singleShot(0, Form3(), [&] {
            ran = Form3()->isVisible() && Form3()->isModal();
            act(Form3());
            if (Form3()->isVisible())
                Form3()->reject(); // a failed check must not leave the dialog running
        });
        Inform(node);
        return ran && !Form3()->isVisible();
    }
    bool OnDisk() const { return readBytes(File) == listBytes(Lines()); }
};

} // namespace

class TestPropertyDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    void albumDialogFillsAndWritesInOrder()
    {
        const QStringList other = albumBlock(u"Other"_s, u"b.htm"_s, {});
        const QStringList winter = albumBlock(u"Winter"_s, u"notes\\w.htm"_s, u"C:\\w.jpg"_s, tracksNamed({ u"Thaw"_s }),
                                              u"http://w"_s);
        TOpenedList l;
        QVERIFY(l.Load(winter + other));
        TForm4 *d = l.Form4();
        l.Inform(0);
        QVERIFY(d->isVisible() && !d->isModal());
        QCOMPARE(d->windowTitle(), u"album: Winter"_s);
        QStringList labels;
        QStringList fields;
        for (int i = 1; i <= 5; ++i) {
            labels << l.In<QLabel>(d, u"Label%1"_s.arg(i))->text();
            fields << l.Edit(d, i)->text();
        }
        QCOMPARE(labels, (QStringList{ u"Название:"_s, u"Автор:"_s, u"Описание:"_s, u"URL:"_s, u"Изображение:"_s }));
        QCOMPARE(fields, (QStringList{ u"Winter"_s, u"Someone"_s, l.Folder.Path(u"notes\\w.htm"_s), u"http://w"_s,
                                       u"C:\\w.jpg"_s }));
        QStringList captions;
        for (int i = 1; i <= 4; ++i)
            captions << l.In<QPushButton>(d, u"Button%1"_s.arg(i))->text();
        QCOMPARE(captions, (QStringList{ u"Применить"_s, u"Отмена"_s, u". . ."_s, u". . ."_s }));

        // The pickers: a cancel changes nothing; a choice is taken as it is.
        l.W.FileDialogs.Cancel();
        l.Click(d, u"Button4"_s);
        QCOMPARE(l.Edit(d, 5)->text(), u"C:\\w.jpg"_s);
        l.W.FileDialogs.Answer(u"/pics/cover.gif"_s);
        l.Click(d, u"Button4"_s);
        l.W.FileDialogs.Answer(u"/notes/new"_s);
        l.Click(d, u"Button3"_s);
        QCOMPARE(l.Edit(d, 5)->text(), u"/pics/cover.gif"_s);
        QCOMPARE(l.Edit(d, 3)->text(), u"/notes/new"_s);
        QCOMPARE(l.W.FileDialogs.Requests.size(), 3);
        QCOMPARE(l.W.FileDialogs.Requests[1].Kind, u"picture"_s);
        QCOMPARE(l.W.FileDialogs.Requests[1].Filter,
                 u"All|*.jpg;*.jpeg;*.bmp;*.gif;*.png|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|"
                 "Bitmaps (*.bmp)|*.bmp|GIFs (*.gif)|*.gif"_s);
        QCOMPARE(l.W.FileDialogs.Requests[2].Kind, u"open"_s);
        QCOMPARE(l.W.FileDialogs.Requests[2].Filter, kDescriptionFilter);

        l.Edit(d, 1)->setText(u"Зима"_s);
        l.Edit(d, 2)->setText(u" Ансамбль "_s);
        l.Edit(d, 4)->setText(QString());
        l.Click(d, u"Button1"_s);
        QVERIFY(!d->isVisible());
        QStringList expected = winter;
        expected[1] = u"author:  Ансамбль "_s;
        expected[2] = u"album: Зима"_s;
        expected[3] = u"url: "_s;
        expected[4] = u"discriptionfile: /notes/new"_s;
        expected[6] = u"image: /pics/cover.gif"_s;
        QCOMPARE(readBytes(l.File), listBytes(expected + other));
        QVERIFY(l.OnDisk());
        QCOMPARE(CatalogueTestUtil::texts(l.Tree()), (QStringList{ u"Зима"_s, u"  Thaw"_s, u"Other"_s }));

        // Confirmed unchanged, a relative description path keeps its stored line; a changed one is
        // written as typed.
        l.Inform(2);
        QCOMPARE(l.Edit(d, 3)->text(), l.Folder.Path(u"b.htm"_s));
        l.Click(d, u"Button1"_s);
        QCOMPARE(l.Lines().at(12 + 4), u"discriptionfile: b.htm"_s);
        QVERIFY(l.OnDisk());
        l.Inform(2);
        l.Edit(d, 3)->setText(u"c.htm"_s);
        l.Click(d, u"Button1"_s);
        QCOMPARE(l.Lines().at(12 + 4), u"discriptionfile: c.htm"_s);

        // "Отмена" writes nothing.
        const QByteArray before = readBytes(l.File);
        l.Inform(0);
        l.Edit(d, 1)->setText(u"x"_s);
        l.Click(d, u"Button2"_s);
        QVERIFY(!d->isVisible());
        QCOMPARE(readBytes(l.File), before);
        QCOMPARE(l.Node(0)->Text(), u"Зима"_s);
        QVERIFY(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty());
    }

    void albumDialogWritesItsOwnAlbum()
    {
        const QStringList first = albumBlock(u"Same"_s, {}, {});
        const QStringList second = albumBlock(u"Same"_s, {}, {});
        QStringList gone = albumBlock(u"Gone"_s, {}, {});
        gone[2] = u"album: Gone "_s; // shown, but never matches the window title
        TOpenedList l;
        QVERIFY(l.Load(first + second + gone));
        TForm4 *d = l.Form4();
        // Two albums of one title: the second node's dialog writes the second block.
        l.Inform(1);
        l.Edit(d, 2)->setText(u"Новый"_s);
        l.Click(d, u"Button1"_s);
        QStringList expected = second;
        expected[1] = u"author: Новый"_s;
        QCOMPARE(readBytes(l.File), listBytes(first + expected + gone));

        const QByteArray before = readBytes(l.File);
        l.Inform(2);
        QCOMPARE(d->windowTitle(), u"album: Gone"_s);
        l.Edit(d, 1)->setText(u"Found"_s);
        l.Click(d, u"Button1"_s);
        QVERIFY(d->isVisible());
        QCOMPARE(readBytes(l.File), before);
        QCOMPARE(l.Node(2)->Text(), u"Gone"_s);
        QVERIFY(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty());
    }

    void albumDialogRenamesItsOwnNode()
    {
        // The dialog is not modal: the selection may move to another album before "Применить".
        TOpenedList l;
        QVERIFY(l.Load(albumBlock(u"A"_s, {}, {}, tracksNamed({ u"t"_s })) + albumBlock(u"B"_s, {}, {})));
        TForm4 *d = l.Form4();
        l.Inform(0);
        l.W.Form->TreeView()->Select(l.Node(2));
        l.Edit(d, 1)->setText(u"A2"_s);
        l.Click(d, u"Button1"_s);
        QCOMPARE(CatalogueTestUtil::texts(l.Tree()), (QStringList{ u"A2"_s, u"  t"_s, u"B"_s }));
        QCOMPARE(l.Lines().at(2), u"album: A2"_s);
        QCOMPARE(l.Lines().at(12 + 2), u"album: B"_s);
        QVERIFY(l.OnDisk());
    }

    void albumDialogFailuresKeepItOpen()
    {
        TOpenedList l;
        const QStringList lines = albumBlock(u"A"_s, {}, {}) + albumBlock(u"B"_s, {}, {});
        QVERIFY(l.Load(lines, u"sub/list.lst"_s));
        TForm4 *d = l.Form4();
        const QString moved = l.Folder.Path(u"moved"_s);
        QVERIFY(QDir().rename(l.Folder.Path(u"sub"_s), moved));

        l.Inform(1);
        l.Edit(d, 1)->setText(u"B2"_s);
        l.Click(d, u"Button1"_s);
        QCOMPARE(l.W.Messages.Messages, QStringList{ u"Ошибка изменения информации."_s });
        QVERIFY(l.W.Messages.Errors.isEmpty());
        QVERIFY(d->isVisible());
        QCOMPARE(d->windowTitle(), u"album: B"_s);
        QCOMPARE(readBytes(moved + u"/list.lst"_s), listBytes(lines));
        // Nothing changed in memory or in the tree, so confirming again once the list is back succeeds.
        QCOMPARE(l.Lines(), lines);
        QCOMPARE(l.Node(1)->Text(), u"B"_s);
        QVERIFY(QDir().rename(moved, l.Folder.Path(u"sub"_s)));
        l.Click(d, u"Button1"_s);
        QVERIFY(!d->isVisible());
        QCOMPARE(l.Lines().at(8 + 2), u"album: B2"_s);
        QVERIFY(l.OnDisk());
        const QByteArray saved = readBytes(l.File);

        // A line to write that lies outside the list: the list changed while the dialog was open.
        l.W.Messages.Messages.clear();
        l.Inform(0);
        l.Lines() = l.Lines().mid(0, 6);
        l.Click(d, u"Button1"_s);
        QCOMPARE(l.W.Messages.Messages, QStringList{ u"Ошибка изменения информации."_s });
        QVERIFY(d->isVisible());
        QCOMPARE(readBytes(l.File), saved);
    }

    void trackDialogWritesItsLines()
    {
        const QStringList other = albumBlock(u"Other"_s, {}, {}, tracksNamed({ u"Intro"_s }));
        const QStringList album = albumBlock(u"Album"_s, {}, {}, { { u"Intro"_s, u"d\\intro.txt"_s }, { u"Thaw"_s, {} } });
        TOpenedList l;
        QVERIFY(l.Load(other + album));
        QStringList title;
        QStringList labels;
        QStringList fields;
        bool fileReadOnly = false;
        QVERIFY(l.InformTrack(3, [&](TForm3 *d) {
            title << d->windowTitle();
            for (int i = 1; i <= 4; ++i) {
                labels << l.In<QLabel>(d, u"Label%1"_s.arg(i))->text();
                fields << l.Edit(d, i)->text();
            }
            for (int i = 1; i <= 3; ++i)
                labels << l.In<QPushButton>(d, u"Button%1"_s.arg(i))->text();
            fileReadOnly = l.Edit(d, 3)->isReadOnly();
            l.W.FileDialogs.Answer(u"/d/new.htm"_s);
            l.Click(d, u"Button1"_s);
            l.Edit(d, 1)->setText(u"Вступление"_s);
            l.Edit(d, 2)->setText(u"04:06 "_s);
            l.Edit(d, 3)->setText(u"ignored"_s);
            l.Click(d, u"Button2"_s);
        }));
        QCOMPARE(title, QStringList{ u"track: Intro"_s });
        QCOMPARE(labels, (QStringList{ u"Название:"_s, u"Длина:"_s, u"Файл:"_s, u"Описание:"_s, u". . ."_s, u"Ок"_s,
                                       u"Отмена"_s }));
        QCOMPARE(fields, (QStringList{ u"Intro"_s, u"3:00"_s, l.Folder.Path(u"Intro"_s),
                                       l.Folder.Path(u"d\\intro.txt"_s) }));
        QVERIFY(fileReadOnly);
        QCOMPARE(l.W.FileDialogs.Requests.size(), 1);
        QCOMPARE(l.W.FileDialogs.Requests[0].Filter, kDescriptionFilter);

        // Only the current album's track; the file line stays; the node gets a leading blank.
        QStringList expected = album;
        expected[7] = u"track: Вступление"_s;
        expected[8] = u"size: 04:06 "_s;
        expected[10] = u"dfile: /d/new.htm"_s;
        QCOMPARE(readBytes(l.File), listBytes(other + expected));
        QVERIFY(l.OnDisk());
        QCOMPARE(l.Node(3)->Text(), u" Вступление"_s);
        l.W.Form->TreeView()->Select(l.Node(4));
        l.W.Form->TreeView()->Select(l.Node(3));
        QCOMPARE(l.W.Form->OpenList().CurrentTrack.LineIndex, 12 + 7);

        // "Отмена" writes nothing.
        const QByteArray before = readBytes(l.File);
        QVERIFY(l.InformTrack(4, [&](TForm3 *d) {
            l.Edit(d, 1)->setText(u"x"_s);
            l.Click(d, u"Button3"_s);
        }));
        QCOMPARE(readBytes(l.File), before);
        QCOMPARE(l.Node(4)->Text(), u"Thaw"_s);
        QVERIFY(l.W.Messages.Errors.isEmpty() && l.W.Messages.Messages.isEmpty());
    }

    void trackDialogFailuresHideIt()
    {
        QStringList lines = albumBlock(u"Album"_s, {}, {}, tracksNamed({ u"One"_s, u"Two"_s }));
        lines[11] = u"track: Two "_s; // shown as "Two", never found
        TOpenedList l;
        QVERIFY(l.Load(lines, u"sub/list.lst"_s));

        QVERIFY(l.InformTrack(2, [&](TForm3 *d) {
            l.Edit(d, 1)->setText(u"Found"_s);
            l.Click(d, u"Button2"_s);
        }));
        QCOMPARE(readBytes(l.File), listBytes(lines));
        QCOMPARE(l.Node(2)->Text(), u"Two"_s);
        QVERIFY(l.W.Messages.Messages.isEmpty());

        const QString moved = l.Folder.Path(u"moved"_s);
        QVERIFY(QDir().rename(l.Folder.Path(u"sub"_s), moved));
        QVERIFY(l.InformTrack(1, [&](TForm3 *d) {
            l.Edit(d, 1)->setText(u"Uno"_s);
            l.Click(d, u"Button2"_s);
        }));
        QCOMPARE(l.W.Messages.Messages, QStringList{ u"Ошибка изменения информации!"_s });
        QVERIFY(l.W.Messages.Errors.isEmpty());
        QCOMPARE(readBytes(moved + u"/list.lst"_s), listBytes(lines));
    }
};

QTEST_MAIN(TestPropertyDialogs)
#include "test_PropertyDialogs.moc"
