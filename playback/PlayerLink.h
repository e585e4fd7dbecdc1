// PlayerLink: the remote control of the external player, and a recording fake for tests.
#pragma once

#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <memory>

/// What a player says it is doing.
enum class TPlayStatus { Unknown, Playing, Paused, Stopped };

/// A change a player announced of its own accord. Status stays Unknown when the status was not
/// part of it; an empty Identity means the track was not.
struct TPlayerChange
{
    TPlayStatus Status = TPlayStatus::Unknown;
    QString Identity;
    qint32 LengthSeconds = 0; ///< of the announced track
    bool Vanished = false;    ///< the player has gone from the desktop
};

/// One external player: found by FindPlayer, then sent commands and asked for position and length.
/// A missing or vanished player ignores commands and answers 0.
class IPlayerLink
{
public:
    virtual ~IPlayerLink() = default;
    /// Looks for the player and keeps it as the target of every later call; true when found.
    virtual bool FindPlayer() = 0;
    /// True while the player FindPlayer found last is known to be there.
    virtual bool PlayerKnown() const = 0;
    virtual void PlayerPlay() = 0;
    virtual void PlayerPause() = 0;
    virtual void PlayerStop() = 0;
    virtual void PlayerVolumeUp() = 0;
    virtual void PlayerVolumeDown() = 0;
    /// Position in the current track, in milliseconds.
    virtual qint32 PlayerPositionMs() = 0;
    /// Length of the current track, in whole seconds.
    virtual qint32 PlayerTrackLength() = 0;
    /// What names the track whose length was asked or announced last and changes with it (a player's
    /// track id and address); empty when the player tells none.
    virtual QString PlayerTrackIdentity() { return QString(); }
    /// Asks whether the player plays, pauses or stops; Unknown when it cannot tell.
    virtual TPlayStatus PlayerStatus() { return TPlayStatus::Unknown; }
    /// True when the player announces each change of status and track, and its going, as it happens.
    virtual bool AnnouncesChanges() const { return false; }

    /// Told every change the player announces (only links that announce changes call it).
    void SetChangeHandler(std::function<void(const TPlayerChange &)> handler) { m_changed = std::move(handler); }

protected:
    void Announce(const TPlayerChange &change) const
    {
        if (m_changed)
            m_changed(change);
    }

private:
    std::function<void(const TPlayerChange &)> m_changed;
};

/// The link of the platform the program runs on.
std::unique_ptr<IPlayerLink> CreateSystemPlayerLink();

/// Records the calls by name and, while a player is known, answers what the test sets; a player that
/// announces changes is scripted with Say.
class TRecordingPlayerLink : public IPlayerLink
{
public:
    QStringList Calls;
    bool Found = false;  ///< what the next FindPlayer finds
    bool Known = false;  ///< what FindPlayer found last
    bool Announcing = false;
    TPlayStatus Status = TPlayStatus::Unknown;
    qint32 PositionMs = 0;
    qint32 TrackLength = 0;
    QString TrackIdentity;

    bool FindPlayer() override
    {
        Calls.append(QStringLiteral("FindPlayer"));
        return Known = Found;
    }
    bool PlayerKnown() const override { return Known; }
    void PlayerPlay() override { Calls.append(QStringLiteral("PlayerPlay")); }
    void PlayerPause() override { Calls.append(QStringLiteral("PlayerPause")); }
    void PlayerStop() override { Calls.append(QStringLiteral("PlayerStop")); }
    void PlayerVolumeUp() override { Calls.append(QStringLiteral("PlayerVolumeUp")); }
    void PlayerVolumeDown() override { Calls.append(QStringLiteral("PlayerVolumeDown")); }
    qint32 PlayerPositionMs() override
    {
        Calls.append(QStringLiteral("PlayerPositionMs"));
        return Known ? PositionMs : 0;
    }
    qint32 PlayerTrackLength() override
    {
        Calls.append(QStringLiteral("PlayerTrackLength"));
        return Known ? TrackLength : 0;
    }
    QString PlayerTrackIdentity() override { return Known ? TrackIdentity : QString(); }
    TPlayStatus PlayerStatus() override { return Known ? Status : TPlayStatus::Unknown; }
    bool AnnouncesChanges() const override { return Announcing; }

    /// The player announces a change, which it also answers from then on.
    void Say(const TPlayerChange &change)
    {
        if (change.Status != TPlayStatus::Unknown)
            Status = change.Status;
        if (!change.Identity.isEmpty()) {
            TrackIdentity = change.Identity;
            TrackLength = change.LengthSeconds;
        }
        if (change.Vanished)
            Known = Found = false;
        Announce(change);
    }
};
