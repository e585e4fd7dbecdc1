// AlbumWorkers: the track lines of found folders made on worker threads while the walk goes on, and
// handed back album by album in the order the folders were found.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TAudioInfo;

/// A few threads, each with an analysis object of its own that no other thread touches, that make the
/// track lines of the files of found folders. A folder's files are shared out in runs so that a huge
/// folder keeps every thread busy; an album is given back only when all its files are done, and only
/// after every album added before it.
class TAlbumWorkers
{
public:
    /// Makes the track lines of names in folder with info, counting the files it could not read in
    /// unreadable; asks go before each file and gives false, abandoning the lines, when it says no.
    using TTrackMaker = std::function<bool(const QString &folder, const QStringList &names, TAudioInfo &info,
                                           int &unreadable, QStringList &lines, const std::function<bool()> &go)>;

    /// Starts threads (at least one) that make lines with make.
    TAlbumWorkers(int threads, TTrackMaker make);
    /// Stops and waits for the threads.
    ~TAlbumWorkers();
    TAlbumWorkers(const TAlbumWorkers &) = delete;
    TAlbumWorkers &operator=(const TAlbumWorkers &) = delete;

    /// Files in one run of the work.
    static constexpr int RunFiles = 32;

    /// Queues the files of the next album.
    void Add(const QString &folder, const QStringList &names);
    /// The track lines and unreadable count of the next album, when all its files are done; false while
    /// they are not. Rethrows the first failure of a thread (other than a file that cannot be read).
    bool TakeNext(QStringList &lines, int &unreadable);
    /// Albums added and not yet taken.
    int Pending() const;
    /// Waits until the next album is done (every album, with all), a thread failed, or ms milliseconds
    /// passed.
    void Wait(int ms, bool all = false);
    /// Drops the albums not taken; a run in hand ends after its file.
    void Stop();

private:
    struct TState;
    void Work();
    std::unique_ptr<TState> d;
};
