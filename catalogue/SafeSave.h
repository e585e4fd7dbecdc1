// SafeSave: replacing a file's whole content so that a failure or a crash never leaves half of it.
#pragma once

#include <QByteArray>
#include <QString>

namespace SafeSave {

/// Writes bytes to a hidden temporary file beside path, syncs it, renames it over path and syncs
/// the folder. The old file stays whole until the rename; on failure the temporary file is removed
/// and false is returned. A file that is a symbolic link has its target replaced. A file the user may
/// not write, or one that is no regular file, is never replaced (false). On Linux a save also removes
/// the temporary files that earlier saves of the same file left behind when they were killed.
bool WriteFile(const QString &path, const QByteArray &bytes);

/// Removes a file the program created, as a save would replace it: only a regular file (not a link)
/// that the user may write; false, leaving it, otherwise or when the removal fails.
bool RemoveFile(const QString &path);

} // namespace SafeSave
