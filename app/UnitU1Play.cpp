// UnitU1Play: playing tracks and whole albums from the tree, and the player's transport strip.
#include "UnitU1.h"

void TForm1::ConnectPlayback()
{
}
