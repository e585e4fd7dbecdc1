// test_descriptionview: the web view of the description tab is made for the first page it shows, and an
// exported list page shows the list's markup as text in it, running none of it.
#include "DescriptionView.h"
#include "HtmlExport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

class TestDescriptionView : public QObject
{
    Q_OBJECT

private:
    // Runs a script in the page and waits for its text.
    static QString evaluate(QWebEngineView *view, const QString &script)
    {
        QString result;
        bool done = false;
        view->page()->runJavaScript(script, [&](const QVariant &v) {
            result = v.toString();
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 60000))
            qFatal("the page did not answer");
        return result;
    }

private slots:
    void engineStartsWithTheFirstPage()
    {
        TWebDescriptionView view;
        std::unique_ptr<QWidget> tab(view.Widget());
        tab->resize(300, 200);
        tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
        view.Navigate(DescriptionUrl(QString())); // an empty page is what the tab shows already
        QVERIFY(!view.View());
        QVERIFY(!tab->findChild<QWebEngineView *>());

        QTemporaryDir dir;
        const QString path = dir.filePath(u"page.htm"_s);
        // A description link reaches its file in the program folder; a script address is no link.
        QVERIFY(QDir().mkpath(dir.filePath(u"prog/notes"_s)));
        QFile note(dir.filePath(u"prog/notes/a #1.htm"_s));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();
        const QStringList list{ u"author: <img src=x onerror=\"document.title='ran'\">"_s,
                                u"album: <script>document.title='ran'</script>Зима"_s,
                                u"url: x\" onmouseover=\"document.title='ran'"_s,
                                u"url: \tJavaScript:document.title='ran'"_s,
                                u"discriptionfile: notes\\a #1.htm"_s };
        HtmlExport::WritePage(path, list, dir.filePath(u"list.lst"_s), TextCodec::TFileEncoding(),
                              dir.filePath(u"prog/"_s));
        view.Navigate(DescriptionUrl(path));
        QWebEngineView *web = view.View();
        QVERIFY(web);
        QCOMPARE(tab->findChild<QWebEngineView *>(), web);
        QSignalSpy loaded(web, &QWebEngineView::loadFinished);
        QVERIFY(loaded.wait(60000));

        QCOMPARE(evaluate(web, u"[document.scripts.length, document.images.length, document.title].join('|')"_s),
                 u"0|0|"_s);
        QCOMPARE(evaluate(web, u"document.links[0].getAttribute('href')"_s), list[2].mid(5));
        QCOMPARE(evaluate(web, u"document.links.length + '|' + document.links[1].href"_s),
                 u"2|"_s + QUrl::fromLocalFile(note.fileName()).toString(QUrl::FullyEncoded));
        // The declared code page makes the Russian labels and titles read right.
        const QString text = evaluate(web, u"document.body.innerText"_s);
        QVERIFY2(text.contains(u"Альбом: <script>document.title='ran'</script>Зима"_s), qPrintable(text));

        // Later pages go to the same view.
        view.Navigate(DescriptionUrl(QString()));
        QVERIFY(loaded.wait(60000));
        QCOMPARE(view.View(), web);
        QCOMPARE(web->url(), QUrl(u"about:blank"_s));
    }
};

QTEST_MAIN(TestDescriptionView)
#include "test_descriptionview.moc"
