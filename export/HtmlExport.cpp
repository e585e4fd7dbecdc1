// HtmlExport: the page lines for the keyed lines of a list, escaped, and the page's encoding.
#include "HtmlExport.h"

#include "LinesFile.h"
#include "Paths.h"
#include "language.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace HtmlExport {

QString Escape(const QString &text, bool attribute)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += u"&amp;"_s;
        else if (c == u'<')
            out += u"&lt;"_s;
        else if (c == u'>')
            out += u"&gt;"_s;
        else if (c == u'"' && attribute)
            out += u"&quot;"_s;
        else
            out += c;
    }
    return out;
}

namespace {

QString valueOf(const QString &line, const QString &key)
{
    return language::Trim(language::CutSubstring(line, key));
}

// A link to target showing value; a target that is no safe link leaves the value as text.
QString link(const QString &caption, const QString &value, const QString &target)
{
    if (!IsSafeLink(target))
        return caption + Escape(value) + u"<br>"_s;
    return caption + u"<a href=\""_s + Escape(target, true) + u"\">"_s + Escape(value) + u"</a><br>"_s;
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSchemeChar(QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

} // namespace

bool IsSafeLink(const QString &target)
{
    QString url = target;
    url.remove(u'\t').remove(u'\n').remove(u'\r');
    url = language::Trim(url);
    qsizetype i = 0;
    if (!url.isEmpty() && isAsciiLetter(url.at(0)))
        while (i < url.size() && isSchemeChar(url.at(i)))
            ++i;
    if (i == 0 || i == url.size() || url.at(i) != u':')
        return true; // no scheme: a path relative to the page
    if (i == 1 && i + 1 < url.size() && (url.at(2) == u'\\' || url.at(2) == u'/'))
        return true; // a drive letter
    static const QStringList safe{ u"http"_s, u"https"_s, u"ftp"_s, u"mailto"_s, u"file"_s };
    return safe.contains(url.left(i).toLower());
}

QString DescriptionTarget(const QString &stored, const TPagePlace &place)
{
    if (place.PagePath.isEmpty())
        return stored;
    const QString file = Paths::resolve(stored, place.ProgramFolder);
    if (!Paths::fileExists(file))
        return stored;
    // A browser resolves the target against the page's address, so the way is taken lexically.
    const QString pageFolder = QFileInfo(Paths::toFileSystem(place.PagePath)).absolutePath();
    const QString way = QDir(pageFolder).relativeFilePath(QFileInfo(Paths::toFileSystem(file)).absoluteFilePath());
    if (QDir::isAbsolutePath(way)) // another drive
        return QUrl::fromLocalFile(way).toString(QUrl::FullyEncoded);
    // Everything but letters, digits, "-._~" and "/" is encoded, ":" too, so no name reads as a scheme.
    return QString::fromLatin1(QUrl::toPercentEncoding(way, "/"));
}

QStringList PageLines(const QStringList &listLines, const QString &listFileName, const QString &charset,
                      const TPagePlace &place)
{
    QStringList page{ u"<html>"_s, u"<meta charset="_s + charset + u'>',
                      u"<body bgcolor=#ffe1b0 text=black link=blue>"_s,
                      u"<center><h1>Kestrune HTML playlist</h1><br>"_s,
                      u"<i>"_s + Escape(listFileName) + u"</i><hr></center>"_s };
    // Five independent tests: one list line may give several page lines.
    for (const QString &line : listLines) {
        if (line.contains("author:"_L1))
            page << u"<p>Автор: <b>"_s + Escape(valueOf(line, u"author:"_s)) + u"</b><br>"_s;
        if (line.contains("album:"_L1))
            page << u"Альбом: <b>"_s + Escape(valueOf(line, u"album:"_s)) + u"</b><br>"_s;
        if (line.contains("track:"_L1))
            page << u"<li>"_s + Escape(valueOf(line, u"track:"_s)) + u"<br>"_s;
        if (line.contains("url:"_L1)) {
            const QString url = valueOf(line, u"url:"_s);
            page << link(u"URL: "_s, url, url);
        }
        if (line.contains("discriptionfile:"_L1)) {
            const QString path = valueOf(line, u"discriptionfile:"_s);
            page << link(u"Описание: "_s, path, DescriptionTarget(path, place));
        }
    }
    page << u"</body></html>"_s;
    return page;
}

TextCodec::TFileEncoding PageEncoding(const QStringList &listLines, const QString &listFileName,
                                      const TextCodec::TFileEncoding &listEncoding)
{
    TextCodec::TFileEncoding encoding;
    encoding.Utf8 = listEncoding.Utf8 || !TextCodec::fits1251(listFileName)
        || !std::all_of(listLines.begin(), listLines.end(), [](const QString &l) { return TextCodec::fits1251(l); });
    return encoding;
}

void WritePage(const QString &path, const QStringList &listLines, const QString &listFileName,
               const TextCodec::TFileEncoding &listEncoding, const QString &programFolder)
{
    const TextCodec::TFileEncoding encoding = PageEncoding(listLines, listFileName, listEncoding);
    const QStringList page = PageLines(listLines, listFileName, encoding.Utf8 ? u"UTF-8"_s : u"windows-1251"_s,
                                       TPagePlace{ path, programFolder });
    LinesFile::writeFile(path, page, encoding);
}

} // namespace HtmlExport
