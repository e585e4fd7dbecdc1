// ListSearch: finding an album or a track of the open list by a fragment of its name.
#pragma once
