// tst_winampprotocol: the player's window class and the window message of each operation.
#include "WinampProtocol.h"

#include <QtTest>

class TestWinampProtocol : public QObject
{
    Q_OBJECT

private slots:
    void windowClass() { QCOMPARE(QByteArray(WinampProtocol::WindowClass), QByteArray("Winamp v1.x")); }

    void messages()
    {
        using namespace WinampProtocol;
        const struct
        {
            const char *operation;
            TMessage actual;
            unsigned message, wParam;
            int lParam;
        } rows[] = {
            { "play", Play, 0x0111, 40045, 0 },
            { "pause", Pause, 0x0111, 40046, 0 },
            { "stop", Stop, 0x0111, 40047, 0 },
            { "volume up", VolumeUp, 0x0111, 40058, 0 },
            { "volume down", VolumeDown, 0x0111, 40059, 0 },
            { "position in ms", PositionMs, 0x0400, 0, 105 },
            { "length in seconds", TrackLength, 0x0400, 1, 105 },
        };
        for (const auto &row : rows) {
            QVERIFY2(row.actual.Message == row.message, row.operation);
            QVERIFY2(row.actual.WParam == row.wParam, row.operation);
            QVERIFY2(row.actual.LParam == row.lParam, row.operation);
        }
    }
};

QTEST_GUILESS_MAIN(TestWinampProtocol)
#include "tst_winampprotocol.moc"
