// test_windowmanager: the main window and its dialogs where a window manager frames, places and stacks
// them (openbox on an X display of its own, at Qt's scale factor 1.5; see under-openbox.sh).
#include "MainWindowFixture.h"

#include "NativeWindow.h"
#include "SettingsFile.h"
#include "Unit7.h"
#include "Unit8.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// True when the window manager stacks the dialog above the main window (EWMH's list, the lowest first).
bool above(QWidget *dialog, QWidget *main)
{
    xcb_connection_t *c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const QByteArray name = "_NET_CLIENT_LIST_STACKING";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, quint16(name.size()), name.constData()), nullptr), &std::free);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> list(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom ? atom->atom : 0, XCB_ATOM_WINDOW, 0, 4096), nullptr),
        &std::free);
    if (!list)
        return false;
    const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(list.get()));
    const QList<quint32> order(ids, ids + xcb_get_property_value_length(list.get()) / 4);
    // The native windows of now: QWidget::winId() can name one its window has already replaced.
    const qsizetype d = order.indexOf(quint32(dialog->windowHandle()->winId()));
    const qsizetype m = order.indexOf(quint32(main->windowHandle()->winId()));
    return d >= 0 && m >= 0 && d > m;
}

// True once the condition has held for 300 ms: a window manager frames, places and stacks a new window
// in steps (it raises a re-created window over its dialogs for a moment; the program places a window
// again once it is framed), and a condition can hold for a moment in between.
template <class F> bool settles(F condition)
{
    QElapsedTimer since;
    return QTest::qWaitFor([&] {
        if (!condition())
            since.invalidate();
        else if (!since.isValid())
            since.start();
        return since.isValid() && since.elapsed() >= 300;
    }, 10000);
}

bool settlesAbove(QWidget *dialog, QWidget *main)
{
    return settles([=] { return above(dialog, main); });
}

// The window where the X server has it.
NativeWindow::TPlacement placed(QWidget *window)
{
    return NativeWindow::Placement(window->windowHandle()).value_or(NativeWindow::TPlacement());
}

// Shows the window and waits for its first paint, which loads the list and applies the settings.
bool showAndLoad(TWindowUnderTest &w)
{
    w.Form->show();
    return QTest::qWaitForWindowExposed(w.Form.get(), 20000)
        && QTest::qWaitFor([&] { return !w.Form->FirstPaintPending(); }, 20000);
}

} // namespace

class TestWindowManager : public QObject
{
    Q_OBJECT

    TProgramFolder *m_folder = nullptr;

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), u"xcb"_s); }
    void init()
    {
        m_folder = new TProgramFolder;
        m_folder->WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
    }
    void cleanup() { delete m_folder; }

    // Whatever the settings say, the whole framed window, its buttons included, is on the screen.
    void staysOnScreen_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("button"); // the last one the user must reach
        QTest::newRow("saved larger than the screen")
            << QByteArray("[Form]\r\nTop=74\r\nLeft=92\r\nWidth=900\r\nHeight=560\r\n") << u"SpeedButton3"_s;
        QTest::newRow("far too wide, borderless")
            << QByteArray("[Form]\r\nWidth=100000\r\n[Options]\r\nNoBorder=true\r\n") << u"SpeedButton12"_s;
        QTest::newRow("int limits")
            << QByteArray("[Form]\r\nTop=-2147483648\r\nLeft=2147483647\r\nWidth=2147483647\r\nHeight=2147483647\r\n")
            << u"SpeedButton3"_s;
    }

    void staysOnScreen()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, button);
        m_folder->WriteBytes(u"ks.ini"_s, settings);
        TWindowUnderTest w;
        w.Create();
        QVERIFY(showAndLoad(w));
        const QRect screen = w.Form->screen()->availableGeometry();
        const auto outer = [&] { return placed(w.Form.get()).Client.marginsAdded(placed(w.Form.get()).Frame); };
        QVERIFY(settles([&] { return placed(w.Form.get()).Framed && screen.contains(outer()); }));
        auto *target = w.Find<QToolButton>(button);
        const QRect local(target->mapTo(w.Form.get(), QPoint(0, 0)), target->size());
        QVERIFY(target->isVisible() && screen.contains(local.translated(placed(w.Form.get()).Client.topLeft())));
    }

    // A start, an exit and a start again leave the window where it was.
    void positionRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QRect>("expected"); // the place of the first start; empty where the frame decides
        const QByteArray bounds = "[Form]\r\nTop=100\r\nLeft=300\r\nWidth=500\r\nHeight=360\r\n";
        const QByteArray atTheTop = "[Form]\r\nTop=0\r\nLeft=0\r\nWidth=500\r\nHeight=360\r\n";
        const QByteArray noBorder = "[Options]\r\nNoBorder=true\r\n";
        QTest::newRow("with a border") << bounds << QRect(300, 100, 500, 360);
        QTest::newRow("borderless") << bounds + noBorder << QRect(300, 100, 500, 360);
        QTest::newRow("stays on top") << bounds + "[Options]\r\nStayOnTop=true\r\n" << QRect(300, 100, 500, 360);
        QTest::newRow("at the top edge") << atTheTop << QRect();
        QTest::newRow("borderless at the top edge") << atTheTop + noBorder << QRect(0, 0, 500, 360);
    }

    void positionRoundTrip()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QRect, expected);
        const QString ini = m_folder->WriteBytes(u"ks.ini"_s, settings);
        for (int start = 1; start <= 3; ++start) {
            TWindowUnderTest w;
            w.Create();
            QVERIFY(showAndLoad(w));
            QTRY_VERIFY(placed(w.Form.get()).Framed);
            if (expected.isEmpty()) // moved by the frame, once
                expected = QRect(QPoint(placed(w.Form.get()).Frame.left(), placed(w.Form.get()).Frame.top()), QSize(500, 360));
            QVERIFY(settles([&] { return placed(w.Form.get()).Client == expected; }));
            w.Form->close();
            QCOMPARE(Settings::Read(ini).Bounds, expected);
        }
    }

    // Every dialog of the program stays above the main window, also one that stays on top.
    void dialogsStayAbove()
    {
        m_folder->WriteBytes(u"ks.ini"_s, "[Options]\r\nStayOnTop=true\r\n");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(showAndLoad(w));
        // The user opens the dialog once the window manager has taken the window the settings re-created.
        QTRY_VERIFY(w.Form->StaysOnTop() && placed(w.Form.get()).Framed);
        w.Find<QAction>(u"N3"_s)->trigger();
        TForm7 *settings = w.Form->Form7();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        QVERIFY(settlesAbove(settings, w.Form.get()));
        // Switched off and on again from the dialog, which re-creates the main window each time.
        for (bool on : { false, true }) {
            settings->findChild<QCheckBox *>(u"CheckBox2"_s)->click();
            QCOMPARE(w.Form->StaysOnTop(), on);
            QVERIFY(settlesAbove(settings, w.Form.get()));
        }
        // A dialog shown later; a message box while no window of the program is active.
        w.Find<QAction>(u"ID3TAG1"_s)->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(w.Form->Form8()));
        QVERIFY(settlesAbove(w.Form->Form8(), w.Form.get()));
        bool boxAbove = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                poll.stop();
                boxAbove = settlesAbove(box, w.Form.get());
                box->button(QMessageBox::Ok)->click();
            }
        });
        poll.start(50);
        QApplication::setActiveWindow(nullptr);
        TMessageBoxes().ShowMessage(u"Файлы *.lst связаны с Kestrune."_s);
        QVERIFY(boxAbove);
    }
};

QTEST_MAIN(TestWindowManager)
#include "test_windowmanager.moc"
