// test_Unit6: the search dialog.
#include "app/MainWindowFixture.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "Unit6.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestUnit6 : public QObject
{
    Q_OBJECT

private:
    struct TSearch
    {
        TProgramFolder Folder;
        TWindowUnderTest W;
        TForm6 *Form = nullptr;
        QLineEdit *Edit1 = nullptr;
        THETreeView *Tree = nullptr;

        bool Open(const QStringList &lines)
        {
            Folder.WriteLines(u"list.lst"_s, lines);
            W.Create();
            if (!W.ShowAndLoad())
                return false;
            Form = W.Form->Form6();
            Form->ShowSearch();
            Edit1 = Form->findChild<QLineEdit *>(u"Edit1"_s);
            Tree = W.Find<THETreeView>(u"TreeView1"_s);
            return Edit1 && Tree && QTest::qWaitForWindowExposed(Form);
        }
        /// Types the text into the search field and presses Enter there.
        void Search(const QString &text)
        {
            Edit1->setFocus();
            Edit1->clear();
            QTest::keyClicks(Edit1, text);
            QTest::keyClick(Edit1, Qt::Key_Return);
        }
        QString SelectedText() const { return Tree->Selected() ? Tree->Selected()->Text() : u"-"_s; }
    };

    static QStringList twoAlbums()
    {
        return albumBlock(u"Winter Songs"_s, QString(), QString(), { { u"First Snow"_s, QString() }, { u"Thaw"_s, QString() } })
               + albumBlock(u"Весна"_s, QString(), QString(), { { u"THAW Reprise"_s, QString() } });
    }

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    void captionsAndFrame()
    {
        TSearch s;
        QVERIFY(s.Open(twoAlbums()));
        QCOMPARE(s.Form->windowTitle(), u"Поиск"_s);
        QVERIFY(s.Form->isVisible() && !s.Form->isModal());
        const Qt::WindowFlags flags = s.Form->windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(s.Form->minimumSize(), s.Form->maximumSize()); // a fixed frame
        QCOMPARE(s.Form->findChild<QPushButton *>(u"Button1"_s)->text(), u"Поиск"_s);
        QCOMPARE(s.Form->findChild<QPushButton *>(u"Button2"_s)->text(), u"Выход"_s);
        QVERIFY(s.Edit1->hasFocus());
    }

    void enterSelectsTheNodeAndFocusesTheTree()
    {
        TSearch s;
        QVERIFY(s.Open(twoAlbums()));
        QCOMPARE(s.SelectedText(), u"Winter Songs"_s);
        s.Search(u"  reprise "_s);
        QCOMPARE(s.SelectedText(), u"THAW Reprise"_s);
        QCOMPARE(s.Tree->Selected()->Parent()->Text(), u"Весна"_s);
        QCOMPARE(s.W.Form->focusWidget(), s.Tree);
        QTRY_VERIFY(s.Tree->hasFocus()); // once the main window is active again
        QVERIFY(s.Form->isVisible());
        // The main window reacted to the selection as to any other.
        QCOMPARE(s.W.Form->OpenList().CurrentAlbum.Title, u"Весна"_s);
        QVERIFY(s.W.Messages.Messages.isEmpty());
        QVERIFY(s.W.Messages.Errors.isEmpty());

        // "Поиск" starts at the first line again: "thaw" is the first album's track, every time.
        s.Edit1->setText(u"thaw"_s);
        for (int i = 0; i < 2; ++i) {
            s.Tree->Select(s.Tree->Tree()->NodeByIndex(0));
            QTest::mouseClick(s.Form->findChild<QPushButton *>(u"Button1"_s), Qt::LeftButton);
            QCOMPARE(s.SelectedText(), u"Thaw"_s);
            QCOMPARE(s.Tree->Tree()->IndexOfNode(s.Tree->Selected()), 2);
        }
    }

    void notFoundShowsTheMessageOnce()
    {
        TSearch s;
        QVERIFY(s.Open(twoAlbums()));
        s.Search(u"Someone"_s); // only in the author lines
        QCOMPARE(s.W.Messages.Messages, QStringList{ u"Текстовой фрагмент в данном списке отсутствует."_s });
        QCOMPARE(s.SelectedText(), u"Winter Songs"_s);
        QVERIFY(s.Form->isVisible());
        s.W.Messages.Messages.clear();
        s.Search(u"   "_s);
        QCOMPARE(s.W.Messages.Messages.size(), 1);
    }

    void emptyListsFindNothing_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty list") << QStringList();
        QTest::newRow("only the placeholder") << QStringList{ u"album: Lost"_s, u"track: Lost"_s };
    }
    void emptyListsFindNothing()
    {
        QFETCH(QStringList, lines);
        TSearch s;
        QVERIFY(s.Open(lines));
        QCOMPARE(s.Tree->Tree()->NodeCount(), 1);
        s.Search(u"lost"_s);
        QCOMPARE(s.W.Messages.Messages, QStringList{ u"Текстовой фрагмент в данном списке отсутствует."_s });
        QVERIFY(s.W.Messages.Errors.isEmpty());
    }

    void escapeAndExitHide()
    {
        TSearch s;
        QVERIFY(s.Open(twoAlbums()));
        s.Edit1->setText(u"winter"_s);
        QTest::keyClick(s.Edit1, Qt::Key_Escape);
        QVERIFY(!s.Form->isVisible());
        QVERIFY(s.W.Messages.Messages.isEmpty());
        s.Form->ShowSearch();
        QVERIFY(s.Form->isVisible());
        QCOMPARE(s.Edit1->text(), u"winter"_s); // the text is kept
        QTest::mouseClick(s.Form->findChild<QPushButton *>(u"Button2"_s), Qt::LeftButton);
        QVERIFY(!s.Form->isVisible());
        // A minimised dialog comes back when shown again.
        s.Form->ShowSearch();
        s.Form->showMinimized();
        s.Form->ShowSearch();
        QVERIFY(!(s.Form->windowState() & Qt::WindowMinimized));
    }
};

QTEST_MAIN(TestUnit6)
#include "test_Unit6.moc"
