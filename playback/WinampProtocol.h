// WinampProtocol: the window class and the messages the player's main window understands.
#pragma once

namespace WinampProtocol {

/// Window class of the player's main window (any caption).
inline constexpr char WindowClass[] = "Winamp v1.x";

/// Window message numbers, as the window system defines them.
inline constexpr unsigned WmCommand = 0x0111;
inline constexpr unsigned WmUser = 0x0400;

/// One window message: number, wParam and lParam.
struct TMessage
{
    unsigned Message;
    unsigned WParam;
    int LParam;
};

// Transport commands: menu command numbers of the player's window; their answers mean nothing.
inline constexpr TMessage Play { WmCommand, 40045, 0 };
inline constexpr TMessage Pause { WmCommand, 40046, 0 };
inline constexpr TMessage Stop { WmCommand, 40047, 0 };
inline constexpr TMessage VolumeUp { WmCommand, 40058, 0 };
inline constexpr TMessage VolumeDown { WmCommand, 40059, 0 };

// Queries: request 105 (output time) in lParam, the mode in wParam; the answer is the message's result.
inline constexpr int RequestOutputTime = 105;
/// Position in the current track, in milliseconds.
inline constexpr TMessage PositionMs { WmUser, 0, RequestOutputTime };
/// Length of the current track, in whole seconds.
inline constexpr TMessage TrackLength { WmUser, 1, RequestOutputTime };

} // namespace WinampProtocol
