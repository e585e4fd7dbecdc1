// He1: THETreeView, the catalogue tree control over a TCatalogueTree model.
#pragma once

#include <QTreeView>

class QMenu;
class TCatalogueTree;
class TTreeNode;

class THETreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit THETreeView(TCatalogueTree *tree, QWidget *parent = nullptr);

    TCatalogueTree *Tree() const { return m_tree; }

    /// The selected node, or null.
    TTreeNode *Selected() const;
    /// Selects a node (null clears the selection); SelectionChanged follows.
    void Select(TTreeNode *node);

    /// Allows or forbids in-place editing of the node texts.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;

    /// The menu a right click or the menu key opens, after the node under the mouse is selected.
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    QMenu *PopupMenu() const { return m_popupMenu; }

signals:
    /// A new node is selected.
    void SelectionChanged(TTreeNode *node);
    void NodeDoubleClicked(TTreeNode *node);
    /// Enter or Return was pressed in the tree.
    void EnterPressed(TTreeNode *node);
    /// The edit field of a node is about to open.
    void EditingBegins(TTreeNode *node);
    /// An edit was confirmed; the node shows newText once the handlers return.
    void EditingEnds(TTreeNode *node, const QString &newText);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool WouldOpenEditor(const QModelIndex &index, EditTrigger trigger) const;

    TCatalogueTree *m_tree;
    QMenu *m_popupMenu = nullptr;
};
