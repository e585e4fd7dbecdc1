// tst_htmlexport: the HTML page of a list, byte for byte, its escaping and its character set.
#include "HtmlExport.h"
#include "KsError.h"
#include "TestSupport.h"
#include "TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The one-album list with a settings line that the list format's documentation works through.
const QStringList WinterList{
    u"-newalbum"_s,       u"author: Ensemble Nord"_s, u"album: Winter Songs"_s,
    u"url: "_s,           u"discriptionfile: notes\\winter.htm"_s,
    u"nt: 2"_s,           u"image: C:\\Covers\\winter.jpg"_s,
    u"track: First Snow"_s, u"size: 03:41"_s, u"file: C:\\Music\\Winter\\01 First Snow.mp3"_s, u"dfile: "_s,
    u"track: Thaw"_s,     u"size: 04:05"_s, u"file: Music\\02 Thaw.mp3"_s, u"dfile: "_s,
    u"--endofalbum"_s,    u"ini: winter.ini"_s,
};

// The page that list has always given, line for line.
const QStringList WinterPage{
    u"<html>"_s,
    u"<body bgcolor=#ffe1b0 text=black link=blue>"_s,
    u"<center><h1>Kestrune HTML playlist</h1><br>"_s,
    u"<i>C:\\Lists\\winter.lst</i><hr></center>"_s,
    u"<p>Автор: <b>Ensemble Nord</b><br>"_s,
    u"Альбом: <b>Winter Songs</b><br>"_s,
    u"URL: <a href=></a><br>"_s,
    u"Описание: <a href=notes\\winter.htm>notes\\winter.htm</a><br>"_s,
    u"<li>First Snow<br>"_s,
    u"<li>Thaw<br>"_s,
    u"</body></html>"_s,
};

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray crlf(const QStringList &lines, bool utf8)
{
    QByteArray out;
    for (const QString &line : lines)
        out += (utf8 ? line.toUtf8() : TextCodec::encode1251Lossy(line)) + "\r\n";
    return out;
}

} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT

private slots:
    void workedExampleByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"winter.htm"_s);
        HtmlExport::WritePage(path, WinterList, u"C:\\Lists\\winter.lst"_s, TextCodec::TFileEncoding());
        // Only these differ: the character set is declared, and the two link targets are quoted.
        QStringList expected = WinterPage;
        expected.insert(1, u"<meta charset=windows-1251>"_s);
        expected[7] = u"URL: <a href=\"\"></a><br>"_s;
        expected[8] = u"Описание: <a href=\"notes\\winter.htm\">notes\\winter.htm</a><br>"_s;
        QCOMPARE(bytesOf(path), crlf(expected, false));
    }

    void listTextIsEscaped()
    {
        // Markers hold "album" without its colon; a track line with "url:" gives a link too.
        const QStringList list{ u"-newalbum"_s, u"author: Tom & Jerry"_s, u"album: <script>x</script>"_s,
                                u"url: http://x/?a=1&b=\"2\" onclick=\"y\""_s, u"discriptionfile: <b>.htm"_s,
                                u"track: 1 > 0 \"q\" url: z"_s, u"--endofalbum"_s };
        const QStringList page = HtmlExport::PageLines(list, u"/lists/a&b <1>.lst"_s, u"windows-1251"_s);
        QCOMPARE(page.mid(4),
                 (QStringList{ u"<i>/lists/a&amp;b &lt;1&gt;.lst</i><hr></center>"_s,
                               u"<p>Автор: <b>Tom &amp; Jerry</b><br>"_s,
                               u"Альбом: <b>&lt;script&gt;x&lt;/script&gt;</b><br>"_s,
                               u"URL: <a href=\"http://x/?a=1&amp;b=&quot;2&quot; onclick=&quot;y&quot;\">"
                               u"http://x/?a=1&amp;b=\"2\" onclick=\"y\"</a><br>"_s,
                               u"Описание: <a href=\"&lt;b&gt;.htm\">&lt;b&gt;.htm</a><br>"_s,
                               u"<li>1 &gt; 0 \"q\" url: z<br>"_s,
                               u"URL: <a href=\"track: 1 &gt; 0 &quot;q&quot;  z\">track: 1 &gt; 0 \"q\"  z</a><br>"_s,
                               u"</body></html>"_s }));
    }

    void characterSetAndFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"p.htm"_s);
        // A list read as UTF-8 gives a UTF-8 page; so does a path the code page cannot hold.
        TextCodec::TFileEncoding utf8;
        utf8.Utf8 = true;
        HtmlExport::WritePage(path, { u"album: Зима"_s }, u"/l.lst"_s, utf8);
        QCOMPARE(bytesOf(path), crlf(HtmlExport::PageLines({ u"album: Зима"_s }, u"/l.lst"_s, u"UTF-8"_s), true));
        HtmlExport::WritePage(path, {}, u"/音乐/l.lst"_s, TextCodec::TFileEncoding());
        QVERIFY(bytesOf(path).contains("<meta charset=UTF-8>\r\n"));
        QVERIFY(bytesOf(path).contains("<i>/音乐/l.lst</i>"));

        const QString gone = dir.filePath(u"gone/p.htm"_s);
        QCOMPARE(TestSupport::errorOf([&] { HtmlExport::WritePage(gone, WinterList, u"l.lst"_s, {}); }),
                 u"Cannot create file "_s + gone);
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
