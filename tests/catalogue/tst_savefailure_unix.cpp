// Tests of the user's files on POSIX: a failed save leaves the old file whole, a protected or special
// file is never replaced, and only regular files of a sane size are read.
#include "CatalogueTestUtil.h"
#include "FileOverride_unix.h"
#include "FileSizeLimit_unix.h"
#include "IniFile.h"
#include "KsError.h"
#include "LinesFile.h"
#include "OpenList.h"
#include "QuickLoadEntries.h"
#include "SettingsFile.h"
#include "TestSupport.h"
#include "UndoHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

using TestSupport::FileSizeLimit;
using TestSupport::WithoutFileOverride;


class TestSaveFailure : public QObject
{
    Q_OBJECT
private slots:
    void protectedFilesAreNotReplaced();
    void onlyRegularFilesOfASaneSizeAreRead();
    void failedWriteKeepsTheOldFile();
    void readOnlyFolderKeepsTheOldFile();
    void killedSavesLeaveNoVisibleStrays();
    void failedUndoKeepsItsStep();
};

// Every way the program saves a user's file, on a read-only file, a link to one and a FIFO: each fails
// as any failed save does, and files and memory stay as they were.
void TestSaveFailure::protectedFilesAreNotReplaced()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"main.lis"_s), link = dir.filePath(u"link"_s), fifo = dir.filePath(u"fifo"_s);
    const QByteArray old = "[Form]\r\nTop=1\r\n";
    writeBytes(file, old);
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner) && QFile::link(file, link));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QStringList entries { u"Джаз {jazz.lst}"_s };
    WithoutFileOverride user;
    if (WithoutFileOverride::Writable(file))
        QSKIP("this kernel lets root write a read-only file without dac_override");
    for (const QString &target : { file, link, fifo }) {
        TOpenList list;
        list.ListFileName = target;
        QCOMPARE(TestSupport::errorOf([&] { list.Commit(entries); }), u"Cannot create file "_s + target);
        QVERIFY(list.ListLines.isEmpty()); // a list edit; then the copy to the default list, ks.ini at exit
        list.ListLines = entries;
        QCOMPARE(TestSupport::errorOf([&] { list.SaveTo(target); }), u"Cannot create file "_s + target);
        QVERIFY(!Settings::Save(target, Settings::TWindowSettings()));
    }
    TQuickLoadEntries index;
    index.Add(u"Джаз"_s, u"jazz.lst"_s);
    QCOMPARE(TestSupport::errorOf([&] { index.Save(dir.path() + u'/'); }), u"Cannot create file "_s + file);
    QCOMPARE(index.Entries(), entries); // kept for the next save
    QCOMPARE(readBytes(file), old);
    QVERIFY(QFileInfo::exists(fifo) && !QFileInfo(fifo).isFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

// A FIFO (never opened: it would wait for a writer), a device, a folder or a file over the limit is
// "Cannot open file" as a list; as a settings file it reads as defaults and is never replaced.
void TestSaveFailure::onlyRegularFilesOfASaneSizeAreRead()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"fifo"_s), huge = dir.filePath(u"huge"_s), ini = dir.filePath(u"2mb.ini"_s);
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    writeBytes(ini, "[Form]\r\nTop=5\r\n");
    writeBytes(huge, QByteArray());
    QVERIFY(QFile(huge).resize(qint64(600) << 20) && QFile(ini).resize(qint64(2) << 20)); // sparse
    for (const QString &path : { fifo, huge, u"/dev/zero"_s, dir.path() })
        QCOMPARE(TestSupport::errorOf([&] { LinesFile::readFile(path); }), u"Cannot open file "_s + path);
    QCOMPARE(LinesFile::readFile(ini).Lines.first(), u"[Form]"_s); // within a list's limit
    for (const QString &path : { fifo, ini }) {
        TIniFile settings(path);
        QCOMPARE(settings.ReadInteger(u"Form"_s, u"Top"_s, 74), 74);
        QVERIFY(!settings.Save());
    }
    QCOMPARE(QFileInfo(ini).size(), qint64(2) << 20);
}

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
    {
        WithoutFileOverride user;
        if (WithoutFileOverride::Writable(folder)) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this kernel lets root write a read-only folder without dac_override");
        }
        TOpenList list;
        list.ListFileName = file;
        QVERIFY_THROWS_EXCEPTION(KsError, list.Commit(QStringList { u"new"_s }));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(readBytes(file), old);
}

// A save killed at any moment leaves the list whole (old or new) and no other file the user sees; the
// hidden temporary files it leaves are removed by a later save once they are stale, and nothing else.
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
    // Kept: names the save never makes (capitals, more after ".tmp", another file's, not hidden, eight
    // digits), and a fresh temporary file that may be a save running elsewhere.
    QStringList kept { u".list.lst.ABC.tmp"_s, u".list.lst.abc.tmp.bak"_s, u".other.lst.abc.tmp"_s,
        u"list.lst.abc.tmp"_s, u".list.lst.12345678.tmp"_s, u".list.lst.fresh1.tmp"_s, u"list.lst"_s };
    const timespec anHourAgo[2] = { { time(nullptr) - 3600, 0 }, { time(nullptr) - 3600, 0 } };
    for (const QString &name : kept.mid(0, 5) + QStringList { u".list.lst.k3j9x.tmp"_s })
        writeBytes(dir.filePath(name), "mine");
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
        QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), anHourAgo, 0), 0);
    writeBytes(dir.filePath(kept.at(5)), "fresh");
    LinesFile::writeLines(file, a);
    kept.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), kept);
}

// An undo or redo that cannot write (a size limit) or remove what it made (a protected file) fails
// loudly, leaves the file as it was and keeps its step for a later try.
void TestSaveFailure::failedUndoKeepsItsStep()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s), made = dir.filePath(u"made.lst"_s);
    const QByteArray big(200 * 1024, 'x');
    writeBytes(file, big);
    TUndoHistory history;
    QVERIFY(history.Write(made, "new") && history.Write(file, "small"));
    {
        FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.ok());
        QCOMPARE(TestSupport::errorOf([&] { history.Undo(); }), u"Cannot create file "_s + file);
    }
    QCOMPARE(readBytes(file), QByteArray("small"));
    QCOMPARE(history.UndoSteps().size(), 2);
    QVERIFY(history.Undo().Refusal.isEmpty());
    QCOMPARE(readBytes(file), big);
    QVERIFY(QFile::setPermissions(made, QFile::ReadOwner));
    {
        WithoutFileOverride user;
        if (WithoutFileOverride::Writable(made))
            QSKIP("this kernel lets root write a read-only file without dac_override");
        QCOMPARE(TestSupport::errorOf([&] { history.Undo(); }), u"Cannot delete file "_s + made);
    }
    QVERIFY(QFile::exists(made));
    QCOMPARE(history.UndoSteps().size(), 1);
}

QTEST_GUILESS_MAIN(TestSaveFailure)
#include "tst_savefailure_unix.moc"
