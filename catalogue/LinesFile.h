// LinesFile: reading and writing whole text files as lists of lines.
#pragma once

#include "TextCodec.h"

#include <QString>
#include <QStringList>

namespace LinesFile {

/// Splits text into lines: CR LF, CR or LF each end a line; a final break adds no empty line.
QStringList splitLines(const QString &text);

/// Joins lines, each one followed by CR LF (the last one too).
QString joinLines(const QStringList &lines);

/// The lines of a file and how they were encoded.
struct TLinesText
{
    QStringList Lines;
    TextCodec::TFileEncoding Encoding;
};

/// Reads a file whole and decodes its lines; throws KsError "Cannot open file %s" when it cannot be read.
TLinesText readFile(const QString &fileName);

/// Reads a file's lines (readFile without the encoding).
QStringList readLines(const QString &fileName);

/// Writes lines whole, each ending with CR LF, through a safe save: in the encoding they were read
/// in (see TextCodec::encodingForSave), the old file intact until the new one is complete.
/// Throws KsError "Cannot create file %s" on any failure. Returns the encoding written.
TextCodec::TFileEncoding writeFile(const QString &fileName, const QStringList &lines,
                                   const TextCodec::TFileEncoding &encoding);

/// Writes new lines (code page 1251, or UTF-8 with the mark when they need it) like writeFile.
void writeLines(const QString &fileName, const QStringList &lines);

} // namespace LinesFile
