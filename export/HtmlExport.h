// HtmlExport: the open list written as a simple HTML page: heading, list path, authors, albums, links and tracks.
#pragma once

#include "TextCodec.h"

#include <QString>
#include <QStringList>

namespace HtmlExport {

/// Text from a list made safe inside a page: "&", "<" and ">" as entities, and '"' too inside an attribute.
QString Escape(const QString &text, bool attribute = false);

/// True when a link target may be a live link: its scheme, read as a browser reads it (blanks and
/// control characters before it skipped, tabs and line breaks in it ignored, any letter case), is
/// http, https, ftp, mailto or file, or it has none (a relative path; "C:\..." is a drive's path).
bool IsSafeLink(const QString &target);

/// Where a page is written: its own path, and the program folder that relative stored paths start from.
struct TPagePlace
{
    QString PagePath;
    QString ProgramFolder;
};

/// The link target of a stored description path: when it names an existing file (a relative path taken
/// from the program folder), the way to that file from the page's folder, with "/" and percent-encoded;
/// otherwise the path as stored. An empty page path keeps every path as stored.
QString DescriptionTarget(const QString &stored, const TPagePlace &place);

/// The page's lines for a list's lines, loaded from listFileName. charset is declared in the page's
/// second line (e.g. "windows-1251"); every other line follows the list line by line. A web address or
/// description whose target is not a safe link is written as text.
QStringList PageLines(const QStringList &listLines, const QString &listFileName, const QString &charset,
                      const TPagePlace &place = {});

/// The page's encoding: UTF-8 when the list was written as UTF-8 or a text of the page does not fit
/// code page 1251, else code page 1251.
TextCodec::TFileEncoding PageEncoding(const QStringList &listLines, const QString &listFileName,
                                      const TextCodec::TFileEncoding &listEncoding);

/// Builds the page and writes it to path through a safe save, each line ending with CR LF, declaring
/// the encoding it is written in; description links reach their files from path's folder. Throws
/// KsError "Cannot create file %s".
void WritePage(const QString &path, const QStringList &listLines, const QString &listFileName,
               const TextCodec::TFileEncoding &listEncoding, const QString &programFolder);

} // namespace HtmlExport
