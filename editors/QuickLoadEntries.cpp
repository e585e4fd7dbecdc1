// QuickLoadEntries: building and editing the entries of the quick-load index.
#include "QuickLoadEntries.h"
