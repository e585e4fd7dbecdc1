// HtmlExport: the open list written as a simple HTML page: heading, list path, authors, albums, links and tracks.
#pragma once

#include "TextCodec.h"

#include <QString>
#include <QStringList>

namespace HtmlExport {

/// Text from a list made safe inside a page: "&", "<" and ">" as entities, and '"' too inside an attribute.
QString Escape(const QString &text, bool attribute = false);

/// The page's lines for a list's lines, loaded from listFileName. charset is declared in the page's
/// second line (e.g. "windows-1251"); every other line follows the list line by line.
QStringList PageLines(const QStringList &listLines, const QString &listFileName, const QString &charset);

/// The page's encoding: UTF-8 when the list was written as UTF-8 or a text of the page does not fit
/// code page 1251, else code page 1251.
TextCodec::TFileEncoding PageEncoding(const QStringList &listLines, const QString &listFileName,
                                      const TextCodec::TFileEncoding &listEncoding);

/// Builds the page and writes it to path through a safe save, each line ending with CR LF, declaring
/// the encoding it is written in. Throws KsError "Cannot create file %s".
void WritePage(const QString &path, const QStringList &listLines, const QString &listFileName,
               const TextCodec::TFileEncoding &listEncoding);

} // namespace HtmlExport
