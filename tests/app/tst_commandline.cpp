// Tests of the command line's own requests, and of the program answering them without a display.
#include "CommandLine.h"

#include <QProcess>
#include <QTest>

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

    // Printed and exited before the program looks for a display: none is given here. The help is in the
    // user's language when that is Russian, in English otherwise.
    void programAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QStringList>("locale"); // LANG, LANGUAGE
        QTest::addColumn<QStringList>("expected");
        const QString folder = u"\n  /kestrune-help-home/data/Kestrune\n"_s;
        const QStringList russian{ u"Использование: kestrune [СПИСОК]\n"_s,
                                   u"  СПИСОК       открыть этот файл списка"_s, folder };
        const QStringList english{ u"Usage: kestrune [LIST]\n"_s, u"  LIST         open this list file"_s,
                                   u"  -h, --help   show this help and exit\n"_s, folder };
        QTest::newRow("--version") << u"--version"_s << QStringList{ u"C.UTF-8"_s, QString() }
                                   << QStringList{ u"Kestrune " KS_VERSION "\n"_s };
        QTest::newRow("--help, Russian") << u"--help"_s << QStringList{ u"ru_RU.UTF-8"_s, QString() } << russian;
        QTest::newRow("-h, Russian first of several") << u"-h"_s << QStringList{ u"en_US.UTF-8"_s, u"ru:en"_s } << russian;
        QTest::newRow("--help, German") << u"--help"_s << QStringList{ u"de_DE.UTF-8"_s, QString() } << english;
        QTest::newRow("--help, C") << u"--help"_s << QStringList{ u"C"_s, QString() } << english;
    }

    void programAnswersWithoutDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QStringList, locale);
        QFETCH(QStringList, expected);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "LANGUAGE" })
            environment.remove(QString::fromLatin1(name));
        environment.insert(u"LANG"_s, locale.at(0));
        if (!locale.at(1).isEmpty())
            environment.insert(u"LANGUAGE"_s, locale.at(1));
        environment.insert(u"XDG_DATA_HOME"_s, u"/kestrune-help-home/data"_s);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KS_PROGRAM), { argument });
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString output = QString::fromUtf8(program.readAllStandardOutput());
        for (const QString &part : expected)
            QVERIFY2(output.contains(part), qPrintable(output));
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
