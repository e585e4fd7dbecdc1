// test_hetreeview: the catalogue tree control's events, and the text rule of the general error handler.
#include "CatalogueTree.h"
#include "He1.h"
#include "KsError.h"
#include "Messages.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestHETreeView : public QObject
{
    Q_OBJECT

    struct TTreeUnderTest
    {
        TCatalogueTree Tree;
        THETreeView View{ &Tree };
        TTreeNode *A = nullptr;
        TTreeNode *B = nullptr;
        TTreeNode *B1 = nullptr;

        TTreeUnderTest()
        {
            A = Tree.AddRoot(u"A"_s);
            Tree.AddChild(A, u"A1"_s);
            B = Tree.AddRoot(u"B"_s);
            B1 = Tree.AddChild(B, u"B1"_s);
            View.resize(300, 300);
            View.expandAll();
            View.show();
        }
        QPoint Centre(TTreeNode *node) const { return View.visualRect(Tree.IndexOf(node)).center(); }
    };

private slots:
    void initTestCase() { qRegisterMetaType<TTreeNode *>(); }

    void selectionEventsFollowTheSelection()
    {
        TTreeUnderTest t;
        QVERIFY(QTest::qWaitForWindowExposed(&t.View));
        QSignalSpy changed(&t.View, &THETreeView::SelectionChanged);
        QVERIFY(!t.View.Selected());
        t.View.Select(t.B1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).value<TTreeNode *>(), t.B1);
        QCOMPARE(t.View.Selected(), t.B1);
        t.View.Select(t.B1); // the same node again is no change
        QCOMPARE(changed.size(), 1);
        QTest::mouseClick(t.View.viewport(), Qt::LeftButton, {}, t.Centre(t.A));
        QCOMPARE(changed.size(), 2);
        QCOMPARE(t.View.Selected(), t.A);
        // Clearing the tree leaves nothing selected and raises no event.
        t.Tree.Clear();
        QVERIFY(!t.View.Selected());
        QCOMPARE(changed.size(), 2);
    }

    void rightClickSelectsBeforeTheMenu()
    {
        TTreeUnderTest t;
        QMenu menu;
        menu.addAction(u"item"_s);
        t.View.SetPopupMenu(&menu);
        QVERIFY(QTest::qWaitForWindowExposed(&t.View));
        t.View.Select(t.A);
        QSignalSpy changed(&t.View, &THETreeView::SelectionChanged);
        bool selectedWhenShown = false;
        connect(&menu, &QMenu::aboutToShow, this, [&] { selectedWhenShown = t.View.Selected() == t.B1; });

        const QPoint at = t.Centre(t.B1);
        QTest::mousePress(t.View.viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, t.View.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(t.View.viewport(), &event);
        QTest::mouseRelease(t.View.viewport(), Qt::RightButton, {}, at);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(t.View.Selected(), t.B1);
        QTRY_VERIFY(menu.isVisible());
        QVERIFY(selectedWhenShown);
        menu.hide();
    }

    void doubleClickAndEnter()
    {
        TTreeUnderTest t;
        QVERIFY(QTest::qWaitForWindowExposed(&t.View));
        QSignalSpy doubled(&t.View, &THETreeView::NodeDoubleClicked);
        QSignalSpy entered(&t.View, &THETreeView::EnterPressed);
        QTest::mouseDClick(t.View.viewport(), Qt::LeftButton, {}, t.Centre(t.B1));
        QCOMPARE(doubled.size(), 1);
        QCOMPARE(doubled.at(0).at(0).value<TTreeNode *>(), t.B1);
        t.View.setFocus();
        QTest::keyClick(&t.View, Qt::Key_Return);
        QTest::keyClick(&t.View, Qt::Key_Enter);
        QCOMPARE(entered.size(), 2);
        QCOMPARE(entered.at(0).at(0).value<TTreeNode *>(), t.B1);
    }

    void inPlaceEditing()
    {
        TTreeUnderTest t;
        QVERIFY(QTest::qWaitForWindowExposed(&t.View));
        QSignalSpy begins(&t.View, &THETreeView::EditingBegins);
        QSignalSpy ends(&t.View, &THETreeView::EditingEnds);
        t.View.Select(t.B);
        t.View.setFocus();

        // Read-only: F2 opens nothing.
        QTest::keyClick(&t.View, Qt::Key_F2);
        QCOMPARE(begins.size(), 0);
        QVERIFY(!t.View.findChild<QLineEdit *>());

        t.View.SetReadOnly(false);
        QPalette dark = t.View.palette(); // as a settings file can paint the tree
        dark.setColor(QPalette::Base, Qt::black);
        dark.setColor(QPalette::Text, Qt::black);
        t.View.setPalette(dark);
        QString textWhenEnded;
        connect(&t.View, &THETreeView::EditingEnds, this, [&](TTreeNode *node, const QString &) {
            textWhenEnded = node->Text();
        });
        QTest::keyClick(&t.View, Qt::Key_F2);
        QCOMPARE(begins.size(), 1);
        QCOMPARE(begins.at(0).at(0).value<TTreeNode *>(), t.B);
        auto *editor = t.View.findChild<QLineEdit *>();
        QVERIFY(editor);
        // The field shows as one: framed, in a text field's colours, not in the tree's black on black.
        QVERIFY(editor->hasFrame() && editor->autoFillBackground());
        for (QPalette::ColorRole role : { QPalette::Base, QPalette::Text })
            QCOMPARE(editor->palette().color(role), QApplication::palette(editor).color(role));
        editor->setText(u"B renamed "_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(ends.size(), 1); // the delegate commits through a queued call
        QCOMPARE(ends.at(0).at(1).toString(), u"B renamed "_s);
        QCOMPARE(textWhenEnded, u"B"_s); // the handler runs before the node changes
        QCOMPARE(t.B->Text(), u"B renamed "_s);
        QCOMPARE(t.Tree.Root(1), t.B); // no sorting

        // A cancelled edit raises no end event.
        QTest::keyClick(&t.View, Qt::Key_F2);
        QCOMPARE(begins.size(), 2);
        editor = t.View.findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(u"ignored"_s);
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!t.View.findChild<QLineEdit *>() || !t.View.findChild<QLineEdit *>()->isVisible());
        QCOMPARE(ends.size(), 1);
        QCOMPARE(t.B->Text(), u"B renamed "_s);
    }

    void collapseAll()
    {
        TTreeUnderTest t;
        QVERIFY(t.View.isExpanded(t.Tree.IndexOf(t.A)));
        t.View.collapseAll();
        QVERIFY(!t.View.isExpanded(t.Tree.IndexOf(t.A)));
        QVERIFY(!t.View.isExpanded(t.Tree.IndexOf(t.B)));
    }

    void errorTextFullStop_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"Cannot open file x.lst"_s << u"Cannot open file x.lst."_s;
        QTest::newRow("digit") << u"JPEG error #5"_s << u"JPEG error #5."_s;
        QTest::newRow("closing parenthesis") << u"List index out of bounds (7)"_s << u"List index out of bounds (7)"_s;
        QTest::newRow("full stop") << u"Done."_s << u"Done."_s;
        QTest::newRow("slash") << u"Cannot open file /"_s << u"Cannot open file /."_s;
        QTest::newRow("apostrophe") << u"'x'"_s << u"'x'"_s;
        QTest::newRow("Cyrillic") << u"Ошибка"_s << u"Ошибка."_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void errorTextFullStop()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ErrorMessageText(text), shown);
    }

    void guardReportsAndStopsTheHandler()
    {
        TRecordingMessages messages;
        bool after = false;
        RunGuarded(messages, [&] {
            throw KsError::cannotCreate(u"/x/y.lst"_s);
            after = true;
        });
        RunGuarded(messages, [] { throw std::runtime_error("out of memory"); });
        RunGuarded(messages, [] {});
        QVERIFY(!after);
        QCOMPARE(messages.Errors, (QStringList{ u"Cannot create file /x/y.lst."_s, u"out of memory."_s }));
        QVERIFY(messages.Messages.isEmpty());
    }
};

QTEST_MAIN(TestHETreeView)
#include "test_hetreeview.moc"
