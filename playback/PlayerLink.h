// PlayerLink: the remote control of the external player, and a recording fake for tests.
#pragma once

#include <QStringList>
#include <QtGlobal>
#include <memory>

/// One external player: found by FindPlayer, then sent commands and asked for position and length.
/// A missing or vanished player ignores commands and answers 0.
class IPlayerLink
{
public:
    virtual ~IPlayerLink() = default;
    /// Looks for the player and keeps it as the target of every later call; true when found.
    virtual bool FindPlayer() = 0;
    virtual void PlayerPlay() = 0;
    virtual void PlayerPause() = 0;
    virtual void PlayerStop() = 0;
    virtual void PlayerVolumeUp() = 0;
    virtual void PlayerVolumeDown() = 0;
    /// Position in the current track, in milliseconds.
    virtual qint32 PlayerPositionMs() = 0;
    /// Length of the current track, in whole seconds.
    virtual qint32 PlayerTrackLength() = 0;
    /// What names the track whose length was asked last and changes with it (a player's track id and
    /// address); empty when the player tells none.
    virtual QString PlayerTrackIdentity() { return QString(); }
};

/// The link of the platform the program runs on.
std::unique_ptr<IPlayerLink> CreateSystemPlayerLink();

/// Records the calls by name and answers what the test sets.
class TRecordingPlayerLink : public IPlayerLink
{
public:
    QStringList Calls;
    bool Found = false;
    qint32 PositionMs = 0;
    qint32 TrackLength = 0;
    QString TrackIdentity;

    bool FindPlayer() override { Calls.append(QStringLiteral("FindPlayer")); return Found; }
    void PlayerPlay() override { Calls.append(QStringLiteral("PlayerPlay")); }
    void PlayerPause() override { Calls.append(QStringLiteral("PlayerPause")); }
    void PlayerStop() override { Calls.append(QStringLiteral("PlayerStop")); }
    void PlayerVolumeUp() override { Calls.append(QStringLiteral("PlayerVolumeUp")); }
    void PlayerVolumeDown() override { Calls.append(QStringLiteral("PlayerVolumeDown")); }
    qint32 PlayerPositionMs() override { Calls.append(QStringLiteral("PlayerPositionMs")); return PositionMs; }
    qint32 PlayerTrackLength() override { Calls.append(QStringLiteral("PlayerTrackLength")); return TrackLength; }
    QString PlayerTrackIdentity() override { return TrackIdentity; }
};
