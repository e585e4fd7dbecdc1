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
                     "case \"$1\" in *nothing-opens-this*) exit 3;; *fails-at-once*) exit 4;;\n"
                     "  *player-killed-later*) sleep 2; touch \"$d/later\"; exit 4;; esac\n"
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
        shell.SetFailureHandler([&](const QString &target, const QString &) { failed << target; });
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

    }

    void openerFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no program (3)") << u"nothing-opens-this.xyz"_s << IShellOpen::NoProgram();
        QTest::newRow("failed at once (4)") << u"fails-at-once.mp3"_s
                                            << u"программа для файлов этого типа не смогла его открыть."_s;
        // Under a plain window manager the opener waits for the player and passes on how it ended.
        QTest::newRow("player killed later (4)") << u"player-killed-later.mp3"_s << QString();
    }
    void openerFailures()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        TSystemShell shell(1000);
        QStringList failed;
        shell.SetFailureHandler([&](const QString &target, const QString &why) { failed << target + u": "_s + why; });
        const QString target = m_dir.path() + u'/' + name;
        shell.ShellOpen(target);
        // Silence is checked once that opener has ended.
        if (reason.isEmpty())
            QVERIFY(WaitForFile(Path(u"later"_s)) && !QTest::qWaitFor([] { return false; }, 500));
        QTRY_COMPARE_WITH_TIMEOUT(failed, reason.isEmpty() ? QStringList() : QStringList{ target + u": "_s + reason },
                                  20000);
    }
};

QTEST_MAIN(TestShellOpen)
#include "test_shellopen.moc"
