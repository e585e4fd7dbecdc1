// tst_windowplacement: a window that settings place off every screen is moved onto one.
#include "WindowPlacement.h"

#include <QTest>

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void reachable_data()
    {
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QRect>("expected");
        const QRect same;
        QTest::newRow("inside") << QRect(92, 74, 644, 469) << same;
        QTest::newRow("partly off to the right") << QRect(1800, 100, 644, 469) << same;
        QTest::newRow("larger than the screen") << QRect(0, 0, 3000, 2000) << same;
        QTest::newRow("on the second screen") << QRect(2000, 300, 644, 469) << same;
        QTest::newRow("across both screens") << QRect(1700, 100, 644, 469) << same;
        // A monitor since removed: onto the first screen, at the edge nearest to where it was.
        QTest::newRow("removed monitor") << QRect(5000, 200, 644, 469) << QRect(1276, 200, 644, 469);
        QTest::newRow("above the screen") << QRect(100, -400, 644, 469) << QRect(100, 0, 644, 469);
        QTest::newRow("title bar above the top") << QRect(100, -10, 644, 469) << QRect(100, 0, 644, 469);
        QTest::newRow("only 50 pixels showing") << QRect(-594, 100, 644, 469) << QRect(0, 100, 644, 469);
        // Onto the screen that shares most of the window.
        QTest::newRow("below the second screen's bottom")
            << QRect(2100, 1180, 400, 300) << QRect(2100, 900, 400, 300);
        QTest::newRow("too large and far away") << QRect(-9000, -9000, 3000, 2000) << QRect(0, 0, 1920, 1050);
    }

    void reachable()
    {
        QFETCH(QRect, bounds);
        QFETCH(QRect, expected);
        // The primary screen with a task bar below, and a second one to its right.
        const QList<QRect> screens{ QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1200) };
        QCOMPARE(WindowPlacement::Reachable(bounds, screens), expected.isNull() ? bounds : expected);
    }

    void noScreensLeaveTheBounds()
    {
        QCOMPARE(WindowPlacement::Reachable(QRect(-5000, 0, 10, 10), {}), QRect(-5000, 0, 10, 10));
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
