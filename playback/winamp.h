// winamp: the player link through the player's main window, found by its window class.
#pragma once

#include "PlayerLink.h"
