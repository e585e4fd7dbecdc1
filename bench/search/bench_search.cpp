// bench_search: the file search over trees of small audio files against the floor of walking the tree
// and opening each file to read its first 10 KB and its last 128 bytes: 20,000 files in 2,000 folders,
// 100,000 files in 10,000 folders, and one folder of 50,000 files; with the page cache warm, and cold
// (every file dropped from it before each run). Measures the finder alone, the search without the
// dialog, and the dialog's whole "Поиск" up to the finished text, with the longest time its event loop
// went without handling events, the peak resident memory, the time a scroll of the finished text takes,
// and how long "Стоп", "Выход" and Escape take to end a running search.
#include "AudioInfo.h"
#include "DescriptionView.h"
#include "FileBrowser.h"
#include "FileDialogs.h"
#include "FileFinder.h"
#include "LineTextBox.h"
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
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

// The trees, by the first argument of each benchmark.
enum TreeKind { Files20k = 0, Files100k = 1, Folder50k = 2 };
// The second: the page cache.
enum Cache { Warm = 0, Cold = 1 };

struct Shape
{
    int Groups;
    int FoldersPerGroup;
    int FilesPerFolder;
    bool Copies; // distinct files, so that dropping one from the cache drops no other
    int files() const { return Groups * FoldersPerGroup * FilesPerFolder; }
    int folders() const { return Groups * FoldersPerGroup; }
};

Shape shapeOf(int kind)
{
    switch (kind) {
    case Files100k:
        return { 100, 100, 10, true };
    case Folder50k:
        return { 1, 1, 50000, false };
    default:
        return { 40, 50, 10, true };
    }
}

// A tree of group folders holding album folders holding MP3 files, each a copy (or a hard link) of one of
// the source files: $KS_BENCH_AUDIO_DIR, else the test corpus of small files.
struct Tree
{
    QTemporaryDir dir;
    QString root;
    Shape shape;
    std::vector<std::string> files;

    explicit Tree(const Shape &s) : shape(s)
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
        for (int g = 0; g < s.Groups; ++g) {
            for (int f = 0; f < s.FoldersPerGroup; ++f) {
                const QString folder = dir.filePath(QStringLiteral("Group %1/Album %2").arg(g, 3, 10, QLatin1Char('0')).arg(f, 3, 10, QLatin1Char('0')));
                QDir().mkpath(folder);
                for (int t = 0; t < s.FilesPerFolder; ++t, ++n) {
                    const std::string to = QFile::encodeName(folder + QStringLiteral("/%1 Track.mp3").arg(t + 1, 5, 10, QLatin1Char('0'))).toStdString();
                    const std::string from = QFile::encodeName(sources[n % sources.size()]).toStdString();
                    std::error_code ec;
                    if (s.Copies)
                        std::filesystem::copy_file(from, to, ec);
                    else
                        std::filesystem::create_hard_link(from, to, ec);
                    if (ec)
                        qFatal("cannot make %s", to.c_str());
                    files.push_back(to);
                }
            }
        }
        ::sync();
    }

    // Drops every file's pages from the page cache (written back first by the sync above).
    void dropFromCache() const
    {
        for (const std::string &f : files) {
            const int fd = ::open(f.c_str(), O_RDONLY);
            if (fd >= 0) {
                ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
                ::close(fd);
            }
        }
    }
};

Tree &tree(int kind)
{
    static std::map<int, std::unique_ptr<Tree>> trees;
    std::unique_ptr<Tree> &t = trees[kind];
    if (!t)
        t = std::make_unique<Tree>(shapeOf(kind));
    return *t;
}

// Resident memory from /proc: the peak since the last reset, and the present size, in KB.
qint64 statusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ':';
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stoll(line.substr(prefix.size()));
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Before each timed run, paused: the cache as asked, the peak reset.
void prepare(benchmark::State &state, const Tree &t)
{
    state.PauseTiming();
    if (state.range(1) == Cold)
        t.dropFromCache();
    resetPeak();
    state.ResumeTiming();
}

void report(benchmark::State &state, const Tree &t, qint64 rssBeforeKb)
{
    state.counters["files"] = t.shape.files();
    state.counters["peak_rss_mb"] = double(statusKb("VmHWM")) / 1024;
    if (rssBeforeKb >= 0)
        state.counters["peak_growth_mb"] = double(statusKb("VmHWM") - rssBeforeKb) / 1024;
    state.SetItemsProcessed(state.iterations() * t.shape.files());
}

// The floor in plain system calls: readdir, and for each file open, 10 KB, last 128 bytes, close.
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
    const Tree &t = tree(int(state.range(0)));
    const std::string root = QFile::encodeName(t.root).toStdString();
    char buffer[10240];
    for (auto _ : state) {
        prepare(state, t);
        if (walkRaw(root, buffer) != t.shape.files())
            state.SkipWithError("files missing");
    }
    report(state, t, -1);
}

// The same floor through Qt's directory iterator and QFile.
void BM_FloorQt(benchmark::State &state)
{
    const Tree &t = tree(int(state.range(0)));
    char buffer[10240];
    for (auto _ : state) {
        prepare(state, t);
        int files = 0;
        for (QDirIterator it(t.root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                continue;
            benchmark::DoNotOptimize(file.read(buffer, sizeof buffer));
            file.seek(file.size() - 128);
            benchmark::DoNotOptimize(file.read(buffer, 128));
            ++files;
        }
        if (files != t.shape.files())
            state.SkipWithError("files missing");
    }
    report(state, t, -1);
}

// The finder alone: the walk with the dialog's mask, nothing read, no events let through.
void BM_Finder(benchmark::State &state)
{
    const Tree &t = tree(int(state.range(0)));
    TFileFinder finder;
    finder.Root = t.root;
    finder.Filename = QStringLiteral("*.mp3");
    finder.FuzzySearch = true;
    finder.ProcessMessages = false;
    int found = 0;
    finder.OnFileFound = [&](TFileFinder &, const QString &, const TSearchRec &, bool &) { ++found; };
    for (auto _ : state) {
        prepare(state, t);
        found = 0;
        finder.Execute();
        if (found != t.shape.files())
            state.SkipWithError("files missing");
    }
    report(state, t, -1);
}

// The search itself without the dialog, as a command line would run it: the walk, each file analysed,
// the text collected in a list of lines. The third argument: worker threads (-1 the default).
void BM_SearchEngine(benchmark::State &state)
{
    const Tree &t = tree(int(state.range(0)));
    TFileFinder finder;
    finder.FuzzySearch = true;
    finder.ProcessMessages = false;
    TAudioInfo info;
    TFileSearch search(finder, info);
    if (state.range(2) >= 0)
        search.Workers = int(state.range(2));
    QStringList text;
    search.OnAlbum = [&](const QStringList &block) { text << block; };
    qint64 chars = 0;
    const qint64 rssBefore = statusKb("VmRSS");
    for (auto _ : state) {
        prepare(state, t);
        text.clear();
        search.Run({ t.root, QStringLiteral("mp3"), QString(), QString() });
        if (search.Albums() != t.shape.folders() || text.size() != t.shape.folders() * 8 + 4 * t.shape.files())
            state.SkipWithError("the text is incomplete");
        state.PauseTiming();
        chars = 0;
        for (const QString &line : text)
            chars += line.size() + 1;
        state.ResumeTiming();
    }
    state.counters["text_mb"] = double(chars) * 2 / 1e6;
    report(state, t, rssBefore);
}

// The main window and its file search dialog, shown, on the recording fakes.
struct Window
{
    TRecordingShell shell;
    TRecordingMessages messages;
    TScriptedFileDialogs fileDialogs;
    TRecordingPlayerLink player;
    std::unique_ptr<TForm1> form;
    TFileFindForm *dialog = nullptr;
    TDirectoryListBox *folders = nullptr;
    QPushButton *search = nullptr;
    TLineTextBox *text = nullptr;

    explicit Window(const QString &root)
    {
        TFormServices services;
        services.Shell = &shell;
        services.Messages = &messages;
        services.FileDialogs = &fileDialogs;
        services.Player = &player;
        services.DescriptionView = std::make_unique<TRecordingDescriptionView>();
        services.Arguments = QStringList{ root + QStringLiteral("/none.lst") };
        form = std::make_unique<TForm1>(std::move(services));
        form->show();
        dialog = form->FileFindForm();
        dialog->ShowFinder();
        if (!QTest::qWaitForWindowExposed(dialog))
            qFatal("the dialog was not shown");
        folders = dialog->findChild<TDirectoryListBox *>(QStringLiteral("DirectoryListBox1"));
        search = dialog->findChild<QPushButton *>(QStringLiteral("Button1"));
        text = dialog->findChild<TLineTextBox *>(QStringLiteral("RichEdit1"));
    }

    // Starts a search of root, the box emptied beforehand.
    void reset(const QString &root)
    {
        text->Editor()->clear();
        folders->SetDirectory(root);
        if (!dialog->isVisible())
            dialog->ShowFinder();
        QCoreApplication::processEvents();
    }
};

// Notes every turn of the event loop with a zero-time timer: the longest gap between two turns.
struct LoopWatch
{
    QElapsedTimer sinceTurn;
    qint64 longest = 0;
    qint64 turns = 0;
    QTimer turn;

    LoopWatch()
    {
        turn.setInterval(0);
        QObject::connect(&turn, &QTimer::timeout, [this] { note(); });
    }
    void note()
    {
        longest = qMax(longest, sinceTurn.nsecsElapsed());
        sinceTurn.start();
        ++turns;
    }
    void start()
    {
        turn.start();
        sinceTurn.start();
    }
    void stop()
    {
        note();
        turn.stop();
    }
};

// The longer of two scrolls of a text, to its middle and to its end, each painted.
qint64 longestScroll(QAbstractScrollArea *text)
{
    QScrollBar *bar = text->verticalScrollBar();
    qint64 longest = 0;
    for (int to : { bar->maximum() / 2, bar->maximum() }) {
        QElapsedTimer scrolled;
        scrolled.start();
        bar->setValue(to);
        text->viewport()->repaint();
        longest = qMax(longest, scrolled.nsecsElapsed());
    }
    return longest;
}

// "Поиск" in the shown dialog up to the finished text. Reports the longest gap of the event loop, the
// time one scroll of the finished text takes (to its middle and to its end, each painted, in the view
// and again in the editor), the peak resident memory (during the search alone, and with the editor's
// text) and the text's size; then the time until the editor holds the text, built while the window goes
// on, and the longest gap of that phase.
void BM_DialogSearch(benchmark::State &state)
{
    const Tree &t = tree(int(state.range(0)));
    Window w(t.root);
    LoopWatch loop;
    LoopWatch editable;
    qint64 scroll = 0;
    qint64 editorScroll = 0;
    qint64 chars = 0;
    qint64 toEditor = 0;
    qint64 rssBefore = -1;
    qint64 searchGrowth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.reset(t.root);
        ::malloc_trim(0); // what the last run freed is not counted as taken before this one
        rssBefore = statusKb("VmRSS");
        state.ResumeTiming();
        prepare(state, t);
        loop.start();
        w.search->click();
        loop.stop();
        state.PauseTiming();
        searchGrowth = statusKb("VmHWM") - rssBefore;
        const QStringList lines = w.text->Lines();
        if (w.dialog->LastSearch().Albums() != t.shape.folders() || lines.size() != t.shape.folders() * 8 + 4 * t.shape.files())
            state.SkipWithError("the text is incomplete");
        scroll = qMax(scroll, longestScroll(w.text->View()));
        chars = 0;
        for (const QString &line : lines)
            chars += line.size() + 1;
        QElapsedTimer built;
        built.start();
        editable.start();
        while (!w.text->Editing())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        editable.stop();
        toEditor = qMax(toEditor, built.nsecsElapsed());
        if (w.text->Editor()->blockCount() != lines.size())
            state.SkipWithError("the editor's text is incomplete");
        editorScroll = qMax(editorScroll, longestScroll(w.text->Editor()));
        state.ResumeTiming();
    }
    state.counters["longest_gap_ms"] = double(loop.longest) / 1e6;
    state.counters["loop_turns"] = double(loop.turns) / double(state.iterations());
    state.counters["scroll_ms"] = double(scroll) / 1e6;
    state.counters["editor_scroll_ms"] = double(editorScroll) / 1e6;
    state.counters["text_mb"] = double(chars) * 2 / 1e6;
    state.counters["editable_ms"] = double(toEditor) / 1e6;
    state.counters["editable_gap_ms"] = double(editable.longest) / 1e6;
    state.counters["search_growth_mb"] = double(searchGrowth) / 1024;
    report(state, t, rssBefore);
}

// A running search ended 300 ms (or, in the folder of 50,000 files, 30 ms) after it began, by "Стоп",
// "Выход" or Escape (the third argument): the time from the request to the end of "Поиск".
void BM_DialogStop(benchmark::State &state)
{
    const Tree &t = tree(int(state.range(0)));
    Window w(t.root);
    const int after = int(state.range(0)) == Folder50k ? 30 : 300;
    QElapsedTimer sinceStop;
    qint64 longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.reset(t.root);
        state.ResumeTiming();
        QTimer::singleShot(after, w.dialog, [&] {
            sinceStop.start();
            switch (state.range(2)) {
            case 0:
                w.search->click();
                break;
            case 1:
                w.dialog->findChild<QPushButton *>(QStringLiteral("Button2"))->click();
                break;
            default:
                QTest::keyClick(w.dialog, Qt::Key_Escape);
                break;
            }
        });
        w.search->click();
        longest = qMax(longest, sinceStop.nsecsElapsed());
        if (!w.dialog->LastSearch().Stopped())
            state.SkipWithError("the search was not stopped");
    }
    state.counters["stop_ms"] = double(longest) / 1e6;
    state.counters["files"] = t.shape.files();
}

void bothCaches(benchmark::internal::Benchmark *b, std::initializer_list<int> kinds)
{
    for (int kind : kinds)
        for (int cache : { Warm, Cold })
            b->Args({ kind, cache, -1 });
}

} // namespace

BENCHMARK(BM_FloorSystemCalls)->Apply([](auto *b) { bothCaches(b, { Files20k, Files100k }); })->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FloorQt)->Args({ Files20k, Warm, -1 })->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Finder)->Args({ Files20k, Warm, -1 })->Args({ Folder50k, Warm, -1 })->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SearchEngine)
    ->Apply([](auto *b) { bothCaches(b, { Files20k, Files100k }); })
    ->Args({ Files20k, Warm, 0 })
    ->Args({ Files20k, Warm, 1 })
    ->Args({ Files20k, Cold, 0 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(3);
BENCHMARK(BM_DialogSearch)
    ->Apply([](auto *b) { bothCaches(b, { Files20k, Files100k }); })
    ->Args({ Folder50k, Warm, -1 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(3);
BENCHMARK(BM_DialogStop)
    ->Args({ Files100k, Warm, 0 })
    ->Args({ Files100k, Warm, 1 })
    ->Args({ Files100k, Warm, 2 })
    ->Args({ Folder50k, Warm, 0 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrune"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
