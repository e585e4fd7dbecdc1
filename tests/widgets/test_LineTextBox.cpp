// test_LineTextBox: the text box that shows a job's lines and turns them into an editable text.
#include "LineTextBox.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestLineTextBox : public QObject
{
    Q_OBJECT

    static QStringList someLines(int n)
    {
        // Characters an editor treats specially stay as they are: no-break space, line separator.
        QStringList lines{ u"album: /m/a\u00A0b"_s, u"track: x\u2028y"_s, QString(), u"  indented  "_s,
                           QString(300, u'w') };
        for (int i = lines.size(); i < n; ++i)
            lines << u"line %1"_s.arg(i);
        return lines;
    }

private slots:
    void theTextIsTheSameInTheViewAndTheEditor_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("built while idle") << u"idle"_s;
        QTest::newRow("a key typed") << u"key"_s;
        QTest::newRow("a click") << u"click"_s;
    }
    void theTextIsTheSameInTheViewAndTheEditor()
    {
        QFETCH(QString, how);
        TLineTextBox box;
        box.resize(300, 200);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QStringList lines = someLines(5000);
        box.Start();
        for (qsizetype i = 0; i < lines.size(); i += 700)
            box.Append(lines.mid(i, 700));
        TLineView *view = box.View();
        view->setFocus();
        // While the job appends the text is read only.
        QTest::keyClick(view, Qt::Key_X);
        QCOMPARE(box.Lines(), lines);
        QVERIFY(!box.Editing());
        const int shown = (view->viewport()->height() - 2 * TLineView::Margin) / view->fontMetrics().height();
        QCOMPARE(view->verticalScrollBar()->maximum(), lines.size() - shown);
        view->verticalScrollBar()->setValue(100);

        box.Finish();
        QStringList expected = lines;
        if (how == u"key") {
            // Typed where the view shows the text, at its first line in view.
            QTest::keyClick(view, Qt::Key_Z);
            expected[100].prepend(u'z');
        } else if (how == u"click") {
            const int lineHeight = view->fontMetrics().height();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(TLineView::Margin + 1, 2 * lineHeight + lineHeight / 2));
        }
        QTRY_VERIFY(box.Editing());
        QPlainTextEdit *editor = box.Editor();
        // The same line at the top (the line separator makes two lines in the editor).
        QCOMPARE(editor->cursorForPosition(QPoint(TLineView::Margin, 1)).blockNumber(), 100);
        if (how == u"click") {
            QCOMPARE(editor->textCursor().blockNumber(), 102);
            QVERIFY(editor->hasFocus());
        }
        QCOMPARE(box.Lines(), expected);
        QCOMPARE(editor->blockCount(), lines.size());
        // The job's text is not an edit the user can undo.
        editor->undo();
        QCOMPARE(box.Lines(), lines);
        QVERIFY(!editor->document()->isUndoAvailable());
    }

    void aNewJobDropsTheTextBeingBuilt()
    {
        TLineTextBox box;
        box.Start();
        const QStringList big = someLines(200000);
        box.Append(big);
        box.Finish();
        QCoreApplication::processEvents(); // one piece of the document is built
        QVERIFY(!box.Editing());
        // Half in the editor's document, half in the view: the same text.
        QCOMPARE(box.Lines(), big);
        box.Start();
        box.Append({ u"a"_s, u"b"_s });
        QVERIFY(!box.Editing());
        box.Finish();
        QTRY_VERIFY(box.Editing());
        QCOMPARE(box.Lines(), (QStringList{ u"a"_s, u"b"_s }));
        // Nothing appended: an empty, editable box.
        box.Start();
        box.Finish();
        QCOMPARE(box.Editor()->blockCount(), 1);
        QVERIFY(box.Lines().isEmpty());
    }
};

QTEST_MAIN(TestLineTextBox)
#include "test_LineTextBox.moc"
