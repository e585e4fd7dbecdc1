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
    void generatedText()
    {
        // A file below the search folder as the file system's bytes, the album and track lines written
        // ("~" the search folder), and the path told, below the search folder.
        const std::tuple<QByteArray, QStringList, QString> rows[] = {
            { "Live /Song .mp3"_ba, { u"album: ~/Live"_s, u"track: Song"_s }, QString() },
            { "a\nb.mp3"_ba, {}, u"a\nb.mp3"_s },
            { "cd\r/x.mp3"_ba, {}, u"cd\r"_s },
            { u"p\u2029.mp3"_s.toUtf8(), {}, u"p\u2029.mp3"_s },
            { "a\\b.mp3"_ba, {}, u"a\\b.mp3"_s },
            { "\xCF\xEE.mp3"_ba, {}, u"\uFFFD\uFFFD.mp3"_s },
            { "\xCF\xEE/x.mp3"_ba, {}, u"\uFFFD\uFFFD"_s },
        };
        for (const auto &[file, titles, leftOut] : rows) {
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
    }
};

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names_unix.moc"
