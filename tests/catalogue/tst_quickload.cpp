// Tests of the quick-load index: both splits of an entry and reading main.lis.
#include "CatalogueTestUtil.h"
#include "KsError.h"
#include "OpenList.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

class TestQuickLoad : public QObject
{
    Q_OBJECT
private slots:
    void splitEntry_data();
    void splitEntry();
    void splitEntryForManager_data();
    void splitEntryForManager();
    void readIndex();
    void missingIndexGivesNoEntries();
    void indexThatIsAFolderFails();
};

void TestQuickLoad::splitEntry_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("written form") << u"Рок {C:\\rock.lst}"_s << u"Рок "_s << u"C:\\rock.lst"_s;
    QTest::newRow("trailing blank") << u"Рок {C:\\rock.lst} "_s << u"Рок  "_s << u"C:\\rock.lst}"_s;
    QTest::newRow("no closing brace") << u"Jazz {D:\\jazz.lst"_s << u"Jazz "_s << u"D:\\jazz.ls"_s;
    QTest::newRow("no brace at all") << u"plain"_s << u"plain"_s << u"plai"_s;
    QTest::newRow("empty path") << u"Empty {}"_s << u"Empty "_s << QString();
    QTest::newRow("brace is the last char") << u"x{"_s << u"x"_s << QString();
    QTest::newRow("one char") << u"x"_s << u"x"_s << QString();
    QTest::newRow("empty line") << QString() << QString() << QString();
    QTest::newRow("unix path") << u"Мои {/home/u/my list.lst}"_s << u"Мои "_s << u"/home/u/my list.lst"_s;
    QTest::newRow("braces in path") << u"A {x{y}.lst}"_s << u"A .lst}"_s << u"x{y}.lst"_s;
}

void TestQuickLoad::splitEntry()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, file);
    const TQuickLoadEntry e = QuickLoad::SplitEntry(line);
    QCOMPARE(e.Name, name);
    QCOMPARE(e.File, file);
}

void TestQuickLoad::splitEntryForManager_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("written form") << u"Рок {C:\\rock.lst}"_s << u"Рок"_s << u"C:\\rock.lst"_s;
    QTest::newRow("trailing blank") << u"Рок {C:\\rock.lst} "_s << u"Рок "_s << u"C:\\rock.lst"_s;
    QTest::newRow("no blank before brace") << u"Рок{C:\\rock.lst}"_s << QString() << u"C:\\rock.lst"_s;
    QTest::newRow("no brace at all") << u"plain"_s << u"plain"_s << QString();
}

void TestQuickLoad::splitEntryForManager()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, file);
    const TQuickLoadEntry e = QuickLoad::SplitEntryForManager(line);
    QCOMPARE(e.Name, name);
    QCOMPARE(e.File, file);
}

void TestQuickLoad::readIndex()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeBytes(folder + u"main.lis"_s, listBytes({ u"Джаз {D:\\Lists\\jazz.lst}"_s, QString(), u"Рок {rock.lst}"_s }));
    const QList<TQuickLoadEntry> entries = QuickLoad::ReadIndex(folder);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(0).Name, u"Джаз "_s);
    QCOMPARE(entries.at(0).File, u"D:\\Lists\\jazz.lst"_s);
    QVERIFY(entries.at(1).File.isEmpty()); // an empty line stays an entry that does nothing
    QCOMPARE(entries.at(2).File, u"rock.lst"_s);
}

void TestQuickLoad::missingIndexGivesNoEntries()
{
    QTemporaryDir dir;
    QVERIFY(QuickLoad::ReadIndex(dir.path() + u'/').isEmpty());
}

void TestQuickLoad::indexThatIsAFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"main.lis"_s));
    try {
        QuickLoad::ReadIndex(dir.path() + u'/');
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"Cannot open file "_s + dir.path() + u"/main.lis"_s);
    }
}

QTEST_GUILESS_MAIN(TestQuickLoad)
#include "tst_quickload.moc"
