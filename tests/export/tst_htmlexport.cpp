// tst_htmlexport: the HTML page of a list, byte for byte, its escaping and its character set.
#include "ExportTarget.h"
#include "HtmlExport.h"
#include "KsError.h"
#include "TestSupport.h"
#include "TextCodec.h"
#include "language.h"

#include <QDir>
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

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
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
        // notes\winter.htm names no file in the program folder: the link keeps the stored path.
        HtmlExport::WritePage(path, WinterList, u"C:\\Lists\\winter.lst"_s, TextCodec::TFileEncoding(), dir.path() + u'/');
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
                               u"URL: track: 1 &gt; 0 \"q\"  z<br>"_s, // "track:" is no scheme a link may have
                               u"</body></html>"_s }));
    }

    void characterSetAndFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"p.htm"_s);
        // A list read as UTF-8 gives a UTF-8 page; so does a path the code page cannot hold.
        TextCodec::TFileEncoding utf8;
        utf8.Utf8 = true;
        HtmlExport::WritePage(path, { u"album: Зима"_s }, u"/l.lst"_s, utf8, dir.path());
        QCOMPARE(bytesOf(path), crlf(HtmlExport::PageLines({ u"album: Зима"_s }, u"/l.lst"_s, u"UTF-8"_s), true));
        HtmlExport::WritePage(path, {}, u"/音乐/l.lst"_s, TextCodec::TFileEncoding(), dir.path());
        QVERIFY(bytesOf(path).contains("<meta charset=UTF-8>\r\n"));
        QVERIFY(bytesOf(path).contains("<i>/音乐/l.lst</i>"));

        const QString gone = dir.filePath(u"gone/p.htm"_s);
        QCOMPARE(TestSupport::errorOf([&] { HtmlExport::WritePage(gone, WinterList, u"l.lst"_s, {}, dir.path()); }),
                 u"Cannot create file "_s + gone);
    }

    // Only these schemes, or none, make a live link, read as a browser reads the target.
    void linkFilter_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("live");
        const std::pair<const char16_t *, bool> rows[] = {
            { u"", true }, { u"HTTPS://x", true }, { u"ftp://x/f", true }, { u"mailto:a@b.c", true },
            { u"File:///c/x.htm", true }, { u"../a b/c:d.htm", true }, { u"C:\\Music\\a.htm", true },
            { u"http\u00A0:x", true }, // a no-break space ends no scheme: a relative path
            { u"JaVaScRiPt:alert(1)", false }, { u" \x01\x1Fjavascript:x", false }, { u"java\tscr\r\nipt:x", false },
            { u"vbscript:msgbox", false }, { u"data:text/html,<script>x</script>", false }, { u"x-y.z+1:q", false },
        };
        int row = 0;
        for (const auto &[target, live] : rows)
            QTest::addRow("%d", row++) << QString::fromUtf16(target) << live;
    }

    void linkFilter()
    {
        QFETCH(QString, target);
        QFETCH(bool, live);
        QCOMPARE(HtmlExport::IsSafeLink(target), live);
        // A web address and a description path that is no file alike: a link, or the text alone.
        const QStringList page = HtmlExport::PageLines({ u"url: "_s + target, u"discriptionfile: "_s + target }, {},
                                                       u"UTF-8"_s, { u"/p/page.htm"_s, u"/nowhere/"_s });
        QCOMPARE(page.mid(5, 2).join(QString()).count(u"<a href"_s), live ? 2 : 0);
    }

    void descriptionLinksReachTheirFiles()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(u"prog/"_s);
        QVERIFY(QDir().mkpath(program + u"notes"_s));
        writeBytes(program + u"notes/a #1%?.htm"_s, "x");
        writeBytes(program + u"notes/Зима.txt"_s, "x");
        const QString page = dir.filePath(u"pages/p.htm"_s);
        const HtmlExport::TPagePlace place{ page, program };
        QCOMPARE(HtmlExport::DescriptionTarget(u"notes\\Зима.txt"_s, place), u"../prog/notes/%D0%97%D0%B8%D0%BC%D0%B0.txt"_s);
        // The link's text stays the stored value.
        QCOMPARE(HtmlExport::PageLines({ u"discriptionfile: notes\\a #1%?.htm"_s }, {}, {}, place).at(5),
                 u"Описание: <a href=\"../prog/notes/a%20%231%25%3F.htm\">notes\\a #1%?.htm</a><br>"_s);
    }

    // The page never replaces the open list, main.lis, a settings file in use or any other list.
    void pageTargetRefusals()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"prog"_s)));
        for (const auto &[name, bytes] : { std::pair{ "open.lst", "-newalbum\r\n" }, { "prog/ks.ini", "" },
                                           { "own.ini", "" }, { "other", "-newalbum" },
                                           { "marked.htm", "\xEF\xBB\xBF-newalbum\n" }, { "page.htm", "-newalbums\r\n" } })
            writeBytes(dir.filePath(QString::fromLatin1(name)), bytes);
        QVERIFY(QFile::link(dir.filePath(u"open.lst"_s), dir.filePath(u"link.htm"_s)));
        const ExportTarget::TKeptFiles kept{ dir.filePath(u"open.lst"_s), dir.filePath(u"prog/main.lis"_s),
                                           { dir.filePath(u"prog/ks.ini"_s), dir.filePath(u"own.ini"_s) } };
        const QString another = u" Выберите для страницы другой файл."_s;
        const QString list = u"Этот файл - список музыкальных файлов, страница не может его заменить."_s + another;
        const std::pair<QString, QString> rows[] = {
            { u"prog/../open.lst"_s, u"Страница не может заменить открытый список."_s + another },
            { u"link.htm"_s, u"Страница не может заменить открытый список."_s + another },
            { u"prog/main.lis"_s, u"Страница не может заменить список быстрой загрузки main.lis."_s + another },
            { u"own.ini"_s, u"Страница не может заменить используемый файл настроек."_s + another },
            { u"other"_s, list }, { u"marked.htm"_s, list }, { u"page.htm"_s, QString() }, { u"main.lis"_s, QString() },
        };
        for (const auto &[name, refusal] : rows)
            QCOMPARE(ExportTarget::Refusal(dir.filePath(name), kept, ExportTarget::TKind::Page), refusal);
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
