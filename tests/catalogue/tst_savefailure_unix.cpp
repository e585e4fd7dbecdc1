// Tests that a save failing halfway reports "Cannot create file" and leaves the old list intact (POSIX).
#include "CatalogueTestUtil.h"
#include "KsError.h"
#include "OpenList.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

namespace {

// Caps the size of files this process may write, so that a write fails on disk whoever runs the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

class TestSaveFailure : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteKeepsTheOldFile();
    void readOnlyFolderKeepsTheOldFile();
};

void TestSaveFailure::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"list.lst"_s);
    const QByteArray old = listBytes(albumBlock(u"A"_s, u"Old"_s, { u"t"_s }));
    writeBytes(file, old);

    TOpenList list;
    list.ListFileName = file;
    for (int i = 0; i < 20000; ++i)
        list.ListLines << albumBlock(u"Автор"_s, u"Новый %1"_s.arg(i), { u"трек"_s });
    {
        FileSizeLimit limit(64 * 1024);
        QVERIFY(limit.ok());
        try {
            list.Save();
            QFAIL("the save reported success");
        } catch (const KsError &e) {
            QCOMPARE(e.message(), u"Cannot create file "_s + file);
        }
    }
    QCOMPARE(readBytes(file), old);
    // No temporary file is left behind next to the list.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { u"list.lst"_s });
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
    list.ListLines = QStringList { u"new"_s };
    list.ListFileName = file;
    QVERIFY_THROWS_EXCEPTION(KsError, list.Save());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(readBytes(file), old);
}

QTEST_GUILESS_MAIN(TestSaveFailure)
#include "tst_savefailure_unix.moc"
