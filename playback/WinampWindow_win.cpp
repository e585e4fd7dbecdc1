// WinampWindow_win: finds the player's window by its class and sends it one message per operation.
#include "WinampWindow.h"

#include "WinampProtocol.h"

#include <windows.h>

static_assert(WinampProtocol::WmCommand == WM_COMMAND && WinampProtocol::WmUser == WM_USER);

namespace winamp {

namespace {
// The player's window, zero until found; one for the whole process.
HWND PlayerWindow = nullptr;

// A plain SendMessage would wait for ever on a hung player and freeze the caller's window with it.
std::int32_t Send(const WinampProtocol::TMessage &m)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(PlayerWindow, m.Message, m.WParam, m.LParam, SMTO_ABORTIFHUNG, TimeoutMs, &result))
        return 0;
    return static_cast<std::int32_t>(result);
}
} // namespace

bool FindPlayer()
{
    PlayerWindow = FindWindowA(WinampProtocol::WindowClass, nullptr);
    return PlayerWindow != nullptr;
}

void PlayerPlay()
{
    Send(WinampProtocol::Play);
}
void PlayerPause()
{
    Send(WinampProtocol::Pause);
}
void PlayerStop()
{
    Send(WinampProtocol::Stop);
}
void PlayerVolumeUp()
{
    Send(WinampProtocol::VolumeUp);
}
void PlayerVolumeDown()
{
    Send(WinampProtocol::VolumeDown);
}
std::int32_t PlayerPositionMs()
{
    return Send(WinampProtocol::PositionMs);
}
std::int32_t PlayerTrackLength()
{
    return Send(WinampProtocol::TrackLength);
}

} // namespace winamp
