// test_windowmanager: the main window and its dialogs where a window manager frames, places and stacks
// them (openbox on an X display of its own, at Qt's scale factor 1.5; see under-openbox.sh).
#include "MainWindowFixture.h"

#include "SettingsFile.h"
#include "Unit7.h"
#include "Unit8.h"
#include "NativeWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QScreen>
#include <QToolButton>
#include <QWindow>
#include <QElapsedTimer>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The program's windows as the window manager stacks them, the lowest first.
QList<quint32> stacking()
{
    xcb_connection_t *c = connection();
    const QByteArray name = "_NET_CLIENT_LIST_STACKING";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, quint16(name.size()), name.constData()), nullptr);
    QList<quint32> windows;
    if (!atom)
        return windows;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_get_property_reply_t *list = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 4096), nullptr);
    if (list) {
        const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(list));
        windows = QList<quint32>(ids, ids + xcb_get_property_value_length(list) / 4);
    }
    std::free(list);
    std::free(atom);
    return windows;
}

// True when the window manager has the dialog above the main window.
bool above(QWidget *dialog, QWidget *main)
{
    const QList<quint32> order = stacking();
    // The native windows of now: QWidget::winId() can name one its window has already replaced.
    const qsizetype d = order.indexOf(quint32(dialog->windowHandle()->winId()));
    const qsizetype m = order.indexOf(quint32(main->windowHandle()->winId()));
    return d >= 0 && m >= 0 && d > m;
}

// True once the dialog has stayed above the main window for 300 ms: the window manager maps and raises a
// re-created window over its dialogs for a moment before it stacks them again.
bool settlesAbove(QWidget *dialog, QWidget *main)
{
    QElapsedTimer above_;
    return QTest::qWaitFor([&] {
        if (!above(dialog, main))
            above_.invalidate();
        else if (!above_.isValid())
            above_.start();
        return above_.isValid() && above_.elapsed() >= 300;
    }, 10000);
}

// For a failure's message: the stacking and the dialog's owner as the X server has them.
QString stackingReport(QWidget *dialog, QWidget *main)
{
    xcb_connection_t *c = connection();
    const xcb_window_t d = xcb_window_t(dialog->windowHandle()->winId());
    xcb_get_property_reply_t *owner =
        xcb_get_property_reply(c, xcb_get_property(c, 0, d, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const quint32 ownerId = owner && xcb_get_property_value_length(owner) == 4
        ? *static_cast<const quint32 *>(xcb_get_property_value(owner)) : 0;
    std::free(owner);
    QString order;
    for (quint32 id : stacking())
        order += u' ' + QString::number(id, 16);
    return u"dialog %1 owned by %2, main %3, stacking (lowest first):%4"_s.arg(QString::number(d, 16),
        QString::number(ownerId, 16), QString::number(main->windowHandle()->winId(), 16), order);
}

// The framed window where the X server has it, once it is placed.
QRect outerOnScreen(QWidget *window)
{
    const std::optional<NativeWindow::TPlacement> placed = NativeWindow::Placement(window->windowHandle());
    return placed ? placed->Client.marginsAdded(placed->Frame) : QRect();
}

QRect clientOnScreen(QWidget *window)
{
    const std::optional<NativeWindow::TPlacement> placed = NativeWindow::Placement(window->windowHandle());
    return placed ? placed->Client : QRect();
}

// For a failure's message.
QString describe(QWidget *window, int start)
{
    const std::optional<NativeWindow::TPlacement> placed = NativeWindow::Placement(window->windowHandle());
    if (!placed)
        return u"start %1: not placed"_s.arg(start);
    const QRect &c = placed->Client;
    const QMargins &f = placed->Frame;
    return u"start %1: client %2,%3 %4x%5, frame %6,%7,%8,%9"_s.arg(start).arg(c.x()).arg(c.y()).arg(c.width())
        .arg(c.height()).arg(f.left()).arg(f.top()).arg(f.right()).arg(f.bottom());
}

// Shows the window and waits for its first paint, which loads the list and applies the settings; a real
// display on a busy machine can take a while.
bool showAndLoad(TWindowUnderTest &w)
{
    w.Form->show();
    if (!QTest::qWaitForWindowExposed(w.Form.get(), 20000))
        return false;
    for (int i = 0; i < 2000 && w.Form->FirstPaintPending(); ++i)
        QTest::qWait(10);
    return !w.Form->FirstPaintPending();
}

} // namespace

class TestWindowManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    }

    // Whatever the settings say, the whole framed window, its buttons included, is on the screen.
    void staysOnScreen_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("button"); // the last one the user must reach
        QTest::newRow("saved larger than the screen")
            << QByteArray("[Form]\r\nTop=74\r\nLeft=92\r\nWidth=900\r\nHeight=560\r\n") << u"SpeedButton3"_s;
        QTest::newRow("far too wide, borderless")
            << QByteArray("[Form]\r\nWidth=100000\r\n[Options]\r\nNoBorder=true\r\n") << u"SpeedButton12"_s;
        QTest::newRow("int limits") << QByteArray("[Form]\r\nTop=-2147483648\r\nLeft=2147483647\r\n"
                                                  "Width=2147483647\r\nHeight=2147483647\r\n")
                                    << u"SpeedButton3"_s;
    }

    void staysOnScreen()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, button);
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        folder.WriteBytes(u"ks.ini"_s, settings);
        TWindowUnderTest w;
        w.Create();
        QVERIFY(showAndLoad(w));
        const QRect screen = w.Form->screen()->availableGeometry();
        QTRY_VERIFY2(screen.contains(outerOnScreen(w.Form.get())), qPrintable(describe(w.Form.get(), 1)));
        auto *target = w.Find<QToolButton>(button);
        QVERIFY(target->isVisible());
        const QRect local(target->mapTo(w.Form.get(), QPoint(0, 0)), target->size());
        QVERIFY(screen.contains(local.translated(clientOnScreen(w.Form.get()).topLeft())));
    }

    // A start, an exit and a start again leave the window where it was.
    void positionRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QRect>("expected"); // the place of the first start; empty where the frame decides
        QTest::newRow("with a border") << QByteArray("[Form]\r\nTop=100\r\nLeft=300\r\nWidth=500\r\nHeight=360\r\n")
                                       << QRect(300, 100, 500, 360);
        QTest::newRow("borderless")
            << QByteArray("[Form]\r\nTop=100\r\nLeft=300\r\nWidth=500\r\nHeight=360\r\n[Options]\r\nNoBorder=true\r\n")
            << QRect(300, 100, 500, 360);
        QTest::newRow("stays on top")
            << QByteArray("[Form]\r\nTop=60\r\nLeft=40\r\nWidth=500\r\nHeight=360\r\n[Options]\r\nStayOnTop=true\r\n")
            << QRect(40, 60, 500, 360);
        QTest::newRow("at the top edge") << QByteArray("[Form]\r\nTop=0\r\nLeft=0\r\nWidth=500\r\nHeight=360\r\n")
                                         << QRect();
        QTest::newRow("borderless at the top edge")
            << QByteArray("[Form]\r\nTop=0\r\nLeft=0\r\nWidth=500\r\nHeight=360\r\n[Options]\r\nNoBorder=true\r\n")
            << QRect(0, 0, 500, 360);
    }

    void positionRoundTrip()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QRect, expected);
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        const QString ini = folder.WriteBytes(u"ks.ini"_s, settings);
        for (int start = 1; start <= 3; ++start) {
            TWindowUnderTest w;
            w.Create();
            QVERIFY(showAndLoad(w));
            if (expected.isEmpty()) {
                // Moved down and right by its frame, once, so that the title bar is on the screen.
                QTRY_VERIFY2(w.Form->screen()->availableGeometry().contains(outerOnScreen(w.Form.get())),
                             qPrintable(describe(w.Form.get(), start)));
                QTRY_VERIFY(!clientOnScreen(w.Form.get()).topLeft().isNull());
                expected = clientOnScreen(w.Form.get());
            }
            QTRY_COMPARE(clientOnScreen(w.Form.get()), expected);
            w.Form->close();
            QCOMPARE(Settings::Read(ini).Bounds, expected);
        }
    }

    // Every dialog of the program stays above the main window, also one that stays on top.
    void dialogsStayAbove()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        folder.WriteBytes(u"ks.ini"_s, "[Options]\r\nStayOnTop=true\r\n");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(showAndLoad(w));
        QTRY_VERIFY(w.Form->StaysOnTop());
        w.Find<QAction>(u"N3"_s)->trigger();
        TForm7 *settings = w.Form->Form7();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        QVERIFY2(settlesAbove(settings, w.Form.get()), qPrintable(stackingReport(settings, w.Form.get())));
        // Switched off and on again from the dialog, which re-creates the main window each time.
        auto *onTop = settings->findChild<QCheckBox *>(u"CheckBox2"_s);
        for (bool on : { false, true }) {
            onTop->click();
            QCOMPARE(w.Form->StaysOnTop(), on);
            QTRY_VERIFY(w.Form->isVisible());
            QVERIFY2(settlesAbove(settings, w.Form.get()), qPrintable(stackingReport(settings, w.Form.get())));
        }
        // A dialog shown later, while the main window is on top and active.
        w.Form->activateWindow();
        w.Find<QAction>(u"ID3TAG1"_s)->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(w.Form->Form8()));
        QVERIFY2(settlesAbove(w.Form->Form8(), w.Form.get()), qPrintable(stackingReport(w.Form->Form8(), w.Form.get())));
        QVERIFY2(settlesAbove(settings, w.Form.get()), qPrintable(stackingReport(settings, w.Form.get())));

        // A message box while no window of the program is active (a report that comes later) too.
        bool boxAbove = false;
        int checks = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            boxAbove = box->windowHandle() && above(box, w.Form.get());
            if (boxAbove || ++checks == 100)
                box->button(QMessageBox::Ok)->click();
        });
        poll.start(50);
        QApplication::setActiveWindow(nullptr);
        TMessageBoxes().ShowMessage(u"Файлы *.lst связаны с Kestrune."_s);
        QVERIFY(boxAbove);
    }
};

QTEST_MAIN(TestWindowManager)
#include "test_windowmanager.moc"
