// bench_analyze: AnalyzeFile over 2,000 files against the floor of opening them and reading 10 KB and 128 bytes.
#include "AudioInfo.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

constexpr int kFiles = 2000;

// 2,000 file names in a temporary folder, linked (or copied) in turn from the MP3 files of a source
// folder: $KS_BENCH_AUDIO_DIR (e.g. a corpus from scripts/make-audio-corpus.sh), else the test fixtures.
struct FileSet
{
    QTemporaryDir dir;
    QStringList files;
    QList<QByteArray> nativeFiles;

    FileSet()
    {
        const QByteArray env = qgetenv("KS_BENCH_AUDIO_DIR");
        const QString source = env.isEmpty() ? QStringLiteral(KS_BENCH_FIXTURES) : QString::fromLocal8Bit(env);
        QStringList sources;
        QDirIterator it(source, {QStringLiteral("*.mp3")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            sources.append(it.next());
        sources.sort();
        if (sources.isEmpty())
            qFatal("no MP3 files in %s", qPrintable(source));
        for (int i = 0; i < kFiles; ++i) {
            const QString to = dir.filePath(QStringLiteral("f%1.mp3").arg(i, 4, 10, QLatin1Char('0')));
            std::error_code ec;
            std::filesystem::create_hard_link(QFile::encodeName(sources[i % sources.size()]).toStdString(),
                                              QFile::encodeName(to).toStdString(), ec);
            if (ec && !QFile::copy(sources[i % sources.size()], to))
                qFatal("cannot make %s", qPrintable(to));
            files.append(to);
            nativeFiles.append(QFile::encodeName(to));
        }
    }
};

FileSet &fileSet()
{
    static FileSet set;
    return set;
}

void BM_AnalyzeFile(benchmark::State &state)
{
    const QStringList &files = fileSet().files;
    TAudioInfo info;
    qint64 total = 0;
    for (auto _ : state) {
        for (const QString &f : files) {
            info.AnalyzeFile(f);
            total += info.Duration;
        }
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations() * files.size());
}

// The floor through the same stream layer: open, first 10 KB, last 128 bytes, close.
void BM_FloorQFile(benchmark::State &state)
{
    const QStringList &files = fileSet().files;
    char buffer[10240];
    for (auto _ : state) {
        for (const QString &f : files) {
            QFile file(f);
            if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
                state.SkipWithError("open failed");
                break;
            }
            benchmark::DoNotOptimize(file.read(buffer, sizeof buffer));
            file.seek(file.size() - 128);
            benchmark::DoNotOptimize(file.read(buffer, 128));
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}

// The same floor in unbuffered C stdio, each call one system call.
void BM_FloorStdio(benchmark::State &state)
{
    const QList<QByteArray> &files = fileSet().nativeFiles;
    char buffer[10240];
    for (auto _ : state) {
        for (const QByteArray &f : files) {
            std::FILE *file = std::fopen(f.constData(), "rb");
            if (!file) {
                state.SkipWithError("open failed");
                break;
            }
            std::setvbuf(file, nullptr, _IONBF, 0);
            benchmark::DoNotOptimize(std::fread(buffer, 1, sizeof buffer, file));
            std::fseek(file, -128, SEEK_END);
            benchmark::DoNotOptimize(std::fread(buffer, 1, 128, file));
            std::fclose(file);
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}

} // namespace

BENCHMARK(BM_FloorStdio)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorQFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AnalyzeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
