// tst_xdgassociation: the .lst association of a Linux desktop, written into temporary XDG folders and
// read back by the desktop's own tools (update-mime-database, xdg-mime, xdg-open).
#include "TestSupport.h"
#include "XdgAssociation.h"

#include <QDir>
#include <QDirIterator>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString makeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return path;
}

// Every file under a folder with its bytes: what a failed registration must leave as it was.
QString snapshot(const QString &folder)
{
    QString all;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        all += path + u'\n' + QString::fromLatin1(bytesOf(path).toHex()) + u'\n';
    }
    return all;
}

// A desktop tool run in the test's folders, where a list's opener is the stand-in of the test.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"XDG_CURRENT_DESKTOP"_s); // a plain window manager: xdg-utils' generic way
    environment.insert(u"DISPLAY"_s, u":99"_s);   // only looked at, never opened
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return u"<timed out>"_s;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestXdgAssociation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home; // the user's home, XDG folders and PATH of this test run, never the real ones
    XdgAssociation::TFolders m_folders;
    QString m_path;
    QString m_listType;

    QString home(const QString &name) const { return m_home.filePath(name); }

    // Registers and waits until it is complete; the failure's text, empty for success.
    QString registerAndWait(const QString &executable)
    {
        QObject context;
        std::optional<QString> result;
        XdgAssociation::Register(executable, m_folders, context, [&](const QString &failure) { result = failure; });
        if (!QTest::qWaitFor([&] { return result.has_value(); }, 60000))
            return u"<not finished>"_s;
        return *result;
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home(u"data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", home(u"config"_s).toUtf8());
        // Where packages put theirs: the test's own first, then the system's base MIME types.
        qputenv("XDG_DATA_DIRS", (home(u"system"_s) + u":/usr/share"_s).toUtf8());
        m_path = qEnvironmentVariable("PATH");
        qputenv("PATH", (home(u"bin"_s) + u':' + m_path).toUtf8());
        m_folders = XdgAssociation::UserFolders();
        m_listType = XdgAssociation::ListMimeType();
        QCOMPARE(m_folders.DataDirs, (QStringList{ home(u"system"_s), u"/usr/share"_s }));
        QCOMPARE(m_listType, u"application/x-kestrune-list"_s);
    }

    void execProgram_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value"); // as the Exec line holds it
        QTest::newRow("plain") << u"/usr/bin/kestrune"_s << u"/usr/bin/kestrune"_s;
        QTest::newRow("Cyrillic, = and +") << u"/home/u/Музыка/a=b+c/kestrune"_s << u"/home/u/Музыка/a=b+c/kestrune"_s;
        QTest::newRow("percent") << u"/opt/100%/kestrune"_s << u"/opt/100%%/kestrune"_s;
        QTest::newRow("blanks") << u"/opt/My Apps/kestrune"_s << u"\"/opt/My Apps/kestrune\""_s;
        QTest::newRow("tilde") << u"/opt/~k/kestrune"_s << u"\"/opt/~k/kestrune\""_s;
        QTest::newRow("dollar and quote") << u"/a/$b\"c"_s << u"\"/a/\\\\$b\\\\\"c\""_s;
        QTest::newRow("backslash, percent") << u"/a\\b%"_s << u"\"/a\\\\\\\\b%%\""_s;
    }

    void execProgram()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QCOMPARE(XdgAssociation::ExecProgram(path), value);
    }

    void withDefaultApplication_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray line = "application/x-kestrune-list=k.desktop";
        const QByteArray group = "[Default Applications]\n" + line + "\n";
        QTest::newRow("no file") << QByteArray() << group;
        QTest::newRow("the old default replaced")
            << QByteArray("[Default Applications]\ntext/plain=e.desktop\napplication/x-kestrune-list=old.desktop;\n")
            << "[Default Applications]\ntext/plain=e.desktop\n" + line + "\n";
        QTest::newRow("added after the group's last line, CR LF kept")
            << QByteArray("[Default Applications]\r\ntext/plain=e.desktop\r\n\r\n[Added Associations]\r\nimage/png=v;\r\n")
            << "[Default Applications]\r\ntext/plain=e.desktop\r\n" + line + "\r\n\r\n[Added Associations]\r\nimage/png=v;\r\n";
        // Found by fuzzing: one byte that is not UTF-8 must not change how any other line is written.
        const QByteArray foreign = "[Added Associations]\ntext/x-a=\xd0\xbf\xd1\x80\xd0\xb8\xd0\xbc\xd0\xb5\xd1\x80.desktop;\n"
                                   "x-scheme-handler/b=\xef\xf0\xe8.desktop\n";
        QTest::newRow("bytes that are not UTF-8") << foreign << foreign + "\n" + group;
        QTest::newRow("names compared exactly")
            << QByteArray("[default applications]\nAPPLICATION/X-KESTRUNE-LIST=x\n")
            << "[default applications]\nAPPLICATION/X-KESTRUNE-LIST=x\n\n" + group;
        QTest::newRow("the key in another group") << QByteArray("[Added Associations]\napplication/x-kestrune-list=x;")
                                                  << "[Added Associations]\napplication/x-kestrune-list=x;\n\n" + group;
        QTest::newRow("blanks around") << QByteArray("  [Default Applications] \n application/x-kestrune-list = old\n")
                                       << "  [Default Applications] \n" + line + "\n";
    }

    void withDefaultApplication()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QByteArray once = XdgAssociation::WithDefaultApplication(before, m_listType, u"k.desktop"_s);
        QCOMPARE(once, after);
        QCOMPARE(XdgAssociation::WithDefaultApplication(once, m_listType, u"k.desktop"_s), after);
    }

    void installedEntry_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<bool>("installed");
        QTest::newRow("by name on the PATH") << u"kestrune %f"_s << true;
        QTest::newRow("through a link") << u"%1/bin/link-to-kestrune %f"_s << true;
        QTest::newRow("quoted, with a blank") << u"\"%1/my bin/kestrune\" %f"_s << true;
        QTest::newRow("another program") << u"other %f"_s << false;
        QTest::newRow("no entry") << QString() << false;
    }

    void installedEntry()
    {
        QFETCH(QString, exec);
        QFETCH(bool, installed);
        const QString program = makeFile(home(u"bin/kestrune"_s), "#!/bin/sh\n", true);
        QFile::link(program, home(u"bin/link-to-kestrune"_s));
        makeFile(home(u"my bin/kestrune"_s), "#!/bin/sh\n", true);
        const QString entry = home(u"system/applications/kestrune.desktop"_s);
        QFile::remove(entry);
        if (!exec.isNull())
            makeFile(entry, "[Desktop Entry]\nName=Kestrune\nExec=" + exec.arg(m_home.path()).toUtf8() + "\n");
        const QString running = exec.contains("my bin"_L1) ? home(u"my bin/kestrune"_s) : program;
        QCOMPARE(XdgAssociation::InstalledEntry(running, m_folders.DataDirs),
                 installed ? u"kestrune.desktop"_s : QString());
        QFile::remove(entry);
    }

    void programOfItsOwnFolder()
    {
        // The user's own defaults stay as they were.
        const QString mimeApps = makeFile(home(u"config/mimeapps.list"_s), "[Default Applications]\ntext/plain=e.desktop\n");
        const QString program = makeFile(home(u"portable/kestrune"_s), "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.opened\"\n", true);
        QCOMPARE(registerAndWait(program), QString());

        const QString entry = m_folders.DataHome + u"/applications/kestrune-portable.desktop"_s;
        const QStringList entryLines = QString::fromUtf8(bytesOf(entry)).split(u'\n');
        QVERIFY(entryLines.contains(u"Exec="_s + program + u" %f"_s));
        QVERIFY(entryLines.contains(u"TryExec="_s + program));
        QVERIFY(entryLines.contains(u"Name=Kestrune ("_s + home(u"portable"_s) + u')'));
        QVERIFY(entryLines.contains(u"MimeType=application/x-kestrune-list;"_s));
        QVERIFY(!QFileInfo::exists(m_folders.DataHome + u"/applications/kestrune.desktop"_s)); // never the package's ID
        const QString icon = m_folders.DataHome + u"/icons/hicolor/scalable/apps/kestrune.svg"_s;
        QVERIFY(bytesOf(icon).contains("<svg"));
        QVERIFY(bytesOf(m_folders.DataHome + u"/mime/magic"_s).contains("-newalbum"));
        QCOMPARE(bytesOf(mimeApps), "[Default Applications]\ntext/plain=e.desktop\napplication/x-kestrune-list=kestrune-portable.desktop\n");

        // A second request leaves the same files.
        const QString before = snapshot(m_home.path());
        QCOMPARE(registerAndWait(program), QString());
        QCOMPARE(snapshot(m_home.path()), before);

        // xdg-open of Debian 12 (xdg-utils 1.1.3) under a plain window manager opens a list with it.
        const QString xdgOpen = QStandardPaths::findExecutable(u"xdg-open"_s);
        if (xdgOpen.isEmpty() || QStandardPaths::findExecutable(u"mimetype"_s).isEmpty())
            QSKIP("xdg-open or mimetype (xdg-utils, libfile-mimeinfo-perl) is not installed");
        QCOMPARE(run(u"xdg-mime"_s, { u"query"_s, u"default"_s, m_listType }), u"kestrune-portable.desktop"_s);
        const QString list = makeFile(home(u"lists/my list.lst"_s), "-newalbum\r\nauthor: A\r\n");
        run(xdgOpen, { list });
        QTRY_COMPARE(bytesOf(program + u".opened"_s), list.toUtf8() + '\n');
    }

    void installedProgram()
    {
        // The packaged entry starts this program: the user's default names it, and nothing else is written.
        makeFile(home(u"system/applications/kestrune.desktop"_s), "[Desktop Entry]\nExec=kestrune %f\n");
        const QString program = makeFile(home(u"bin/kestrune"_s), "#!/bin/sh\n", true);
        QTemporaryDir data;
        m_folders.DataHome = data.path();
        QObject context;
        int reports = 0;
        XdgAssociation::Register(program, m_folders, context, [&](const QString &failure) {
            QVERIFY(failure.isEmpty());
            ++reports;
        });
        QCOMPARE(reports, 1); // complete on return
        QCOMPARE(snapshot(data.path()), QString());
        QVERIFY(bytesOf(home(u"config/mimeapps.list"_s)).endsWith("application/x-kestrune-list=kestrune.desktop\n"));
        QFile::remove(home(u"system/applications/kestrune.desktop"_s));
        m_folders = XdgAssociation::UserFolders();
    }

    void databaseRebuiltInTheBackground_data()
    {
        QTest::addColumn<QByteArray>("updater"); // a stand-in update-mime-database, run once "go" exists
        QTest::addColumn<QString>("failure");
        QTest::newRow("done") << QByteArray("exit 0") << QString();
        QTest::newRow("failed") << QByteArray("echo 'no space left' >&2; exit 3")
                                << u"update-mime-database %1/mime failed: no space left"_s;
    }

    void databaseRebuiltInTheBackground()
    {
        QFETCH(QByteArray, updater);
        QFETCH(QString, failure);
        const QString go = home(u"go"_s);
        QFile::remove(go);
        makeFile(home(u"bin/update-mime-database"_s),
                 "#!/bin/sh\nwhile [ ! -e '" + go.toUtf8() + "' ]; do sleep 0.05; done\n" + updater + "\n", true);
        QObject context;
        std::optional<QString> result;
        XdgAssociation::Register(home(u"portable/kestrune"_s), m_folders, context, [&](const QString &f) { result = f; });
        // Returned while the database is being rebuilt; a second request meanwhile is refused.
        QTest::qWait(200);
        QVERIFY(!result);
        QCOMPARE(TestSupport::errorOf([&] {
                     XdgAssociation::Register(home(u"portable/kestrune"_s), m_folders, context, [](const QString &) {});
                 }),
                 u"update-mime-database is still running for the last association"_s);
        makeFile(go, "");
        QTRY_VERIFY(result);
        QCOMPARE(*result, failure.isEmpty() ? failure : failure.arg(m_folders.DataHome));
        QFile::remove(home(u"bin/update-mime-database"_s));
    }

    // A failure found before writing names its cause and writes nothing.
    void checkedBeforeWriting_data()
    {
        QTest::addColumn<QString>("blocker");    // made a file or a folder where the registration writes
        QTest::addColumn<QString>("error");
        QTest::newRow("mimeapps.list a folder") << u"config/mimeapps.list/"_s
                                                << u"Cannot open file %1/config/mimeapps.list: "_s;
        QTest::newRow("a file for the data folder") << u"blocked-data"_s
                                                    << u"Cannot create file %1/blocked-data/applications/"
                                                       u"kestrune-portable.desktop: %1/blocked-data is not a folder"_s;
        QTest::newRow("no update-mime-database") << QString()
                                                 << u"Cannot run update-mime-database: it is not installed "
                                                    u"(package shared-mime-info)"_s;
    }

    void checkedBeforeWriting()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, error);
        XdgAssociation::TFolders folders = m_folders;
        QTemporaryDir fresh;
        folders.DataHome = fresh.filePath(u"data"_s);
        folders.ConfigHome = fresh.filePath(u"config"_s);
        if (blocker.endsWith(u'/'))
            QDir().mkpath(fresh.filePath(blocker));
        else if (!blocker.isEmpty())
            makeFile(folders.DataHome = fresh.filePath(blocker), "x");
        else
            qputenv("PATH", home(u"empty"_s).toUtf8());
        const QString before = snapshot(fresh.path());
        QObject context;
        const QString thrown = TestSupport::errorOf(
            [&] { XdgAssociation::Register(home(u"portable/kestrune"_s), folders, context, [](const QString &) {}); });
        qputenv("PATH", (home(u"bin"_s) + u':' + m_path).toUtf8());
        QVERIFY2(thrown.startsWith(error.arg(fresh.path())), qPrintable(thrown));
        QCOMPARE(snapshot(fresh.path()), before);
    }

    // Installed, the type knows Kestrune's lists by their first line and leaves other .lst files alone.
    void typeOfSamples_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");
        const QString list = u"application/x-kestrune-list"_s;
        QTest::newRow("list, code page 1251") << u"jazz.lst"_s << QByteArray("-newalbum\r\nauthor: \xc0\xe1\r\n") << list;
        QTest::newRow("list with a byte-order mark") << u"bom.lst"_s << QByteArray("\xef\xbb\xbf-newalbum\r\n") << list;
        QTest::newRow("compiler listing") << u"prog.lst"_s
                                          << QByteArray("   1 0000 B8 01 00    start: mov ax, 1\n") << u"text/plain"_s;
        QTest::newRow("a list named .txt") << u"notes.txt"_s << QByteArray("-newalbum\r\n") << u"text/plain"_s;
    }

    void typeOfSamples()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        if (!QFileInfo::exists(m_folders.DataHome + u"/mime/mime.cache"_s))
            QCOMPARE(registerAndWait(home(u"portable/kestrune"_s)), QString());
        const QString file = makeFile(home(u"samples/"_s + name), bytes);
        QCOMPARE(QMimeDatabase().mimeTypeForFile(file).name(), type);
        if (!QStandardPaths::findExecutable(u"mimetype"_s).isEmpty()) // else xdg-mime asks libmagic, not the database
            QCOMPARE(run(u"xdg-mime"_s, { u"query"_s, u"filetype"_s, file }), type);
    }
};

QTEST_GUILESS_MAIN(TestXdgAssociation)
#include "tst_xdgassociation.moc"
