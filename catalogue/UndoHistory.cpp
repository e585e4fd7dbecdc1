// UndoHistory: recording the writes of list files, and putting their bytes back only where nothing else changed them.
#include "UndoHistory.h"

#include "KsError.h"
#include "LinesFile.h"
#include "SafeSave.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// What a file holds now. A file that cannot be read (another kind of file, too large, not permitted, a
// link to nothing) is unreadable and never equals anything the program wrote.
struct TContent
{
    bool Exists = false;
    bool Readable = true;
    QByteArray Bytes;
};

TContent contentOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    TContent content{ true, false, {} };
    if (!info.isFile() || info.size() > LinesFile::ListLimits.MaxBytes)
        return content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    content.Bytes = file.readAll();
    content.Readable = file.error() == QFileDevice::NoError;
    return content;
}

// True when the file holds exactly what a step left there (none: no file).
bool holds(const QString &path, const std::optional<QByteArray> &expected)
{
    const TContent now = contentOf(path);
    if (!now.Readable)
        return false;
    return expected ? now.Exists && now.Bytes == *expected : !now.Exists;
}

void restore(const QString &path, const std::optional<QByteArray> &bytes)
{
    if (bytes) {
        if (!SafeSave::WriteFile(path, *bytes))
            throw KsError::cannotCreate(path);
    } else if (!SafeSave::RemoveFile(path)) {
        throw KsError(u"Cannot delete file %1"_s.arg(path));
    }
}

QString changedOutside(const QString &path, const QString &what)
{
    return u"Файл «%1» изменён не этой программой после того, как она его записала: %2 нельзя. Файл оставлен как есть."_s
        .arg(path, what);
}

} // namespace

bool TUndoHistory::Write(const QString &path, const QByteArray &bytes)
{
    const TContent before = contentOf(path);
    if (!SafeSave::WriteFile(path, bytes))
        return false;
    if (!before.Readable || (before.Exists && before.Bytes == bytes))
        return true;
    TStep step{ path, std::nullopt, bytes };
    if (before.Exists) {
        step.Before = before.Bytes;
        // The versions of one file follow each other: the bytes before are usually those the last step wrote.
        for (qsizetype i = m_undo.size() - 1; i >= 0; --i) {
            if (m_undo.at(i).Path != path)
                continue;
            if (m_undo.at(i).After == before.Bytes)
                step.Before = m_undo.at(i).After;
            break;
        }
    }
    m_undo.append(std::move(step));
    while (m_undo.size() > Capacity || (m_undo.size() > 1 && HeldBytes() > ByteLimit))
        m_undo.removeFirst();
    m_redo.clear();
    Notify();
    return true;
}

TUndoHistory::TOutcome TUndoHistory::Undo()
{
    return Move(m_undo, m_redo, true, u"отменить его последнее изменение"_s);
}

TUndoHistory::TOutcome TUndoHistory::Redo()
{
    return Move(m_redo, m_undo, false, u"повторить отменённое изменение"_s);
}

TUndoHistory::TOutcome TUndoHistory::Move(QList<TStep> &from, QList<TStep> &to, bool undo, const QString &what)
{
    if (from.isEmpty())
        return {};
    const TStep &step = from.last();
    if (!holds(step.Path, undo ? step.After : step.Before))
        return { step.Path, changedOutside(step.Path, what) };
    restore(step.Path, undo ? step.Before : step.After);
    to.append(from.takeLast());
    Notify();
    return { to.last().Path, {} };
}

qsizetype TUndoHistory::HeldBytes() const
{
    // A step's bytes before are mostly the very buffer an earlier step wrote.
    qsizetype held = 0;
    for (qsizetype i = 0; i < m_undo.size(); ++i) {
        const TStep &step = m_undo.at(i);
        held += step.After.size();
        if (step.Before && std::none_of(m_undo.cbegin(), m_undo.cbegin() + i,
                                        [&](const TStep &earlier) { return step.Before->isSharedWith(earlier.After); }))
            held += step.Before->size();
    }
    return held;
}

void TUndoHistory::Notify() const
{
    if (Changed)
        Changed();
}
