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
        QTest::addColumn<QRect>("expected"); // null: unchanged
        QTest::newRow("inside") << QRect(92, 74, 644, 469) << QRect();
        QTest::newRow("partly off, on the second screen") << QRect(2900, 300, 644, 469) << QRect();
        QTest::newRow("larger than the screen") << QRect(0, 0, 3000, 2000) << QRect();
        QTest::newRow("removed monitor") << QRect(5000, 200, 644, 469) << QRect(1276, 200, 644, 469);
        QTest::newRow("title bar above the top") << QRect(100, -10, 644, 469) << QRect(100, 0, 644, 469);
        QTest::newRow("50 pixels showing") << QRect(-594, 100, 644, 469) << QRect(0, 100, 644, 469);
        QTest::newRow("mostly below the second") << QRect(2100, 1180, 400, 300) << QRect(2100, 900, 400, 300);
        QTest::newRow("too large, far away") << QRect(-9000, -9000, 3000, 2000) << QRect(0, 0, 1920, 1050);
    }

    void reachable()
    {
        QFETCH(QRect, bounds);
        QFETCH(QRect, expected);
        // The primary screen with a task bar below, and a second one to its right.
        const QList<QRect> screens{ QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1200) };
        QCOMPARE(WindowPlacement::Reachable(bounds, screens), expected.isNull() ? bounds : expected);
        QCOMPARE(WindowPlacement::Reachable(bounds, {}), bounds);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
