// tst_xdgassociation: the .lst association of a Linux desktop, written into temporary XDG folders.
#include "KsError.h"
#include "TestSupport.h"
#include "XdgAssociation.h"

#include <QDir>
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

QStringList lines(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).split(u'\n');
}

// Points HOME and the XDG folders at a temporary folder while it lives.
class TemporaryHome
{
public:
    TemporaryHome()
    {
        for (const char *name : { "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME" })
            m_saved.append({ name, qgetenv(name) });
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_DATA_HOME", (m_dir.path() + u"/data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_dir.path() + u"/config"_s).toUtf8());
    }
    ~TemporaryHome()
    {
        for (const auto &[name, value] : m_saved)
            qputenv(name, value);
    }
    QString Path(const QString &name) const { return m_dir.path() + u'/' + name; }

private:
    QTemporaryDir m_dir;
    QList<std::pair<const char *, QByteArray>> m_saved;
};

} // namespace

class TestXdgAssociation : public QObject
{
    Q_OBJECT

private slots:
    void execArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value"); // as the Exec line holds it
        QTest::newRow("plain") << u"/usr/bin/kestrune"_s << u"\"/usr/bin/kestrune\""_s;
        QTest::newRow("blanks") << u"/opt/My Apps/kestrune"_s << u"\"/opt/My Apps/kestrune\""_s;
        QTest::newRow("dollar and quote") << u"/a/$b\"c"_s << u"\"/a/\\\\$b\\\\\"c\""_s;
        QTest::newRow("backslash") << u"/a\\b"_s << u"\"/a\\\\\\\\b\""_s;
        QTest::newRow("percent") << u"/100%/k"_s << u"\"/100%%/k\""_s;
        QTest::newRow("Cyrillic") << u"/домой/kestrune"_s << u"\"/домой/kestrune\""_s;
    }

    void execArgument()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QCOMPARE(XdgAssociation::ExecArgument(path), value);
    }

    void desktopEntryAndMimeTypeAgree()
    {
        const QString type = XdgAssociation::ListMimeType();
        QCOMPARE(type, u"application/x-kestrune-list"_s);
        const QStringList lines = QString::fromUtf8(XdgAssociation::DesktopEntry(u"/opt/k k/kestrune"_s)).split(u'\n');
        QVERIFY(lines.contains(u"MimeType="_s + type + u';'));
        QVERIFY(lines.contains(u"Exec=\"/opt/k k/kestrune\" %f"_s));
        QCOMPARE(lines.filter(u"Exec="_s).size(), 1);
    }

    void registersForTheUser()
    {
        TemporaryHome home;
        const XdgAssociation::TFolders folders = XdgAssociation::UserFolders();
        QCOMPARE(folders.DataHome, home.Path(u"data"_s));
        QCOMPARE(folders.ConfigHome, home.Path(u"config"_s));
        // The user's own defaults stay as they were, line endings and all.
        QVERIFY(QDir().mkpath(folders.ConfigHome));
        const QString mimeApps = folders.ConfigHome + u"/mimeapps.list"_s;
        QFile existing(mimeApps);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("[Added Associations]\nimage/png=viewer.desktop;\n\n[Default Applications]\ntext/plain=editor.desktop\n");
        existing.close();

        const QString executable = u"/opt/My Music/kestrune"_s;
        XdgAssociation::Register(executable, folders);
        const QString entry = folders.DataHome + u"/applications/kestrune.desktop"_s;
        const QString xml = folders.DataHome + u"/mime/packages/kestrune-list.xml"_s;
        QCOMPARE(bytesOf(entry), XdgAssociation::DesktopEntry(executable));
        QVERIFY(bytesOf(xml).contains("<glob pattern=\"*.lst\""));
        // The icon the entry names comes along.
        QVERIFY(lines(bytesOf(entry)).contains(u"Icon=kestrune"_s));
        const QByteArray icon = bytesOf(folders.DataHome + u"/icons/hicolor/scalable/apps/kestrune.svg"_s);
        QVERIFY(icon.startsWith("<?xml") && icon.contains("<svg"));
        // update-mime-database has built the user's database from it.
        QVERIFY(bytesOf(folders.DataHome + u"/mime/globs2"_s).contains(":application/x-kestrune-list:*.lst"));
        QCOMPARE(bytesOf(mimeApps),
                 "[Added Associations]\nimage/png=viewer.desktop;\n\n[Default Applications]\ntext/plain=editor.desktop\n"
                 "application/x-kestrune-list=kestrune.desktop\n"_ba);

        // A second request leaves the same files.
        const QByteArray before = bytesOf(entry) + bytesOf(xml) + bytesOf(mimeApps) + icon;
        XdgAssociation::Register(executable, folders);
        QCOMPARE(bytesOf(entry) + bytesOf(xml) + bytesOf(mimeApps)
                     + bytesOf(folders.DataHome + u"/icons/hicolor/scalable/apps/kestrune.svg"_s),
                 before);

        const QString xdgMime = QStandardPaths::findExecutable(u"xdg-mime"_s);
        if (xdgMime.isEmpty())
            QSKIP("xdg-mime is not installed");
        QProcess query;
        query.start(xdgMime, { u"query"_s, u"default"_s, u"application/x-kestrune-list"_s });
        QVERIFY(query.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(query.readAllStandardOutput()).trimmed(), u"kestrune.desktop"_s);
    }

    void failuresAreReported()
    {
        TemporaryHome home;
        XdgAssociation::TFolders folders = XdgAssociation::UserFolders();
        // A file where the data folder should be.
        QVERIFY(QDir().mkpath(home.Path(u"x"_s)));
        QFile blocker(home.Path(u"x/data"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        folders.DataHome = home.Path(u"x/data"_s);
        QCOMPARE(TestSupport::errorOf([&] { XdgAssociation::Register(u"/k"_s, folders); }),
                 u"Cannot create file "_s + folders.DataHome + u"/applications/kestrune.desktop"_s);

        // No update-mime-database on the path.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", home.Path(u"empty"_s).toUtf8());
        const QString error = TestSupport::errorOf([] { XdgAssociation::Register(u"/k"_s, XdgAssociation::UserFolders()); });
        qputenv("PATH", path);
        QCOMPARE(error, u"Cannot run update-mime-database: it is not installed (package shared-mime-info)"_s);

        // A folder where mimeapps.list should be.
        QVERIFY(QDir().mkpath(home.Path(u"config/mimeapps.list"_s)));
        QCOMPARE(TestSupport::errorOf([] { XdgAssociation::Register(u"/k"_s, XdgAssociation::UserFolders()); }),
                 u"Cannot create file "_s + home.Path(u"config/mimeapps.list"_s));
    }
};

QTEST_GUILESS_MAIN(TestXdgAssociation)
#include "tst_xdgassociation.moc"
