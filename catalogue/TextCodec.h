// TextCodec: code page 1251 and UTF-8 for list files and tags, and how a file's bytes became lines.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

namespace TextCodec {

/// Decodes code page 1251 bytes; every byte maps to one character (NUL included).
QString decode1251(QByteArrayView bytes);

/// True when every character of text has a code page 1251 byte.
bool fits1251(const QString &text);

/// Encodes text in code page 1251; characters without a byte become '?'.
QByteArray encode1251Lossy(const QString &text);

/// True when bytes are well-formed UTF-8; hasMultibyte tells whether any character took more than a byte.
bool isValidUtf8(QByteArrayView bytes, bool *hasMultibyte = nullptr);

/// The byte order of a UTF-16 file, as its mark gives it.
enum class TUtf16 { None, LittleEndian, BigEndian };

/// The UTF-16 byte order that the mark at the start of bytes names (FF FE, FE FF); None without one.
TUtf16 utf16MarkOf(QByteArrayView bytes);

/// How the lines of a text file were encoded, so that a save writes them back the same way.
struct TFileEncoding
{
    bool Utf8 = false; ///< UTF-8; otherwise code page 1251 (or UTF-16, below)
    bool Mark = false; ///< the file starts with the UTF-8 byte-order mark
    TUtf16 Utf16 = TUtf16::None; ///< a UTF-16 file with its mark (settings files only); Utf8 and Mark are false

    /// In a marked file, the lines that were not UTF-8 and were read as code page 1251 (a pasted old
    /// list). A line is known by its text's storage, which it keeps until it is edited, so that only
    /// those very lines go back in code page 1251, even where another line has the same text.
    void AddCp1251Line(const QString &line);
    bool IsCp1251Line(const QString &line) const;
    bool HasCp1251Lines() const { return !m_cp1251Lines.isEmpty(); }

private:
    QStringList m_cp1251Lines; // keeps their storage alive, so that no other text can take it
    QSet<const QChar *> m_cp1251Data;
};

/// Splits a file into lines and decodes them: after a byte-order mark (which is never text) as UTF-8,
/// line by line falling back to code page 1251 where a line is not UTF-8; without the mark as UTF-8
/// when the whole file is valid UTF-8 with multi-byte characters, else as code page 1251. With
/// utf16Marks, a UTF-16 mark makes the rest UTF-16 in its byte order, every code unit kept as it is
/// (an odd last byte is dropped; readers refuse such a file).
QStringList decodeLines(QByteArrayView bytes, TFileEncoding *encoding = nullptr, bool utf16Marks = false);

/// The encoding a save of lines uses: the file's own, except that a code page 1251 file becomes UTF-8
/// with the mark when it gains a character the code page cannot hold, or when its bytes would read
/// back as UTF-8 (all valid UTF-8 with a multi-byte sequence, such as "Ж…").
TFileEncoding encodingForSave(const QStringList &lines, const TFileEncoding &read);

/// The bytes of lines, each followed by CR LF, in an encoding from encodingForSave: every line that
/// was read keeps the bytes it had. UTF-16 is written with its mark, in its byte order.
QByteArray encodeLines(const QStringList &lines, const TFileEncoding &encoding);

} // namespace TextCodec
