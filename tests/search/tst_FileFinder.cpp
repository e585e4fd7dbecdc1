// tst_FileFinder: the walk over a real temporary tree: order, dot folders, links, stop requests.
#include "FileFinder.h"
#include "FileStamp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestFileFinder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;
    QStringList m_found; // folder below the root + name, in call order
    QList<int> m_attrs;
    int m_stops = 0;

    void touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(m_dir.filePath(path)).path());
        QFile f(m_dir.filePath(path));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    TFileFinder *finder(const QString &mask, std::function<void(bool &)> onFound = {})
    {
        auto *f = new TFileFinder(this);
        f->Root = m_root;
        f->Filename = mask;
        f->FuzzySearch = true;
        f->OnFileFound = [this, onFound](TFileFinder &, const QString &dir, const TSearchRec &rec, bool &stop) {
            m_found << dir.mid(m_root.size()) + rec.Name;
            m_attrs << rec.Attr();
            if (onFound)
                onFound(stop);
        };
        f->OnStop = [this](TFileFinder &) { ++m_stops; };
        return f;
    }

private slots:
    void init()
    {
        m_root = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
        for (const QString &name : { u"b.mp3"_s, u"A.MP3"_s, u"notes.txt"_s, u"sub1/x.mp3"_s, u"sub1/deep/y.mp3"_s,
                                     u".hidden/z.mp3"_s, u"sub2/w.mp3"_s })
            touch(name);
        // A link back to the root and a link to a file.
        QVERIFY(QFile::link(m_dir.path(), m_dir.filePath(u"loop.mp3"_s)));
        QVERIFY(QFile::link(m_dir.filePath(u"sub2/w.mp3"_s), m_dir.filePath(u"link.mp3"_s)));
        m_found.clear();
        m_attrs.clear();
        m_stops = 0;
    }
    void cleanup() { QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path())); }

    void walksDepthFirstEntriesBeforeSubfolders()
    {
        TFileFinder *f = finder(u"*.mp3"_s);
        auto *status = new QObject(f);
        f->StatusLabel = status;
        f->Execute();
        const QString s = QDir::separator();
        QCOMPARE(m_found, (QStringList{ u"A.MP3"_s, u"b.mp3"_s, u"link.mp3"_s, u"loop.mp3"_s, u"sub1"_s + s + u"x.mp3"_s,
                                        u"sub1"_s + s + u"deep"_s + s + u"y.mp3"_s, u"sub2"_s + s + u"w.mp3"_s }));
        // The link to a file is a file; the link to the root is reported as a folder and not entered.
        QVERIFY(m_attrs.at(2) & FileStamp::Archive);
        QVERIFY(m_attrs.at(3) & FileStamp::Directory);
        QCOMPARE(m_stops, 1);
        QVERIFY(!f->Stopped());
        QCOMPARE(status->property("text").toString(), m_root + u"sub2"_s + s);

        // Whole names, ignoring the case of a-z; without the folder bit nothing is entered.
        m_found.clear();
        f->FuzzySearch = false;
        f->Filename = u"B.MP3"_s;
        f->FileAttr = 63 & ~FileStamp::Directory;
        f->Execute();
        QCOMPARE(m_found, QStringList{ u"b.mp3"_s });
        // An empty name walks the whole tree and reports nothing.
        m_found.clear();
        f->FileAttr = 63;
        f->Filename.clear();
        f->Execute();
        QVERIFY(m_found.isEmpty());
        QCOMPARE(m_stops, 3);
    }

    void stopsFromTheEventOrFromOutside()
    {
        // Stop in the first report: the scan of that folder ends, no subfolder is entered, OnStop still fires.
        TFileFinder *f = finder(u"*.mp3"_s, [](bool &stop) { stop = true; });
        f->Execute();
        QCOMPARE(m_found, QStringList{ u"A.MP3"_s });
        QCOMPARE(m_stops, 1);
        QVERIFY(f->Stopped());

        // A request handled while the walk lets events through (after the first entry, ".hidden").
        m_found.clear();
        TFileFinder *g = finder(u"*.mp3"_s);
        g->PumpInterval = 0;
        QMetaObject::invokeMethod(this, [g] { g->Stop(); }, Qt::QueuedConnection);
        g->Execute();
        QVERIFY(m_found.isEmpty());
        QVERIFY(g->Stopped());
        QCOMPARE(m_stops, 2);
        // The next walk starts afresh.
        g->Execute();
        QCOMPARE(m_found.size(), 7);
    }

    void aStopTakesEffectWhileAHugeFolderIsRead()
    {
        // The walk lets events in while it reads a folder, before its first entry: a stop requested then
        // reports nothing of it.
        QDir(m_root).mkdir(u"huge"_s);
        for (int i = 0; i < 3000; ++i)
            touch(u"huge/%1.mp3"_s.arg(i, 4, 10, QLatin1Char('0')));
        TFileFinder *f = finder(u"*.mp3"_s);
        f->Root = m_root + u"huge"_s;
        f->PumpInterval = 0;
        QMetaObject::invokeMethod(this, [f] { f->Stop(); }, Qt::QueuedConnection);
        f->Execute();
        QVERIFY(f->Stopped());
        QCOMPARE(m_found, QStringList());
        QCOMPARE(m_stops, 1);
        // Unstopped, it reports the whole folder in name order (sorted in runs, then merged).
        f->Execute();
        QCOMPARE(m_found.size(), 3000);
        QCOMPARE(m_found.first(), u"huge"_s + QDir::separator() + u"0000.mp3"_s);
        QVERIFY(std::is_sorted(m_found.begin(), m_found.end()));
    }

    void aFolderThatCannotBeReadIsPassedOver()
    {
        // sub1 goes away after the root was scanned and before it is entered: the walk goes on.
        TFileFinder *f = finder(u"*.mp3"_s, [this](bool &) {
            if (m_found.size() == 1)
                QVERIFY(QDir(m_dir.filePath(u"sub1"_s)).removeRecursively());
        });
        f->Execute();
        QCOMPARE(m_found.last(), u"sub2"_s + QDir::separator() + u"w.mp3"_s);
        QCOMPARE(m_found.size(), 5);
        QCOMPARE(m_stops, 1);
    }
};

QTEST_GUILESS_MAIN(TestFileFinder)
#include "tst_FileFinder.moc"
