// tst_xdgassociation: the .lst association of a Linux desktop, written into temporary XDG folders.
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
} // namespace

class TestXdgAssociation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home; // the user's home and XDG folders for this test run, never the real ones

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath(u"data"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(u"config"_s).toUtf8());
    }

    void execArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value"); // as the Exec line holds it
        QTest::newRow("blanks") << u"/opt/My Apps/kestrune"_s << u"\"/opt/My Apps/kestrune\""_s;
        QTest::newRow("dollar and quote") << u"/a/$b\"c"_s << u"\"/a/\\\\$b\\\\\"c\""_s;
        QTest::newRow("backslash, percent") << u"/a\\b%"_s << u"\"/a\\\\\\\\b%%\""_s;
    }

    void execArgument()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QCOMPARE(XdgAssociation::ExecArgument(path), value);
    }

    void registersForTheUser()
    {
        const XdgAssociation::TFolders folders = XdgAssociation::UserFolders();
        QCOMPARE(folders.DataHome + folders.ConfigHome, m_home.filePath(u"data"_s) + m_home.filePath(u"config"_s));
        // The user's own defaults stay as they were, line endings and all.
        QVERIFY(QDir().mkpath(folders.ConfigHome));
        const QString mimeApps = folders.ConfigHome + u"/mimeapps.list"_s;
        const QByteArray own = "[Added Associations]\nimage/png=v.desktop;\n\n[Default Applications]\ntext/plain=e.desktop\n";
        QFile file(mimeApps);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(own) == own.size());
        file.close();

        const QString entry = folders.DataHome + u"/applications/kestrune.desktop"_s;
        const QString xml = folders.DataHome + u"/mime/packages/kestrune-list.xml"_s;
        XdgAssociation::Register(u"/opt/My Music/kestrune"_s, folders);
        const QStringList entryLines = QString::fromUtf8(bytesOf(entry)).split(u'\n');
        QVERIFY(entryLines.contains(u"Exec=\"/opt/My Music/kestrune\" %f"_s));
        QVERIFY(entryLines.contains(u"MimeType=application/x-kestrune-list;"_s)); // the type of the XML
        // The icon the entry names comes along.
        QVERIFY(entryLines.contains(u"Icon=kestrune"_s));
        const QString icon = folders.DataHome + u"/icons/hicolor/scalable/apps/kestrune.svg"_s;
        QVERIFY(bytesOf(icon).startsWith("<?xml") && bytesOf(icon).contains("<svg"));
        // update-mime-database has built the user's database from the XML.
        QVERIFY(bytesOf(folders.DataHome + u"/mime/globs2"_s).contains(":application/x-kestrune-list:*.lst"));
        QCOMPARE(bytesOf(mimeApps), own + "application/x-kestrune-list=kestrune.desktop\n");

        // A second request leaves the same files.
        const QByteArray before = bytesOf(entry) + bytesOf(xml) + bytesOf(mimeApps) + bytesOf(icon);
        XdgAssociation::Register(u"/opt/My Music/kestrune"_s, folders);
        QCOMPARE(bytesOf(entry) + bytesOf(xml) + bytesOf(mimeApps) + bytesOf(icon), before);

        const QString xdgMime = QStandardPaths::findExecutable(u"xdg-mime"_s);
        if (xdgMime.isEmpty())
            QSKIP("xdg-mime is not installed");
        QProcess query;
        query.start(xdgMime, { u"query"_s, u"default"_s, u"application/x-kestrune-list"_s });
        QVERIFY(query.waitForFinished(60000));
        QCOMPARE(query.readAllStandardOutput().trimmed(), "kestrune.desktop"_ba);
    }

    void failuresAreReported()
    {
        // A file where the data folder should be.
        XdgAssociation::TFolders folders = XdgAssociation::UserFolders();
        folders.DataHome = TestSupport::writeFile(m_home, u"blocker"_s, "x");
        QCOMPARE(TestSupport::errorOf([&] { XdgAssociation::Register(u"/k"_s, folders); }),
                 u"Cannot create file "_s + folders.DataHome + u"/applications/kestrune.desktop"_s);
        // No update-mime-database on the path.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", m_home.filePath(u"empty"_s).toUtf8());
        const QString error = TestSupport::errorOf([] { XdgAssociation::Register(u"/k"_s, XdgAssociation::UserFolders()); });
        qputenv("PATH", path);
        QCOMPARE(error, u"Cannot run update-mime-database: it is not installed (package shared-mime-info)"_s);
    }
};

QTEST_GUILESS_MAIN(TestXdgAssociation)
#include "tst_xdgassociation.moc"
