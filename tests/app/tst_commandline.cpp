// Tests of the command line's own requests, and of the program answering them without a display.
#include "AudioInfo.h"
#include "CommandLine.h"
#include "FileFinder.h"
#include "FileSearch.h"
#include "LinesFile.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QDir>
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

namespace {

// The program run without a display in folder; its exit status, standard output and error.
struct TRun
{
    int Status = -1;
    QByteArray Out;
    QString Err;
};

TRun run(const QStringList &arguments, const QString &folder = QString())
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_CTYPE", "LC_MESSAGES", "LANGUAGE" })
        environment.remove(QString::fromLatin1(name));
    environment.insert(u"LANG"_s, u"C.UTF-8"_s); // an English usage, and UTF-8 names
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(KS_PROGRAM), arguments);
    TRun r;
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return r;
    r.Status = program.exitCode();
    r.Out = program.readAllStandardOutput();
    r.Err = QString::fromLocal8Bit(program.readAllStandardError());
    return r;
}

// The albums the file search dialog writes for a folder, searched in-process the dialog's way.
QStringList searched(const QString &folder)
{
    TAudioInfo info;
    TFileFinder finder;
    finder.FuzzySearch = true;
    TFileSearch search(finder, info);
    QStringList lines;
    search.OnAlbum = [&lines](const QStringList &block) { lines << block; };
    search.Run({ QDir::toNativeSeparators(folder), u"mp3"_s, u" Ансамбль "_s, {} });
    return lines;
}

} // namespace

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
        const QStringList russian{ u"Использование: kestrune [СПИСОК]\n"_s, u"       kestrune --export-m3u СПИСОК ПЛЕЙЛИСТ\n"_s,
                                   u"  СПИСОК "_s, u"открыть этот файл списка"_s, folder };
        const QStringList english{ u"Usage: kestrune [LIST]\n"_s, u"       kestrune --export-m3u LIST PLAYLIST\n"_s,
                                   u"  LIST "_s, u"open this list file"_s, u"show this help and exit\n"_s, folder };
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

    // The real program without a display: scanning into a new list and onto it, exporting it, and each
    // failure with its status and one line on standard error.
    void workWithoutWindow()
    {
        QTemporaryDir dir;
        for (const auto &[from, to] : { std::pair{ "cbr8_8k.mp3", "music/Альбом 1/01 Первый.mp3" },
                                        { "vbr_11k_xing.mp3", "music/Альбом 1/02 b.mp3" },
                                        { "cbr64_44k_info.mp3", "music/Альбом 1/Sub/c.mp3" },
                                        { "vbr_22k_xing.mp3", "more/d.mp3" } }) {
            QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(QString::fromUtf8(to))).path()));
            QVERIFY(QFile::copy(QStringLiteral(KS_TEST_DATA_DIR "/audio/") + QString::fromLatin1(from),
                                dir.filePath(QString::fromUtf8(to))));
        }
        const QStringList music = searched(dir.filePath(u"music"_s)), more = searched(dir.filePath(u"more"_s));
        QCOMPARE(music.count(u"-newalbum"_s), 2);
        const QString list = dir.filePath(u"new.lst"_s);
        const QByteArray listed = (music.join(u'\n') + u'\n').toUtf8();

        const struct
        {
            QStringList Arguments;
            int Status;
            QByteArray Out;
            const char16_t *Err; // what standard error holds (one line); null: nothing
        } rows[] = {
            { { u"--scan"_s, u"music"_s, u"--author"_s, u" Ансамбль "_s }, 0, listed, nullptr },
            { { u"--scan"_s, u"music"_s, u"--author= Ансамбль "_s, u"--output"_s, u"new.lst"_s }, 0, {}, nullptr },
            { { u"--scan"_s, u"more"_s, u"--output"_s, u"new.lst"_s, u"--append"_s, u"--author"_s, u" Ансамбль "_s }, 0, {}, nullptr },
            { { u"--export-m3u"_s, u"new.lst"_s, u"list.m3u8"_s }, 0, {}, nullptr },
            { { u"--export-html"_s, u"new.lst"_s, u"page.htm"_s }, 0, {}, nullptr },
            { { u"--scan"_s, u"missing"_s }, 1, {}, u"kestrune: Папка не найдена: missing" },
            { { u"--scan"_s, u"music"_s, u"--ext"_s, u"*"_s }, 1, {}, u"kestrune: Расширение «*» не ищется" },
            { { u"--scan"_s, u"music"_s, u"--ext"_s, u"wav"_s, u"--output"_s, u"empty.lst"_s }, 1, {},
              u"kestrune: Нет текста для сохранения." },
            { { u"--scan"_s, u"more"_s, u"--output"_s, u"none.lst"_s, u"--append"_s }, 1, {}, u"kestrune: Cannot open file " },
            { { u"--export-html"_s, u"missing.lst"_s, u"p.htm"_s }, 1, {}, u"kestrune: Cannot open file " },
            { { u"--export-m3u"_s, u"new.lst"_s, u"new.lst"_s }, 1, {}, u"kestrune: Плейлист не может заменить открытый список." },
            { { u"--scan"_s, u"music"_s, u"--append"_s }, 2, {}, u"kestrune: --append" },
            { { u"--bogus"_s }, 2, {}, u"kestrune: неизвестный параметр «--bogus»" },
            { { u"--scan"_s }, 2, {}, u"kestrune: у параметра --scan нет значения" },
            { { u"--scan"_s, u"music"_s, u"--ext"_s, u"a"_s, u"--ext=b"_s }, 2, {}, u"kestrune: параметр --ext указан дважды" },
            { { u"--export-html"_s, u"new.lst"_s }, 2, {}, u"kestrune: после --export-html нужны два файла" },
            { { u"--export-m3u"_s, u"a"_s, u"b"_s, u"--url"_s, u"u"_s }, 2, {}, u"kestrune: параметр --url" },
            { { u"--export-html"_s, u"--scan"_s, u"music"_s }, 2, {}, u"kestrune: параметры --scan, --export-html" },
        };
        for (const auto &row : rows) {
            const QString name = row.Arguments.join(u' ');
            const TRun r = run(row.Arguments, dir.path());
            QVERIFY2(r.Status == row.Status, qPrintable(name + u": "_s + QString::number(r.Status) + u' ' + r.Err));
            QVERIFY2(r.Out == row.Out, qPrintable(name));
            const QStringList errLines = r.Err.split(u'\n', Qt::SkipEmptyParts);
            QVERIFY2(row.Err ? r.Err.startsWith(QString::fromUtf16(row.Err)) : r.Err.isEmpty(), qPrintable(name + u": "_s + r.Err));
            // An error is one line; a wrong option adds the usage.
            QVERIFY2(row.Status != 1 || errLines.size() == 1, qPrintable(r.Err));
            QVERIFY2(row.Status != 2 || r.Err.contains(u"kestrune --export-m3u LIST PLAYLIST"_s), qPrintable(r.Err));
        }
        // The new list, then the second folder's albums after it, in the list encoding (code page 1251, CR LF).
        QCOMPARE(LinesFile::readFile(list).Lines, music + more);
        QVERIFY(CatalogueTestUtil::readBytes(list).contains("\r\nnt: 2\r\n"));
        QVERIFY(!QFile::exists(dir.filePath(u"empty.lst"_s)) && !QFile::exists(dir.filePath(u"none.lst"_s)));
        const QList<QByteArray> playlist = CatalogueTestUtil::readBytes(dir.filePath(u"list.m3u8"_s)).split('\n');
        QCOMPARE(playlist.size(), 1 + 2 * 4 + 1);
        QCOMPARE(playlist.at(0), QByteArray("#EXTM3U\r"));
        QVERIFY(playlist.at(1).startsWith("#EXTINF:") && playlist.at(1).contains(",Ансамбль - 01 Первый\r"));
        QCOMPARE(playlist.at(2), QDir::toNativeSeparators(u"music/Альбом 1/01 Первый.mp3\r"_s).toUtf8());
        QCOMPARE(playlist.at(8), QDir::toNativeSeparators(u"more/d.mp3\r"_s).toUtf8());
        QVERIFY(CatalogueTestUtil::readBytes(dir.filePath(u"page.htm"_s)).contains("Kestrune HTML playlist"));
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
