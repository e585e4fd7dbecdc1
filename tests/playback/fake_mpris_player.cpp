// fake_mpris_player: a small MPRIS 2 player on the session bus that prints every command it gets.
//
// fake_mpris_player NAME POSITION_US LENGTH_US VOLUME
// Owns NAME, answers Position, Metadata (length, track id, address), PlaybackStatus and Volume, and prints one
// line per call: "Play", "PlayPause", "Stop", "Volume <value>". Prints "ready" once it owns its name.
// Each line "<status> [<track id> <address or -> <length us>]" read from its input becomes its state and is
// announced with PropertiesChanged.
#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QSocketNotifier>
#include <QVariantMap>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
void report(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
} // namespace

class TFakePlayer : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(QString PlaybackStatus MEMBER m_status)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)

public:
    TFakePlayer(QObject *parent, qlonglong position, qlonglong length, double volume)
        : QDBusAbstractAdaptor(parent), m_position(position), m_length(length), m_volume(volume)
    {
    }

    qlonglong Position() const { return m_position; }
    QVariantMap Metadata() const
    {
        QVariantMap metadata{ { u"mpris:length"_s, QVariant::fromValue(m_length) },
                              { u"mpris:trackid"_s, QVariant::fromValue(QDBusObjectPath(m_trackId)) },
                              { u"xesam:title"_s, u"Fake track"_s } };
        if (m_url != u"-"_s)
            metadata.insert(u"xesam:url"_s, m_url);
        return metadata;
    }
    /// Takes one input line as the new state and announces it.
    void Change(const QStringList &words)
    {
        m_status = words.value(0);
        QVariantMap changed{ { u"PlaybackStatus"_s, m_status } };
        if (words.size() == 4) {
            m_trackId = words[1];
            m_url = words[2];
            m_length = words[3].toLongLong();
            changed.insert(u"Metadata"_s, Metadata());
        }
        QDBusMessage signal = QDBusMessage::createSignal(u"/org/mpris/MediaPlayer2"_s,
                                                         u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
        signal << u"org.mpris.MediaPlayer2.Player"_s << changed << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }
    double Volume() const { return m_volume; }
    void SetVolume(double volume)
    {
        m_volume = volume;
        report(u"Volume "_s + QString::number(volume));
    }

public slots:
    void Play() { report(u"Play"_s); }
    void PlayPause() { report(u"PlayPause"_s); }
    void Stop() { report(u"Stop"_s); }

private:
    qlonglong m_position;
    qlonglong m_length;
    double m_volume;
    QString m_status = u"Playing"_s;
    QString m_trackId = u"/org/example/track/7"_s;
    QString m_url = u"file:///music/fake.mp3"_s;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: fake_mpris_player NAME POSITION_US LENGTH_US VOLUME\n");
        return 2;
    }
    QObject root;
    auto *player = new TFakePlayer(&root, args[2].toLongLong(), args[3].toLongLong(), args[4].toDouble());
    QFile input;
    // Unbuffered, so that a line not yet read stays in the pipe and wakes the notifier again.
    if (!input.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return 1;
    QSocketNotifier lines(0, QSocketNotifier::Read);
    QObject::connect(&lines, &QSocketNotifier::activated, player, [&] {
        const QByteArray line = input.readLine();
        if (line.isEmpty())
            lines.setEnabled(false);
        else
            player->Change(QString::fromUtf8(line).simplified().split(u' '));
    });
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(u"/org/mpris/MediaPlayer2"_s, &root, QDBusConnection::ExportAdaptors)
        || !bus.registerService(args[1])) {
        std::fprintf(stderr, "fake_mpris_player: cannot register on the bus\n");
        return 1;
    }
    report(u"ready"_s);
    return app.exec();
}

#include "fake_mpris_player.moc"
