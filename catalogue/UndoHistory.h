// UndoHistory: the program's changes to list files, each with the file's bytes before and after, to undo and redo.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

/// Every whole-file write of a list file (the open list, another list, main.lis) that passes through
/// Write is saved safely and recorded as one step. Undo puts the bytes before back and redo the bytes
/// after, each through the safe save, and only while the file still holds exactly what the program
/// left there: a file that anything else has changed since is left alone.
class TUndoHistory
{
public:
    /// Steps kept for undo; beyond them the oldest go.
    static constexpr int Capacity = 100;
    /// The bytes the undo steps may hold together; beyond them the oldest go, though the newest step
    /// always stays.
    qsizetype ByteLimit = qsizetype(256) * 1024 * 1024;

    /// One change of one file: its bytes before (none: the file did not exist) and after.
    struct TStep
    {
        QString Path;
        std::optional<QByteArray> Before;
        QByteArray After;
    };

    /// What an undo or a redo did.
    struct TOutcome
    {
        QString Path;    ///< the file it changed, or refused to change; empty when there was no step
        QString Refusal; ///< why nothing was done: the file was changed by something else since
    };

    /// Writes bytes to path (a file-system path) through the safe save and, when it was written,
    /// records the change, unless the file held those bytes already or its old bytes could not be
    /// read. A new step ends the steps that could be redone. False when the save failed.
    bool Write(const QString &path, const QByteArray &bytes);

    const QList<TStep> &UndoSteps() const { return m_undo; } ///< the oldest first
    const QList<TStep> &RedoSteps() const { return m_redo; } ///< the next to redo last

    /// Restores the bytes before the last step (removes a file the step created). Throws KsError
    /// ("Cannot create file %s", "Cannot delete file %s") when that fails; the step then stays.
    TOutcome Undo();
    /// Writes the bytes after the step undone last again. Throws as Undo.
    TOutcome Redo();

    /// Called whenever the steps change.
    std::function<void()> Changed;

private:
    /// Moves the last step of from onto to, the file going from the bytes it should hold to the others;
    /// what names the action in a refusal.
    TOutcome Move(QList<TStep> &from, QList<TStep> &to, bool undo, const QString &what);
    void Notify() const;
    /// The bytes the undo steps hold, each buffer counted once.
    qsizetype HeldBytes() const;

    QList<TStep> m_undo;
    QList<TStep> m_redo;
};
