// ID3Tags: the 128-byte ID3v1 (and v1.1) tag at the end of an audio file, and the genre names.
#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

/// The process-wide genre names; entry i names genre byte i (148 entries).
const QStringList &GenreList();

/// An ID3v1 tag: read from, built into, written to and cut off an audio file.
class TID3v1Tag
{
public:
    /// Selectors of SetTextField.
    enum TextField { FieldTitle = 1, FieldArtist = 2, FieldYear = 3, FieldAlbum = 4, FieldComment = 5 };
    /// Size of the tag image in bytes.
    static constexpr qint64 Size = 128;

    /// The last read found a tag.
    bool Exists = false;
    /// A field was changed since the last read or write.
    bool Modified = false;
    /// No track byte: the comment may use all 30 bytes.
    bool NoTrack = false;
    QString Title;
    QString Artist;
    QString Album;
    /// Track number; 0 when none.
    int Track = 0;
    QString Comment;
    QString Year;
    /// The genre byte, 0..255.
    int Genre = 0;
    /// Name of Genre in GenreList; empty when the list has no such entry.
    QString GenreName;

    /// Sets one text field (see TextField), cut to its width; other selectors do nothing.
    void SetTextField(int field, const QString &text);
    /// Sets Track; 0 means no track byte.
    void SetTrack(int number);

    /// Parses a tag image of length bytes; Exists tells whether it was one.
    void ReadFromBuffer(const char *bytes, qint64 length);
    /// Reads the tag ending a range of size bytes from the stream's position; throws KsError on a short read.
    void ReadFromStream(QIODevice &stream, qint64 size);
    /// Reads the tag at the end of a file; throws KsError when it cannot be opened or read.
    void ReadFromFile(const QString &fileName);

    /// Builds the 128-byte image; throws KsError when length is below 128.
    void SaveToBuffer(char *bytes, qint64 length);
    /// Writes the 128-byte image at the stream's position; throws KsError when the write fails.
    void WriteToStream(QIODevice &stream);
    /// Replaces the file's tag, or appends one; throws KsError on failure.
    void SaveToFile(const QString &fileName);
    /// Cuts the file's tag off, if it has one; throws KsError on failure.
    void RemoveFromFile(const QString &fileName);
};
