// bench_formats: AnalyzeFile over 2,000 files of a mixed set of formats against TagLib's own FileRef
// with audio properties and against opening each file and reading its first 10 KB; the whole set,
// then each extension alone.
#include "AudioInfo.h"
#include "PlayTime.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fileref.h>

#include <cstdio>
#include <filesystem>

namespace {

constexpr int kFiles = 2000;

// The audio files of $KS_BENCH_AUDIO_DIR (e.g. the formats folder of a corpus from
// scripts/make-audio-corpus.sh), else of the test fixtures' mixed set, by extension ("" for all).
QMap<QString, QStringList> sources()
{
    const QByteArray env = qgetenv("KS_BENCH_AUDIO_DIR");
    const QString source = env.isEmpty() ? QStringLiteral(KS_BENCH_FIXTURES "/corpus/formats") : QString::fromLocal8Bit(env);
    QMap<QString, QStringList> sets;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (PlayTime::IsAudioName(file)) {
            sets[QString()].append(file);
            sets[it.fileInfo().suffix().toLower()].append(file);
        }
    }
    if (sets.isEmpty())
        qFatal("no audio files in %s", qPrintable(source));
    for (QStringList &files : sets)
        files.sort();
    return sets;
}

// 2,000 names in a temporary folder, hard links (or copies) of the set's files in turn; each keeps
// its extension, by which FileRef chooses its reader.
struct FileSet
{
    QTemporaryDir dir;
    QList<QByteArray> nativeFiles;
    QStringList files;

    explicit FileSet(const QStringList &from)
    {
        for (int i = 0; i < kFiles; ++i) {
            const QString &source = from[i % from.size()];
            const QString to = dir.filePath(QStringLiteral("f%1_").arg(i, 4, 10, QLatin1Char('0')) + QFileInfo(source).fileName());
            std::error_code ec;
            std::filesystem::create_hard_link(QFile::encodeName(source).toStdString(), QFile::encodeName(to).toStdString(), ec);
            if (ec && !QFile::copy(source, to))
                qFatal("cannot make %s", qPrintable(to));
            files.append(to);
            nativeFiles.append(QFile::encodeName(to));
        }
    }
};

void analyzeFile(benchmark::State &state, const FileSet *set)
{
    TAudioInfo info;
    qint64 total = 0;
    for (auto _ : state)
        for (const QString &f : set->files) {
            info.AnalyzeFile(f);
            total += info.Duration;
        }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations() * set->files.size());
}

void tagLibFileRef(benchmark::State &state, const FileSet *set)
{
    qint64 total = 0;
    int none = 0;
    for (auto _ : state)
        for (const QByteArray &f : set->nativeFiles) {
            const TagLib::FileRef ref(f.constData(), true, TagLib::AudioProperties::Average);
            if (ref.isNull() || !ref.audioProperties())
                ++none;
            else
                total += ref.audioProperties()->lengthInMilliseconds();
        }
    benchmark::DoNotOptimize(total);
    state.counters["without_time"] = double(none) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * set->files.size());
}

// The floor in unbuffered C stdio: open, read the first 10 KB, close.
void floorStdio(benchmark::State &state, const FileSet *set)
{
    char buffer[10240];
    for (auto _ : state)
        for (const QByteArray &f : set->nativeFiles) {
            std::FILE *file = std::fopen(f.constData(), "rb");
            if (!file) {
                state.SkipWithError("open failed");
                return;
            }
            std::setvbuf(file, nullptr, _IONBF, 0);
            benchmark::DoNotOptimize(std::fread(buffer, 1, sizeof buffer, file));
            std::fclose(file);
        }
    state.SetItemsProcessed(state.iterations() * set->files.size());
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    const QMap<QString, QStringList> sets = sources();
    QList<FileSet *> made; // kept until the end of the run
    for (auto it = sets.begin(); it != sets.end(); ++it) {
        const FileSet *set = made.emplace_back(new FileSet(it.value()));
        const std::string name = it.key().isEmpty() ? std::string("mixed") : it.key().toStdString();
        benchmark::RegisterBenchmark(("floor_10KB/" + name).c_str(), floorStdio, set)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("TagLib_FileRef/" + name).c_str(), tagLibFileRef, set)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("AnalyzeFile/" + name).c_str(), analyzeFile, set)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    qDeleteAll(made);
    return 0;
}
