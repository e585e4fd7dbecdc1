// test_htmlpage_engine: an exported page in the real web engine shows a list's markup as text and runs none of it.
#include "HtmlExport.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>

using namespace Qt::StringLiterals;

class TestHtmlPageEngine : public QObject
{
    Q_OBJECT

private slots:
    void markupFromTheListStaysText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"page.htm"_s);
        const QStringList list{ u"-newalbum"_s,
                                u"author: <img src=x onerror=\"document.title='ran'\">"_s,
                                u"album: <script>document.title='ran'</script>Зима"_s,
                                u"url: x\" onmouseover=\"document.title='ran'"_s,
                                u"discriptionfile: notes\\winter.htm"_s };
        HtmlExport::WritePage(path, list, dir.filePath(u"list.lst"_s), TextCodec::TFileEncoding());

        QWebEnginePage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl::fromLocalFile(path));
        QVERIFY(loaded.wait(60000));
        QVERIFY(loaded.first().first().toBool());

        QString result;
        page.runJavaScript(u"[document.scripts.length, document.images.length, document.title,"
                           u" document.links[0].getAttribute('href'), document.body.innerText].join('|')"_s,
                           [&](const QVariant &v) { result = v.toString(); });
        QTRY_VERIFY_WITH_TIMEOUT(!result.isEmpty(), 60000);
        const QStringList parts = result.split(u'|');
        QCOMPARE(parts.value(0), u"0"_s); // no script element
        QCOMPARE(parts.value(1), u"0"_s); // no image element
        QVERIFY2(parts.value(2) != u"ran"_s, qPrintable(result));
        QCOMPARE(parts.value(3), u"x\" onmouseover=\"document.title='ran'"_s);
        // The declared character set makes the Russian labels and titles read right.
        QVERIFY2(result.contains(u"Альбом: <script>document.title='ran'</script>Зима"_s), qPrintable(result));
        QVERIFY(result.contains(u"Автор: <img src=x"_s));
    }
};

QTEST_MAIN(TestHtmlPageEngine)
#include "test_htmlpage_engine.moc"
