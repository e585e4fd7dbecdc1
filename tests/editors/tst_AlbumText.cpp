// tst_AlbumText: composing album and track text, and putting it into list files.
#include "AlbumText.h"
#include "KsError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace AlbumText;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TTrackList twoTracks()
{
    TTrackList tracks;
    tracks.Add({ u"First Snow"_s, u"03:41"_s, u"/music/01.mp3"_s, QString() });
    tracks.Add({ u"Thaw"_s, QString(), u"/music/02.mp3"_s, u"thaw.htm"_s });
    return tracks;
}

TAlbumFields named(const QString &name)
{
    return { name, u"Author"_s, QString(), QString(), QString() };
}

} // namespace

class TstAlbumText : public QObject
{
    Q_OBJECT

private slots:
    void addChecksTitleAndFileAsTyped()
    {
        TTrackList tracks;
        QVERIFY(!tracks.Add({ QString(), u"1:00"_s, u"/a.mp3"_s, QString() }));
        QVERIFY(!tracks.Add({ u"Title"_s, u"1:00"_s, QString(), QString() }));
        QCOMPARE(tracks.Count(), 0);
        QVERIFY(tracks.Lines().isEmpty());
        // Blanks alone are a title: the check does not trim, and nothing is trimmed when written.
        QVERIFY(tracks.Add({ u"   "_s, QString(), u"/a.mp3"_s, QString() }));
        QVERIFY(tracks.Add({ u" Two "_s, u" 2:00 "_s, u"/b.mp3"_s, u" d.htm"_s }));
        QCOMPARE(tracks.Count(), 2);
        QCOMPARE(tracks.Lines(), (QStringList{ u"track:    "_s, u"size: "_s, u"file: /a.mp3"_s, u"dfile: "_s,
                                               u"track:  Two "_s, u"size:  2:00 "_s, u"file: /b.mp3"_s,
                                               u"dfile:  d.htm"_s }));
        tracks.Clear();
        QCOMPARE(tracks.Count(), 0);
        QVERIFY(tracks.Lines().isEmpty());
    }

    void titleFromFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("mp3") << u"Song.mp3"_s << u"Song"_s;
        QTest::newRow("first only") << u"a.mp3.mp3"_s << u"a.mp3"_s;
        QTest::newRow("capitals") << u"Song.MP3"_s << u"Song"_s;
        QTest::newRow("wav") << u"song.wav"_s << u"song"_s;
        QTest::newRow("no extension") << u"song"_s << u"song"_s;
        QTest::newRow("trimmed") << u"01 Intro .mp3"_s << u"01 Intro"_s;
        QTest::newRow("inside") << u"x.mp3 live.mp3"_s << u"x live.mp3"_s;
    }
    void titleFromFileName()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QCOMPARE(TitleFromFileName(name), title);
    }

    void generateKeepsEarlierBlocksAndCountsThem()
    {
        TTrackList tracks;
        tracks.Add({ u"Typed"_s, u"1:00"_s, u"/t.mp3"_s, QString() });
        tracks.Generate({}, u"x"_s, u"y"_s);
        QCOMPARE(tracks.Count(), 1);
        // A name with a line break would split the block: it is left out.
        const auto generated = tracks.Generate(
            { { u"A.mp3"_s, u"/m/A.mp3"_s }, { u"x\n.mp3"_s, u"/m/x\n.mp3"_s }, { u"b.WAV"_s, u"/m/b.WAV"_s } },
            u"3:00"_s, u"notes.txt"_s);
        QCOMPARE(generated.LeftOut, QStringList{ u"/m/x\n.mp3"_s });
        QCOMPARE(tracks.Count(), 3);
        QCOMPARE(tracks.Lines().size(), 4 * tracks.Count());
        QCOMPARE(tracks.Lines().mid(4), (QStringList{ u"track: A"_s, u"size: 3:00"_s, u"file: /m/A.mp3"_s,
                                                      u"dfile: notes.txt"_s, u"track: b"_s, u"size: 3:00"_s,
                                                      u"file: /m/b.WAV"_s, u"dfile: notes.txt"_s }));

        // Without a typed duration every audio format gets its own time, and a title loses its
        // extension in any case.
        const QString formats = QStringLiteral(KS_TEST_DATA_DIR "/audio/corpus/formats/");
        TTrackList own;
        own.Generate({ { u"x.Flac"_s, formats + u"flac_short.flac"_s }, { u"y.OGG"_s, formats + u"cut_vorbis_q4_short.ogg"_s } },
                     u" "_s, QString());
        QCOMPARE(own.Lines(), (QStringList{ u"track: x"_s, u"size: 00:03"_s, u"file: "_s + formats + u"flac_short.flac"_s,
                                            u"dfile: "_s, u"track: y"_s, u"size: 00:01"_s,
                                            u"file: "_s + formats + u"cut_vorbis_q4_short.ogg"_s, u"dfile: "_s }));
    }

    void composeChecksInOrder()
    {
        const TTrackList none;
        QCOMPARE(ComposeAlbum(named(u" \t "_s), twoTracks()).Message, u"Введите название альбома."_s);
        QCOMPARE(ComposeAlbum(named(u" \t "_s), none).Message, u"Введите название альбома."_s);
        const TComposition c = ComposeAlbum(named(u"Live"_s), none);
        QCOMPARE(c.Message, u"Альбом должен содержать хотя бы один звуковой файл."_s);
        QVERIFY(c.Lines.isEmpty());
    }

    void composeWritesTheAlbumBlock()
    {
        const TComposition c =
            ComposeAlbum({ u"  Winter Songs "_s, u"Ensemble Nord"_s, QString(), u"notes\\w.htm"_s, u"/c/w.jpg"_s },
                         twoTracks());
        QVERIFY(c.Message.isEmpty());
        QCOMPARE(c.Lines, (QStringList{ u"-newalbum"_s, u"author: Ensemble Nord"_s, u"album:   Winter Songs "_s,
                                        u"url: "_s, u"discriptionfile: notes\\w.htm"_s, u"nt: 2"_s,
                                        u"image: /c/w.jpg"_s, u"track: First Snow"_s, u"size: 03:41"_s,
                                        u"file: /music/01.mp3"_s, u"dfile: "_s, u"track: Thaw"_s, u"size: "_s,
                                        u"file: /music/02.mp3"_s, u"dfile: thaw.htm"_s, u"--endofalbum"_s }));
        QCOMPARE(c.Lines.size(), 8 + 4 * 2);
    }

    void extensionRules()
    {
        QCOMPARE(ListFilePath(u"  "_s), QString());
        QCOMPARE(ListFilePath(u"/home/u/mylist"_s), u"/home/u/mylist.lst"_s);
        QCOMPARE(ListFilePath(u"C:\\My.Music\\mylist"_s), u"C:\\My.Music\\mylist.lst"_s); // folders' dots do not count
        QCOMPARE(ListFilePath(u"a.txt"_s), u"a.txt"_s);
        QCOMPARE(DescriptionExtension(0), u".htm"_s);
        QCOMPARE(DescriptionExtension(1), u".txt"_s);
        QCOMPARE(ImageExtension(0), u".bmp"_s);
        for (int gifOrAll : { 1, 2, 3 })
            QCOMPARE(ImageExtension(gifOrAll), u".jpg"_s);
        QCOMPARE(ImageFilter().split(u'|').at(2 * ImageFilterInitial), u"Все поддерживаемые форматы"_s);
    }

    void saveWritesCp1251WithCrLf()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"new.lst"_s);
        TestSupport::writeFile(dir, u"new.lst"_s, "old contents that are replaced\r\n");
        SaveAlbumList(file, { u"-newalbum"_s, u"album: Зима"_s });
        QCOMPARE(readBytes(file), QByteArray("-newalbum\r\nalbum: \xC7\xE8\xEC\xE0\r\n"));

        const QString missing = dir.filePath(u"no folder/x.lst"_s);
        QCOMPARE(TestSupport::errorOf([&] { SaveAlbumList(missing, { u"a"_s }); }),
                 u"Cannot create file "_s + missing);
    }

    void appendGoesBeforeTheSettingsLine()
    {
        QTemporaryDir dir;
        // The settings line stays last, and so keeps applying.
        const QString file = TestSupport::writeFile(dir, u"list.lst"_s, "-newalbum\r\nnote\nini: dark.ini");
        QVERIFY(AppendToListFile(file, { u"-newalbum"_s, u"album: B"_s }));
        QCOMPARE(readBytes(file), QByteArray("-newalbum\r\nnote\r\n-newalbum\r\nalbum: B\r\nini: dark.ini\r\n"));
    }

    void appendToMissingFileDoesNothing()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"absent.lst"_s);
        QVERIFY(!AppendToListFile(file, { u"-newalbum"_s }));
        QVERIFY(!AppendToListFile(dir.path(), { u"-newalbum"_s })); // a folder is no list file
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TstAlbumText)
#include "tst_AlbumText.moc"
