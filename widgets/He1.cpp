// He1: selection, editing, mouse and key events of the catalogue tree control.
#include "He1.h"

#include "CatalogueTree.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// The field of an in-place edit: framed, in the usual colours of a text field, never in the tree's
// own (a field with the tree's background and no frame goes unnoticed, and the user types into it blind).
class TEditFieldDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *field = qobject_cast<QLineEdit *>(editor)) {
            field->setFrame(true);
            const QPalette usual = QApplication::palette(field);
            QPalette palette = field->palette();
            for (QPalette::ColorRole role : { QPalette::Base, QPalette::Text, QPalette::Highlight,
                                              QPalette::HighlightedText, QPalette::Window, QPalette::WindowText })
                palette.setColor(role, usual.color(role));
            field->setPalette(palette);
            field->setAutoFillBackground(true);
        }
        return editor;
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // As tall as the field needs with its frame, over the node's text.
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        QRect r = editor->geometry();
        const int height = std::max(r.height(), editor->sizeHint().height());
        r.setTop(r.center().y() - height / 2);
        r.setHeight(height);
        editor->setGeometry(r);
    }
};

} // namespace

THETreeView::THETreeView(TCatalogueTree *tree, QWidget *parent) : QTreeView(parent), m_tree(tree)
{
    setItemDelegate(new TEditFieldDelegate(this));
    setModel(tree);
    setHeaderHidden(true);
    setIndentation(19);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // A double click plays a track; editing starts with a click on the selected node or F2.
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &) {
                if (selected.isEmpty())
                    return;
                if (TTreeNode *node = m_tree->NodeOf(selected.indexes().value(0)))
                    emit SelectionChanged(node);
            });
    connect(m_tree, &TCatalogueTree::NodeEdited, this,
            [this](TTreeNode *node, const QString &newText) { emit EditingEnds(node, newText); });
}

TTreeNode *THETreeView::Selected() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_tree->NodeOf(rows.first());
}

void THETreeView::Select(TTreeNode *node)
{
    if (!node) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_tree->IndexOf(node);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void THETreeView::SetReadOnly(bool readOnly)
{
    m_tree->SetReadOnly(readOnly);
}

bool THETreeView::ReadOnly() const
{
    return m_tree->ReadOnly();
}

bool THETreeView::WouldOpenEditor(const QModelIndex &index, EditTrigger trigger) const
{
    if (!index.isValid() || state() == EditingState || !(m_tree->flags(index) & Qt::ItemIsEditable))
        return false;
    if (trigger == AllEditTriggers)
        return true;
    // A click on the selected node opens the field later, through a timer that calls edit() again.
    return trigger != SelectedClicked && (editTriggers() & trigger);
}

bool THETreeView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (WouldOpenEditor(index, trigger))
        if (TTreeNode *node = m_tree->NodeOf(index))
            emit EditingBegins(node);
    return QTreeView::edit(index, trigger, event);
}

void THETreeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        if (TTreeNode *node = m_tree->NodeOf(indexAt(event->position().toPoint())))
            if (node != Selected())
                Select(node);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void THETreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (TTreeNode *node = m_tree->NodeOf(indexAt(event->position().toPoint())))
        emit NodeDoubleClicked(node);
}

void THETreeView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        emit EnterPressed(Selected());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void THETreeView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu)
        return;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect r = visualRect(currentIndex());
        at = viewport()->mapToGlobal(r.isValid() ? r.bottomLeft() : QPoint(0, 0));
    }
    m_popupMenu->popup(at);
}
