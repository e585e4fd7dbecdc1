// Tests of the M3U playlist: its lines for tracks with and without files and times, paths relative below the
// playlist's folder and absolute elsewhere, names with blanks and Cyrillic (the file written: tst_commandline).
#include "KsError.h"
#include "M3uExport.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList album(const QString &author, const QString &title, const QList<std::array<QString, 3>> &tracks)
{
    QStringList lines{ u"-newalbum"_s, u"author: "_s + author, u"album: "_s + title, u"url: "_s, u"discriptionfile: "_s,
                       u"nt: %1"_s.arg(tracks.size()), u"image: "_s };
    for (const auto &[name, size, file] : tracks)
        lines << u"track: "_s + name << u"size: "_s + size << u"file: "_s + file << u"dfile: "_s;
    return lines << u"--endofalbum"_s;
}

} // namespace

class TestM3uExport : public QObject
{
    Q_OBJECT
private slots:
    void seconds()
    {
        const std::pair<const char16_t *, int> rows[] = {
            { u"03:41", 221 }, { u" 3:05 ", 185 }, { u"62:03", 3723 }, { u"1:02:03", 3723 }, { u"00:00", -1 },
            { u"", -1 },       { u"3:60", -1 },    { u"1:60:00", -1 },  { u"abc", -1 },      { u"3:05:07:09", -1 },
            { u"-1:05", -1 },  { u"3:5", 185 },    { u"٣:05", -1 },
        };
        for (const auto &[text, seconds] : rows)
            QVERIFY2(M3uExport::Seconds(QString::fromUtf16(text)) == seconds, qPrintable(QString::fromUtf16(text)));
    }

    // The playlist lies in /music/pl; the program folder, where stored relative paths start, is /music.
    void playlistLines()
    {
        const QString folder = QDir::toNativeSeparators(u"/music/pl/"_s);
        const QStringList list = QStringList{ u"заметка"_s }
            + album(u"Ансамбль Норд"_s, u"Зима"_s,
                    { { { u"Первый снег"_s, u"03:41"_s, u"/music/pl/Зима 1/01 Первый снег.mp3"_s } },
                      { { u"Thaw"_s, u"62:03"_s, u"/other/b c.flac"_s } },
                      { { u"Relative"_s, u""_s, u"pl\\sub\\x y.mp3"_s } },
                      { { u"No file"_s, u"01:00"_s, u" "_s } },
                      { { u"Up and over"_s, u"1:02:03"_s, u"..\\pl2\\y.mp3"_s } },
                      { { u"Sibling"_s, u"00:00"_s, u"/music/pl2/z.mp3"_s } } })
            + album(u" "_s, u"Без автора"_s, { { { u"Solo"_s, u"2:00"_s, u"/music/pl/solo.ogg"_s } } });
        const QStringList whole{
            u"#EXTM3U"_s,
            u"#EXTINF:221,Ансамбль Норд - Первый снег"_s, QDir::toNativeSeparators(u"Зима 1/01 Первый снег.mp3"_s),
            u"#EXTINF:3723,Ансамбль Норд - Thaw"_s, QDir::toNativeSeparators(u"/other/b c.flac"_s),
            u"#EXTINF:-1,Ансамбль Норд - Relative"_s, QDir::toNativeSeparators(u"sub/x y.mp3"_s),
            u"#EXTINF:3723,Ансамбль Норд - Up and over"_s, QDir::toNativeSeparators(u"/pl2/y.mp3"_s),
            u"#EXTINF:-1,Ансамбль Норд - Sibling"_s, QDir::toNativeSeparators(u"/music/pl2/z.mp3"_s),
            u"#EXTINF:120,Solo"_s, u"solo.ogg"_s,
        };
        const M3uExport::TPlaylist all = M3uExport::PlaylistLines(list, folder + u"x.m3u8"_s, u"/music/"_s);
        QCOMPARE(all.Lines, whole);
        QCOMPARE(all.Tracks, 6);
        QCOMPARE(all.WithoutFile, 1);
        QCOMPARE(M3uExport::LeftOutMessage(all), u"В плейлист записано дорожек: 6. Пропущено дорожек без файла: 1."_s);
        // The second album alone.
        const M3uExport::TPlaylist second = M3uExport::PlaylistLines(list, folder + u"x.m3u8"_s, u"/music/"_s, 1);
        QCOMPARE(second.Lines, (QStringList{ u"#EXTM3U"_s, u"#EXTINF:120,Solo"_s, u"solo.ogg"_s }));
        QVERIFY(M3uExport::LeftOutMessage(second).isEmpty());
        // Lists the loader refuses are refused alike.
        QStringList badCount = list;
        badCount[6] = u"nt: x"_s;
        QCOMPARE(TestSupport::errorOf([&] { M3uExport::PlaylistLines(badCount, u"/x.m3u8"_s, u"/"_s); }),
                 u"' x' is not a valid integer value"_s); // untrimmed, as the loader reads it
        QCOMPARE(TestSupport::errorOf([&] { M3uExport::PlaylistLines(list.mid(0, 20), u"/x.m3u8"_s, u"/"_s); }),
                 u"List index out of bounds (20)"_s);
    }
};

QTEST_GUILESS_MAIN(TestM3uExport)
#include "tst_m3uexport.moc"
