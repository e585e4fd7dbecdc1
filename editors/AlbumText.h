// AlbumText: the text of album and track blocks composed by the album builder, and the rules that
// the file search's generated text shares with it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TUndoHistory;

namespace AlbumText {

/// The album header fields, as typed or picked.
struct TAlbumFields
{
    QString Name;
    QString Author;
    QString Url;
    QString DescriptionFile;
    QString Image;
};

/// The fields of one track, as typed or picked.
struct TTrackFields
{
    QString Title;
    QString Duration;
    QString File;
    QString DescriptionFile;
};

/// A file of the browser: its name and its full path.
struct TFoundFile
{
    QString Name;
    QString Path;
};

/// The file filters of the builder's pickers and its save dialog.
QString DescriptionFilter();
QString ImageFilter();
QString ListFilter();
/// The image picker opens on its all-formats entry (0-based).
constexpr int ImageFilterInitial = 3;
/// The extension a name without "." gets in the description picker: ".htm" for the first entry, else ".txt".
QString DescriptionExtension(int filterIndex);
/// The same for the image picker: ".bmp" for the first entry, ".jpg" for every other.
QString ImageExtension(int filterIndex);

/// The four lines of a track block, texts as typed: "track: ", "size: ", "file: ", "dfile: ".
QStringList TrackBlock(const TTrackFields &track);

/// The title of a generated track: the file's name less the first occurrence of suffix in any letter
/// case ("Song.MP3" less ".mp3" is "Song"), trimmed; a name without it is kept whole.
QString TitleFromFileName(const QString &name, const QString &suffix);
/// The same with the name's own extension as the suffix ("song.wav" is "song").
QString TitleFromFileName(const QString &name);

/// True when a file's name or path (native separators) can be written into list text and names the
/// same file when read back: no line break, none of the characters at which a text box starts a new
/// line, no backslash where the file system does not take it for a separator, no broken UTF-16.
bool ListCanHold(const QString &path);

/// What the user is told once after tracks were generated: how many files' play times could not be read,
/// and the files and folders left out because the list cannot hold their names (the first few named,
/// to be renamed). Empty when there is neither.
QString LeftOutMessage(int unreadable, const QStringList &leftOut);

/// The track list of the builder: its blocks' lines and their count, kept together.
class TTrackList
{
public:
    const QStringList &Lines() const { return m_lines; }
    int Count() const { return m_count; }

    /// "Добавить": appends a block unless the title or the file is empty (as typed); true when added.
    bool Add(const TTrackFields &track);
    /// What a generation could not put into the track list as it is.
    struct TGenerated
    {
        int Unreadable = 0;  ///< audio files whose play time could not be read ("00:00")
        QStringList LeftOut; ///< paths of files left out because the list cannot hold them
    };
    /// "Автоматическая генерация": one block per file, after the blocks already there. A typed duration
    /// goes into every block; with none typed (blanks at most) an audio file (PlayTime::IsAudioName) gets
    /// its own play time, "00:00" when it cannot be read, and another file none. A title is the name less
    /// its extension. A file whose path the list cannot hold gets no block.
    TGenerated Generate(const QList<TFoundFile> &files, const QString &duration, const QString &descriptionFile);
    /// "Очистить".
    void Clear();

private:
    QStringList m_lines;
    int m_count = 0;
};

/// What "Создать" gives: the album's lines, or the message of the check that failed.
struct TComposition
{
    QString Message;   ///< empty when the album was composed
    QStringList Lines; ///< the album block
};

/// The album block of the fields and the track list, after the two checks of "Создать".
TComposition ComposeAlbum(const TAlbumFields &album, const TTrackList &tracks);

/// The chosen name of a list file: empty when it is blank, ".lst" added when its file name has no ".".
QString ListFilePath(const QString &chosen);

/// What a save of list text as a whole file needs first: refused (a message) when the text holds only
/// blanks; when the file is the open list's own, a question whose "Нет" keeps the catalogue.
struct TSaveCheck
{
    QString Refusal;
    QString Question;
};
TSaveCheck CheckListSave(const QStringList &lines, const QString &path, bool isOpenListFile);

/// Writes the album lines as a new list file, replacing one of that name, recorded in history if given.
/// Throws KsError.
void SaveAlbumList(const QString &fileName, const QStringList &album, TUndoHistory *history = nullptr);

/// Adds the album lines to an existing list file (ListEdits::AppendAlbums); a missing file is left alone (false).
/// Throws KsError when the file cannot be read or written. The write is recorded in history if given.
bool AppendToListFile(const QString &fileName, const QStringList &album, TUndoHistory *history = nullptr);

} // namespace AlbumText
