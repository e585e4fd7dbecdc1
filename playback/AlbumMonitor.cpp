// AlbumMonitor: what album play does on each tick of its timer and on each change the player announces.
#include "AlbumMonitor.h"

#include "OpenList.h"
#include "language.h"

using namespace Qt::StringLiterals;

// Looked up on a copy (the lines are shared, not copied): the window's records keep
// belonging to its selection while album play moves through another album.
TTrack TAlbumMonitor::LookUp(const TOpenList &list, const QString &programFolder) const
{
    TOpenList scratch = list;
    if (m_albumRow < 0 || m_trackRow < 0)
        return scratch.ReadTrackRecord(m_album, m_track, programFolder);
    return scratch.ReadTrackRecordAt(m_album, m_albumRow, m_track, m_trackRow, programFolder);
}

void TAlbumMonitor::SwitchOn(IPlayerLink &player, qint64 nowMs)
{
    m_on = true;
    m_justAdvanced = false;
    Handed(player, nowMs);
}

void TAlbumMonitor::SwitchOff()
{
    m_on = false;
    m_justAdvanced = false;
    m_waiting = false;
}

void TAlbumMonitor::Handed(IPlayerLink &player, qint64 nowMs)
{
    m_waiting = true;
    m_waitingSince = nowMs;
    // The player has not had the file yet: what it plays now is not the handed track.
    m_status = TPlayStatus::Unknown;
    m_identity.clear();
    if (player.AnnouncesChanges() && player.PlayerKnown()) {
        m_status = player.PlayerStatus();
        player.PlayerTrackLength();
        m_identity = player.PlayerTrackIdentity();
    }
    m_handedIdentity = m_identity;
}

void TAlbumMonitor::SetNowPlaying(const QString &album, const QString &track, int albumRow, int trackRow)
{
    m_album = album;
    m_track = track;
    m_albumRow = albumRow;
    m_trackRow = trackRow;
}

bool TAlbumMonitor::NearTrackEnd(qint32 positionMs, qint32 lengthSeconds)
{
    // n = s or n - 1 = s, written so that no value overflows.
    const qint64 s = positionMs / 1000 + 1;
    return lengthSeconds == s || lengthSeconds == s + 1;
}

TMonitorStep TAlbumMonitor::Tick(IPlayerLink &player, const TOpenList &list, const QString &programFolder,
                                 qint64 nowMs)
{
    if (!m_on)
        return {};
    // A player the shell starts for the first track needs a while before it can be found.
    if (!player.PlayerKnown() && !player.FindPlayer())
        return m_waiting && nowMs - m_waitingSince >= FollowLimitMs ? Off(TMonitorAction::NoPlayer) : TMonitorStep();
    if (!player.AnnouncesChanges()) {
        m_waiting = false;
        return TickByPosition(player, list, programFolder);
    }
    // The same as an announcement, with the position, which players do not announce.
    TPlayerChange reading;
    reading.Status = player.PlayerStatus();
    const qint32 position = player.PlayerPositionMs();
    reading.LengthSeconds = player.PlayerTrackLength();
    reading.Identity = player.PlayerTrackIdentity();
    return Observe(reading, position, list, programFolder, nowMs);
}

TMonitorStep TAlbumMonitor::Changed(const TPlayerChange &change, IPlayerLink &, const TOpenList &list,
                                    const QString &programFolder, qint64 nowMs)
{
    if (!m_on)
        return {};
    if (!change.Vanished)
        return Observe(change, -1, list, programFolder, nowMs);
    // Waiting, the player that went is the one of the track before; the next tick looks for another.
    if (m_waiting)
        return {};
    SetStatus(TPlayStatus::Stopped, nowMs);
    // Some players close at the end of their track.
    return PlayedToEnd() ? TrackEnded(list, programFolder, nowMs) : Off(TMonitorAction::PlayerGone);
}

TMonitorStep TAlbumMonitor::Observe(const TPlayerChange &reading, qint32 positionMs, const TOpenList &list,
                                    const QString &programFolder, qint64 nowMs)
{
    const TPlayStatus before = m_status;
    if (reading.Status != TPlayStatus::Unknown)
        SetStatus(reading.Status, nowMs);
    const bool tellsTrack = !reading.Identity.isEmpty();
    const bool otherTrack = tellsTrack && reading.Identity != m_identity;
    if (tellsTrack) {
        m_identity = reading.Identity;
        m_length = reading.LengthSeconds;
    }
    if (m_waiting) {
        // A player may say it plays before it names the new track.
        if (m_status == TPlayStatus::Playing
            && (m_identity != m_handedIdentity || nowMs - m_waitingSince >= SameTrackAfterMs)) {
            // The handed track plays: follow it from here.
            m_waiting = false;
            m_positionMs = qMax(positionMs, 0);
            m_positionAt = nowMs;
            return {};
        }
        return nowMs - m_waitingSince >= FollowLimitMs ? Off(TMonitorAction::NoPlayer) : TMonitorStep();
    }
    // A player that stops on its own at the end of a track, or moves on to its next one.
    if (otherTrack || (before != TPlayStatus::Stopped && m_status == TPlayStatus::Stopped && PlayedToEnd()))
        return TrackEnded(list, programFolder, nowMs);
    if (positionMs >= 0 && reading.Status != TPlayStatus::Unknown) {
        m_positionMs = positionMs;
        m_positionAt = nowMs;
    }
    return {};
}

void TAlbumMonitor::SetStatus(TPlayStatus status, qint64 nowMs)
{
    if (m_status == TPlayStatus::Playing)
        m_positionMs += nowMs - m_positionAt;
    m_positionAt = nowMs;
    m_status = status;
}

bool TAlbumMonitor::PlayedToEnd() const
{
    // Without a length, any stop may be the end.
    return m_length <= 0 || m_positionMs >= qint64(m_length) * 1000 - EndSlackMs;
}

TMonitorStep TAlbumMonitor::TrackEnded(const TOpenList &list, const QString &programFolder, qint64 nowMs)
{
    QString fileName;
    // The album's last track is over by itself: the player is not sent stop.
    if (!MoveToNextTrack(list, programFolder, &fileName) || language::Trim(fileName).isEmpty())
        return Off(TMonitorAction::Stopped);
    m_waiting = true;
    m_waitingSince = nowMs;
    m_handedIdentity = m_identity;
    return { TMonitorAction::PlayFile, fileName };
}

TMonitorStep TAlbumMonitor::TickByPosition(IPlayerLink &player, const TOpenList &list, const QString &programFolder)
{
    const qint32 position = player.PlayerPositionMs();
    const qint32 length = player.PlayerTrackLength();
    const QString identity = player.PlayerTrackIdentity();
    // The last two seconds usually hold two ticks. When the tick after a move still reads the
    // same track, the player has not switched yet: moving again would skip a track. The player's
    // track identity tells; without one, the same length and a position no earlier do, which two
    // short tracks of one length can fool (the new track's only tick would be passed over).
    const bool sameTrackAsBefore = m_justAdvanced
        && (!identity.isEmpty() && !m_advancedIdentity.isEmpty()
                ? identity == m_advancedIdentity
                : length == m_advancedLength && position >= m_advancedAtMs);
    m_justAdvanced = false;
    if (sameTrackAsBefore || !NearTrackEnd(position, length))
        return {};
    const TMonitorStep step = AdvanceToNextTrack(player, list, programFolder);
    if (step.Action != TMonitorAction::Stopped) {
        m_justAdvanced = true;
        m_advancedAtMs = position;
        m_advancedLength = length;
        m_advancedIdentity = identity;
    }
    return step;
}

TMonitorStep TAlbumMonitor::AdvanceToNextTrack(IPlayerLink &player, const TOpenList &list,
                                               const QString &programFolder)
{
    QString fileName;
    if (!MoveToNextTrack(list, programFolder, &fileName))
        return Stop(player);
    if (language::Trim(fileName).isEmpty())
        return {};
    return { TMonitorAction::PlayFile, fileName };
}

bool TAlbumMonitor::MoveToNextTrack(const TOpenList &list, const QString &programFolder, QString *fileName)
{
    try {
        const TTrack playing = LookUp(list, programFolder);
        if (playing.LineIndex < 0 || playing.LineIndex + 4 >= list.ListLines.size())
            return false;
        // The line after the track's block: the next track, or the album's end line.
        const QString &next = list.ListLines.at(playing.LineIndex + 4);
        if (!next.contains(u"track"_s))
            return false;
        m_track = language::Trim(language::CutSubstring(next, u"track:"_s));
        if (m_trackRow >= 0)
            ++m_trackRow;
        *fileName = LookUp(list, programFolder).FileName;
        return true;
    } catch (...) {
        // A broken list would otherwise report the same failure every second.
        SwitchOff();
        throw;
    }
}

TMonitorStep TAlbumMonitor::Stop(IPlayerLink &player)
{
    player.PlayerStop();
    return Off(TMonitorAction::Stopped);
}

TMonitorStep TAlbumMonitor::Off(TMonitorAction action)
{
    SwitchOff();
    return { action, QString() };
}
