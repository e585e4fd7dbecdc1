// QuickLoad: splitting main.lis entries into display name and list file, and reading the index.
#include "LinesFile.h"
#include "OpenList.h"
#include "Paths.h"
#include "language.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace QuickLoad {

TQuickLoadEntry SplitEntry(const QString &line)
{
    TQuickLoadEntry entry;
    entry.Name = language::StripDelimited(u"{"_s, u'}', line);
    // After the first "{" (or from the start without one) up to, not including, the last character.
    const qsizetype from = language::Pos(u"{"_s, line); // 1-based position = 0-based start after it
    const qsizetype length = line.size() - 1 - from;
    if (length > 0)
        entry.File = line.mid(from, length);
    return entry;
}

TQuickLoadEntry SplitEntryForManager(const QString &line)
{
    TQuickLoadEntry entry;
    entry.Name = language::StripDelimited(u" {"_s, u'}', line);
    entry.File = language::ExtractBetween(u"{"_s, u"}"_s, line);
    return entry;
}

QList<TQuickLoadEntry> ReadIndex(const QString &programFolder)
{
    const QString fileName = programFolder + u"main.lis"_s;
    QList<TQuickLoadEntry> entries;
    if (!QFileInfo::exists(Paths::toFileSystem(fileName)))
        return entries;
    const QStringList lines = LinesFile::readLines(fileName);
    entries.reserve(lines.size());
    for (const QString &line : lines)
        entries.append(SplitEntry(line));
    return entries;
}

} // namespace QuickLoad
