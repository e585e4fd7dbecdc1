// fake_winamp: a stand-in for the player, with a hidden top-level window of its class, that
// records the commands it gets and answers the two output-time queries.
#include "FakeWinamp.h"

#include <string>
#include <vector>

namespace {

std::vector<LRESULT> Commands;
LRESULT Answers[2] = { 0, 0 };
HANDLE HungEvent, ReleaseEvent, ResumedEvent;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        Commands.push_back(lParam == 0 ? LRESULT(wParam) : -2);
        return 0;
    case WM_USER:
        return lParam == 105 && wParam < 2 ? Answers[wParam] : 0;
    case FakeWinamp::Recorded:
        return wParam < Commands.size() ? Commands[wParam] : -1;
    case FakeWinamp::SetAnswer:
        Answers[wParam & 1] = lParam;
        return 0;
    case FakeWinamp::Hang:
        SetEvent(HungEvent);
        WaitForSingleObject(ReleaseEvent, 60000);
        SetEvent(ResumedEvent);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HANDLE Event(const std::wstring &base, const wchar_t *suffix)
{
    return CreateEventW(nullptr, TRUE, FALSE, (base + suffix).c_str());
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2)
        return 2;
    const std::wstring base = argv[1];
    HungEvent = Event(base, FakeWinamp::Hung);
    ReleaseEvent = Event(base, FakeWinamp::Release);
    ResumedEvent = Event(base, FakeWinamp::Resumed);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Winamp v1.x";
    if (!RegisterClassA(&windowClass))
        return 3;
    // Top-level and never shown: found by its class like the real player's main window.
    if (!CreateWindowExA(0, "Winamp v1.x", "Fake player", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
            windowClass.hInstance, nullptr))
        return 4;
    SetEvent(Event(base, FakeWinamp::Ready));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
