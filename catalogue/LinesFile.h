// LinesFile: reading and writing whole text files as lists of lines.
#pragma once

#include "TextCodec.h"

#include <QString>
#include <QStringList>

class TUndoHistory;

namespace LinesFile {

/// Splits text into lines: CR LF, CR or LF each end a line; a final break adds no empty line.
QStringList splitLines(const QString &text);

/// Joins lines, each one followed by CR LF (the last one too).
QString joinLines(const QStringList &lines);

/// The line at index; an index past either end fails as the loader's read does.
const QString &lineAt(const QStringList &lines, qsizetype index);
/// The trimmed value of the keyed line at index ("album: Winter" with "album:" gives "Winter").
QString valueAt(const QStringList &lines, qsizetype index, const QString &key);

/// The lines of a file and how they were encoded.
struct TLinesText
{
    QStringList Lines;
    TextCodec::TFileEncoding Encoding;
};

/// What a file read whole may be: its largest size, and whether a UTF-16 mark is read as one.
struct TReadLimits
{
    qint64 MaxBytes;
    bool Utf16Marks;
};
/// Lists and main.lis: far above the largest real catalogue.
inline constexpr TReadLimits ListLimits { qint64(512) << 20, false };
/// Settings files, which Windows also reads (and Notepad writes) in UTF-16.
inline constexpr TReadLimits SettingsLimits { qint64(1) << 20, true };

/// Reads a file whole and decodes its lines. Only a regular file within the size limit is read (a
/// FIFO, a device or a folder never is, so nothing blocks or reads without end); anything else, a
/// UTF-16 file with half a character, or a failed read throws KsError "Cannot open file %s".
TLinesText readFile(const QString &fileName, const TReadLimits &limits = ListLimits);

/// Reads a file's lines (readFile without the encoding).
QStringList readLines(const QString &fileName);

/// Writes lines whole, each ending with CR LF, through a safe save: in the encoding they were read
/// in (see TextCodec::encodingForSave), the old file intact until the new one is complete.
/// Throws KsError "Cannot create file %s" on any failure. Returns the encoding written. With a history,
/// the write is made and recorded there, so that it can be undone.
TextCodec::TFileEncoding writeFile(const QString &fileName, const QStringList &lines,
                                   const TextCodec::TFileEncoding &encoding, TUndoHistory *history = nullptr);

/// Writes new lines (code page 1251, or UTF-8 with the mark when they need it) like writeFile.
void writeLines(const QString &fileName, const QStringList &lines, TUndoHistory *history = nullptr);

} // namespace LinesFile
