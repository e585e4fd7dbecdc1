// HtmlExport: the page lines for the keyed lines of a list, escaped, and the page's encoding.
#include "HtmlExport.h"

#include "LinesFile.h"
#include "language.h"

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

QString link(const QString &caption, const QString &value)
{
    return caption + u"<a href=\""_s + Escape(value, true) + u"\">"_s + Escape(value) + u"</a><br>"_s;
}

} // namespace

QStringList PageLines(const QStringList &listLines, const QString &listFileName, const QString &charset)
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
        if (line.contains("url:"_L1))
            page << link(u"URL: "_s, valueOf(line, u"url:"_s));
        if (line.contains("discriptionfile:"_L1))
            page << link(u"Описание: "_s, valueOf(line, u"discriptionfile:"_s));
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
               const TextCodec::TFileEncoding &listEncoding)
{
    const TextCodec::TFileEncoding encoding = PageEncoding(listLines, listFileName, listEncoding);
    const QStringList page = PageLines(listLines, listFileName, encoding.Utf8 ? u"UTF-8"_s : u"windows-1251"_s);
    LinesFile::writeFile(path, page, encoding);
}

} // namespace HtmlExport
