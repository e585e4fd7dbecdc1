// winamp: the player link through the player's main window, found by its window class.
#pragma once

#include "PlayerLink.h"

/// Sends each command and query as one window message to the window FindPlayer found last.
/// Every message waits at most TimeoutMs; a query without an answer in time gives 0.
class TWinampLink : public IPlayerLink
{
public:
    static constexpr unsigned TimeoutMs = 500;

    bool FindPlayer() override;
    void PlayerPlay() override;
    void PlayerPause() override;
    void PlayerStop() override;
    void PlayerVolumeUp() override;
    void PlayerVolumeDown() override;
    qint32 PlayerPositionMs() override;
    qint32 PlayerTrackLength() override;
};
