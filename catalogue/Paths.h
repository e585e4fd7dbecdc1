// Paths: the program folder and the stored-path rules of list files.
#pragma once

#include <QString>

namespace Paths {

/// The folder of the running executable with its trailing separator.
QString programFolder();

/// Overrides programFolder() (tests, and a program folder chosen on start-up); empty restores it.
void setProgramFolder(const QString &folder);

/// The platform's separator used when the program joins a folder and a name.
QChar separator();

/// True when a stored path is absolute: it contains ":\" (or, on Linux, begins with "/").
bool isAbsolute(const QString &stored);

/// A stored path value made absolute: non-empty relative values get the program folder in front.
QString resolve(const QString &stored, const QString &programFolder);
QString resolve(const QString &stored);

/// The stored path as the file system needs it (on Linux backslashes become slashes).
QString toFileSystem(const QString &stored);

/// The folder of the running executable as the platform reports it, with its trailing separator.
QString executableFolder();

/// True when the stored path names an existing file (not a folder).
bool fileExists(const QString &stored);

/// The order of names in the file lists: ignoring letter case, then exactly.
bool NameLess(const QString &a, const QString &b);

/// The folder part of a path, with its trailing separator; empty when there is none.
QString folderOf(const QString &path);

} // namespace Paths
