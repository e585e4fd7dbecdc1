// AlbumText: the text of album and track blocks composed by the album builder.
#include "AlbumText.h"
