// Tests of the user's files on POSIX: a failed save leaves the old file whole, a protected or special
// file is never replaced, and only regular files of a sane size are read.
#include "CatalogueTestUtil.h"
#include "FileSizeLimit_unix.h"
#include "IniFile.h"
#include "KsError.h"
#include "LinesFile.h"
#include "OpenList.h"
#include "QuickLoadEntries.h"
#include "SettingsFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

using TestSupport::FileSizeLimit;

namespace {

// While it lives, this thread works without the capabilities that let root write and search any
// file (as under setpriv without dac_override), so that write protection holds for root too.
class WithoutFileOverride
{
public:
    WithoutFileOverride()
    {
        syscall(SYS_capget, &m_header, m_old);
        __user_cap_data_struct lowered[2] = { m_old[0], m_old[1] };
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &m_header, lowered);
    }
    ~WithoutFileOverride() { syscall(SYS_capset, &m_header, m_old); }
    WithoutFileOverride(const WithoutFileOverride &) = delete;
    WithoutFileOverride &operator=(const WithoutFileOverride &) = delete;

private:
    __user_cap_header_struct m_header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct m_old[2] {};
};

enum TSaver { ListEdit, DefaultListCopy, QuickLoadIndex, SettingsAtExit };
enum TTarget { ReadOnlyFile, LinkToReadOnlyFile, Fifo };

} // namespace

class TestSaveFailure : public QObject
{
    Q_OBJECT
private slots:
    void refusedSaves_data();
    void refusedSaves();
    void unreadableFiles_data();
    void unreadableFiles();
    void failedWriteKeepsTheOldFile();
    void readOnlyFolderKeepsTheOldFile();
    void killedSavesLeaveNoVisibleStrays();
};

// Every way the program saves a user's file, on a target it must not replace: the save fails as any
// failed save does, and file and memory stay as they were.
void TestSaveFailure::refusedSaves_data()
{
    QTest::addColumn<int>("saver");
    QTest::addColumn<int>("target");
    QTest::newRow("list edit, read-only") << int(ListEdit) << int(ReadOnlyFile);
    QTest::newRow("list edit, link to read-only") << int(ListEdit) << int(LinkToReadOnlyFile);
    QTest::newRow("list edit, FIFO") << int(ListEdit) << int(Fifo);
    QTest::newRow("default list copy, read-only") << int(DefaultListCopy) << int(ReadOnlyFile);
    QTest::newRow("main.lis, read-only") << int(QuickLoadIndex) << int(ReadOnlyFile);
    QTest::newRow("ks.ini at exit, read-only") << int(SettingsAtExit) << int(ReadOnlyFile);
    QTest::newRow("ks.ini at exit, FIFO") << int(SettingsAtExit) << int(Fifo);
}

void TestSaveFailure::refusedSaves()
{
    QFETCH(int, saver);
    QFETCH(int, target);
    QTemporaryDir dir;
    const QString name = saver == QuickLoadIndex ? u"main.lis"_s
        : saver == SettingsAtExit                ? u"ks.ini"_s
                                                 : u"list.lst"_s;
    const QString file = dir.filePath(name);
    const QByteArray old = "[Form]\r\nTop=1\r\n";
    if (target == Fifo) {
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0666), 0);
    } else {
        const QString real = target == LinkToReadOnlyFile ? dir.filePath(u"real"_s) : file;
        writeBytes(real, old);
        QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        if (real != file)
            QVERIFY(QFile::link(real, file));
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QStringList lines { u"Джаз {jazz.lst}"_s };
    {
        WithoutFileOverride user;
        if (target != Fifo && faccessat(AT_FDCWD, QFile::encodeName(file).constData(), W_OK, AT_EACCESS) == 0)
            QSKIP("this kernel lets root write a read-only file without dac_override");
        switch (saver) {
        case ListEdit: {
            TOpenList list;
            list.ListFileName = file;
            QCOMPARE(TestSupport::errorOf([&] { list.Commit(lines); }), u"Cannot create file "_s + file);
            QVERIFY(list.ListLines.isEmpty());
            break;
        }
        case DefaultListCopy: {
            TOpenList list;
            list.ListLines = lines;
            QCOMPARE(TestSupport::errorOf([&] { list.SaveTo(file); }), u"Cannot create file "_s + file);
            break;
        }
        case QuickLoadIndex: {
            TQuickLoadEntries entries;
            entries.Add(u"Джаз"_s, u"jazz.lst"_s);
            QCOMPARE(TestSupport::errorOf([&] { entries.Save(dir.path() + u'/'); }), u"Cannot create file "_s + file);
            QCOMPARE(entries.Entries(), QStringList { u"Джаз {jazz.lst}"_s }); // kept for the next save
            break;
        }
        case SettingsAtExit:
            QVERIFY(!Settings::Save(file, Settings::TWindowSettings()));
            break;
        }
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    if (target == Fifo)
        QVERIFY(!QFileInfo(file).isFile() && QFileInfo::exists(file));
    else
        QCOMPARE(readBytes(file), old);
}

// Only regular files within the size limit are read: a list is "Cannot open file", a settings file
// reads as defaults and is never replaced. Nothing blocks (a FIFO without a writer) or reads for ever.
void TestSaveFailure::unreadableFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("listReadable");
    QTest::newRow("FIFO") << u"fifo"_s << false;
    QTest::newRow("device") << u"/dev/zero"_s << false;
    QTest::newRow("folder") << u"folder"_s << false;
    QTest::newRow("over 512 MB") << u"600"_s << false;
    QTest::newRow("2 MB, over the settings limit") << u"2"_s << true;
}

void TestSaveFailure::unreadableFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, listReadable);
    QTemporaryDir dir;
    QString file = dir.filePath(u"x.ini"_s);
    if (kind == u"fifo"_s) {
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0666), 0);
    } else if (kind == u"folder"_s) {
        QVERIFY(QDir().mkdir(file));
    } else if (kind.startsWith(u'/')) {
        file = kind;
    } else {
        QFile sparse(file);
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(kind.toLongLong() << 20));
    }
    QCOMPARE(TestSupport::errorOf([&] { LinesFile::readFile(file); }).isEmpty(), listReadable);
    if (!listReadable)
        QCOMPARE(TestSupport::errorOf([&] { LinesFile::readFile(file); }), u"Cannot open file "_s + file);
    if (kind.startsWith(u'/'))
        return; // never written to
    const QFileInfo before(file);
    TIniFile ini(file);
    QCOMPARE(ini.Value(u"Form"_s, u"Top"_s), std::nullopt);
    ini.WriteInteger(u"Form"_s, u"Top"_s, 1);
    QVERIFY(!ini.Save());
    const QFileInfo after(file);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.isFile(), before.isFile());
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
        if (faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK, AT_EACCESS) == 0) {
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
    // Not ours: capitals, more after ".tmp", another file's, not hidden, eight digits (32 bits take seven).
    const QStringList others { u".list.lst.ABC.tmp"_s, u".list.lst.abc.tmp.bak"_s, u".other.lst.abc.tmp"_s,
        u"list.lst.abc.tmp"_s, u".list.lst.12345678.tmp"_s };
    for (const QString &name : others + QStringList { u".list.lst.k3j9x.tmp"_s }) // the last as a killed save leaves it
        writeBytes(dir.filePath(name), "mine");
    const QDir::Filters all = QDir::Files | QDir::Hidden;
    const timespec anHourAgo[2] = { { time(nullptr) - 3600, 0 }, { time(nullptr) - 3600, 0 } };
    for (const QString &name : QDir(dir.path()).entryList(all))
        QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), anHourAgo, 0), 0);
    writeBytes(dir.filePath(u".list.lst.fresh1.tmp"_s), "a save running elsewhere");
    LinesFile::writeLines(file, a);
    QStringList left = others + QStringList { u".list.lst.fresh1.tmp"_s, u"list.lst"_s };
    left.sort();
    QCOMPARE(QDir(dir.path()).entryList(all, QDir::Name), left);
}

QTEST_GUILESS_MAIN(TestSaveFailure)
#include "tst_savefailure_unix.moc"
