// bench_analyze: AnalyzeFile over 2,000 files against the floor of opening them and reading 10 KB and 128 bytes;
// the same by kind of file: variable rate without a header (read whole), junk in front of the audio, the others.
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

// The file sets: every MP3 file of the source folder, or one kind of them by the names that
// scripts/make-audio-corpus.sh gives: junk in front of the audio ("junk_*"), variable rate without a
// header ("*noxing*"), and all others (constant rate, or a Xing, Info or VBRI header).
enum Set { All, Junk, NoHeader, Others };

Set kindOf(const QString &name)
{
    if (name.startsWith(QLatin1String("junk_")))
        return Junk;
    return name.contains(QLatin1String("noxing")) ? NoHeader : Others;
}

// 2,000 file names in a temporary folder, linked (or copied) in turn from the MP3 files of a set in
// a source folder: $KS_BENCH_AUDIO_DIR (e.g. a corpus from scripts/make-audio-corpus.sh), else the
// test fixtures.
struct FileSet
{
    QTemporaryDir dir;
    QStringList files;
    QList<QByteArray> nativeFiles;

    explicit FileSet(Set set)
    {
        const QByteArray env = qgetenv("KS_BENCH_AUDIO_DIR");
        const QString source = env.isEmpty() ? QStringLiteral(KS_BENCH_FIXTURES) : QString::fromLocal8Bit(env);
        QStringList sources;
        QDirIterator it(source, {QStringLiteral("*.mp3")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (set == All || kindOf(it.fileName()) == set)
                sources.append(file);
        }
        sources.sort();
        if (sources.isEmpty())
            qFatal("no files of set %d in %s", int(set), qPrintable(source));
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

FileSet &fileSet(Set set)
{
    static std::unique_ptr<FileSet> sets[4];
    if (!sets[set])
        sets[set] = std::make_unique<FileSet>(set);
    return *sets[set];
}

void BM_AnalyzeFile(benchmark::State &state, Set set)
{
    const QStringList &files = fileSet(set).files;
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
void BM_FloorQFile(benchmark::State &state, Set set)
{
    const QStringList &files = fileSet(set).files;
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
void BM_FloorStdio(benchmark::State &state, Set set)
{
    const QList<QByteArray> &files = fileSet(set).nativeFiles;
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

// Reading each file whole in blocks of 1 MiB, unbuffered C stdio: the floor of counting its frames.
void BM_ReadWholeStdio(benchmark::State &state, Set set)
{
    const QList<QByteArray> &files = fileSet(set).nativeFiles;
    std::unique_ptr<char[]> buffer(new char[1 << 20]);
    for (auto _ : state) {
        for (const QByteArray &f : files) {
            std::FILE *file = std::fopen(f.constData(), "rb");
            if (!file) {
                state.SkipWithError("open failed");
                break;
            }
            std::setvbuf(file, nullptr, _IONBF, 0);
            while (std::fread(buffer.get(), 1, 1 << 20, file) == 1 << 20) {
            }
            std::fclose(file);
        }
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}

} // namespace

BENCHMARK_CAPTURE(BM_FloorStdio, all, All)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FloorQFile, all, All)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_AnalyzeFile, all, All)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FloorStdio, others, Others)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_AnalyzeFile, others, Others)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FloorStdio, noheader, NoHeader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReadWholeStdio, noheader, NoHeader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_AnalyzeFile, noheader, NoHeader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FloorStdio, junk, Junk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReadWholeStdio, junk, Junk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_AnalyzeFile, junk, Junk)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
