// bench_search: a file search over 20,000 small MP3 files in 2,000 folders, against the floor of
// walking the tree and opening each file to read its first 10 KB and its last 128 bytes. Measures the
// finder alone, and the whole "Поиск" of the dialog up to the finished text with its event pumping on,
// and the longest time the event loop went without handling events during it.
#include "AudioInfo.h"
#include "DescriptionView.h"
#include "FileBrowser.h"
#include "FileDialogs.h"
#include "FileFinder.h"
#include "Messages.h"
#include "PlayerLink.h"
#include "ShellOpen.h"
#include "Unit1.h"
#include "UnitU1.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kGroups = 40;
constexpr int kFoldersPerGroup = 50;
constexpr int kFilesPerFolder = 10;
constexpr int kFolders = kGroups * kFoldersPerGroup;
constexpr int kFiles = kFolders * kFilesPerFolder;

// The tree: group folders holding album folders holding MP3 files, each a hard link (or a copy) of one
// of the source files: $KS_BENCH_AUDIO_DIR, else the test corpus of small files.
struct Tree
{
    QTemporaryDir dir;
    QString root;

    Tree()
    {
        const QByteArray env = qgetenv("KS_BENCH_AUDIO_DIR");
        const QString source = env.isEmpty() ? QStringLiteral(KS_BENCH_CORPUS) : QString::fromLocal8Bit(env);
        QStringList sources;
        for (QDirIterator it(source, { QStringLiteral("*.mp3") }, QDir::Files); it.hasNext();)
            sources << it.next();
        sources.sort();
        if (sources.isEmpty())
            qFatal("no MP3 files in %s", qPrintable(source));
        root = QDir::toNativeSeparators(dir.path());
        int n = 0;
        for (int g = 0; g < kGroups; ++g) {
            for (int f = 0; f < kFoldersPerGroup; ++f) {
                const QString folder = dir.filePath(QStringLiteral("Group %1/Album %2").arg(g, 2, 10, QLatin1Char('0')).arg(f, 2, 10, QLatin1Char('0')));
                QDir().mkpath(folder);
                for (int t = 0; t < kFilesPerFolder; ++t, ++n) {
                    const QString to = folder + QStringLiteral("/%1 Track.mp3").arg(t + 1, 2, 10, QLatin1Char('0'));
                    const QString from = sources[n % sources.size()];
                    std::error_code ec;
                    std::filesystem::create_hard_link(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), ec);
                    if (ec && !QFile::copy(from, to))
                        qFatal("cannot make %s", qPrintable(to));
                }
            }
        }
    }
};

Tree &tree()
{
    static Tree t;
    return t;
}

// (a) The floor in plain system calls: readdir, and for each file open, 10 KB, last 128 bytes, close.
qint64 walkRaw(const std::string &folder, char *buffer)
{
    qint64 files = 0;
    DIR *d = ::opendir(folder.c_str());
    if (!d)
        return 0;
    std::vector<std::string> subfolders;
    while (dirent *e = ::readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string path = folder + '/' + e->d_name;
        if (e->d_type == DT_DIR) {
            subfolders.push_back(path);
            continue;
        }
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            continue;
        benchmark::DoNotOptimize(::read(fd, buffer, 10240));
        ::lseek(fd, -128, SEEK_END);
        benchmark::DoNotOptimize(::read(fd, buffer, 128));
        ::close(fd);
        ++files;
    }
    ::closedir(d);
    for (const std::string &s : subfolders)
        files += walkRaw(s, buffer);
    return files;
}

void BM_FloorSystemCalls(benchmark::State &state)
{
    const std::string root = QFile::encodeName(tree().root).toStdString();
    char buffer[10240];
    for (auto _ : state)
        if (walkRaw(root, buffer) != kFiles)
            state.SkipWithError("files missing");
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// (a) The same floor through Qt's directory iterator and QFile, the layers the program uses.
void BM_FloorQt(benchmark::State &state)
{
    char buffer[10240];
    for (auto _ : state) {
        int files = 0;
        for (QDirIterator it(tree().root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                continue;
            benchmark::DoNotOptimize(file.read(buffer, sizeof buffer));
            file.seek(file.size() - 128);
            benchmark::DoNotOptimize(file.read(buffer, 128));
            ++files;
        }
        if (files != kFiles)
            state.SkipWithError("files missing");
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// (b) The finder alone: the walk with the dialog's mask, nothing read, no events let through.
void BM_Finder(benchmark::State &state)
{
    TFileFinder finder;
    finder.Root = tree().root;
    finder.Filename = QStringLiteral("*.mp3");
    finder.FuzzySearch = true;
    finder.ProcessMessages = false;
    int found = 0;
    finder.OnFileFound = [&](TFileFinder &, const QString &, const TSearchRec &, bool &) { ++found; };
    for (auto _ : state) {
        found = 0;
        finder.Execute();
        if (found != kFiles)
            state.SkipWithError("files missing");
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// The search itself without the dialog: the walk, each folder listed, each file analysed, the text
// collected in a list of lines.
void BM_SearchEngine(benchmark::State &state)
{
    TFileFinder finder;
    finder.FuzzySearch = true;
    finder.ProcessMessages = false;
    TAudioInfo info;
    TFileSearch search(finder, info);
    QStringList text;
    search.OnAlbum = [&](const QStringList &block) { text << block; };
    for (auto _ : state) {
        text.clear();
        search.Run({ tree().root, QStringLiteral("mp3"), QString(), QString() });
        if (search.Albums() != kFolders || text.size() != kFolders * (8 + 4 * kFilesPerFolder))
            state.SkipWithError("the text is incomplete");
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}

// (c) "Поиск" in the shown dialog up to the finished text, with the pumping interval given (-1: the
// dialog's own). A zero-time timer notes every turn of the event loop; the longest gap between two
// turns is reported in milliseconds.
void BM_DialogSearch(benchmark::State &state)
{
    TRecordingShell shell;
    TRecordingMessages messages;
    TScriptedFileDialogs fileDialogs;
    TRecordingPlayerLink player;
    TFormServices services;
    services.Shell = &shell;
    services.Messages = &messages;
    services.FileDialogs = &fileDialogs;
    services.Player = &player;
    services.DescriptionView = std::make_unique<TRecordingDescriptionView>();
    services.Arguments = QStringList{ tree().root + QStringLiteral("/none.lst") };
    TForm1 form(std::move(services));
    form.show();
    TFileFindForm *dialog = form.FileFindForm();
    dialog->ShowFinder();
    if (!QTest::qWaitForWindowExposed(dialog))
        state.SkipWithError("the dialog was not shown");
    if (state.range(0) >= 0)
        dialog->FileFinder1().PumpInterval = int(state.range(0));
    auto *folders = dialog->findChild<TDirectoryListBox *>(QStringLiteral("DirectoryListBox1"));
    auto *search = dialog->findChild<QPushButton *>(QStringLiteral("Button1"));
    auto *text = dialog->findChild<QPlainTextEdit *>(QStringLiteral("RichEdit1"));

    QElapsedTimer sinceTurn;
    qint64 longest = 0;
    qint64 tail = 0; // from the last turn to the end of the search
    qint64 turns = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&] {
        longest = qMax(longest, sinceTurn.nsecsElapsed());
        sinceTurn.start();
        ++turns;
    });
    for (auto _ : state) {
        folders->SetDirectory(tree().root);
        QCoreApplication::processEvents();
        turn.start();
        sinceTurn.start();
        search->click();
        tail = qMax(tail, sinceTurn.nsecsElapsed());
        longest = qMax(longest, sinceTurn.nsecsElapsed());
        turn.stop();
        state.PauseTiming();
        if (dialog->LastSearch().Albums() != kFolders || text->blockCount() != kFolders * (8 + 4 * kFilesPerFolder))
            state.SkipWithError("the text is incomplete");
        state.ResumeTiming();
    }
    state.counters["longest_gap_ms"] = double(longest) / 1e6;
    state.counters["tail_ms"] = double(tail) / 1e6;
    state.counters["loop_turns"] = double(turns) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kFiles);
}

} // namespace

BENCHMARK(BM_FloorSystemCalls)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorQt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Finder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchEngine)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DialogSearch)->Arg(-1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrune"));
    tree();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
