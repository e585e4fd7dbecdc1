// winamp: the player link through the player main window messages.
#include "winamp.h"

#include <windows.h>

namespace {
// The player's window, zero until found; one for the whole process.
HWND PlayerWindow = nullptr;

constexpr WPARAM CommandPlay = 40045;
constexpr WPARAM CommandPause = 40046;
constexpr WPARAM CommandStop = 40047;
constexpr WPARAM CommandVolumeUp = 40058;
constexpr WPARAM CommandVolumeDown = 40059;
constexpr LPARAM RequestOutputTime = 105;
constexpr WPARAM OutputTimePositionMs = 0;
constexpr WPARAM OutputTimeLengthSeconds = 1;

// One message to the player; a player that does not answer in time holds the program up no longer.
LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(PlayerWindow, message, wParam, lParam, SMTO_ABORTIFHUNG, TWinampLink::TimeoutMs,
                             &result))
        return 0;
    return static_cast<LRESULT>(result);
}
} // namespace

bool TWinampLink::FindPlayer()
{
    PlayerWindow = FindWindowA("Winamp v1.x", nullptr);
    return PlayerWindow != nullptr;
}

void TWinampLink::PlayerPlay()
{
    Send(WM_COMMAND, CommandPlay, 0);
}

void TWinampLink::PlayerPause()
{
    Send(WM_COMMAND, CommandPause, 0);
}

void TWinampLink::PlayerStop()
{
    Send(WM_COMMAND, CommandStop, 0);
}

void TWinampLink::PlayerVolumeUp()
{
    Send(WM_COMMAND, CommandVolumeUp, 0);
}

void TWinampLink::PlayerVolumeDown()
{
    Send(WM_COMMAND, CommandVolumeDown, 0);
}

qint32 TWinampLink::PlayerPositionMs()
{
    return static_cast<qint32>(Send(WM_USER, OutputTimePositionMs, RequestOutputTime));
}

qint32 TWinampLink::PlayerTrackLength()
{
    return static_cast<qint32>(Send(WM_USER, OutputTimeLengthSeconds, RequestOutputTime));
}

std::unique_ptr<IPlayerLink> CreateSystemPlayerLink()
{
    return std::make_unique<TWinampLink>();
}
