// Tests that a save failing halfway reports "Cannot create file" and leaves the old list intact (POSIX).
#include "CatalogueTestUtil.h"
#include "FileSizeLimit_unix.h"
#include "KsError.h"
#include "LinesFile.h"
#include "OpenList.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

using TestSupport::FileSizeLimit;

class TestSaveFailure : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteKeepsTheOldFile();
    void readOnlyFolderKeepsTheOldFile();
    void killedSavesLeaveNoVisibleStrays();
};

void TestSaveFailure::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s);
    const QByteArray old = listBytes(albumBlock(u"A"_s, u"Old"_s, { u"t"_s }));
    writeBytes(file, old);

    TOpenList list;
    list.ListFileName = file;
    list.ListLines = albumBlock(u"A"_s, u"Old"_s, { u"t"_s });
    QStringList bigger;
    for (int i = 0; i < 20000; ++i)
        bigger << albumBlock(u"Автор"_s, u"Новый %1"_s.arg(i), { u"трек"_s });
    {
        FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.ok());
        try {
            list.Commit(bigger);
            QFAIL("the save reported success");
        } catch (const KsError &e) {
            QCOMPARE(e.message(), u"Cannot create file "_s + file);
        }
    }
    QCOMPARE(readBytes(file), old);
    QCOMPARE(list.ListLines, albumBlock(u"A"_s, u"Old"_s, { u"t"_s })); // the open list did not take them
    // No temporary file, hidden or not, is left behind next to the list.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList { u"list.lst"_s });
}

void TestSaveFailure::readOnlyFolderKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"ro"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + u"/list.lst"_s;
    const QByteArray old = listBytes(albumBlock(u"A"_s, u"Old"_s, {}));
    writeBytes(file, old);
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    if (access(folder.toLocal8Bit().constData(), W_OK) == 0) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("this user may write into read-only folders (root)");
    }
    TOpenList list;
    list.ListFileName = file;
    QVERIFY_THROWS_EXCEPTION(KsError, list.Commit(QStringList { u"new"_s }));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(readBytes(file), old);
}

// A save killed at any moment leaves the list whole (old or new) and no other file the user sees.
void TestSaveFailure::killedSavesLeaveNoVisibleStrays()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s);
    QStringList a, b;
    for (int i = 0; i < 2000; ++i) {
        a << albumBlock(u"A"_s, u"Один %1"_s.arg(i), { u"x"_s });
        b << albumBlock(u"B"_s, u"Два %1"_s.arg(i), { u"y"_s, u"z"_s });
    }
    LinesFile::writeLines(file, a);
    const QByteArray bytesA = readBytes(file);
    const QByteArray bytesB = listBytes(b);
    QRandomGenerator rng(7);
    for (int round = 0; round < 60; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                LinesFile::writeLines(file, i % 2 ? a : b);
        }
        usleep(useconds_t(rng.bounded(500, 20000)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QByteArray now = readBytes(file);
        QVERIFY(now == bytesA || now == bytesB);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{ u"list.lst"_s });
    }
}

QTEST_GUILESS_MAIN(TestSaveFailure)
#include "tst_savefailure_unix.moc"
