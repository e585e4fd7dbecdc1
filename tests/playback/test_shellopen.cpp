// test_shellopen: handing a file to the desktop returns while the opener is still running.
#include "Paths.h"
#include "ShellOpen.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestShellOpen : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    // Waits (at most 20 s) for the opener to leave a file behind.
    static bool WaitForFile(const QString &path)
    {
        for (int i = 0; i < 200 && !QFile::exists(path); ++i)
            QTest::qWait(100);
        return QFile::exists(path);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The desktop's opener, replaced by one that notes its argument and then waits to be let go.
        const QString opener = Path(u"xdg-open"_s);
        QFile script(opener);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "d=$(dirname \"$0\")\n"
                     "case \"$1\" in *nothing-opens-this*) exit 4;; esac\n"
                     "printf '%s\\n' \"$1\" > \"$d/opened.part\" && mv \"$d/opened.part\" \"$d/opened\"\n"
                     "i=0\n"
                     "while [ ! -e \"$d/release\" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i+1)); done\n"
                     "touch \"$d/finished\"\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ':' + qgetenv("PATH"));
    }

    void returnsWhileTheOpenerRuns()
    {
        // A stored path with backslashes, as lists keep them.
        const QString folder = Path(u"music"_s);
        QVERIFY(QDir().mkpath(folder));
        QFile audio(folder + u"/01 Первый снег.mp3"_s);
        QVERIFY(audio.open(QIODevice::WriteOnly));
        audio.close();
        const QString stored = m_dir.path() + u"\\music\\01 Первый снег.mp3"_s;

        TSystemShell shell;
        QStringList failed;
        shell.SetFailureHandler([&](const QString &target) { failed << target; });
        shell.ShellOpen(stored);
        // Had the call waited for the opener, the opener would have given up and finished by now.
        QVERIFY(!QFile::exists(Path(u"finished"_s)));
        QVERIFY(WaitForFile(Path(u"opened"_s)));
        QFile opened(Path(u"opened"_s));
        QVERIFY(opened.open(QIODevice::ReadOnly));
        const QString argument = QString::fromUtf8(opened.readAll()).trimmed();
        QCOMPARE(QUrl(argument).toLocalFile().isEmpty() ? argument : QUrl(argument).toLocalFile(),
                 audio.fileName());
        QFile release(Path(u"release"_s));
        QVERIFY(release.open(QIODevice::WriteOnly));
        release.close();
        QVERIFY(WaitForFile(Path(u"finished"_s)));
        QTest::qWait(200);
        QVERIFY(failed.isEmpty());

        // A file the desktop has no program for is reported once the opener gives up.
        const QString orphan = m_dir.path() + u"/nothing-opens-this.xyz"_s;
        shell.ShellOpen(orphan);
        QTRY_COMPARE_WITH_TIMEOUT(failed, QStringList{ orphan }, 20000);
    }
};

QTEST_MAIN(TestShellOpen)
#include "test_shellopen.moc"
