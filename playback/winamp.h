// winamp: the player link through the player's main window, found by its window class.
#pragma once

#include "PlayerLink.h"

/// Sends each command and query as one window message to the window FindPlayer found last
/// (WinampWindow.h). Every message waits at most winamp::TimeoutMs; a query without an answer
/// in time gives 0.
class TWinampLink : public IPlayerLink
{
public:
    bool FindPlayer() override;
    /// True when the last FindPlayer found a window; a window closed since is not noticed.
    bool PlayerKnown() const override { return m_known; }
    void PlayerPlay() override;
    void PlayerPause() override;
    void PlayerStop() override;
    void PlayerVolumeUp() override;
    void PlayerVolumeDown() override;
    qint32 PlayerPositionMs() override;
    qint32 PlayerTrackLength() override;

private:
    bool m_known = false;
};
