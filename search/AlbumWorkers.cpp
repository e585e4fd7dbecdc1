// AlbumWorkers: the queue of runs of files, the threads that take them, and the albums put back in order.
#include "AlbumWorkers.h"

#include "AudioInfo.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct TRun
{
    qint64 Album = 0; // the album's number in the order added
    int Index = 0;    // the run's place in its album
    QString Folder;
    QStringList Names;
};

struct TAlbum
{
    std::vector<QStringList> Lines; // one entry per run
    int Done = 0;
    int Unreadable = 0;
    bool complete() const { return Done == int(Lines.size()); }
};

} // namespace

struct TAlbumWorkers::TState
{
    TTrackMaker Make;
    mutable std::mutex Mutex;
    std::condition_variable WorkCame; // a run was queued, or the end came
    std::condition_variable RunDone;  // a run was done, or a thread failed
    std::deque<TRun> Queue;
    std::deque<TAlbum> Albums; // not yet taken; the front is number FirstAlbum
    qint64 FirstAlbum = 0;
    std::atomic<bool> Stopping{ false };
    int Outstanding = 0;     // runs queued or in a thread's hands
    bool WaitingAll = false; // the waiter wants every album, not the next one
    std::exception_ptr Failure;
    std::vector<std::thread> Threads;
};

TAlbumWorkers::TAlbumWorkers(int threads, TTrackMaker make) : d(new TState)
{
    d->Make = std::move(make);
    for (int i = 0; i < std::max(1, threads); ++i)
        d->Threads.emplace_back([this] { Work(); });
}

TAlbumWorkers::~TAlbumWorkers()
{
    Stop();
    d->WorkCame.notify_all();
    for (std::thread &t : d->Threads)
        t.join();
}

void TAlbumWorkers::Add(const QString &folder, const QStringList &names)
{
    int runs = 0;
    {
        const std::lock_guard<std::mutex> lock(d->Mutex);
        const qint64 album = d->FirstAlbum + qint64(d->Albums.size());
        runs = int((names.size() + RunFiles - 1) / RunFiles);
        d->Outstanding += runs;
        d->Albums.push_back(TAlbum{ std::vector<QStringList>(std::size_t(runs)), 0, 0 });
        for (int r = 0; r < runs; ++r)
            d->Queue.push_back(TRun{ album, r, folder, names.mid(qsizetype(r) * RunFiles, RunFiles) });
    }
    // One run wakes one thread: waking all only to find the queue empty costs a switch each.
    if (runs == 1)
        d->WorkCame.notify_one();
    else if (runs > 1)
        d->WorkCame.notify_all();
}

bool TAlbumWorkers::TakeNext(QStringList &lines, int &unreadable)
{
    const std::lock_guard<std::mutex> lock(d->Mutex);
    if (d->Failure)
        std::rethrow_exception(d->Failure);
    if (d->Albums.empty() || !d->Albums.front().complete())
        return false;
    TAlbum &album = d->Albums.front();
    lines.clear();
    for (QStringList &run : album.Lines)
        lines += std::move(run);
    unreadable = album.Unreadable;
    d->Albums.pop_front();
    ++d->FirstAlbum;
    return true;
}

int TAlbumWorkers::Pending() const
{
    const std::lock_guard<std::mutex> lock(d->Mutex);
    return int(d->Albums.size());
}

void TAlbumWorkers::Wait(int ms, bool all)
{
    std::unique_lock<std::mutex> lock(d->Mutex);
    d->WaitingAll = all;
    d->RunDone.wait_for(lock, std::chrono::milliseconds(ms), [this, all] {
        return d->Failure || d->Stopping
            || (all ? d->Outstanding == 0 : !d->Albums.empty() && d->Albums.front().complete());
    });
    d->WaitingAll = false;
}

void TAlbumWorkers::Stop()
{
    const std::lock_guard<std::mutex> lock(d->Mutex);
    d->Stopping = true;
    d->Outstanding -= int(d->Queue.size());
    d->Queue.clear();
    d->FirstAlbum += qint64(d->Albums.size());
    d->Albums.clear();
}

void TAlbumWorkers::Work()
{
    // This thread's own analysis object.
    TAudioInfo info;
    const std::function<bool()> go = [this] { return !d->Stopping; };
    for (;;) {
        TRun run;
        {
            std::unique_lock<std::mutex> lock(d->Mutex);
            d->WorkCame.wait(lock, [this] { return d->Stopping || !d->Queue.empty(); });
            if (d->Stopping)
                return;
            run = std::move(d->Queue.front());
            d->Queue.pop_front();
        }
        QStringList lines;
        int unreadable = 0;
        bool whole = false;
        try {
            whole = d->Make(run.Folder, run.Names, info, unreadable, lines, go);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(d->Mutex);
            if (!d->Failure)
                d->Failure = std::current_exception();
            d->RunDone.notify_all();
            return;
        }
        const std::lock_guard<std::mutex> lock(d->Mutex);
        --d->Outstanding;
        if (d->WaitingAll && d->Outstanding == 0)
            d->RunDone.notify_all();
        // An album dropped by a stop is gone from the list.
        if (!whole || run.Album < d->FirstAlbum)
            continue;
        TAlbum &album = d->Albums[std::size_t(run.Album - d->FirstAlbum)];
        album.Lines[std::size_t(run.Index)] = std::move(lines);
        album.Unreadable += unreadable;
        ++album.Done;
        // Only the next album to take is waited for, or all of them.
        if (!d->WaitingAll && run.Album == d->FirstAlbum && album.complete())
            d->RunDone.notify_all();
    }
}
