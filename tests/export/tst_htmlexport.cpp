// tst_htmlexport: the HTML page of a list, byte for byte, its escaping and its character set.
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
            { u"", true }, { u"http://x/a?b=1", true }, { u"HTTPS://x", true }, { u"ftp://x/f", true },
            { u"mailto:a@b.c", true }, { u"File:///c/x.htm", true }, { u"notes\\winter.htm", true },
            { u"../a b/c:d.htm", true }, { u"C:\\Music\\a.htm", true }, { u"c:/m/a.htm", true },
            { u"javascript:alert(1)", false }, { u"JaVaScRiPt:alert(1)", false }, { u" \x01\x1Fjavascript:x", false },
            { u"java\tscr\nipt:x", false }, { u"jav\r\nascript:x", false }, { u"vbscript:msgbox", false },
            { u"data:text/html,<script>x</script>", false }, { u"about:blank", false }, { u"x-y.z+1:q", false },
            { u"c:x", false }, { u"http\u00A0:x", true }, // no scheme has a no-break space: a relative path
        };
        for (const auto &[target, live] : rows) {
            QString name;
            for (const QChar c : QString::fromUtf16(target))
                name += c.unicode() < 0x20 ? u"\\x%1"_s.arg(int(c.unicode()), 2, 16, QChar(u'0')) : QString(c);
            QTest::newRow(name.toUtf8().constData()) << QString::fromUtf16(target) << live;
        }
    }

    void linkFilter()
    {
        QFETCH(QString, target);
        QFETCH(bool, live);
        QCOMPARE(HtmlExport::IsSafeLink(target), live);
        // On the page: a link, or the escaped text alone, for a web address and a description alike.
        const QStringList page = HtmlExport::PageLines({ u"url: "_s + target, u"discriptionfile: "_s + target }, {},
                                                       u"UTF-8"_s, { u"/p/page.htm"_s, u"/nowhere/"_s });
        const QString value = HtmlExport::Escape(language::Trim(target));
        const QString shown = live ? u"<a href=\""_s + HtmlExport::Escape(language::Trim(target), true) + u"\">"_s + value
                + u"</a>"_s
                                   : value;
        QCOMPARE(page.mid(5, 2), (QStringList{ u"URL: "_s + shown + u"<br>"_s, u"Описание: "_s + shown + u"<br>"_s }));
    }

    void descriptionLinksReachTheirFiles()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(u"prog/"_s);
        QVERIFY(QDir().mkpath(program + u"notes"_s) && QDir().mkpath(dir.filePath(u"pages"_s)));
        for (const QString &name : { u"notes/a #1%?.htm"_s, u"notes/Зима.txt"_s, u"b.htm"_s })
            writeBytes(program + name, "x");
        const QString page = dir.filePath(u"pages/p.htm"_s);
        const HtmlExport::TPagePlace place{ page, program };
        const QString stored = u"notes\\a #1%?.htm"_s;
        QCOMPARE(HtmlExport::DescriptionTarget(stored, place), u"../prog/notes/a%20%231%25%3F.htm"_s);
        QCOMPARE(HtmlExport::DescriptionTarget(u"notes\\Зима.txt"_s, place), u"../prog/notes/%D0%97%D0%B8%D0%BC%D0%B0.txt"_s);
        QCOMPARE(HtmlExport::DescriptionTarget(program + u"b.htm"_s, place), u"../prog/b.htm"_s); // an absolute path
        QCOMPARE(HtmlExport::DescriptionTarget(u"b.htm"_s, { dir.filePath(u"prog/b2.htm"_s), program }), u"b.htm"_s);
        // A path that names no file, or a folder, is kept as stored.
        QCOMPARE(HtmlExport::DescriptionTarget(u"notes\\none.htm"_s, place), u"notes\\none.htm"_s);
        QCOMPARE(HtmlExport::DescriptionTarget(u"notes"_s, place), u"notes"_s);

        // The link's text stays the stored value.
        HtmlExport::WritePage(page, { u"discriptionfile: "_s + stored }, u"/l.lst"_s, {}, program);
        QVERIFY(bytesOf(page).contains("<a href=\"../prog/notes/a%20%231%25%3F.htm\">notes\\a #1%?.htm</a>"));
    }

    // The page never replaces the open list, main.lis, a settings file in use or any other list.
    void pageTargetRefusals_data()
    {
        QTest::addColumn<QString>("name"); // in the test's folder
        QTest::addColumn<QString>("refusal");
        const QString another = u" Выберите для страницы другой файл."_s;
        const QString list = u"Страница не может заменить открытый список."_s + another;
        const QString index = u"Страница не может заменить список быстрой загрузки main.lis."_s + another;
        const QString settings = u"Страница не может заменить используемый файл настроек."_s + another;
        const QString other = u"Этот файл - список музыкальных файлов, страница не может его заменить."_s + another;
        QTest::newRow("open list") << u"lists/open.lst"_s << list;
        QTest::newRow("open list spelled otherwise") << u"prog/../lists/./open.lst"_s << list;
        QTest::newRow("link to the open list") << u"link.htm"_s << list;
        QTest::newRow("main.lis not made yet") << u"prog/main.lis"_s << index;
        QTest::newRow("default settings") << u"prog/ks.ini"_s << settings;
        QTest::newRow("list's own settings") << u"lists/own.ini"_s << settings;
        QTest::newRow("another list") << u"lists/other.lst"_s << other;
        QTest::newRow("a list with a byte-order mark") << u"lists/marked.htm"_s << other;
        QTest::newRow("a list of one line") << u"lists/one"_s << other;
        QTest::newRow("an old page") << u"lists/page.htm"_s << QString();
        QTest::newRow("not quite a list") << u"lists/albums.txt"_s << QString();
        QTest::newRow("a new file") << u"lists/new.htm"_s << QString();
        QTest::newRow("main.lis of another folder") << u"lists/main.lis"_s << QString();
    }

    void pageTargetRefusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"prog"_s)) && QDir().mkpath(dir.filePath(u"lists"_s)));
        const QList<std::pair<QString, QByteArray>> files{
            { u"lists/open.lst"_s, "-newalbum\r\n" },         { u"prog/ks.ini"_s, "[Options]\r\n" },
            { u"lists/own.ini"_s, "" },                         { u"lists/other.lst"_s, "-newalbum\nauthor: \n" },
            { u"lists/marked.htm"_s, "\xEF\xBB\xBF-newalbum\r\n" }, { u"lists/one"_s, "-newalbum" },
            { u"lists/page.htm"_s, "<html>\r\n" },             { u"lists/albums.txt"_s, "-newalbums\r\n" },
        };
        for (const auto &[file, bytes] : files)
            writeBytes(dir.filePath(file), bytes);
        QVERIFY(QFile::link(dir.filePath(u"lists/open.lst"_s), dir.filePath(u"link.htm"_s)));
        const HtmlExport::TKeptFiles kept{ dir.filePath(u"lists/open.lst"_s), dir.filePath(u"prog/main.lis"_s),
                                           { dir.filePath(u"prog/ks.ini"_s), dir.filePath(u"lists/own.ini"_s) } };
        QCOMPARE(HtmlExport::TargetRefusal(dir.filePath(name), kept), refusal);
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
