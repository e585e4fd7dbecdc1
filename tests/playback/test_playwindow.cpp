// test_playwindow: playing from the main window's tree, album play and the transport strip, on fakes.
#include "MainWindowFixture.h"

#include "AlbumMonitor.h"
#include "CatalogueTree.h"
#include "He1.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// An album whose tracks play "<title>.mp3" in the program folder, each with its own play time.
QStringList albumOf(const QString &title, const QString &url, const QStringList &tracks)
{
    QStringList b{ u"-newalbum"_s, u"author: Author of "_s + title, u"album: "_s + title, u"url: "_s + url,
                   u"discriptionfile: "_s, u"nt: %1"_s.arg(tracks.size()), u"image: "_s };
    int seconds = 1;
    for (const QString &t : tracks)
        b << u"track: "_s + t << u"size: 00:0%1"_s.arg(seconds++) << u"file: "_s + t + u".mp3"_s << u"dfile: "_s;
    b << u"--endofalbum"_s;
    return b;
}

struct TPlayFixture
{
    TProgramFolder Folder;
    TWindowUnderTest W;

    // Winter (w1, w2, w3) and Harbour (h1, h2; h2's file missing), loaded and shown.
    bool Open(bool playerFound = false)
    {
        Folder.WriteLines(u"list.lst"_s, albumOf(u"Winter"_s, u"https://example.org/w"_s, { u"w1"_s, u"w2"_s, u"w3"_s })
                                             + albumOf(u"Harbour"_s, QString(), { u"h1"_s, u"h2"_s }));
        for (const char16_t *name : { u"w1", u"w2", u"w3", u"h1" })
            Folder.WriteBytes(QString::fromUtf16(name) + u".mp3"_s, "ID3");
        W.Player.Found = playerFound;
        W.Create();
        if (!W.ShowAndLoad())
            return false;
        View()->expandAll();
        View()->setFocus();
        return true;
    }

    THETreeView *View() const { return W.Form->TreeView(); }
    TTreeNode *Node(int album, int track = -1) const
    {
        TTreeNode *root = W.Form->Tree().Root(album);
        return track < 0 ? root : root->Child(track);
    }
    QString File(const QString &track) const { return Folder.Path(track + u".mp3"_s); }
    void DoubleClick(TTreeNode *node)
    {
        const QRect r = View()->visualRect(W.Form->Tree().IndexOf(node));
        QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, r.center());
    }
    void Trigger(const QString &action) const { W.Find<QAction>(action)->trigger(); }
    void Enter(TTreeNode *node)
    {
        View()->Select(node);
        QTest::keyClick(View(), Qt::Key_Return);
    }
    QStringList Panel() const
    {
        QStringList values;
        for (int i = 6; i <= 10; ++i)
            values << W.Find<QLabel>(u"Label%1"_s.arg(i))->text();
        return values;
    }
    bool StripShown() const { return W.Find<QWidget>(u"Panel5"_s)->isVisible(); }
    const TAlbumMonitor &Monitor() const { return W.Form->AlbumMonitor(); }
    QTimer *Timer() const { return W.Find<QTimer>(u"Timer1"_s); }
    QStringList NowPlaying() const { return { Monitor().NowPlayingAlbum(), Monitor().NowPlayingTrack() }; }
    void Tick(qint32 positionMs, qint32 lengthSeconds)
    {
        W.Player.PositionMs = positionMs;
        W.Player.TrackLength = lengthSeconds;
        W.Form->AlbumMonitorTick();
    }
};
} // namespace

class TestPlayWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { SetApplicationTitle(u"Kestrune"_s); }

    void doubleClickPlaysTrack()
    {
        TPlayFixture f;
        QVERIFY(f.Open(false));
        QVERIFY(!f.StripShown());
        QCOMPARE(f.Panel(), QStringList(5, QString()));

        f.W.Player.Found = true;
        f.W.Player.Calls.clear();
        f.DoubleClick(f.Node(0, 1));
        QCOMPARE(f.W.Shell.Opened, QStringList{ f.File(u"w2"_s) });
        QCOMPARE(f.Panel(), (QStringList{ u"Winter"_s, u"Author of Winter"_s, u"w2"_s, u"00:02"_s,
                                          u"https://example.org/w"_s }));
        QCOMPARE(ApplicationTitle(), u"Kestrune - w2"_s);
        QCOMPARE(f.W.Form->windowTitle(), u"Kestrune v. 0.98"_s);
        QCOMPARE(f.NowPlaying(), (QStringList{ u"Winter"_s, u"w2"_s }));
        QCOMPARE(f.W.Player.Calls, QStringList{ u"FindPlayer"_s });
        QVERIFY(f.StripShown());
        QVERIFY(f.W.Messages.Messages.isEmpty() && f.W.Messages.Errors.isEmpty());

        // The probe after every start hides the strip when the player has gone.
        f.W.Player.Found = false;
        f.Trigger(u"N1"_s);
        QCOMPARE(f.W.Shell.Opened.size(), 2);
        QVERIFY(!f.StripShown());

        // An album node plays nothing.
        f.W.Player.Calls.clear();
        f.DoubleClick(f.Node(1));
        f.Trigger(u"N1"_s);
        QCOMPARE(f.W.Shell.Opened.size(), 2);
        QVERIFY(f.W.Player.Calls.isEmpty());
    }

    void longAndMarkupValuesLeaveTheWindowAlone()
    {
        // A 300-character title that looks like markup, and a long address: shown as plain text,
        // elided, and the window can still be made as narrow as before.
        const QString title = u"<b>Live</b> "_s + QString(300, u'ж');
        const QString url = u"https://example.org/"_s + QString(300, u'x');
        TWindowOnList l;
        l.Folder.WriteBytes(u"t.mp3"_s, "ID3");
        QVERIFY(l.Load(albumOf(title, url, { u"t"_s })));
        const int minimum = l.W.Form->minimumSizeHint().width();
        l.W.Form->TreeView()->Select(l.W.Form->Tree().Root(0)->Child(0));
        l.W.Find<QAction>(u"N1"_s)->trigger();
        QCOMPARE(l.W.Find<QLabel>(u"Label6"_s)->text(), title);
        QCOMPARE(l.W.Find<QLabel>(u"Label10"_s)->text(), url);
        QCOMPARE(l.W.Form->minimumSizeHint().width(), minimum);
        QVERIFY(l.W.Form->minimumSize().width() <= minimum);
        QVERIFY(minimum < 800);
        l.W.Form->resize(minimum, 480);
        QTRY_COMPARE(l.W.Form->width(), minimum);
        for (int i = 6; i <= 10; ++i)
            QCOMPARE(l.W.Find<QLabel>(u"Label%1"_s.arg(i))->textFormat(), Qt::PlainText);
    }

    void fileNoProgramOpensIsReported()
    {
        TPlayFixture f;
        QVERIFY(f.Open());
        f.DoubleClick(f.Node(0, 0));
        const QStringList played = f.Panel();
        f.View()->Select(f.Node(1, 0));
        f.Trigger(u"N10"_s);
        QCOMPARE(f.Panel().first(), u"Harbour"_s);
        // The desktop reports that nothing opens the file: the user is told, and the panel, the
        // title and album play are as before the start.
        f.W.Shell.Fail(f.File(u"h1"_s));
        QCOMPARE(f.W.Messages.Messages.size(), 1);
        QVERIFY(f.W.Messages.Messages.first().contains(f.File(u"h1"_s)));
        QCOMPARE(f.Panel(), played);
        QCOMPARE(ApplicationTitle(), u"Kestrune - w1"_s);
        QVERIFY(!f.Monitor().IsOn());
    }

    void probeWhenShown()
    {
        TPlayFixture f;
        QVERIFY(f.Open(true));
        QVERIFY(f.StripShown());
        // Showing the window again without a player does not hide the strip.
        f.W.Player.Found = false;
        f.W.Form->hide();
        f.W.Form->show();
        QCOMPARE(f.W.Player.Calls.count(u"FindPlayer"_s), 2);
        QVERIFY(f.StripShown());
    }

    void missingFile()
    {
        TPlayFixture f;
        QVERIFY(f.Open(false));
        f.W.Player.Calls.clear();
        f.DoubleClick(f.Node(1, 1));
        QCOMPARE(f.W.Messages.Messages, QStringList{ u"File '"_s + f.File(u"h2"_s) + u"' not found."_s });
        QVERIFY(f.W.Shell.Opened.isEmpty());
        QCOMPARE(f.Panel(), QStringList(5, QString()));
        QCOMPARE(ApplicationTitle(), u"Kestrune"_s);
        QVERIFY(f.W.Player.Calls.isEmpty());
        // Enter says the same.
        f.Enter(f.Node(1, 1));
        QCOMPARE(f.W.Messages.Messages.size(), 2);

        // Album play from there still switches the monitor on, following the last track started.
        f.Trigger(u"N10"_s);
        QCOMPARE(f.W.Messages.Messages.size(), 3);
        QVERIFY(f.Monitor().IsOn());
        QVERIFY(f.Timer()->isActive());
        QCOMPARE(f.NowPlaying(), QStringList(2, QString()));
    }

    void wholeAlbumWithEnterMeanwhile()
    {
        TPlayFixture f;
        QVERIFY(f.Open(true));
        f.View()->Select(f.Node(0, 0));
        f.Trigger(u"N10"_s);
        QCOMPARE(f.W.Shell.Opened, QStringList{ f.File(u"w1"_s) });
        QVERIFY(f.Monitor().IsOn());
        QCOMPARE(f.Timer()->interval(), 1000);
        QVERIFY(f.Timer()->isActive());

        // Enter plays another album's track without taking over album play.
        f.Enter(f.Node(1, 0));
        QCOMPARE(f.W.Shell.Opened.last(), f.File(u"h1"_s));
        const QStringList panel{ u"Harbour"_s, u"Author of Harbour"_s, u"h1"_s, u"00:01"_s, QString() };
        QCOMPARE(f.Panel(), panel);
        QCOMPARE(ApplicationTitle(), u"Kestrune - w1"_s);
        QCOMPARE(f.NowPlaying(), (QStringList{ u"Winter"_s, u"w1"_s }));
        QVERIFY(f.Monitor().IsOn());

        f.Tick(1000, 5);
        QCOMPARE(f.W.Shell.Opened.size(), 2);
        // The last two seconds of whatever plays: on after the album's track, not Enter's.
        f.Tick(3400, 5);
        QCOMPARE(f.W.Shell.Opened.last(), f.File(u"w2"_s));
        QCOMPARE(f.NowPlaying(), (QStringList{ u"Winter"_s, u"w2"_s }));
        QCOMPARE(f.Panel(), panel);
        QCOMPARE(ApplicationTitle(), u"Kestrune - w1"_s);
        QCOMPARE(f.View()->Selected(), f.Node(1, 0));

        f.Tick(200, 3);
        f.Tick(1200, 3);
        QCOMPARE(f.W.Shell.Opened.last(), f.File(u"w3"_s));
        f.W.Player.Calls.clear();
        f.Tick(500, 1);
        QCOMPARE(f.W.Player.Calls.last(), u"PlayerStop"_s);
        QVERIFY(!f.Monitor().IsOn());
        QVERIFY(!f.Timer()->isActive());
        QCOMPARE(f.W.Shell.Opened.size(), 4);
    }

    void albumPlayFollowsThePlayerTheShellStarts()
    {
        TPlayFixture f;
        QVERIFY(f.Open(false));
        TRecordingPlayerLink &player = f.W.Player;
        player.Announcing = true;
        f.View()->Select(f.Node(0, 0));
        f.Trigger(u"N10"_s);
        QVERIFY(!f.StripShown());
        // The player that the shell is starting is found on a later tick.
        player.Found = true;
        f.Tick(0, 1);
        QVERIFY(f.StripShown());
        player.Say({ TPlayStatus::Playing, u"w1"_s, 1 });
        player.Say({ TPlayStatus::Stopped, {}, 0 });
        QCOMPARE(f.W.Shell.Opened.last(), f.File(u"w2"_s));
        // Closed in the middle of the next track: no strip, no more ticks, nothing to say.
        player.Say({ TPlayStatus::Playing, u"w2"_s, 60 });
        player.Say({ TPlayStatus::Unknown, {}, 0, true });
        QVERIFY(!f.StripShown() && !f.Monitor().IsOn() && !f.Timer()->isActive());
        QCOMPARE(f.W.Shell.Opened.size(), 2);
        QVERIFY(f.W.Messages.Messages.isEmpty());
    }

    void playingSwitchesAlbumPlayOff()
    {
        TPlayFixture f;
        QVERIFY(f.Open(true));
        // On an album node the monitor is switched on all the same.
        f.View()->Select(f.Node(0));
        f.Trigger(u"N10"_s);
        QVERIFY(f.Monitor().IsOn());
        f.DoubleClick(f.Node(0, 2));
        QVERIFY(!f.Monitor().IsOn());
        QVERIFY(!f.Timer()->isActive());
        QCOMPARE(f.NowPlaying(), (QStringList{ u"Winter"_s, u"w3"_s }));
    }

    void monitorFailureStopsAlbumPlay()
    {
        TPlayFixture f;
        QVERIFY(f.Open(true));
        f.View()->Select(f.Node(0, 0));
        f.Trigger(u"N10"_s);
        // The list is broken under album play: one message, and no more ticks.
        TOpenList &list = f.W.Form->OpenList();
        list.ListLines[5] = u"nt: three"_s;
        f.Tick(3000, 5);
        QCOMPARE(f.W.Messages.Errors, QStringList{ u"'three' is not a valid integer value."_s });
        QVERIFY(!f.Timer()->isActive());
    }

    void transportButtons()
    {
        TPlayFixture f;
        QVERIFY(f.Open(true));
        f.View()->Select(f.Node(0, 0));
        f.Trigger(u"N10"_s);
        f.W.Player.Calls.clear();
        QStringList hints;
        int lastY = -1;
        for (int i = 7; i <= 11; ++i) {
            auto *button = f.W.Find<QToolButton>(u"SpeedButton%1"_s.arg(i));
            QVERIFY(button->isVisible() && button->autoRaise());
            QVERIFY(button->y() > lastY);
            lastY = button->y();
            hints << button->toolTip();
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QCOMPARE(hints, (QStringList{ u"Старт"_s, u"Пауза"_s, u"Стоп"_s, u"Прибавить громкость"_s,
                                      u"Убавить громкость"_s }));
        QCOMPARE(f.W.Player.Calls, (QStringList{ u"PlayerPlay"_s, u"PlayerPause"_s, u"PlayerStop"_s,
                                                 u"PlayerVolumeUp"_s, u"PlayerVolumeDown"_s }));
        // Stop on the strip leaves album play on.
        QVERIFY(f.Monitor().IsOn());
    }
};

QTEST_MAIN(TestPlayWindow)
#include "test_playwindow.moc"
