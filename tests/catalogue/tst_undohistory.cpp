// Tests of the undo history: writes recorded with their bytes, undone and redone byte for byte, and
// refused where anything else changed the file since.
#include "CatalogueTestUtil.h"
#include "UndoHistory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using CatalogueTestUtil::readBytes;
using CatalogueTestUtil::writeBytes;

namespace {

// One step of a script on two files (0 and 1). Kinds: 'w' the program writes Bytes; 'o' another program
// writes Bytes (none: removes the file); 'u' undo and 'r' redo, after which the file holds Bytes (none:
// it does not exist), or "!" for a refusal that leaves the file holding what it held.
struct TOp
{
    char Kind;
    int File;
    const char *Bytes;
};

const char *const Refused = "!";

struct TScript
{
    const char *Name;
    const char *Before[2]; // the files' bytes at the start (none: missing)
    std::initializer_list<TOp> Ops;
    int UndoLeft;
    int RedoLeft;
};

const TScript Scripts[] = {
    { "a file the program made is removed, and made again", { nullptr, nullptr },
      { { 'w', 0, "a" }, { 'u', 0, nullptr }, { 'r', 0, "a" }, { 'u', 0, nullptr } }, 0, 1 },
    { "each version comes back in turn", { "x", nullptr },
      { { 'w', 0, "a" }, { 'w', 0, "b" }, { 'u', 0, "a" }, { 'u', 0, "x" }, { 'u', 0, "x" }, { 'r', 0, "a" }, { 'r', 0, "b" } },
      2, 0 },
    { "the same bytes written again are no step", { "x", nullptr }, { { 'w', 0, "x" }, { 'u', 0, "x" } }, 0, 0 },
    { "steps of two files are undone in the order made", { "x", "y" },
      { { 'w', 0, "a" }, { 'w', 1, "b" }, { 'u', 1, "y" }, { 'u', 0, "x" }, { 'r', 0, "a" } }, 1, 1 },
    { "a file changed outside is left alone", { "x", nullptr },
      { { 'w', 0, "a" }, { 'o', 0, "a+" }, { 'u', 0, Refused }, { 'u', 0, Refused } }, 1, 0 },
    { "a file removed outside is not made again", { "x", nullptr },
      { { 'w', 0, "a" }, { 'o', 0, nullptr }, { 'u', 0, Refused } }, 1, 0 },
    { "a made file changed outside is not removed", { nullptr, nullptr },
      { { 'w', 0, "a" }, { 'o', 0, "b" }, { 'u', 0, Refused } }, 1, 0 },
    { "a file changed outside after an undo is not redone", { "x", nullptr },
      { { 'w', 0, "a" }, { 'u', 0, "x" }, { 'o', 0, "z" }, { 'r', 0, Refused } }, 0, 1 },
    { "a new write ends what could be redone", { "x", "y" },
      { { 'w', 0, "a" }, { 'u', 0, "x" }, { 'w', 1, "b" }, { 'r', 0, "x" }, { 'u', 1, "y" }, { 'u', 1, "y" } }, 0, 1 },
};

QByteArray content(const QString &path)
{
    return QFile::exists(path) ? readBytes(path) : QByteArray("<missing>");
}

} // namespace

class TestUndoHistory : public QObject
{
    Q_OBJECT
private slots:
    void scripts()
    {
        for (const TScript &script : Scripts) {
            QTemporaryDir dir;
            const QString files[2] = { dir.filePath(u"list.lst"_s), dir.filePath(u"main.lis"_s) };
            for (int f = 0; f < 2; ++f)
                if (script.Before[f])
                    writeBytes(files[f], script.Before[f]);
            TUndoHistory history;
            int step = 0;
            for (const TOp &op : script.Ops) {
                const QString &file = files[op.File];
                const QByteArray held = content(file);
                const QString where = QString::fromLatin1(script.Name) + u", step "_s + QString::number(++step);
                if (op.Kind == 'w') {
                    QVERIFY2(history.Write(file, op.Bytes), qPrintable(where));
                } else if (op.Kind == 'o') {
                    if (op.Bytes)
                        writeBytes(file, op.Bytes);
                    else
                        QFile::remove(file);
                } else {
                    const TUndoHistory::TOutcome done = op.Kind == 'u' ? history.Undo() : history.Redo();
                    const bool refused = op.Bytes == Refused;
                    QVERIFY2(refused ? done.Refusal.contains(file) : done.Refusal.isEmpty(), qPrintable(where));
                    QCOMPARE(content(file), refused ? held : op.Bytes ? QByteArray(op.Bytes) : QByteArray("<missing>"));
                }
            }
            QVERIFY2(history.UndoSteps().size() == script.UndoLeft, script.Name);
            QVERIFY2(history.RedoSteps().size() == script.RedoLeft, script.Name);
        }
    }

    // The last Capacity steps are kept; undoing them all goes back to the version before the oldest kept.
    void keepsTheLastSteps()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"list.lst"_s);
        TUndoHistory history;
        const int writes = TUndoHistory::Capacity + 20;
        for (int i = 1; i <= writes; ++i)
            QVERIFY(history.Write(file, QByteArray::number(i)));
        QCOMPARE(history.UndoSteps().size(), TUndoHistory::Capacity);
        while (!history.UndoSteps().isEmpty())
            QVERIFY(history.Undo().Refusal.isEmpty());
        QCOMPARE(readBytes(file), QByteArray::number(writes - TUndoHistory::Capacity));
        QVERIFY(history.Undo().Path.isEmpty());

        // And no more bytes than the limit, each version counted once: here the first text and two
        // versions; a step larger than the limit alone still stays.
        history.ByteLimit = 3000;
        writeBytes(file, QByteArray(1000, '0'));
        for (char c : { 'a', 'b', 'c', 'd' })
            QVERIFY(history.Write(file, QByteArray(1000, c)));
        QCOMPARE(history.UndoSteps().size(), 2);
        while (!history.UndoSteps().isEmpty())
            QVERIFY(history.Undo().Refusal.isEmpty());
        QCOMPARE(readBytes(file), QByteArray(1000, 'b'));
        QVERIFY(history.Write(file, QByteArray(5000, 'e')));
        QCOMPARE(history.UndoSteps().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "tst_undohistory.moc"
