// AlbumMonitor: what album play does on each tick of its timer.
#pragma once

#include "Records.h"

#include <QString>

class IPlayerLink;
class TOpenList;

/// What the window does after a tick.
enum class TMonitorAction {
    Nothing,  ///< keep waiting
    PlayFile, ///< hand FileName to the shell
    Stopped,  ///< the album is over: the player was sent stop and the monitor is off
};

struct TMonitorStep
{
    TMonitorAction Action = TMonitorAction::Nothing;
    QString FileName;
};

/// The state of album play: the now-playing names and whether the monitor is on.
/// The window runs the timer and calls Tick; everything the tick decides is here.
class TAlbumMonitor
{
public:
    static constexpr int IntervalMs = 1000;

    bool IsOn() const { return m_on; }
    void SwitchOn();
    void SwitchOff();

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

    /// One tick while on: asks the player for position and length and near the end moves on.
    /// Does nothing while off. A lookup that fails switches the monitor off and throws on.
    TMonitorStep Tick(IPlayerLink &player, const TOpenList &list, const QString &programFolder);

    /// The track after the now-playing one in the now-playing album; at the end of the album
    /// (or when the track is gone) sends PlayerStop and switches off. The list's records
    /// (CurrentAlbum, CurrentTrack) stay those of the window's selection.
    TMonitorStep AdvanceToNextTrack(IPlayerLink &player, const TOpenList &list, const QString &programFolder);

private:
    TMonitorStep Stop(IPlayerLink &player);

    bool m_on = false;
    TTrack LookUp(const TOpenList &list, const QString &programFolder) const;

    QString m_album;
    QString m_track;
    int m_albumRow = -1;
    int m_trackRow = -1;
    // The reading of the tick that last moved on, kept for the one tick after it.
    bool m_justAdvanced = false;
    qint32 m_advancedAtMs = 0;
    qint32 m_advancedLength = 0;
    QString m_advancedIdentity;
};
