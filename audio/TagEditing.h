// TagEditing: the rules of the tag editor: the files it edits, the fields it shows, the title and track
// number it takes from a file name, what it refuses to write, and the tags it writes to one file or to
// every file of a folder (ID3v1, and ID3v2 where a file has one).
#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace TagEditing {

/// The six fields of the editor, as shown and typed; the track number as text.
struct TTagFields
{
    QString Title;
    QString Artist;
    QString Year;
    QString Album;
    QString Track;
    QString Comment;
};

/// One file of the editor's list: its name as listed and its full path.
struct TFolderFile
{
    QString Name;
    QString Path;
};

/// The genre byte written to a file that has no tag yet: no genre.
constexpr int NoGenre = 255;

/// The most characters a field holds: title, artist and album TextWidth, the year YearWidth, the comment
/// CommentWidth beside a track number and TextWidth without one.
constexpr int TextWidth = 30;
constexpr int YearWidth = 4;
constexpr int CommentWidth = 28;

/// The mask of the files the editor lists and loads: MP3 files, the extension in any letter case.
QString FileMask();

/// Why the editor does not load a file of this name (it does not fit FileMask); empty when it does.
QString LoadRefusal(const QString &fileName);

/// The fields of a file's tags, read without changing the file: a field of its ID3v2 tag where it has
/// one, else of its ID3v1 tag; empty texts and track "0" when it has no tag or cannot be read.
TTagFields LoadFields(const QString &path);

/// The major version of the ID3v2 tag that opens the file and that the editor writes (2, 3 or 4); 0 when
/// it has none or cannot be read.
int ID3v2Version(const QString &path);

/// The track number typed: a whole number ("n/m" gives n), or 99 when the text is none.
int TrackNumber(const QString &text);

/// Writes the fields as the file's ID3v1 tag, replacing its tag or appending one. The track byte form is
/// used, except for a comment longer than CommentWidth beside track number 0; the genre of the file's
/// present tag is kept, and a file without a tag gets NoGenre.
/// A file without an ID3v2 tag: returns, writing nothing, why the fields cannot be written as they stand
/// (the first field holding characters that code page 1251 lacks, named with those characters, or longer
/// than it holds); empty when written.
/// A file that opens with an ID3v2 tag: its fields changed from that tag's own are written into it too,
/// as Unicode frames, every other frame and all bytes after the tag kept, and the file is replaced by a
/// safe save (whole or not at all). ID3v1 then gets each text as near as code page 1251 and its width
/// hold it; returns which fields it got otherwise than typed ("ö" as "o", "?" for what has no near
/// letter), or why nothing was written; empty when all went in as typed.
/// Throws KsError when the file cannot be opened, read or written; the file then stays as it was.
[[nodiscard]] QString ApplyTagToFile(const QString &path, const TTagFields &fields);

/// The track number text and the title that a file name gives at position (0-based) of its folder:
/// the extension ".mp3" (any case) removed; the leading digits as typed, else position + 1; the title
/// with every character below code 0x61 blanked up to the one before the first character of code
/// 0x61 or above (a letter), then trimmed. A name without such a character is the title as it stands.
TTagFields FromFileName(const QString &name, int position);

/// Called before the file at a position (0-based) is written, with its fields; false stops the action
/// there: the files before keep their new tags, this one and the rest stay untouched.
using TFolderProgress = std::function<bool(int position, const TTagFields &fields)>;

/// Writes fields to every file in list order as ApplyTagToFile does, title and track taken from each
/// file's name (the title cut to TextWidth for a file without an ID3v2 tag). Returns, writing nothing,
/// why they cannot all be written: the first file without an ID3v2 tag whose fields ApplyTagToFile would
/// refuse, named; else what the ID3v1 tags got otherwise than typed, or why a file's ID3v2 tag could not
/// be written (the action stops there); empty when all went in as typed. Stops at the first file that
/// fails (KsError thrown): the files before it keep their new tags, the ones after it are untouched.
[[nodiscard]] QString ApplyTagToFolder(const QList<TFolderFile> &files, const TTagFields &fields,
                                       const TFolderProgress &progress = {});

/// Removes the ID3v1 tag from every file in list order, leaving ID3v2 tags alone; progress is called
/// with each position before its file and stops the action like ApplyTagToFolder's, as does a failure.
void RemoveTagFromFolder(const QList<TFolderFile> &files, const std::function<bool(int position)> &progress = {});

} // namespace TagEditing
