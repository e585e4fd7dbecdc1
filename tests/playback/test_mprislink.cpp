// test_mprislink: the MPRIS player link on a private session bus, against a fake player process.
#include "MprisLink.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <signal.h>

using namespace Qt::StringLiterals;

namespace {
const QString FakeName = u"org.mpris.MediaPlayer2.kestrunefake"_s;

// A fake player process on the test's bus, with the lines it printed.
class TFakePlayerProcess
{
public:
    TFakePlayerProcess(const QString &busAddress, const QString &name, qint64 positionUs, qint64 lengthUs,
                       double volume)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, busAddress);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(KS_FAKE_PLAYER),
                        { name, QString::number(positionUs), QString::number(lengthUs), QString::number(volume) });
    }
    ~TFakePlayerProcess()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(m_process.processId()), SIGCONT);
        m_process.kill();
        m_process.waitForFinished();
    }

    /// Waits until the player has printed a line (at most 10 s); false when it has not.
    bool WaitFor(const QString &line)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_lines.contains(line) && clock.elapsed() < 10000) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(200))
                continue;
            while (m_process.canReadLine())
                m_lines << QString::fromUtf8(m_process.readLine()).trimmed();
        }
        return m_lines.contains(line);
    }
    /// The commands printed after "ready".
    QStringList Commands() const { return m_lines.mid(m_lines.indexOf(u"ready"_s) + 1); }

    void Signal(int signal) { ::kill(static_cast<pid_t>(m_process.processId()), signal); }
    void End()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
    QStringList m_lines;
};
} // namespace

// A player that answers may be slow on a busy machine; only the frozen player needs the real timeout.
constexpr int PatientMs = 10000;

class TestMprisLink : public QObject
{
    Q_OBJECT

private:
    QProcess m_daemon;
    QTemporaryDir m_dir;
    QString m_address;
    std::unique_ptr<QDBusConnection> m_bus;

    std::unique_ptr<TFakePlayerProcess> startPlayer(qint64 positionUs = 12'345'678, qint64 lengthUs = 187'600'000,
                                                    double volume = 0.5)
    {
        auto player = std::make_unique<TFakePlayerProcess>(m_address, FakeName, positionUs, lengthUs, volume);
        if (!player->WaitFor(u"ready"_s))
            qFatal("the fake player did not start");
        return player;
    }

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed (Debian package dbus-daemon)");
        QVERIFY(m_dir.isValid());
        // A bus of the test's own: no service files, so nothing installed here can be started on it.
        const QString config = m_dir.filePath(u"bus.conf"_s);
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                   " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:dir=" + m_dir.path().toUtf8()
                   + "</listen>\n<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        m_daemon.start(daemon, { u"--nofork"_s, u"--print-address"_s, u"--config-file="_s + config });
        QVERIFY2(m_daemon.waitForReadyRead(10000), "dbus-daemon printed no address");
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, u"test-bus"_s));
        QVERIFY(m_bus->isConnected());
    }

    void cleanupTestCase()
    {
        if (m_bus)
            QDBusConnection::disconnectFromBus(u"test-bus"_s);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void noSessionBus()
    {
        const QDBusConnection none = QDBusConnection::connectToBus(u"unix:path=/nonexistent/kestrune-bus"_s,
                                                                   u"no-bus"_s);
        QVERIFY(!none.isConnected());
        TMprisLink link(none);
        QVERIFY(!link.FindPlayer());
        link.PlayerPlay();
        link.PlayerVolumeUp();
        QCOMPARE(link.PlayerPositionMs(), 0);
        QCOMPARE(link.PlayerTrackLength(), 0);
        QDBusConnection::disconnectFromBus(u"no-bus"_s);
    }

    void noPlayerAmongOtherNames()
    {
        // Names that only look like a player's are passed over.
        QVERIFY(m_bus->registerService(u"org.mpris.MediaPlayer2"_s));
        QVERIFY(m_bus->registerService(u"org.example.MediaPlayer2.vlc"_s));
        TMprisLink link(*m_bus, PatientMs);
        QVERIFY(!link.FindPlayer());
        QVERIFY(link.PlayerName().isEmpty());
        link.PlayerStop();
        QCOMPARE(link.PlayerPositionMs(), 0);
        QCOMPARE(link.PlayerTrackLength(), 0);
        m_bus->unregisterService(u"org.mpris.MediaPlayer2"_s);
        m_bus->unregisterService(u"org.example.MediaPlayer2.vlc"_s);
    }

    void commandsAndQueries()
    {
        const auto player = startPlayer();
        TMprisLink link(*m_bus, PatientMs);
        QVERIFY(link.FindPlayer());
        QCOMPARE(link.PlayerName(), FakeName);

        link.PlayerPlay();
        link.PlayerPause();
        link.PlayerStop();
        link.PlayerVolumeUp();
        QVERIFY(player->WaitFor(u"Volume 0.55"_s));
        link.PlayerVolumeDown();
        QVERIFY(player->WaitFor(u"Volume 0.5"_s));
        QCOMPARE(player->Commands(), (QStringList{ u"Play"_s, u"PlayPause"_s, u"Stop"_s, u"Volume 0.55"_s,
                                                   u"Volume 0.5"_s }));
        // Microseconds on the bus: milliseconds and whole seconds here.
        QCOMPARE(link.PlayerPositionMs(), 12345);
        QCOMPARE(link.PlayerTrackLength(), 187);
        QCOMPARE(link.PlayerTrackIdentity(), u"/org/example/track/7\nfile:///music/fake.mp3"_s);
        QCOMPARE(link.PlayerStatus(), TPlayStatus::Playing);
    }

    void volumeStaysWithinRange_data()
    {
        QTest::addColumn<double>("volume");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("printed");
        QTest::newRow("up to the top") << 0.98 << true << u"Volume 1"_s;
        QTest::newRow("down to silence") << 0.02 << false << u"Volume 0"_s;
    }
    void volumeStaysWithinRange()
    {
        QFETCH(double, volume);
        QFETCH(bool, up);
        QFETCH(QString, printed);
        const auto player = startPlayer(0, 0, volume);
        TMprisLink link(*m_bus, PatientMs);
        QVERIFY(link.FindPlayer());
        up ? link.PlayerVolumeUp() : link.PlayerVolumeDown();
        QVERIFY(player->WaitFor(printed));
    }

    void largeTimesAreClamped()
    {
        // 30 days of position does not fit in milliseconds of 32 bits.
        const auto player = startPlayer(2'592'000'000'000, 2'592'000'000'000);
        TMprisLink link(*m_bus, PatientMs);
        QVERIFY(link.FindPlayer());
        QCOMPARE(link.PlayerPositionMs(), std::numeric_limits<qint32>::max());
        QCOMPARE(link.PlayerTrackLength(), 2'592'000);
    }

    void playerGone()
    {
        auto player = startPlayer();
        TMprisLink link(*m_bus, PatientMs);
        QVERIFY(link.FindPlayer());
        player->End();
        link.PlayerPlay();
        link.PlayerVolumeUp();
        QCOMPARE(link.PlayerPositionMs(), 0);
        QCOMPARE(link.PlayerTrackLength(), 0);
        // The bus tells the link that the player has gone, and a probe finds none.
        QTRY_VERIFY(link.PlayerName().isEmpty());
        QVERIFY(!link.FindPlayer());
    }

    void announcedChanges()
    {
        // A player that only announces, on a connection of its own: nothing waits for it to answer.
        QDBusConnection player = QDBusConnection::connectToBus(m_address, u"announcer"_s);
        QVERIFY(player.registerService(FakeName));
        TMprisLink link(*m_bus, PatientMs);
        QList<TPlayerChange> changes;
        link.SetChangeHandler([&](const TPlayerChange &change) { changes << change; });
        QVERIFY(link.FindPlayer() && link.AnnouncesChanges());
        // A track with an address, and a stopped player's metadata without one, which names no track.
        for (const QString &url : { u"file:///two.mp3"_s, QString() }) {
            QVariantMap metadata{ { u"mpris:trackid"_s, QVariant::fromValue(QDBusObjectPath(u"/t/2"_s)) },
                                  { u"mpris:length"_s, qlonglong(5000000) } };
            if (!url.isEmpty())
                metadata.insert(u"xesam:url"_s, url);
            const QVariantMap changed{ { u"PlaybackStatus"_s, url.isEmpty() ? u"Stopped"_s : u"Playing"_s },
                                       { u"Metadata"_s, metadata } };
            QDBusMessage signal = QDBusMessage::createSignal(u"/org/mpris/MediaPlayer2"_s,
                                                             u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
            QVERIFY(player.send(signal << u"org.mpris.MediaPlayer2.Player"_s << changed << QStringList()));
            QTRY_COMPARE_WITH_TIMEOUT(changes.size(), 1, PatientMs);
            const TPlayerChange change = changes.takeFirst();
            QCOMPARE(change.Status, url.isEmpty() ? TPlayStatus::Stopped : TPlayStatus::Playing);
            QCOMPARE(change.Identity, url.isEmpty() ? QString() : u"/t/2\n"_s + url);
            QCOMPARE(change.LengthSeconds, 5);
        }
        // Leaving the bus is announced too.
        QVERIFY(player.unregisterService(FakeName));
        QTRY_VERIFY_WITH_TIMEOUT(!changes.isEmpty() && changes.last().Vanished, PatientMs);
        QVERIFY(!link.PlayerKnown());
        QDBusConnection::disconnectFromBus(u"announcer"_s);
    }

    void playerThatNeverAnswers()
    {
        const auto player = startPlayer();
        TMprisLink link(*m_bus);
        QVERIFY(link.FindPlayer());
        player->Signal(SIGSTOP);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(link.PlayerPositionMs(), 0);
        QCOMPARE(link.PlayerTrackLength(), 0);
        link.PlayerVolumeUp();
        link.PlayerPlay();
        // Without a timeout of its own each query would wait 25 s for the bus's default.
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        // The bus still answers a probe.
        QVERIFY(link.FindPlayer());
        player->Signal(SIGCONT);
        TMprisLink patient(*m_bus, PatientMs);
        QVERIFY(patient.FindPlayer());
        QCOMPARE(patient.PlayerPositionMs(), 12345);
    }
};

QTEST_GUILESS_MAIN(TestMprisLink)
#include "test_mprislink.moc"
