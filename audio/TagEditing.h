// TagEditing: the rules of the tag editor: the files it edits, the fields it shows, the title and track
// number it takes from a file name, what it refuses to write, and the tag it writes to one file or to
// every file of a folder.
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

/// The fields of a file's tag, read without changing the file: empty texts and track "0" when it has
/// no tag or cannot be read.
TTagFields LoadFields(const QString &path);

/// The track number typed: a whole number, or 99 when the text is none.
int TrackNumber(const QString &text);

/// Writes the fields as the file's tag, replacing its tag or appending one. The track byte form is used,
/// except for a comment longer than CommentWidth beside track number 0; the genre of the file's present
/// tag is kept, and a file without a tag gets NoGenre. Returns, writing nothing, why the fields cannot be
/// written as they stand (the first field holding characters that code page 1251 lacks, named with those
/// characters, or longer than it holds); empty when written. Throws KsError when the file cannot be
/// opened, read or written.
[[nodiscard]] QString ApplyTagToFile(const QString &path, const TTagFields &fields);

/// The track number text and the title that a file name gives at position (0-based) of its folder:
/// the extension ".mp3" (any case) removed; the leading digits as typed, else position + 1; the title
/// with every character below code 0x61 blanked up to the one before the first character of code
/// 0x61 or above (a letter), then trimmed. A name without such a character is the title as it stands.
TTagFields FromFileName(const QString &name, int position);

/// Writes fields to every file in list order, title (cut to TextWidth) and track taken from each file's
/// name. Returns, writing nothing, why they cannot all be written: a shared field ApplyTagToFile refuses,
/// or the first file whose title from its name holds characters code page 1251 lacks (named); empty when
/// written. shown is called with each file's fields before it is written. Stops at the first file that
/// fails (KsError thrown): the files before it keep their new tags, the ones after it are untouched.
[[nodiscard]] QString ApplyTagToFolder(const QList<TFolderFile> &files, const TTagFields &fields,
                                       const std::function<void(const TTagFields &)> &shown = {});

/// Removes the tag from every file in list order; stops at the first failure like ApplyTagToFolder.
void RemoveTagFromFolder(const QList<TFolderFile> &files);

} // namespace TagEditing
