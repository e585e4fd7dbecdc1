// tst_windowplacement: stored window bounds fitted, frame and all, into one screen's available area.
#include "WindowPlacement.h"

#include <QTest>

#include <limits>

using Screens = QList<QRect>;

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void place_data()
    {
        QTest::addColumn<QList<qint64>>("stored"); // Left, Top, Width, Height as a settings file gives them
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QRect>("expected");
        // The primary screen with a task bar below, and a second one to its right.
        const Screens two{ QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1200) };
        // 1280×800 at a scale of 1.5, and openbox's frame in those pixels.
        const Screens scaled{ QRect(0, 0, 853, 533) };
        const QMargins title(1, 13, 1, 3);
        const QMargins frame(4, 30, 4, 4);
        const QSize small(297, 200);
        const qint64 max = std::numeric_limits<int>::max();
        const qint64 min = std::numeric_limits<int>::min();

        QTest::newRow("inside") << QList<qint64>{ 92, 74, 644, 469 } << frame << small << two << QRect(92, 74, 644, 469);
        QTest::newRow("title bar above the top") << QList<qint64>{ 100, 10, 644, 469 } << frame << small << two
                                                 << QRect(100, 30, 644, 469);
        QTest::newRow("larger than the scaled screen") << QList<qint64>{ 92, 74, 900, 560 } << title << small << scaled
                                                       << QRect(1, 13, 851, 517);
        QTest::newRow("borderless, far too wide") << QList<qint64>{ 92, 74, 100000, 469 } << QMargins() << small << two
                                                  << QRect(0, 74, 1920, 469);
        QTest::newRow("removed monitor") << QList<qint64>{ 5000, 200, 644, 469 } << QMargins() << small << two
                                         << QRect(1276, 200, 644, 469);
        QTest::newRow("partly off the second") << QList<qint64>{ 2900, 300, 644, 469 } << frame << small << two
                                               << QRect(2552, 300, 644, 469);
        QTest::newRow("mostly below the second") << QList<qint64>{ 2100, 1180, 400, 300 } << QMargins() << small << two
                                                 << QRect(2100, 900, 400, 300);
        QTest::newRow("below the minimum size") << QList<qint64>{ 10, 40, 100, -50 } << frame << small << two
                                                << QRect(10, 40, 297, 200);
        QTest::newRow("minimum larger than the screen") << QList<qint64>{ 50, 50, 900, 600 } << QMargins()
                                                        << QSize(900, 600) << scaled << QRect(0, 0, 900, 600);
        QTest::newRow("int limits") << QList<qint64>{ max, min, max, max } << frame << small << two
                                    << QRect(4, 30, 1912, 1016);
        QTest::newRow("int limits, reversed") << QList<qint64>{ min, max, min, 0 } << frame << small << two
                                              << QRect(4, 846, 297, 200);
        QTest::newRow("no screens") << QList<qint64>{ -9000, -9000, 3000, 2000 } << frame << small << Screens()
                                    << QRect(-9000, -9000, 3000, 2000);
    }

    void place()
    {
        QFETCH(QList<qint64>, stored);
        QFETCH(QMargins, frame);
        QFETCH(QSize, minimum);
        QFETCH(Screens, screens);
        QFETCH(QRect, expected);
        const QRect bounds = WindowPlacement::FromSettings(stored[0], stored[1], stored[2], stored[3]);
        const QRect placed = WindowPlacement::Place(bounds, frame, minimum, screens);
        QCOMPARE(placed, expected);
        // Placed once, the window stays where it is.
        QCOMPARE(WindowPlacement::Place(placed, frame, minimum, screens), placed);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
