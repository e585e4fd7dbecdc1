// CatalogueTree: the two-level catalogue tree (albums, tracks) as a Qt item model with node operations.
#pragma once

#include <QAbstractItemModel>
#include <QString>
#include <memory>
#include <vector>

/// One node: a text, its parent (null for a root) and its children in insertion order.
class TTreeNode
{
public:
    const QString &Text() const { return m_text; }
    TTreeNode *Parent() const { return m_parent; }
    int Level() const { return m_parent ? 1 : 0; }
    int Row() const { return m_row; } ///< position among its siblings
    int ChildCount() const { return int(m_children.size()); }
    TTreeNode *Child(int i) const { return m_children[size_t(i)].get(); }

private:
    friend class TCatalogueTree;
    QString m_text;
    TTreeNode *m_parent = nullptr;
    int m_row = 0; // position among the siblings
    std::vector<std::unique_ptr<TTreeNode>> m_children;
};

/// Where a node stands, so that the same node can be found again after the tree is rebuilt: the trimmed
/// text of its album and of its track (none for an album), which of the nodes with that text it is, and
/// its rows.
struct TNodePlace
{
    QString Album;
    int AlbumOccurrence = 0;
    int AlbumRow = -1; ///< -1: no node
    QString Track;
    int TrackOccurrence = 0;
    int TrackRow = -1; ///< -1: an album
};

/// The catalogue tree: never sorted; nodes carry only their text. Node pointers stay valid
/// until the node is deleted or the tree cleared.
class TCatalogueTree : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit TCatalogueTree(QObject *parent = nullptr);
    ~TCatalogueTree() override;

    /// The text of the empty placeholder root node.
    static QString EmptyPlaceholder();

    void Clear();
    TTreeNode *AddRoot(const QString &text);                     ///< append a root node
    TTreeNode *AddFirst(const QString &text);                    ///< insert a root node before all others
    TTreeNode *AddChild(TTreeNode *parent, const QString &text); ///< append a child; null under a track
    void DeleteNode(TTreeNode *node);                            ///< remove a node with its children
    void SetText(TTreeNode *node, const QString &text);

    int NodeCount() const;                          ///< all nodes, both levels
    int RootCount() const;
    TTreeNode *Root(int i) const;
    TTreeNode *NodeByIndex(int index) const;        ///< pre-order index; null when out of range
    int IndexOfNode(const TTreeNode *node) const;   ///< pre-order index of a node; -1 for null

    /// The place of a node (null: no place).
    TNodePlace PlaceOf(const TTreeNode *node) const;
    /// The node at a place: the album by its text and occurrence, else the album at its row (a renamed
    /// one); within it the track the same way; the album when the track is gone; null when the album is.
    TTreeNode *NodeAt(const TNodePlace &place) const;

    /// Many additions at once: the model resets once instead of signalling every row.
    void BeginUpdate();
    void EndUpdate();

    QModelIndex IndexOf(const TTreeNode *node) const;
    TTreeNode *NodeOf(const QModelIndex &index) const;

    /// When false the tree's items are editable in place (the read-only switch).
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return m_readOnly; }

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    /// An in-place edit was confirmed: the handler may act before the node shows newText.
    void NodeEdited(TTreeNode *node, const QString &newText);

private:
    static void Renumber(std::vector<std::unique_ptr<TTreeNode>> &siblings, int from);
    void Invalidate();
    void EnsurePrefix() const;

    std::vector<std::unique_ptr<TTreeNode>> m_roots;
    bool m_readOnly = true;
    int m_updateDepth = 0;
    unsigned m_structureVersion = 0; // bumped whenever nodes are freed
    // m_prefix[i]: pre-order index of root i; the last entry is the node count.
    mutable std::vector<int> m_prefix{ 0 };
    mutable bool m_prefixValid = true;
};
