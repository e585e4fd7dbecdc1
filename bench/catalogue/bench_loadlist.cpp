// bench_loadlist: timings of reading, loading and looking up in a list of 25,000 albums and 100,000 tracks.
#include "CatalogueTree.h"
#include "KsError.h"
#include "LargeList.h"
#include "LinesFile.h"
#include "OpenList.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

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

// A 400 KB list whose albums overlap: the load stops at its bound instead of building a tree that
// grows with the square of the file.
void BM_LoadOverlappingList(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"overlapping.lst"_s);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(overlappingList(400 * 1024)) < 0) {
        state.SkipWithError("cannot write the list");
        return;
    }
    out.close();
    TOpenList openList;
    TCatalogueTree tree;
    bool stopped = false;
    for (auto _ : state) {
        try {
            openList.LoadList(file, tree, kContext);
        } catch (const KsError &) {
            stopped = true;
        }
    }
    if (!stopped || tree.NodeCount() > openList.ListLines.size())
        state.SkipWithError("the load did not stop at its bound");
    state.counters["lines"] = double(openList.ListLines.size());
    state.counters["nodes"] = double(tree.NodeCount());
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
BENCHMARK(BM_LoadOverlappingList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NodeByIndexWalk)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
