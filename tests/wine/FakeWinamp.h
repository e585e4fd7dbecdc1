// FakeWinamp: how the tests steer the stand-in player, beyond the messages of the real one.
#pragma once

#include <windows.h>

namespace FakeWinamp {

/// wParam: index; answers the wParam of the index-th WM_COMMAND received (-2 when its lParam
/// was not 0), or -1 past the last one.
constexpr UINT Recorded = WM_APP + 1;
/// wParam: query mode (0 position, 1 length); lParam: the answer to give from now on.
constexpr UINT SetAnswer = WM_APP + 2;
/// Stops answering until the release event is set (posted, never sent).
constexpr UINT Hang = WM_APP + 3;

// Named events: base + suffix, the base given as the fake's only argument.
constexpr wchar_t Ready[] = L".ready";
constexpr wchar_t Hung[] = L".hung";
constexpr wchar_t Release[] = L".release";
constexpr wchar_t Resumed[] = L".resumed";

} // namespace FakeWinamp
