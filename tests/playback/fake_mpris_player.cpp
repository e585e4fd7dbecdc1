// fake_mpris_player: a small MPRIS 2 player on the session bus that prints every command it gets.
//
// fake_mpris_player NAME POSITION_US LENGTH_US VOLUME
// Owns NAME, answers Position, Metadata (length, track id, address), PlaybackStatus ("Playing") and Volume,
// and prints one line per call:
// "Play", "PlayPause", "Stop", "Volume <value>". Prints "ready" once it owns its name.
#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
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
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)

public:
    TFakePlayer(QObject *parent, qlonglong position, qlonglong length, double volume)
        : QDBusAbstractAdaptor(parent), m_position(position), m_length(length), m_volume(volume)
    {
    }

    qlonglong Position() const { return m_position; }
    QVariantMap Metadata() const
    {
        return { { u"mpris:length"_s, QVariant::fromValue(m_length) },
                 { u"mpris:trackid"_s, QVariant::fromValue(QDBusObjectPath(u"/org/example/track/7"_s)) },
                 { u"xesam:url"_s, u"file:///music/fake.mp3"_s },
                 { u"xesam:title"_s, u"Fake track"_s } };
    }
    QString PlaybackStatus() const { return u"Playing"_s; }
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
    new TFakePlayer(&root, args[2].toLongLong(), args[3].toLongLong(), args[4].toDouble());
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
