// ListEdits: deleting, renaming and rewriting albums and tracks in the lines of the open list.
#pragma once
