// MprisLink: the player link over MPRIS 2 on the session bus.
#pragma once

#include "PlayerLink.h"
