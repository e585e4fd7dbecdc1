// test_albummonitor: album play's decisions on each tick, against a recording player link.
#include "AlbumMonitor.h"
#include "KsError.h"
#include "OpenList.h"
#include "PlayerLink.h"
#include "TestSupport.h"

#include <QtTest>
#include <limits>

using namespace Qt::StringLiterals;

namespace {
const QString Folder = u"/prog/"_s;

// One album block; each track plays the file "<title>.mp3".
QStringList album(const QString &title, const QStringList &tracks, bool endLine = true)
{
    QStringList b{ u"-newalbum"_s, u"author: A"_s, u"album: "_s + title, u"url: "_s, u"discriptionfile: "_s,
                   u"nt: %1"_s.arg(tracks.size()), u"image: "_s };
    for (const QString &t : tracks)
        b << u"track: "_s + t << u"size: 00:05"_s << u"file: "_s + t + u".mp3"_s << u"dfile: "_s;
    if (endLine)
        b << u"--endofalbum"_s;
    return b;
}

TOpenList listOf(const QStringList &lines)
{
    TOpenList list;
    list.ListLines = lines;
    return list;
}

// A monitor switched on and following a track.
void follow(TAlbumMonitor &monitor, const QString &albumTitle, const QString &track)
{
    TRecordingPlayerLink player;
    monitor.SetNowPlaying(albumTitle, track);
    monitor.SwitchOn(player, 0);
}

// A tick with a player that tells no track ends, which is running.
TMonitorStep tick(TAlbumMonitor &monitor, TRecordingPlayerLink &player, const TOpenList &list, qint32 positionMs,
                  qint32 lengthSeconds)
{
    player.Found = true;
    player.PositionMs = positionMs;
    player.TrackLength = lengthSeconds;
    return monitor.Tick(player, list, Folder, 0);
}

// Album play of A (a1, a2, a3) from a1 with a player that announces changes, by steps "<ms> <event>": "on" or
// "tick" with "none" or "<status> <position ms> <length s> <track>"; "says <status> [<track> <length s>]";
// "gone"; "enter" (a track played by Enter). Gives what the monitor did, and "stop sent".
QString playAlbum(const QString &script)
{
    const TOpenList list = listOf(album(u"A"_s, { u"a1"_s, u"a2"_s, u"a3"_s }));
    TAlbumMonitor monitor;
    TRecordingPlayerLink player;
    player.Announcing = true;
    monitor.SetNowPlaying(u"A"_s, u"a1"_s);
    const QStringList statuses{ {}, u"Playing"_s, u"Paused"_s, u"Stopped"_s };
    const QStringList actions{ {}, u"play"_s, u"stopped"_s, u"noplayer"_s, u"gone"_s };
    QStringList done;
    for (const QString &text : script.split(u';')) {
        const QStringList w = text.simplified().split(u' ');
        const qint64 at = w[0].toLongLong();
        const auto status = TPlayStatus(qMax(0, statuses.indexOf(w.value(2))));
        TMonitorStep step;
        if (w[1] == u"on"_s || w[1] == u"tick"_s) {
            player.Found = w[2] != u"none"_s;
            player.Known = player.Found && (player.Known || w[1] == u"on"_s);
            player.Status = status;
            player.PositionMs = w.value(3).toInt();
            player.TrackLength = w.value(4).toInt();
            player.TrackIdentity = w.value(5);
            if (w[1] == u"on"_s)
                monitor.SwitchOn(player, at);
            else
                step = monitor.Tick(player, list, Folder, at);
        } else if (w[1] == u"enter"_s) {
            monitor.Handed(player, at);
        } else {
            const TPlayerChange change{ status, w.value(3), w.value(4).toInt(), w[1] == u"gone"_s };
            player.Say(change);
            step = monitor.Changed(change, player, list, Folder, at);
        }
        if (step.Action != TMonitorAction::Nothing)
            done << (QStringList{ w[0], actions[int(step.Action)], QFileInfo(step.FileName).completeBaseName() })
                        .join(u' ')
                        .trimmed();
    }
    if (player.Calls.contains(u"PlayerStop"_s))
        done << u"stop sent"_s;
    return done.join(u"; "_s);
}
} // namespace

class TestAlbumMonitor : public QObject
{
    Q_OBJECT

private slots:
    void nearTrackEnd_data()
    {
        QTest::addColumn<qint32>("positionMs");
        QTest::addColumn<qint32>("length");
        QTest::addColumn<bool>("near");
        QTest::newRow("3 of 5 s played") << 3000 << 5 << true;
        QTest::newRow("4.999 of 5 s") << 4999 << 5 << true;
        QTest::newRow("2.999 of 5 s") << 2999 << 5 << false;
        QTest::newRow("past the end") << 5000 << 5 << false;
        QTest::newRow("no player") << 0 << 0 << false;
        QTest::newRow("1 s track at once") << 0 << 1 << true;
        QTest::newRow("2 s track at once") << 0 << 2 << true;
        QTest::newRow("2 s track, 1 s in") << 1000 << 2 << true;
        QTest::newRow("stopped player, -1 ms") << -1 << 1 << true;
        const qint32 maxValue = std::numeric_limits<qint32>::max();
        const qint32 minValue = std::numeric_limits<qint32>::min();
        QTest::newRow("extremes 1") << maxValue << minValue << false;
        QTest::newRow("extremes 2") << minValue << maxValue << false;
        QTest::newRow("extremes 3") << maxValue << maxValue << false;
    }
    void nearTrackEnd()
    {
        QFETCH(qint32, positionMs);
        QFETCH(qint32, length);
        QFETCH(bool, near);
        QCOMPARE(TAlbumMonitor::NearTrackEnd(positionMs, length), near);
    }

    void playerThatAnnouncesChanges_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("done");
        // Audacious: stops about a second before the length it tells, says it plays before it names the
        // new track, and stops at the end of the last one by itself.
        QTest::newRow("stops at each end") << u"0 on Stopped; 300 says Playing a1 5; 1000 tick Playing 700 5 a1; "
                                              "3900 says Stopped; 4500 says Playing; 4600 says Playing a2 5; "
                                              "9400 says Stopped; 9900 says Playing a3 5; 14800 says Stopped"_s
                                           << u"3900 play a2; 9400 play a3; 14800 stopped"_s;
        QTest::newRow("stop in the middle is the user's")
            << u"0 on Stopped; 300 says Playing a1 5; 1500 says Stopped; 2000 says Playing; "
               "3000 tick Playing 1000 5 a1; 4000 says Paused; 9000 says Playing; 10000 says Stopped"_s
            << u"10000 play a2"_s;
        QTest::newRow("player moves on by itself") << u"0 on Playing 0 9 x; 200 tick Playing 9000 9 x; "
                                                      "300 says Playing a1 5; 5100 says Playing y 4; "
                                                      "5300 says Playing a2 5; 5400 tick Playing 100 5 a2"_s
                                                   << u"5100 play a2"_s;
        // Found by a tick, and its stop seen by a tick only.
        QTest::newRow("player still starting") << u"0 on none; 1000 tick none; 2000 tick none; "
                                                  "3000 tick Playing 800 5 a1; 6000 tick Stopped 0 0 a1"_s
                                               << u"6000 play a2"_s;
        QTest::newRow("no player") << u"0 on none; 1000 tick none; 14000 tick none; 15000 tick none"_s
                                   << u"15000 noplayer"_s;
        QTest::newRow("player never plays the track") << u"0 on Stopped; 1000 tick Stopped 0 0 x; "
                                                         "15000 tick Stopped 0 0 x"_s
                                                      << u"15000 noplayer"_s;
        QTest::newRow("player closed mid-track") << u"0 on Stopped; 300 says Playing a1 5; 2000 gone"_s
                                                 << u"2000 gone"_s;
        // mpv: one player for each track, which leaves at the track's end.
        QTest::newRow("player that leaves at each end") << u"0 on none; 500 tick Playing 200 5 a1; 5300 gone; "
                                                           "6000 tick none; 6500 tick Playing 300 5 a2; 11000 gone"_s
                                                        << u"5300 play a2; 11000 play a3"_s;
        QTest::newRow("same track started again") << u"0 on Playing 0 5 a1; 500 says Stopped; 600 says Playing; "
                                                     "3000 tick Playing 2400 5 a1; 5200 says Stopped"_s
                                                  << u"5200 play a2"_s;
        QTest::newRow("Enter meanwhile") << u"0 on Stopped; 300 says Playing a1 5; 2000 enter; "
                                            "2200 says Playing b1 7; 9100 says Stopped"_s
                                         << u"9100 play a2"_s;
    }
    void playerThatAnnouncesChanges()
    {
        QFETCH(QString, script);
        QFETCH(QString, done);
        QCOMPARE(playAlbum(script), done);
    }

    void offMonitorAsksNothing()
    {
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        const TOpenList list = listOf(album(u"A"_s, { u"a1"_s, u"a2"_s }));
        monitor.SetNowPlaying(u"A"_s, u"a1"_s);
        QVERIFY(!monitor.IsOn());
        QCOMPARE(tick(monitor, player, list, 3500, 5).Action, TMonitorAction::Nothing);
        QVERIFY(player.Calls.isEmpty());

        monitor.SwitchOn(player, 0);
        QCOMPARE(tick(monitor, player, list, 1000, 5).Action, TMonitorAction::Nothing);
        // No player was known: the tick looks for one first.
        QCOMPARE(player.Calls, (QStringList{ u"FindPlayer"_s, u"PlayerPositionMs"_s, u"PlayerTrackLength"_s }));
        QCOMPARE(monitor.NowPlayingTrack(), u"a1"_s);
        QVERIFY(monitor.IsOn());
    }

    void playsThroughAlbumAndStopsAtItsEnd()
    {
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        TOpenList list = listOf(album(u"A"_s, { u"a1"_s, u"a2"_s, u"a3"_s }) + album(u"B"_s, { u"b1"_s }));
        // The window's records belong to its selection, elsewhere in the list.
        list.CurrentAlbum = list.ReadAlbumRecord(u"B"_s, Folder);
        const TAlbum selected = list.CurrentAlbum;
        follow(monitor, u"A"_s, u"a1"_s);

        TMonitorStep step = tick(monitor, player, list, 3200, 5);
        QCOMPARE(step.Action, TMonitorAction::PlayFile);
        QCOMPARE(step.FileName, Folder + u"a2.mp3"_s);
        QCOMPARE(monitor.NowPlayingTrack(), u"a2"_s);
        QCOMPARE(monitor.NowPlayingAlbum(), u"A"_s);
        QVERIFY(list.CurrentAlbum == selected);

        // The player has not switched yet: the same track, a second on, is not a second ending.
        QCOMPARE(tick(monitor, player, list, 4200, 5).Action, TMonitorAction::Nothing);
        QCOMPARE(monitor.NowPlayingTrack(), u"a2"_s);
        // Once it has, the next ending moves on again.
        QCOMPARE(tick(monitor, player, list, 900, 4).Action, TMonitorAction::Nothing);
        step = tick(monitor, player, list, 2100, 4);
        QCOMPARE(step.FileName, Folder + u"a3.mp3"_s);

        player.Calls.clear();
        QCOMPARE(tick(monitor, player, list, 1000, 5).Action, TMonitorAction::Nothing);
        // The line after the last track is the end line: album play never runs into album B.
        QCOMPARE(tick(monitor, player, list, 3000, 5).Action, TMonitorAction::Stopped);
        QCOMPARE(player.Calls.last(), u"PlayerStop"_s);
        QVERIFY(!monitor.IsOn());
        QCOMPARE(monitor.NowPlayingTrack(), u"a3"_s);
        QVERIFY(list.CurrentAlbum == selected);
    }

    void endsWithoutEndLine()
    {
        // The file ends with the last track's block.
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        const TOpenList list = listOf(album(u"A"_s, { u"a1"_s, u"a2"_s }, false));
        follow(monitor, u"A"_s, u"a2"_s);
        QCOMPARE(tick(monitor, player, list, 3000, 5).Action, TMonitorAction::Stopped);
        QCOMPARE(player.Calls.last(), u"PlayerStop"_s);
        QVERIFY(!monitor.IsOn());
    }

    void shortTracks_data()
    {
        QTest::addColumn<qint32>("length");
        QTest::newRow("1 s") << 1;
        QTest::newRow("2 s") << 2;
    }
    void shortTracks()
    {
        QFETCH(qint32, length);
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        const TOpenList list = listOf(album(u"A"_s, { u"a1"_s, u"a2"_s, u"a3"_s, u"a4"_s }));
        follow(monitor, u"A"_s, u"a1"_s);
        // The first tick already moves on.
        QCOMPARE(tick(monitor, player, list, 300, length).FileName, Folder + u"a2.mp3"_s);
        // A reading that went back is the new track, however short.
        QCOMPARE(tick(monitor, player, list, 100, length).FileName, Folder + u"a3.mp3"_s);

        // The new track read further on than the old one: only the player's track identity tells
        // it from the old one, and its only tick moves on.
        player.TrackIdentity = u"a3"_s;
        QCOMPARE(tick(monitor, player, list, 150, length).Action, TMonitorAction::Nothing);
        QCOMPARE(tick(monitor, player, list, 200, length).FileName, Folder + u"a4.mp3"_s);
        player.TrackIdentity = u"a4"_s;
        QCOMPARE(tick(monitor, player, list, 900, length).Action, TMonitorAction::Stopped);
    }

    void lostTrackStops_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("track");
        QTest::newRow("album deleted") << album(u"B"_s, { u"b1"_s }) << u"a1"_s;
        QTest::newRow("another list open") << QStringList{ u"just a note"_s } << u"a1"_s;
        QTest::newRow("track renamed") << album(u"A"_s, { u"x1"_s, u"a2"_s }) << u"a1"_s;
        QTest::newRow("empty list") << QStringList() << u"a1"_s;
    }
    void lostTrackStops()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, track);
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        follow(monitor, u"A"_s, track);
        QCOMPARE(tick(monitor, player, listOf(lines), 3000, 5).Action, TMonitorAction::Stopped);
        QCOMPARE(player.Calls.last(), u"PlayerStop"_s);
        QVERIFY(!monitor.IsOn());
    }

    void brokenListSwitchesOffBeforeReporting()
    {
        QStringList lines = album(u"A"_s, { u"a1"_s, u"a2"_s });
        lines[5] = u"nt: two"_s;
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        follow(monitor, u"A"_s, u"a1"_s);
        const TOpenList list = listOf(lines);
        QCOMPARE(TestSupport::errorOf([&] { tick(monitor, player, list, 3000, 5); }),
                 u"'two' is not a valid integer value"_s);
        QVERIFY(!monitor.IsOn());
    }

    void repeatedTitlesPlayTheirOwnAlbum()
    {
        // Two albums titled "Live" with tracks of the same titles: the second one plays its own files.
        QStringList second = album(u"Live"_s, { u"a"_s, u"b"_s });
        second[9] = u"file: second-a.mp3"_s;
        second[13] = u"file: second-b.mp3"_s;
        const TOpenList list = listOf(album(u"Live"_s, { u"a"_s, u"b"_s }) + second);
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        monitor.SetNowPlaying(u"Live"_s, u"a"_s, 1, 0);
        monitor.SwitchOn(player, 0);
        QCOMPARE(tick(monitor, player, list, 3000, 5).FileName, Folder + u"second-b.mp3"_s);
        QCOMPARE(tick(monitor, player, list, 100, 5).Action, TMonitorAction::Nothing);
        QCOMPARE(tick(monitor, player, list, 3000, 5).Action, TMonitorAction::Stopped);
    }

    void switchingOnForgetsLastMove()
    {
        TAlbumMonitor monitor;
        TRecordingPlayerLink player;
        const TOpenList list = listOf(album(u"A"_s, { u"a1"_s, u"a2"_s, u"a3"_s }));
        follow(monitor, u"A"_s, u"a1"_s);
        QCOMPARE(tick(monitor, player, list, 3000, 5).FileName, Folder + u"a2.mp3"_s);
        // Album play started afresh on a track of the same length: its first ending counts.
        follow(monitor, u"A"_s, u"a1"_s);
        QCOMPARE(tick(monitor, player, list, 3500, 5).FileName, Folder + u"a2.mp3"_s);
    }
};

QTEST_GUILESS_MAIN(TestAlbumMonitor)
#include "test_albummonitor.moc"
