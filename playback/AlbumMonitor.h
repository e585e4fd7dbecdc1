// AlbumMonitor: what album play does on each tick of its timer and on each change the player announces.
#pragma once

#include "PlayerLink.h"
#include "Records.h"

#include <QString>

class TOpenList;

/// What the window does after a tick or an announced change.
enum class TMonitorAction {
    Nothing,    ///< keep waiting
    PlayFile,   ///< hand FileName to the shell
    Stopped,    ///< the album is over and the monitor is off
    NoPlayer,   ///< no player played the handed track in time: the monitor is off, the user is told
    PlayerGone, ///< the player went in the middle of a track: the monitor is off
};

struct TMonitorStep
{
    TMonitorAction Action = TMonitorAction::Nothing;
    QString FileName;
};

/// The state of album play: the now-playing names and whether the monitor is on.
/// The window runs the timer and calls Tick, and hands on what the player announces to Changed;
/// everything they decide is here. Times are milliseconds of one monotonic clock.
///
/// A player that announces its changes plays each track to its end: the next track starts when the
/// player says the track stopped near its end, moved on to another track or closed near the end.
/// With any other player the next track starts within the last two seconds of the playing one.
class TAlbumMonitor
{
public:
    static constexpr int IntervalMs = 1000;
    /// How long album play waits for a player to start the handed track before it gives up.
    static constexpr qint64 FollowLimitMs = 15000;
    /// A player that plays and still names the same track this long after a hand-over has started it again.
    static constexpr qint64 SameTrackAfterMs = 3000;
    /// A track that stops this close to its length has ended: players stop up to a second before
    /// the length they tell, and a stop between two ticks is only estimated.
    static constexpr qint64 EndSlackMs = 2500;

    bool IsOn() const { return m_on; }
    /// On, for the track just handed to the shell.
    void SwitchOn(IPlayerLink &player, qint64 nowMs);
    void SwitchOff();
    /// A track was just handed to the shell for the player: follow it once it plays, and after its end
    /// go on after the now-playing track.
    void Handed(IPlayerLink &player, qint64 nowMs);

    /// Album and track title of the last track started from the tree or by the monitor.
    const QString &NowPlayingAlbum() const { return m_album; }
    const QString &NowPlayingTrack() const { return m_track; }
    /// A track started from the tree becomes the one the monitor follows. The rows are the album
    /// node's among the albums and the track node's within it (-1 when unknown), so that an album
    /// or a track whose title repeats is followed in its own block.
    void SetNowPlaying(const QString &album, const QString &track, int albumRow = -1, int trackRow = -1);

    /// True within the last two seconds of a track: with s = positionMs / 1000 + 1,
    /// when the length n equals s or s + 1.
    static bool NearTrackEnd(qint32 positionMs, qint32 lengthSeconds);

    /// One tick while on: looks for a player while none is known, then asks it how far it has got.
    /// Does nothing while off. A lookup that fails switches the monitor off and throws on.
    TMonitorStep Tick(IPlayerLink &player, const TOpenList &list, const QString &programFolder, qint64 nowMs);

    /// A change the player announced; does nothing while off.
    TMonitorStep Changed(const TPlayerChange &change, IPlayerLink &player, const TOpenList &list,
                         const QString &programFolder, qint64 nowMs);

    /// The track after the now-playing one in the now-playing album; at the end of the album
    /// (or when the track is gone) sends PlayerStop and switches off. The list's records
    /// (CurrentAlbum, CurrentTrack) stay those of the window's selection.
    TMonitorStep AdvanceToNextTrack(IPlayerLink &player, const TOpenList &list, const QString &programFolder);

private:
    TMonitorStep TickByPosition(IPlayerLink &player, const TOpenList &list, const QString &programFolder);
    TMonitorStep Observe(const TPlayerChange &reading, qint32 positionMs, const TOpenList &list,
                         const QString &programFolder, qint64 nowMs);
    TMonitorStep TrackEnded(const TOpenList &list, const QString &programFolder, qint64 nowMs);
    /// Moves the now-playing track on; false at the end of the album or when the track is gone.
    bool MoveToNextTrack(const TOpenList &list, const QString &programFolder, QString *fileName);
    TMonitorStep Stop(IPlayerLink &player);
    TMonitorStep Off(TMonitorAction action);
    void SetStatus(TPlayStatus status, qint64 nowMs);
    bool PlayedToEnd() const;
    TTrack LookUp(const TOpenList &list, const QString &programFolder) const;

    bool m_on = false;
    QString m_album;
    QString m_track;
    int m_albumRow = -1;
    int m_trackRow = -1;

    // Waiting for the player to start a handed track, and what it played when the track was handed.
    bool m_waiting = false;
    qint64 m_waitingSince = 0;
    QString m_handedIdentity;
    // What the player said last; the position is estimated from the last reading while it plays.
    TPlayStatus m_status = TPlayStatus::Unknown;
    QString m_identity;
    qint32 m_length = 0;
    qint64 m_positionMs = 0;
    qint64 m_positionAt = 0;

    // Without announcements: the reading of the tick that last moved on, kept for the tick after it.
    bool m_justAdvanced = false;
    qint32 m_advancedAtMs = 0;
    qint32 m_advancedLength = 0;
    QString m_advancedIdentity;
};
