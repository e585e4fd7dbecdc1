// DirectoryScan: the entries of one folder, read a batch at a time, with their kinds, so that a walk
// of a huge folder can let the user interface in between and needs no system call per entry.
#pragma once

#include <QString>

#include <memory>
#include <vector>

/// What an entry is; a link counts as what it leads to, except that a link to a folder stays apart.
enum class TEntryKind : unsigned char {
    File,       ///< a regular file, or a link to one
    Folder,     ///< a folder (not a link)
    FolderLink, ///< a link to a folder (or a junction)
    Other,      ///< a broken link, a device, a socket, a pipe
};

/// One entry of a folder.
struct TScanEntry
{
    /// The name; where the file system's bytes are not text, U+FFFD stands for them.
    QString Name;
    TEntryKind Kind = TEntryKind::Other;
    /// Hidden from the file lists: a leading "." on POSIX, the hidden attribute on Windows.
    bool Hidden = false;
    /// The name is not text in the file system's encoding, so no path can name the entry.
    bool Undecodable = false;
};

/// An open folder, read in batches. Not copyable; one implementation per platform.
class TDirectoryScan
{
public:
    /// Opens the folder (its path as Qt names it); a folder that cannot be read holds nothing.
    explicit TDirectoryScan(const QString &folder);
    ~TDirectoryScan();
    TDirectoryScan(const TDirectoryScan &) = delete;
    TDirectoryScan &operator=(const TDirectoryScan &) = delete;

    /// Appends up to max entries ("." and ".." never), only folders and links to folders with
    /// foldersOnly (the others then passed over, their names never decoded); false once the folder has
    /// no more.
    bool Next(std::vector<TScanEntry> &into, int max, bool foldersOnly = false);

private:
    struct TImpl;
    std::unique_ptr<TImpl> d;
};
