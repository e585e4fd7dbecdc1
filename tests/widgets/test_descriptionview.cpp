// test_descriptionview: the web view of the description tab is made only for the first page it shows.
#include "DescriptionView.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

class TestDescriptionView : public QObject
{
    Q_OBJECT

private slots:
    void engineStartsWithTheFirstPage()
    {
        TWebDescriptionView view;
        std::unique_ptr<QWidget> tab(view.Widget());
        tab->resize(300, 200);
        tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
        QVERIFY(!view.View());
        QVERIFY(!tab->findChild<QWebEngineView *>());
        view.Navigate(DescriptionUrl(QString())); // an empty page is what the tab shows already
        QVERIFY(!view.View());

        QTemporaryDir dir;
        QFile page(dir.filePath(u"a.htm"_s));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<p>\xC7\xE8\xEC\xE0</p>"); // "Зима" in code page 1251, without a charset
        page.close();
        view.Navigate(DescriptionUrl(page.fileName()));
        QWebEngineView *web = view.View();
        QVERIFY(web);
        QCOMPARE(tab->findChild<QWebEngineView *>(), web);
        QSignalSpy loaded(web, &QWebEngineView::loadFinished);
        QVERIFY(loaded.wait(60000));
        QString text;
        web->page()->toPlainText([&](const QString &t) { text = t; });
        QTRY_VERIFY_WITH_TIMEOUT(!text.isEmpty(), 60000);
        QCOMPARE(text.trimmed(), u"Зима"_s);

        // Later pages go to the same view, an empty one too.
        view.Navigate(DescriptionUrl(QString()));
        QCOMPARE(view.View(), web);
        QVERIFY(loaded.wait(60000));
        QCOMPARE(web->url(), QUrl(u"about:blank"_s));
    }
};

QTEST_MAIN(TestDescriptionView)
#include "test_descriptionview.moc"
