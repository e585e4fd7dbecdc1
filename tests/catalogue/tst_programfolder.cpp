// Tests of the program folder chosen at start-up and the demo catalogue a new user's folder is given.
#include "CatalogueTestUtil.h"
#include "FileSizeLimit_unix.h"
#include "KsError.h"
#include "OpenList.h"
#include "Paths.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

namespace {

// Every file below a folder with its bytes, by relative path.
QMap<QString, QByteArray> filesBelow(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readBytes(path));
    }
    return files;
}

// An installed demo: a list whose album names its page and cover relative to the program folder,
// a long quick-load index, a second list and an audio file; everything read-only, as installed.
QString makeDemo(const QTemporaryDir &dir)
{
    const QString demo = dir.filePath(u"skel"_s);
    QStringList album = albumBlock(u"Автор"_s, u"Альбом"_s, { u"Трек"_s });
    album[4] = u"discriptionfile: demo\\pages\\a.htm"_s;
    album[6] = u"image: demo\\covers\\a.jpg"_s;
    const QMap<QString, QByteArray> files = {
        { u"list.lst"_s, listBytes(album) },
        { u"main.lis"_s, listBytes(QStringList{ u"Главный {list.lst}"_s, u"Второй {demo\\second.lst}"_s }
                                   + QStringList(3000, u"Ещё {demo\\second.lst}"_s)) },
        { u"demo/second.lst"_s, listBytes(albumBlock(u"B"_s, u"Second"_s, { u"t"_s })) },
        { u"demo/pages/a.htm"_s, "<p>page</p>" },
        { u"demo/covers/a.jpg"_s, "jpeg" },
        { u"demo/audio/a.mp3"_s, QByteArray(3000, '\xff') },
    };
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = demo + u'/' + it.key();
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeBytes(path, it.value());
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return demo + u'/';
}

} // namespace

class TestProgramFolder : public QObject
{
    Q_OBJECT
private slots:
    void canWrite_data();
    void canWrite();
    void programFolderChoice_data();
    void programFolderChoice();
    void newUserGetsTheDemo();
    void usedFolderIsNeverSeeded_data();
    void usedFolderIsNeverSeeded();
    void interruptedCopyIsTakenUpAgain();
    void failuresAreReported();
};

void TestProgramFolder::canWrite_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("writable");
    static QTemporaryDir dir;
    writeBytes(dir.filePath(u"file"_s), "x");
    QTest::newRow("own folder") << dir.path() << true;
    QTest::newRow("trailing separator") << dir.path() + u'/' << true;
    QTest::newRow("missing") << dir.filePath(u"missing"_s) << false;
    QTest::newRow("a file, not a folder") << dir.filePath(u"file"_s) << false;
    // Refuses new files whatever the user's rights, root's included.
    QTest::newRow("/proc") << u"/proc"_s << false;
}

void TestProgramFolder::canWrite()
{
    QFETCH(QString, folder);
    QFETCH(bool, writable);
    // Only the probe's own names are compared: /proc's entries come and go with the machine's processes.
    const auto probes = [&] {
        return QDir(folder).entryList({ u".kestrune-write-test-*"_s }, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = probes();
    QCOMPARE(Paths::canWrite(folder), writable);
    // The test file is gone again.
    QCOMPARE(probes(), before);
}

void TestProgramFolder::programFolderChoice_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("executableFolder");
    QTest::newRow("portable copy or build") << true << false << true;
    QTest::newRow("folder the user cannot write") << false << false << false;
    QTest::newRow("installed, run by root") << true << true << false;
    QTest::newRow("installed, run by a user") << false << true << false;
}

void TestProgramFolder::programFolderChoice()
{
    QFETCH(bool, writable);
    QFETCH(bool, installed);
    QFETCH(bool, executableFolder);
    Paths::TStartFolders folders{ u"/opt/ks/"_s, writable, u"/home/u/.local/share/Kestrune/"_s, u"/opt/share/"_s, installed };
    QCOMPARE(Paths::chooseProgramFolder(folders), executableFolder ? folders.Executable : folders.UserData);
}

void TestProgramFolder::newUserGetsTheDemo()
{
    QTemporaryDir dir;
    const QString demo = makeDemo(dir);
    const QString user = dir.filePath(u"home/.local/share/Kestrune/"_s);
    Paths::prepareUserDataFolder(user, demo);
    QCOMPARE(filesBelow(user), filesBelow(demo));

    // The copies are the user's to change, and the demo's relative paths resolve against the folder.
    TOpenList list;
    TCatalogueTree tree;
    QVERIFY(list.LoadList(user + u"list.lst"_s, tree, TLoadContext{ user, QString(), {} }));
    const TAlbum album = list.ReadAlbumRecord(u"Альбом"_s, user);
    QCOMPARE(readBytes(Paths::toFileSystem(album.DescriptionFile)), "<p>page</p>"_ba);
    QVERIFY(Paths::fileExists(album.Image));
    for (const QString &name : filesBelow(user).keys())
        QVERIFY2(QFileInfo(user + name).permissions() & QFile::WriteOwner, qPrintable(name));
    list.Commit(list.ListLines + albumBlock(u"C"_s, u"New"_s, {}));
    QCOMPARE(QuickLoad::ReadIndex(user).value(1).File, u"demo\\second.lst"_s);
}

void TestProgramFolder::usedFolderIsNeverSeeded_data()
{
    QTest::addColumn<QStringList>("present"); // what the user's folder holds before the start
    QTest::newRow("edited list") << QStringList{ u"list.lst"_s };
    QTest::newRow("only settings: the lists were deleted") << QStringList{ u"ks.ini"_s };
    QTest::newRow("list and settings") << QStringList{ u"list.lst"_s, u"ks.ini"_s };
}

void TestProgramFolder::usedFolderIsNeverSeeded()
{
    QFETCH(QStringList, present);
    QTemporaryDir dir;
    const QString demo = makeDemo(dir);
    const QString user = dir.filePath(u"user/"_s);
    QVERIFY(QDir().mkpath(user));
    for (const QString &name : present)
        writeBytes(user + name, "the user's own");
    const QMap<QString, QByteArray> before = filesBelow(user);
    Paths::prepareUserDataFolder(user, demo);
    QCOMPARE(filesBelow(user), before);
}

void TestProgramFolder::interruptedCopyIsTakenUpAgain()
{
    QTemporaryDir dir;
    const QString demo = makeDemo(dir);
    const QString user = dir.filePath(u"user/"_s);
    QVERIFY(QDir().mkpath(user + u"demo"_s));
    writeBytes(user + u"demo/second.lst"_s, "the user's own list");
    {
        // The disk fills up in the middle of main.lis, which comes after list.lst by name.
        TestSupport::FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.ok());
        QCOMPARE(TestSupport::errorOf([&] { Paths::prepareUserDataFolder(user, demo); }),
                 u"Cannot create file "_s + user + u"main.lis"_s);
    }
    // No half file; and without the list the folder still counts as new.
    const QMap<QString, QByteArray> partial = filesBelow(user);
    QVERIFY(!partial.contains(u"main.lis"_s));
    QVERIFY(!partial.contains(u"list.lst"_s));
    QCOMPARE(partial.value(u"demo/audio/a.mp3"_s), readBytes(demo + u"demo/audio/a.mp3"_s));

    Paths::prepareUserDataFolder(user, demo);
    QMap<QString, QByteArray> expected = filesBelow(demo);
    expected[u"demo/second.lst"_s] = "the user's own list"; // never replaced
    QCOMPARE(filesBelow(user), expected);
}

void TestProgramFolder::failuresAreReported()
{
    QTemporaryDir dir;
    const QString demo = makeDemo(dir);
    writeBytes(dir.filePath(u"file"_s), "x");
    // The data folder cannot be made below a file.
    const QString blocked = dir.filePath(u"file/Kestrune/"_s);
    QCOMPARE(TestSupport::errorOf([&] { Paths::prepareUserDataFolder(blocked, demo); }),
             u"Cannot create file "_s + blocked);

    // A file where a demo folder belongs: the copy stops there, the list is not copied.
    const QString user = dir.filePath(u"user/"_s);
    QVERIFY(QDir().mkpath(user));
    writeBytes(user + u"demo"_s, "a file");
    const QString error = TestSupport::errorOf([&] { Paths::prepareUserDataFolder(user, demo); });
    QVERIFY2(error.startsWith(u"Cannot create file "_s + user + u"demo/"_s), qPrintable(error));
    QVERIFY(!QFileInfo::exists(user + u"list.lst"_s));

    // Without an installed demo the folder is made and nothing else happens.
    const QString bare = dir.filePath(u"bare/"_s);
    Paths::prepareUserDataFolder(bare, dir.filePath(u"no-demo/"_s));
    QVERIFY(QFileInfo(bare).isDir());
    QVERIFY(filesBelow(bare).isEmpty());
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
