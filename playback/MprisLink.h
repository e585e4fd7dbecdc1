// MprisLink: the player link over MPRIS 2 on the session bus.
#pragma once

#include "PlayerLink.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QString>
#include <memory>

class QDBusMessage;
class TMprisProperties;

/// Drives the first MPRIS 2 player the bus lists. Commands are sent without waiting for an
/// answer; queries wait at most TimeoutMs and answer 0 when the player is gone or silent.
/// What the player announces (PropertiesChanged of its status and track) and its leaving the bus
/// go to the change handler as they come.
class TMprisLink : public IPlayerLink
{
public:
    static constexpr int TimeoutMs = 500;
    /// How much one volume command changes the Volume property (0 to 1).
    static constexpr double VolumeStep = 0.05;

    /// timeoutMs: how long a query waits (tests on a loaded machine give a player longer).
    explicit TMprisLink(const QDBusConnection &bus, int timeoutMs = TimeoutMs);
    ~TMprisLink() override;

    bool FindPlayer() override;
    bool PlayerKnown() const override { return !m_player.isEmpty(); }
    void PlayerPlay() override;
    void PlayerPause() override;
    void PlayerStop() override;
    void PlayerVolumeUp() override;
    void PlayerVolumeDown() override;
    qint32 PlayerPositionMs() override;
    qint32 PlayerTrackLength() override;
    /// The "mpris:trackid" and "xesam:url" of the metadata read or announced last.
    QString PlayerTrackIdentity() override { return m_trackIdentity; }
    TPlayStatus PlayerStatus() override;
    bool AnnouncesChanges() const override { return true; }

    /// The bus name FindPlayer kept, or empty when it found none or the player has gone since.
    const QString &PlayerName() const { return m_player; }

private:
    void Follow(const QString &name);
    void PropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
    void PlayerLeft(const QString &name);
    void Command(const QString &method);
    void ChangeVolume(double delta);
    /// The value of a property of the player interface; invalid when there is no answer in time.
    QVariant Property(const QString &name);
    QDBusMessage Call(const QDBusMessage &message);
    /// Length in whole seconds of a metadata map, keeping its track identity.
    qint32 TakeTrack(const QVariant &metadata);

    QDBusConnection m_bus;
    QString m_player;
    int m_timeoutMs;
    QString m_trackIdentity;
    QDBusServiceWatcher m_watcher;
    std::unique_ptr<TMprisProperties> m_properties;
};
