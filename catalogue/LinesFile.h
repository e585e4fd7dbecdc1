// LinesFile: reading and writing whole text files as lists of lines.
#pragma once

#include <QString>
#include <QStringList>

namespace LinesFile {

/// Splits text into lines: CR LF, CR or LF each end a line; a final break adds no empty line.
QStringList splitLines(const QString &text);

/// Joins lines, each one followed by CR LF (the last one too).
QString joinLines(const QStringList &lines);

/// Reads a file whole and splits it; throws KsError "Cannot open file %s" when it cannot be read.
QStringList readLines(const QString &fileName);

/// Reads a file whole as text (encoding chosen by TextCodec::decodeFile); throws like readLines.
QString readText(const QString &fileName);

/// Writes text whole through QSaveFile; throws KsError "Cannot create file %s" on any failure.
void writeText(const QString &fileName, const QString &text);

/// Writes lines (each ending with CR LF) like writeText.
void writeLines(const QString &fileName, const QStringList &lines);

} // namespace LinesFile
