// bench_edits: the cost of one edit of a list of 25,000 albums (every edit is saved at once) and of a search.
#include "CatalogueTree.h"
#include "LargeList.h"
#include "ListEdits.h"
#include "ListSearch.h"
#include "OpenList.h"

#include <QFile>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const TLoadContext kContext { u"/opt/ks/"_s, QString(), {} };

// A private copy of the large list, loaded, that the edits may change.
struct EditableList
{
    QTemporaryDir dir;
    TOpenList list;
    TCatalogueTree tree;

    EditableList()
    {
        const QString copy = dir.filePath(u"edit.lst"_s);
        QFile::copy(largeList().fileName, copy);
        list.LoadList(copy, tree, kContext);
    }
};

// Deleting a track of the last album: the lines, the save, and the reload that rebuilds the tree.
void BM_DeleteTrackSaveReload(benchmark::State &state)
{
    EditableList e;
    int deleted = 0;
    for (auto _ : state) {
        // Four tracks from each album, from the last album backwards.
        const TTreeNode *album = e.tree.Root(e.tree.RootCount() - 1 - deleted++ / kTracksPerAlbum);
        if (album->ChildCount() == 0) {
            state.SkipWithError("the album ran out of tracks");
            break;
        }
        const TTrack track = e.list.ReadTrackRecord(album->Text(), album->Child(0)->Text(), kContext.ProgramFolder);
        QStringList lines = e.list.ListLines;
        if (!ListEdits::DeleteTrack(lines, e.list.CurrentAlbum, track)) {
            state.SkipWithError("the track could not be deleted");
            break;
        }
        e.list.Commit(std::move(lines));
        e.list.LoadList(e.list.ListFileName, e.tree, kContext);
    }
    state.counters["lines"] = double(e.list.ListLines.size());
}

// Renaming the last album: its block is found among all the lines, then the list is saved.
void BM_RenameAlbumSave(benchmark::State &state)
{
    EditableList e;
    const TTreeNode *node = e.tree.Root(e.tree.RootCount() - 1);
    const QString title = node->Text();
    bool flip = false;
    for (auto _ : state) {
        const QString from = flip ? title + u" (2)"_s : title;
        const QString to = flip ? title : title + u" (2)"_s;
        QStringList lines;
        if (!e.list.RenameNode(*node, from, to, lines).isEmpty()) {
            state.SkipWithError("the rename was refused");
            break;
        }
        e.list.Commit(std::move(lines));
        flip = !flip;
    }
}

// A search whose only hit is the last track of the list.
void BM_SearchLastTrack(benchmark::State &state)
{
    EditableList e;
    const TTreeNode *album = e.tree.Root(e.tree.RootCount() - 1);
    const TTreeNode *last = album->Child(album->ChildCount() - 1);
    for (auto _ : state) {
        TTreeNode *found = ListSearch::FindNode(e.list.ListLines, e.tree, last->Text());
        if (found != last) {
            state.SkipWithError("the search did not find the last track");
            break;
        }
        benchmark::DoNotOptimize(found);
    }
}

// A search that finds nothing reads every line.
void BM_SearchMiss(benchmark::State &state)
{
    EditableList e;
    for (auto _ : state) {
        TTreeNode *found = ListSearch::FindNode(e.list.ListLines, e.tree, u"no such fragment"_s);
        benchmark::DoNotOptimize(found);
    }
}

} // namespace

BENCHMARK(BM_DeleteTrackSaveReload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameAlbumSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLastTrack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMiss)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
