// bench_quickload: reading a 400 KB main.lis whose lines hold many braces, and one of ordinary entries.
#include "LinesFile.h"
#include "OpenList.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kBytes = 400 * 1024;

// The index's lines for a shape: ordinary entries, or one line of a repeated piece.
QStringList indexLines(int shape)
{
    QStringList lines;
    if (shape == 0) {
        for (int i = 0; lines.size() * 32 < kBytes; ++i)
            lines << u"Список %1 {D:\\Lists\\list%1.lst}"_s.arg(i);
        return lines;
    }
    static const QString pieces[] = { {}, u"a{b}"_s, u"}"_s, u"a {b}"_s };
    QString line;
    while (line.size() < kBytes)
        line += pieces[shape];
    lines << line + u"{x}"_s;
    return lines;
}

void BM_ReadIndex(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    LinesFile::writeLines(folder + u"main.lis"_s, indexLines(int(state.range(0))));
    for (auto _ : state) {
        const QList<TQuickLoadEntry> entries = QuickLoad::ReadIndex(folder);
        benchmark::DoNotOptimize(entries.size());
    }
}

// The quick-load manager's split of every line.
void BM_SplitForManager(benchmark::State &state)
{
    const QStringList lines = indexLines(int(state.range(0)));
    for (auto _ : state) {
        for (const QString &line : lines)
            benchmark::DoNotOptimize(QuickLoad::SplitEntryForManager(line).Name.size());
    }
}

} // namespace

// Shapes: 0 ordinary entries, 1 "a{b}" repeated, 2 closing braces before one opening, 3 "a {b}" repeated.
BENCHMARK(BM_ReadIndex)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitForManager)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
