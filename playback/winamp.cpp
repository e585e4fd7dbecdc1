// winamp: the player link through the player main window messages.
#include "winamp.h"
