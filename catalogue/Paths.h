// Paths: the program folder and the stored-path rules of list files.
#pragma once

#include <QString>
#include <QStringList>

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

/// True when two paths name the same file: compared as canonical paths, so that another spelling or a
/// link counts; a file that does not exist yet is compared by its folder's canonical path and its name
/// (ignoring letter case, as a name the file system may fold).
bool sameFile(const QString &a, const QString &b);

/// The order of names in the file lists: ignoring letter case, then exactly.
bool NameLess(const QString &a, const QString &b);
/// Sorts names by NameLess, each name's letter case folded once rather than at every comparison.
void SortNames(QStringList &names);

/// The folder part of a path, with its trailing separator; empty when there is none.
QString folderOf(const QString &path);

/// A name chosen for a file, with the extension appended when the file's own name (after the last
/// slash or backslash) has no "."; dots in its folders do not count ("My.Music/mylist" gets it).
QString withDefaultExtension(const QString &path, const QString &extension);

/// The file's own name in a path: what follows its last slash or backslash.
QString fileNameOf(const QString &path);

/// True when a file can be created in the folder (one is made there and removed at once). Unlike
/// permission bits this also holds for the superuser and for read-only file systems and media.
bool canWrite(const QString &folder);

/// The folders start-up chooses the program folder from, each with its trailing separator.
struct TStartFolders
{
    QString Executable;              ///< the folder of the running executable
    bool ExecutableWritable = false; ///< canWrite(Executable)
    QString UserData;                ///< the user's own data folder of the program
    QString Demo;                    ///< the demo catalogue installed with the program, laid out as a program folder
    bool Installed = false;          ///< the demo is there: the program was installed, not unpacked or built
};

/// The running program's folders: QStandardPaths::AppDataLocation is the user's data folder, and the
/// demo lies where the installation puts it relative to the executable (share/kestrune/skel).
TStartFolders startFolders();

/// The program folder: the executable's folder when it can be written (a program in a folder of its
/// own, a build, a portable copy), else the user's data folder. An installed program always uses
/// the user's data folder, so that root running it never keeps its lists in /usr/bin.
QString chooseProgramFolder(const TStartFolders &folders);

/// Makes the user's data folder and, when it holds neither list.lst nor ks.ini (it has never been
/// used: every exit writes ks.ini), copies the demo catalogue into it, writable by the user.
/// Existing files are never replaced; list.lst comes last, so an interrupted copy is taken up again
/// on the next start. A missing demo copies nothing. Throws KsError ("Cannot create file %s") when
/// a folder or file cannot be made.
void prepareUserDataFolder(const QString &userData, const QString &demo);

} // namespace Paths
