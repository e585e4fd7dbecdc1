// WinampWindow: the player link as plain Win32 calls, one window message per operation.
#pragma once

#include <cstdint>

namespace winamp {

/// How long one message waits for the player; a player that does not answer in time is given up.
inline constexpr unsigned TimeoutMs = 500;

/// Looks up the first top-level window of the player's class and keeps it for every later call
/// (process-wide); true when found. Nothing else looks the window up again.
bool FindPlayer();

// Commands to the kept window; without a window, or when it is gone or hung, they do nothing.
void PlayerPlay();
void PlayerPause();
void PlayerStop();
void PlayerVolumeUp();
void PlayerVolumeDown();

/// Position in the current track in milliseconds; 0 without an answer in time.
std::int32_t PlayerPositionMs();
/// Length of the current track in whole seconds; 0 without an answer in time.
std::int32_t PlayerTrackLength();

} // namespace winamp
