// UndecodableNames on Windows: names are UTF-16, and Qt lists every one.
#include "UndecodableNames.h"

QList<TUndecodableEntry> UndecodableEntries(const QString &)
{
    return {};
}
