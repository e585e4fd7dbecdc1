// tst_names_unix: file and folder names in the generated list text: kept, trimmed, or left out and
// told when the list cannot hold them (names of bytes that are not UTF-8 exist on POSIX only).
#include "AudioInfo.h"
#include "FileFinder.h"
#include "FileSearch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

using namespace Qt::StringLiterals;

class TestNames : public QObject
{
    Q_OBJECT
private slots:
    void generatedText_data()
    {
        QTest::addColumn<QByteArray>("file");    // below the search folder, as the file system's bytes
        QTest::addColumn<QStringList>("titles"); // the album and track lines written, "~" the search folder
        QTest::addColumn<QString>("leftOut");    // the path told, below the search folder
        const QString kept;
        QTest::newRow("trailing blanks")
            << "Live /Song .mp3"_ba << QStringList{ u"album: ~/Live"_s, u"track: Song"_s } << kept;
        QTest::newRow("no-break space, line separator")
            << u"a\u00A0b\u2028c.MP3"_s.toUtf8() << QStringList{ u"album: ~"_s, u"track: a\u00A0b\u2028c"_s } << kept;
        QTest::newRow("star") << "*x.mp3"_ba << QStringList{ u"album: ~"_s, u"track: *x"_s } << kept;
        QTest::newRow("line feed") << "a\nb.mp3"_ba << QStringList() << u"a\nb.mp3"_s;
        QTest::newRow("carriage return, a folder") << "cd\r/x.mp3"_ba << QStringList() << u"cd\r"_s;
        QTest::newRow("paragraph separator") << u"p\u2029.mp3"_s.toUtf8() << QStringList() << u"p\u2029.mp3"_s;
        QTest::newRow("backslash") << "a\\b.mp3"_ba << QStringList() << u"a\\b.mp3"_s;
        QTest::newRow("backslash, a folder") << "AC\\DC/x.mp3"_ba << QStringList() << u"AC\\DC"_s;
        QTest::newRow("not UTF-8") << "\xCF\xEE.mp3"_ba << QStringList() << u"\uFFFD\uFFFD.mp3"_s;
        QTest::newRow("not UTF-8, a folder") << "\xCF\xEE/x.mp3"_ba << QStringList() << u"\uFFFD\uFFFD"_s;
        QTest::newRow("not UTF-8, not searched for") << "\xCF\xEE.txt"_ba << QStringList() << kept;
        QTest::newRow("not UTF-8, a dot folder") << ".\xCF/x.mp3"_ba << QStringList() << kept;
    }
    void generatedText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, titles);
        QFETCH(QString, leftOut);
        QTemporaryDir dir;
        const std::filesystem::path root(QFile::encodeName(dir.path()).toStdString());
        const std::filesystem::path path = root / "music" / file.toStdString();
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path).put('x');

        TFileFinder finder;
        finder.FuzzySearch = true;
        TAudioInfo info;
        TFileSearch search(finder, info);
        QStringList written;
        search.OnAlbum = [&](const QStringList &block) { written << block; };
        const QString music = dir.filePath(u"music"_s);
        const bool ran = search.Run({ music, u"mp3"_s, QString(), QString() });
        std::filesystem::remove_all(root / "music"); // Qt cannot see every name to remove it
        QVERIFY(ran);

        written = written.filter(QRegularExpression(u"^(album|track): "_s));
        written.replaceInStrings(music, u"~"_s);
        QCOMPARE(written, titles);
        QCOMPARE(search.LeftOut(), leftOut.isEmpty() ? QStringList() : QStringList{ music + u'/' + leftOut });
    }
};

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names_unix.moc"
