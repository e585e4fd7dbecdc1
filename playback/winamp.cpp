// winamp: the player link of the program, handed on to the plain Win32 calls of WinampWindow.
#include "winamp.h"

#include "WinampWindow.h"

bool TWinampLink::FindPlayer()
{
    m_known = winamp::FindPlayer();
    return m_known;
}
void TWinampLink::PlayerPlay()
{
    winamp::PlayerPlay();
}
void TWinampLink::PlayerPause()
{
    winamp::PlayerPause();
}
void TWinampLink::PlayerStop()
{
    winamp::PlayerStop();
}
void TWinampLink::PlayerVolumeUp()
{
    winamp::PlayerVolumeUp();
}
void TWinampLink::PlayerVolumeDown()
{
    winamp::PlayerVolumeDown();
}
qint32 TWinampLink::PlayerPositionMs()
{
    return winamp::PlayerPositionMs();
}
qint32 TWinampLink::PlayerTrackLength()
{
    return winamp::PlayerTrackLength();
}

std::unique_ptr<IPlayerLink> CreateSystemPlayerLink()
{
    return std::make_unique<TWinampLink>();
}
