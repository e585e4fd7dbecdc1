// MprisLink: the player link over MPRIS 2 on the session bus.
#include "MprisLink.h"

namespace {
// Until the bus link is in place no player is ever found.
class TNoPlayer : public IPlayerLink
{
public:
    bool FindPlayer() override { return false; }
    void PlayerPlay() override {}
    void PlayerPause() override {}
    void PlayerStop() override {}
    void PlayerVolumeUp() override {}
    void PlayerVolumeDown() override {}
    qint32 PlayerPositionMs() override { return 0; }
    qint32 PlayerTrackLength() override { return 0; }
};
} // namespace

std::unique_ptr<IPlayerLink> CreateSystemPlayerLink()
{
    return std::make_unique<TNoPlayer>();
}
