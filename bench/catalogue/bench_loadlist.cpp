// bench_loadlist: timings of reading, loading and looking up in a list of 25,000 albums and 100,000 tracks.
#include "CatalogueTree.h"
#include "LinesFile.h"
#include "OpenList.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAlbums = 25000;
constexpr int kTracksPerAlbum = 4;

QString albumTitle(int i)
{
    return i % 2 ? u"Альбом номер %1 — зимние песни"_s.arg(i) : u"Album number %1, Winter Songs"_s.arg(i);
}

QString trackTitle(int album, int k)
{
    return k % 2 ? u"Песня %1 из альбома %2"_s.arg(k + 1).arg(album) : u"Track %1 of album %2"_s.arg(k + 1).arg(album);
}

// The generated list, written once per run to a temporary folder, in code page 1251 with CR LF.
struct LargeList
{
    QTemporaryDir dir;
    QString fileName;
    qsizetype lineCount = 0;
    qint64 bytes = 0;

    LargeList()
    {
        fileName = dir.filePath(u"large.lst"_s);
        QStringList lines;
        lines.reserve(kAlbums * (8 + 4 * kTracksPerAlbum));
        for (int a = 0; a < kAlbums; ++a) {
            lines << u"-newalbum"_s << (a % 2 ? u"author: Ансамбль Север"_s : u"author: Ensemble Nord"_s)
                  << u"album: "_s + albumTitle(a) << u"url: "_s << u"discriptionfile: notes\\album%1.htm"_s.arg(a)
                  << u"nt: %1"_s.arg(kTracksPerAlbum) << u"image: C:\\Covers\\album%1.jpg"_s.arg(a);
            for (int k = 0; k < kTracksPerAlbum; ++k)
                lines << u"track: "_s + trackTitle(a, k) << u"size: 0%1:4%2"_s.arg(k).arg(a % 10)
                      << u"file: Music\\%1\\%2.mp3"_s.arg(a).arg(k) << u"dfile: "_s;
            lines << u"--endofalbum"_s;
        }
        lineCount = lines.size();
        LinesFile::writeLines(fileName, lines);
        bytes = QFile(fileName).size();
    }
};

const LargeList &largeList()
{
    static const LargeList list;
    return list;
}

const TLoadContext kContext { u"/opt/ks/"_s, QString(), {} };

void BM_ReadLines(benchmark::State &state)
{
    const LargeList &list = largeList();
    for (auto _ : state) {
        QStringList lines = LinesFile::readLines(list.fileName);
        benchmark::DoNotOptimize(lines.size());
    }
    state.counters["lines"] = double(list.lineCount);
    state.SetBytesProcessed(state.iterations() * list.bytes);
}

void BM_LoadList(benchmark::State &state)
{
    const LargeList &list = largeList();
    TOpenList openList;
    TCatalogueTree tree;
    for (auto _ : state) {
        const bool select = openList.LoadList(list.fileName, tree, kContext);
        benchmark::DoNotOptimize(select);
    }
    if (tree.NodeCount() != kAlbums * (1 + kTracksPerAlbum))
        state.SkipWithError("the tree does not have every album and track");
    state.counters["nodes"] = double(tree.NodeCount());
}

void BM_ReadTrackRecordOfLastTrack(benchmark::State &state)
{
    const LargeList &list = largeList();
    TOpenList openList;
    TCatalogueTree tree;
    openList.LoadList(list.fileName, tree, kContext);
    const TTreeNode *album = tree.Root(tree.RootCount() - 1);
    const QString albumText = album->Text();
    const QString trackText = album->Child(album->ChildCount() - 1)->Text();
    for (auto _ : state) {
        const TTrack track = openList.ReadTrackRecord(albumText, trackText, kContext.ProgramFolder);
        benchmark::DoNotOptimize(track.LineIndex);
    }
    if (openList.ReadTrackRecord(albumText, trackText, kContext.ProgramFolder).LineIndex != list.lineCount - 5)
        state.SkipWithError("the last track was not found");
}

// The search dialog walks every node by its index.
void BM_NodeByIndexWalk(benchmark::State &state)
{
    const LargeList &list = largeList();
    TOpenList openList;
    TCatalogueTree tree;
    openList.LoadList(list.fileName, tree, kContext);
    for (auto _ : state) {
        qsizetype total = 0;
        for (int i = 0, n = tree.NodeCount(); i < n; ++i)
            total += tree.NodeByIndex(i)->Text().size();
        benchmark::DoNotOptimize(total);
    }
}

} // namespace

BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTrackRecordOfLastTrack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NodeByIndexWalk)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
