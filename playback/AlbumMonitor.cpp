// AlbumMonitor: what album play does on each tick of its timer.
#include "AlbumMonitor.h"

#include "OpenList.h"
#include "PlayerLink.h"
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

void TAlbumMonitor::SwitchOn()
{
    m_on = true;
    m_justAdvanced = false;
}

void TAlbumMonitor::SwitchOff()
{
    m_on = false;
    m_justAdvanced = false;
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

TMonitorStep TAlbumMonitor::Tick(IPlayerLink &player, const TOpenList &list, const QString &programFolder)
{
    if (!m_on)
        return {};
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
    TMonitorStep step;
    try {
        step = AdvanceToNextTrack(player, list, programFolder);
    } catch (...) {
        // A broken list would otherwise report the same failure every second.
        SwitchOff();
        throw;
    }
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
    const TTrack playing = LookUp(list, programFolder);
    if (playing.LineIndex < 0 || playing.LineIndex + 4 >= list.ListLines.size())
        return Stop(player);
    // The line after the track's block: the next track, or the album's end line.
    const QString &next = list.ListLines.at(playing.LineIndex + 4);
    if (!next.contains(u"track"_s))
        return Stop(player);
    m_track = language::Trim(language::CutSubstring(next, u"track:"_s));
    if (m_trackRow >= 0)
        ++m_trackRow;
    const TTrack track = LookUp(list, programFolder);
    if (language::Trim(track.FileName).isEmpty())
        return {};
    return { TMonitorAction::PlayFile, track.FileName };
}

TMonitorStep TAlbumMonitor::Stop(IPlayerLink &player)
{
    player.PlayerStop();
    SwitchOff();
    return { TMonitorAction::Stopped, QString() };
}
