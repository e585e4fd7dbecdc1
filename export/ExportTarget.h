// ExportTarget: the files that an exported page or playlist must never replace.
#pragma once

#include <QString>
#include <QStringList>

namespace ExportTarget {

/// Files an export must never replace.
struct TKeptFiles
{
    QString ListFile;           ///< the exported list's file
    QString QuickLoadIndex;     ///< main.lis of the program folder
    QStringList SettingsFiles;  ///< the settings files in use
};

/// What an export writes, as its messages name it.
enum class TKind { Page, Playlist };

/// The message that refuses path as the export's file, or empty when it may be written there. Refused
/// are the kept files (compared by Paths::sameFile) and any list file: one whose first line, after a
/// byte-order mark, is "-newalbum".
QString Refusal(const QString &path, const TKeptFiles &kept, TKind kind);

} // namespace ExportTarget
