// AlbumMonitor: what album play does on each tick of its timer.
#pragma once
