// test_winamp: the player link against a stand-in player in a process of its own.
#include "FakeWinamp.h"
#include "WineTest.h"

#include "ProgramFile.h"
#include "WinampWindow.h"

#include <string>

namespace {

// The stand-in player, started and steered by the tests.
class TFakePlayer
{
public:
    TFakePlayer()
        : m_base(L"KestruneFakeWinamp" + std::to_wstring(GetCurrentProcessId()))
    {
    }
    ~TFakePlayer()
    {
        SetEvent(m_release);
        if (m_process.hProcess && WaitForSingleObject(m_process.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
        for (HANDLE h : { m_process.hProcess, m_process.hThread, m_ready, m_hung, m_release, m_resumed })
            if (h)
                CloseHandle(h);
    }

    bool Start()
    {
        std::wstring command = L"\"" + ProgramFile::Folder() + L"fake_winamp.exe\" " + m_base;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        return CreateProcessW(
                   nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process)
            && WaitForSingleObject(m_ready, 10000) == WAIT_OBJECT_0 && (m_window = FindWindowA("Winamp v1.x", nullptr));
    }

    // The command numbers the player received, in order, each after a blank.
    std::string Commands() const
    {
        std::string numbers;
        LRESULT n;
        for (WPARAM i = 0; (n = SendMessageW(m_window, FakeWinamp::Recorded, i, 0)) != -1; ++i)
            numbers += " " + std::to_string(n);
        return numbers;
    }

    void Answer(std::int32_t positionMs, std::int32_t lengthSeconds) const
    {
        SendMessageW(m_window, FakeWinamp::SetAnswer, 0, positionMs);
        SendMessageW(m_window, FakeWinamp::SetAnswer, 1, lengthSeconds);
    }

    // Makes the player stop answering; true once it has.
    bool Hang() const
    {
        return PostMessageW(m_window, FakeWinamp::Hang, 0, 0) && WaitForSingleObject(m_hung, 10000) == WAIT_OBJECT_0;
    }
    bool StillHung() const { return WaitForSingleObject(m_resumed, 0) == WAIT_TIMEOUT; }
    bool Resume() const { return SetEvent(m_release) && WaitForSingleObject(m_resumed, 10000) == WAIT_OBJECT_0; }

    // Closes the player's window and waits for its process to end.
    bool Close() const
    {
        return PostMessageW(m_window, WM_CLOSE, 0, 0)
            && WaitForSingleObject(m_process.hProcess, 10000) == WAIT_OBJECT_0;
    }

private:
    HANDLE Event(const wchar_t *suffix) const { return CreateEventW(nullptr, TRUE, FALSE, (m_base + suffix).c_str()); }

    std::wstring m_base;
    HANDLE m_ready = Event(FakeWinamp::Ready);
    HANDLE m_hung = Event(FakeWinamp::Hung);
    HANDLE m_release = Event(FakeWinamp::Release);
    HANDLE m_resumed = Event(FakeWinamp::Resumed);
    PROCESS_INFORMATION m_process = {};
    HWND m_window = nullptr;
};

void SendAllCommands()
{
    winamp::PlayerPlay();
    winamp::PlayerPause();
    winamp::PlayerStop();
    winamp::PlayerVolumeUp();
    winamp::PlayerVolumeDown();
}

} // namespace

void TestWinamp()
{
    WineTest::Group("player link: no player running");
    CHECK(!FindWindowA("Winamp v1.x", nullptr));
    CHECK(!winamp::FindPlayer());
    SendAllCommands();
    CHECK_EQUAL(winamp::PlayerPositionMs(), 0);
    CHECK_EQUAL(winamp::PlayerTrackLength(), 0);

    WineTest::Group("player link: a player started later");
    TFakePlayer player;
    CHECK(player.Start());
    CHECK(winamp::FindPlayer());

    WineTest::Group("player link: the five commands");
    SendAllCommands();
    CHECK_EQUAL(player.Commands(), " 40045 40046 40047 40058 40059");

    WineTest::Group("player link: position and length queries");
    const struct
    {
        std::int32_t positionMs, lengthSeconds;
    } answers[] = { { 183500, 241 }, { -1, -1 }, { 2147483647, 0 } };
    for (const auto &answer : answers) {
        player.Answer(answer.positionMs, answer.lengthSeconds);
        CHECK_EQUAL(winamp::PlayerPositionMs(), answer.positionMs);
        CHECK_EQUAL(winamp::PlayerTrackLength(), answer.lengthSeconds);
    }
    // Queries send no commands.
    CHECK_EQUAL(player.Commands(), " 40045 40046 40047 40058 40059");

    WineTest::Group("player link: a hung player");
    player.Answer(5000, 300);
    CHECK(player.Hang());
    CHECK_EQUAL(winamp::PlayerPositionMs(), 0);
    CHECK_EQUAL(winamp::PlayerTrackLength(), 0);
    winamp::PlayerStop();
    // The link gave up waiting: the player had not answered anything yet.
    CHECK(player.StillHung());
    CHECK(player.Resume());
    CHECK_EQUAL(winamp::PlayerPositionMs(), 5000);

    WineTest::Group("player link: the player gone");
    CHECK(player.Close());
    SendAllCommands();
    CHECK_EQUAL(winamp::PlayerPositionMs(), 0);
    CHECK_EQUAL(winamp::PlayerTrackLength(), 0);
    CHECK(!winamp::FindPlayer());
}
