// test_chrome: borderless mode and its buttons, dragging by the information panel, "Скрыть панель", the HTML
// export and the association from the menu, on the real main window.
#include "MainWindowFixture.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "IniFile.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A mouse event as the information panel receives it, at a point of the panel.
void sendMouse(QWidget *panel, QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, panel->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(panel, &event);
}

} // namespace

class TestChrome : public QObject
{
    Q_OBJECT

private slots:
    void dragByTheInformationPanel()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QWidget *panel = w.Find<QWidget>(u"Panel6"_s);
        const QPoint spot(panel->width() - 40, panel->height() / 2); // right of the values
        QVERIFY(!panel->childAt(spot));
        for (Qt::MouseButton button : { Qt::LeftButton, Qt::RightButton }) {
            const QPoint start = w.Form->pos();
            sendMouse(panel, QEvent::MouseButtonPress, spot, button, button);
            sendMouse(panel, QEvent::MouseMove, spot + QPoint(30, 20), Qt::NoButton, button);
            QTRY_COMPARE(w.Form->pos(), start + QPoint(30, 20));
            // The panel has moved with the window, so this point is 5 right of and 10 above the press.
            sendMouse(panel, QEvent::MouseMove, spot + QPoint(5, -10), Qt::NoButton, button);
            QTRY_COMPARE(w.Form->pos(), start + QPoint(35, 10));
            sendMouse(panel, QEvent::MouseButtonRelease, spot + QPoint(5, -10), button, Qt::NoButton);
            sendMouse(panel, QEvent::MouseMove, spot + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
            QCOMPARE(w.Form->pos(), start + QPoint(35, 10));
        }
        // A press on a label is the label's.
        const QPoint before = w.Form->pos();
        const QPoint onLabel = w.Find<QLabel>(u"Label2"_s)->geometry().center();
        sendMouse(panel, QEvent::MouseButtonPress, onLabel, Qt::LeftButton, Qt::LeftButton);
        sendMouse(panel, QEvent::MouseMove, onLabel + QPoint(40, 0), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w.Form->pos(), before);
    }

    void borderlessCloseButton()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, "[Options]\r\nNoBorder=true\r\n");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Find<QWidget>(u"Panel7"_s)->geometry().size(), QSize(24, 86));
        auto *close = w.Find<QToolButton>(u"SpeedButton12"_s);
        QCOMPARE(close->geometry(), QRect(2, 2, 18, 18));
        QCOMPARE(w.Find<QToolButton>(u"SpeedButton13"_s)->geometry(), QRect(2, 20, 18, 18));
        // The program's normal close, with the exit save.
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!w.Form->isVisible());
        QCOMPARE(TIniFile(folder.Path(u"ks.ini"_s)).ReadString(u"Options"_s, u"NoBorder"_s, QString()), u"true"_s);
    }

    void hidePanel_data()
    {
        QTest::addColumn<bool>("borderless");
        QTest::addColumn<bool>("player");
        QTest::newRow("border, no player") << false << false;
        QTest::newRow("border, player strip shown") << false << true;
        QTest::newRow("borderless") << true << true;
    }

    void hidePanel()
    {
        QFETCH(bool, borderless);
        QFETCH(bool, player);
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        folder.WriteBytes(u"ks.ini"_s, borderless ? "[Options]\r\nNoBorder=true\r\n" : "");
        TWindowUnderTest w;
        w.Player.Found = player;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Find<QWidget>(u"Panel5"_s)->isVisible(), player);
        QApplication::setActiveWindow(w.Form.get()); // a re-created borderless window is not active by itself
        THETreeView *tree = w.Form->TreeView();
        tree->setFocus();
        QTRY_VERIFY(tree->hasFocus());
        const int before = w.Form->width();
        QWidget *left = w.Find<QWidget>(u"Panel1"_s);
        QWidget *right = w.Find<QWidget>(u"Panel4"_s);
        // Exactly the left side stays, whether the transport strip is shown or not: no sliver of the right.
        QTest::keyClick(tree, Qt::Key_F10);
        QTRY_COMPARE(w.Form->width(), 297);
        QTRY_COMPARE(right->width(), 0);
        QCOMPARE(left->width(), 297);
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 2);
        // F10 again brings the right-hand side back, in either mode.
        QTest::keyClick(tree, Qt::Key_F10);
        QTRY_COMPARE(w.Form->width(), before);
        QTRY_COMPARE(right->width(), before - 297);
    }

    void htmlExport()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"<b>Зима</b>"_s, u"a.htm"_s, QString(), tracksNamed({ u"T"_s }))
                                             + QStringList{ u"ini: own.ini"_s });
        folder.WriteBytes(u"a.htm"_s, "a");
        folder.WriteBytes(u"own.ini"_s, "[Options]\r\n");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        auto *tabs = w.Find<QTabWidget>(u"PageControl1"_s);
        QAction *html = w.Find<QAction>(u"HTML1"_s);
        w.FileDialogs.Cancel();
        html->trigger();
        QCOMPARE(w.FileDialogs.Requests.last().Filter, u"HTML|*.htm"_s);
        QVERIFY(w.View->Urls.isEmpty());

        // ".htm" added; the page waits on its tab, which stays behind, until the selection changes.
        w.FileDialogs.Answer(folder.Path(u"page"_s));
        html->trigger();
        QVERIFY(QFile(folder.Path(u"page.htm"_s)).size() > 0);
        QCOMPARE(w.View->Urls, QList<QUrl>{ QUrl::fromLocalFile(folder.Path(u"page.htm"_s)) });
        QCOMPARE(tabs->currentIndex(), 1);
        tabs->setCurrentIndex(0);
        QCOMPARE(w.View->Urls.size(), 1);
        w.Form->TreeView()->Select(w.Form->Tree().NodeByIndex(1));
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        QCOMPARE(w.View->Urls.last(), QUrl::fromLocalFile(folder.Path(u"a.htm"_s)));

        // A page that cannot be written: the file error, the view left alone.
        const qsizetype shown = w.View->Urls.size();
        w.FileDialogs.Answer(folder.Path(u"gone/page.htm"_s));
        html->trigger();
        QCOMPARE(w.Messages.Errors, QStringList{ u"Cannot create file "_s + folder.Path(u"gone/page.htm"_s) + u'.' });
        QCOMPARE(w.View->Urls.size(), shown);

        // The open list, main.lis and the settings files in use are refused with a message of the program's own.
        const QDateTime before = QFileInfo(folder.Path(u"list.lst"_s)).lastModified();
        for (const QString &kept : { u"list.lst"_s, u"main.lis"_s, u"ks.ini"_s, u"own.ini"_s }) {
            w.FileDialogs.Answer(folder.Path(kept));
            html->trigger();
            QVERIFY2(w.Messages.Messages.last().startsWith(u"Страница не может заменить"_s), qPrintable(kept));
        }
        QVERIFY(!QFile::exists(folder.Path(u"main.lis"_s)) && QFile(folder.Path(u"own.ini"_s)).size() == 11);
        QCOMPARE(QFileInfo(folder.Path(u"list.lst"_s)).lastModified(), before);
        QCOMPARE(w.View->Urls.size(), shown);
    }

    void association()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QAction *associate = w.Find<QAction>(u"lstKestrune1"_s);
        associate->trigger();
        QCOMPARE(w.Association.Requests, 1);
        // Nothing is said until the desktop has taken it up, then that it is done, or why it failed.
        QVERIFY(w.Messages.Errors.isEmpty() && w.Messages.Messages.isEmpty());
        w.Association.Pending(QString());
        QCOMPARE(w.Messages.Messages, QStringList{ u"Файлы *.lst связаны с Kestrune."_s });
        w.Association.Pending(u"update-mime-database /x failed: disk full"_s);
        QCOMPARE(w.Messages.Errors, QStringList{ u"update-mime-database /x failed: disk full."_s });
        w.Association.Failure = u"Failed to create key .lst"_s;
        associate->trigger();
        QCOMPARE(w.Messages.Errors.last(), u"Failed to create key .lst."_s);
    }
};

QTEST_MAIN(TestChrome)
#include "test_chrome.moc"
