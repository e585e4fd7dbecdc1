// Tests of the command line's own requests, and of the program answering them without a display.
#include "CommandLine.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using CommandLine::TRequest;

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void request_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<TRequest>("request");
        QTest::newRow("none") << QStringList() << TRequest::Run;
        QTest::newRow("a list") << QStringList{ u"/home/u/jazz.lst"_s } << TRequest::Run;
        QTest::newRow("--help") << QStringList{ u"--help"_s } << TRequest::Help;
        QTest::newRow("-h") << QStringList{ u"-h"_s } << TRequest::Help;
        QTest::newRow("--version") << QStringList{ u"--version"_s } << TRequest::Version;
        QTest::newRow("help with more") << QStringList{ u"--help"_s, u"x.lst"_s } << TRequest::Help;
        // Only the first argument asks; anything else is the name of a list.
        QTest::newRow("list, then --help") << QStringList{ u"x.lst"_s, u"--help"_s } << TRequest::Run;
        QTest::newRow("other case") << QStringList{ u"--HELP"_s } << TRequest::Run;
        QTest::newRow("with a blank") << QStringList{ u" --version"_s } << TRequest::Run;
        QTest::newRow("--version=1") << QStringList{ u"--version=1"_s } << TRequest::Run;
    }

    void request()
    {
        QFETCH(QStringList, arguments);
        QFETCH(TRequest, request);
        QCOMPARE(CommandLine::Request(arguments), request);
    }

    // Printed and exited before the program looks for a display: none is given here.
    void programAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("--version") << u"--version"_s << u"Kestrune " KS_VERSION "\n"_s;
        QTest::newRow("--help") << u"--help"_s << u"/kestrune-help-home/data/Kestrune\n"_s;
    }

    void programAnswersWithoutDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            environment.remove(QString::fromLatin1(name));
        environment.insert(u"XDG_DATA_HOME"_s, u"/kestrune-help-home/data"_s);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KS_PROGRAM), { argument });
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString output = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(output.contains(expected), qPrintable(output));
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }

#ifdef Q_OS_UNIX
    // A write past the file size limit fails instead of ending the program, so that a tag write's
    // rollback runs: here the answer to --version does not fit in 4 bytes.
    void fileSizeLimitDoesNotEndTheProgram()
    {
        QTemporaryDir dir;
        QProcess program;
        program.setStandardOutputFile(dir.filePath(u"out"_s));
        program.setChildProcessModifier([] {
            rlimit cap{ 4, 4 };
            setrlimit(RLIMIT_FSIZE, &cap);
            std::signal(SIGXFSZ, SIG_DFL); // as a shell that does not ignore it starts the program
        });
        program.start(QStringLiteral(KS_PROGRAM), { u"--version"_s });
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QFileInfo(dir.filePath(u"out"_s)).size(), 4);
    }
#endif
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
