// UnitU1Undo: "Отменить" and "Повторить": the program's changes to list files put back and done again, the
// tree and the quick-load box following.
#include "UnitU1.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "Paths.h"
#include "QuickLoadEntries.h"
#include "Unit5.h"

#include <QAction>

using namespace Qt::StringLiterals;

void TForm1::UndoChange()
{
    PutBack(&TUndoHistory::Undo);
}

void TForm1::RedoChange()
{
    PutBack(&TUndoHistory::Redo);
}

void TForm1::PutBack(TUndoHistory::TOutcome (TUndoHistory::*step)())
{
    const TNodePlace place = m_tree->PlaceOf(TreeView1->Selected());
    const TUndoHistory::TOutcome done = (m_history.*step)();
    if (!done.Refusal.isEmpty()) {
        m_messages.ShowMessage(done.Refusal);
        return;
    }
    if (done.Path.isEmpty())
        return;
    if (Paths::sameFile(done.Path, TQuickLoadEntries::IndexFile(Paths::programFolder()))) {
        LoadQuickLoadIndex();
        m_form5->IndexRestored();
    }
    if (m_list.IsListFile(done.Path))
        ReloadAt(place);
}

void TForm1::ReloadAt(const TNodePlace &place)
{
    if (!Paths::fileExists(m_list.ListFileName)) {
        // The step had made the open list's file: without it the list holds nothing, as before.
        m_list.LoadLines({}, m_list.ListFileName, *m_tree, {});
        return;
    }
    LoadList(m_list.ListFileName);
    if (TTreeNode *node = m_tree->NodeAt(place))
        TreeView1->Select(node);
}

void TForm1::ShowUndoState()
{
    const QList<TUndoHistory::TStep> &undo = m_history.UndoSteps();
    const QList<TUndoHistory::TStep> &redo = m_history.RedoSteps();
    N11->setEnabled(!undo.isEmpty());
    N12->setEnabled(!redo.isEmpty());
    N11->setToolTip(undo.isEmpty() ? QString() : u"Вернуть прежнее содержимое файла %1"_s.arg(undo.last().Path));
    N12->setToolTip(redo.isEmpty() ? QString() : u"Снова изменить файл %1"_s.arg(redo.last().Path));
}
