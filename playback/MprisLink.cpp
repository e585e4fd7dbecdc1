// MprisLink: the player link over MPRIS 2 on the session bus.
#include "MprisLink.h"

#include <QDBusAbstractInterface>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

/// The player's property changes as a Qt signal (the bus delivers it once something connects).
class TMprisProperties : public QDBusAbstractInterface
{
    Q_OBJECT
public:
    TMprisProperties(const QString &service, const QDBusConnection &bus)
        : QDBusAbstractInterface(service, u"/org/mpris/MediaPlayer2"_s, "org.freedesktop.DBus.Properties", bus,
                                 nullptr)
    {
    }
signals:
    void PropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
};

namespace {
const QString NamePrefix = u"org.mpris.MediaPlayer2."_s;
const QString ObjectPath = u"/org/mpris/MediaPlayer2"_s;
const QString PlayerInterface = u"org.mpris.MediaPlayer2.Player"_s;
const QString PropertiesInterface = u"org.freedesktop.DBus.Properties"_s;

qint32 clampToInt32(qint64 value)
{
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

// A variant as it comes off the bus, with any D-Bus variant wrapping taken off.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

// Microseconds of an MPRIS time value; players send it as any integer type.
qint64 microseconds(const QVariant &value, bool *ok)
{
    return unwrapped(value).toLongLong(ok);
}

TPlayStatus statusOf(const QVariant &value)
{
    const QString status = value.toString();
    return status == u"Playing"_s ? TPlayStatus::Playing
        : status == u"Paused"_s   ? TPlayStatus::Paused
        : status == u"Stopped"_s  ? TPlayStatus::Stopped
                                  : TPlayStatus::Unknown;
}
} // namespace

TMprisLink::TMprisLink(const QDBusConnection &bus, int timeoutMs)
    : m_bus(bus), m_timeoutMs(timeoutMs), m_watcher(QString(), bus, QDBusServiceWatcher::WatchForUnregistration)
{
    QObject::connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, &m_watcher,
                     [this](const QString &name) { PlayerLeft(name); });
}

TMprisLink::~TMprisLink() = default;

QDBusMessage TMprisLink::Call(const QDBusMessage &message)
{
    if (!m_bus.isConnected())
        return {};
    return m_bus.call(message, QDBus::Block, m_timeoutMs);
}

bool TMprisLink::FindPlayer()
{
    m_player.clear();
    const QDBusMessage reply = Call(QDBusMessage::createMethodCall(
        u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s, u"org.freedesktop.DBus"_s, u"ListNames"_s));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QStringList names = reply.arguments().first().toStringList();
    const auto found = std::find_if(names.begin(), names.end(),
                                    [](const QString &name) { return name.startsWith(NamePrefix); });
    if (found != names.end())
        Follow(*found);
    return !m_player.isEmpty();
}

void TMprisLink::Follow(const QString &name)
{
    m_player = name;
    if (m_properties && m_properties->service() == name)
        return;
    m_watcher.setWatchedServices({ name });
    m_properties = std::make_unique<TMprisProperties>(name, m_bus);
    QObject::connect(m_properties.get(), &TMprisProperties::PropertiesChanged, m_properties.get(),
                     [this](const QString &interface, const QVariantMap &changed, const QStringList &invalidated) {
                         PropertiesChanged(interface, changed, invalidated);
                     });
}

void TMprisLink::PropertiesChanged(const QString &interface, const QVariantMap &changed,
                                   const QStringList &invalidated)
{
    if (interface != PlayerInterface || m_player.isEmpty())
        return;
    TPlayerChange change;
    // A property named without its value is asked for.
    const auto value = [&](const QString &name) {
        return changed.contains(name) ? unwrapped(changed.value(name))
            : invalidated.contains(name) ? Property(name)
                                         : QVariant();
    };
    change.Status = statusOf(value(u"PlaybackStatus"_s));
    const QVariant metadata = value(u"Metadata"_s);
    if (metadata.isValid()) {
        change.LengthSeconds = TakeTrack(metadata);
        change.Identity = m_trackIdentity;
    }
    if (change.Status != TPlayStatus::Unknown || !change.Identity.isEmpty())
        Announce(change);
}

void TMprisLink::PlayerLeft(const QString &name)
{
    if (name != m_player)
        return;
    m_player.clear();
    m_trackIdentity.clear();
    TPlayerChange change;
    change.Vanished = true;
    Announce(change);
}

void TMprisLink::Command(const QString &method)
{
    if (m_player.isEmpty() || !m_bus.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(m_player, ObjectPath, PlayerInterface, method);
    // A player that has gone must not be started again by the bus.
    message.setAutoStartService(false);
    m_bus.send(message);
}

void TMprisLink::PlayerPlay()
{
    Command(u"Play"_s);
}

void TMprisLink::PlayerPause()
{
    Command(u"PlayPause"_s);
}

void TMprisLink::PlayerStop()
{
    Command(u"Stop"_s);
}

void TMprisLink::PlayerVolumeUp()
{
    ChangeVolume(VolumeStep);
}

void TMprisLink::PlayerVolumeDown()
{
    ChangeVolume(-VolumeStep);
}

void TMprisLink::ChangeVolume(double delta)
{
    bool ok = false;
    const double volume = unwrapped(Property(u"Volume"_s)).toDouble(&ok);
    if (!ok)
        return;
    const double changed = std::clamp(volume + delta, 0.0, 1.0);
    QDBusMessage message = QDBusMessage::createMethodCall(m_player, ObjectPath, PropertiesInterface, u"Set"_s);
    message.setAutoStartService(false);
    message << PlayerInterface << u"Volume"_s << QVariant::fromValue(QDBusVariant(changed));
    m_bus.send(message);
}

QVariant TMprisLink::Property(const QString &name)
{
    if (m_player.isEmpty())
        return {};
    QDBusMessage message = QDBusMessage::createMethodCall(m_player, ObjectPath, PropertiesInterface, u"Get"_s);
    message.setAutoStartService(false);
    message << PlayerInterface << name;
    const QDBusMessage reply = Call(message);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return unwrapped(reply.arguments().first());
}

qint32 TMprisLink::PlayerPositionMs()
{
    bool ok = false;
    const qint64 us = microseconds(Property(u"Position"_s), &ok);
    return ok ? clampToInt32(us / 1000) : 0;
}

TPlayStatus TMprisLink::PlayerStatus()
{
    return statusOf(Property(u"PlaybackStatus"_s));
}

qint32 TMprisLink::PlayerTrackLength()
{
    return TakeTrack(Property(u"Metadata"_s));
}

qint32 TMprisLink::TakeTrack(const QVariant &metadata)
{
    m_trackIdentity.clear();
    if (metadata.metaType() != QMetaType::fromType<QDBusArgument>())
        return 0;
    const QVariantMap values = qdbus_cast<QVariantMap>(metadata);
    const QVariant trackId = unwrapped(values.value(u"mpris:trackid"_s));
    const QString id = trackId.canConvert<QDBusObjectPath>() ? trackId.value<QDBusObjectPath>().path() : trackId.toString();
    const QString url = unwrapped(values.value(u"xesam:url"_s)).toString();
    // Without an address no track is named: a stopped player's metadata may keep only a fixed track id.
    if (!url.isEmpty())
        m_trackIdentity = id + u'\n' + url;
    bool ok = false;
    const qint64 us = microseconds(values.value(u"mpris:length"_s), &ok);
    return ok ? clampToInt32(us / 1000000) : 0;
}

std::unique_ptr<IPlayerLink> CreateSystemPlayerLink()
{
    return std::make_unique<TMprisLink>(QDBusConnection::sessionBus());
}

#include "MprisLink.moc"
