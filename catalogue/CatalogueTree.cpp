// CatalogueTree: node operations, the pre-order numbering and the item-model face of the catalogue tree.
#include "CatalogueTree.h"

#include "language.h"

#include <algorithm>

TCatalogueTree::TCatalogueTree(QObject *parent)
    : QAbstractItemModel(parent)
{
}

TCatalogueTree::~TCatalogueTree() = default;

QString TCatalogueTree::EmptyPlaceholder()
{
    return QStringLiteral("{пусто}");
}

// ---- node operations -------------------------------------------------------------------------

void TCatalogueTree::Clear()
{
    const bool signal = m_updateDepth == 0;
    if (signal)
        beginResetModel();
    m_roots.clear();
    ++m_structureVersion;
    Invalidate();
    if (signal)
        endResetModel();
}

TTreeNode *TCatalogueTree::AddRoot(const QString &text)
{
    const int row = int(m_roots.size());
    auto node = std::make_unique<TTreeNode>();
    node->m_text = text;
    node->m_row = row;
    TTreeNode *raw = node.get();
    const bool signal = m_updateDepth == 0;
    if (signal)
        beginInsertRows(QModelIndex(), row, row);
    m_roots.push_back(std::move(node));
    // Appending keeps the numbering of the existing nodes; extend the cache if it is current.
    if (m_prefixValid)
        m_prefix.push_back(m_prefix.back() + 1);
    if (signal)
        endInsertRows();
    return raw;
}

TTreeNode *TCatalogueTree::AddFirst(const QString &text)
{
    auto node = std::make_unique<TTreeNode>();
    node->m_text = text;
    TTreeNode *raw = node.get();
    const bool signal = m_updateDepth == 0;
    if (signal)
        beginInsertRows(QModelIndex(), 0, 0);
    m_roots.insert(m_roots.begin(), std::move(node));
    Renumber(m_roots, 0);
    Invalidate();
    if (signal)
        endInsertRows();
    return raw;
}

TTreeNode *TCatalogueTree::AddChild(TTreeNode *parent, const QString &text)
{
    if (!parent)
        return AddRoot(text);
    if (parent->m_parent)
        return nullptr; // two levels only: tracks have no children
    const int row = int(parent->m_children.size());
    auto node = std::make_unique<TTreeNode>();
    node->m_text = text;
    node->m_parent = parent;
    node->m_row = row;
    TTreeNode *raw = node.get();
    const bool signal = m_updateDepth == 0;
    if (signal)
        beginInsertRows(IndexOf(parent), row, row);
    parent->m_children.push_back(std::move(node));
    // Adding a child to the last root (the loader's case) only grows the final total.
    if (m_prefixValid && parent->m_parent == nullptr && parent->m_row == int(m_roots.size()) - 1)
        ++m_prefix.back();
    else
        Invalidate();
    if (signal)
        endInsertRows();
    return raw;
}

void TCatalogueTree::DeleteNode(TTreeNode *node)
{
    if (!node)
        return;
    TTreeNode *parent = node->m_parent;
    auto &siblings = parent ? parent->m_children : m_roots;
    const int row = node->m_row;
    if (row < 0 || row >= int(siblings.size()) || siblings[size_t(row)].get() != node)
        return; // not a node of this tree
    const bool signal = m_updateDepth == 0;
    if (signal)
        beginRemoveRows(IndexOf(parent), row, row);
    siblings.erase(siblings.begin() + row);
    Renumber(siblings, row);
    ++m_structureVersion;
    Invalidate();
    if (signal)
        endRemoveRows();
}

void TCatalogueTree::SetText(TTreeNode *node, const QString &text)
{
    if (!node)
        return;
    node->m_text = text;
    if (m_updateDepth == 0) {
        const QModelIndex i = IndexOf(node);
        emit dataChanged(i, i, { Qt::DisplayRole, Qt::EditRole });
    }
}

// ---- counting and numbering ------------------------------------------------------------------

void TCatalogueTree::Renumber(std::vector<std::unique_ptr<TTreeNode>> &siblings, int from)
{
    for (size_t i = size_t(from); i < siblings.size(); ++i)
        siblings[i]->m_row = int(i);
}

void TCatalogueTree::Invalidate()
{
    m_prefixValid = false;
}

void TCatalogueTree::EnsurePrefix() const
{
    if (m_prefixValid)
        return;
    m_prefix.resize(m_roots.size() + 1);
    int total = 0;
    for (size_t i = 0; i < m_roots.size(); ++i) {
        m_prefix[i] = total;
        total += 1 + m_roots[i]->ChildCount();
    }
    m_prefix[m_roots.size()] = total;
    m_prefixValid = true;
}

int TCatalogueTree::NodeCount() const
{
    EnsurePrefix();
    return m_prefix.back();
}

int TCatalogueTree::RootCount() const
{
    return int(m_roots.size());
}

TTreeNode *TCatalogueTree::Root(int i) const
{
    if (i < 0 || i >= int(m_roots.size()))
        return nullptr;
    return m_roots[size_t(i)].get();
}

TTreeNode *TCatalogueTree::NodeByIndex(int index) const
{
    EnsurePrefix();
    if (index < 0 || index >= m_prefix.back())
        return nullptr;
    // The root whose numbering range holds index: the last prefix not above it.
    const auto it = std::upper_bound(m_prefix.begin(), m_prefix.end() - 1, index) - 1;
    const size_t root = size_t(it - m_prefix.begin());
    const int offset = index - *it;
    TTreeNode *node = m_roots[root].get();
    return offset == 0 ? node : node->Child(offset - 1);
}

int TCatalogueTree::IndexOfNode(const TTreeNode *node) const
{
    if (!node)
        return -1;
    EnsurePrefix();
    if (!node->m_parent)
        return m_prefix[size_t(node->m_row)];
    return m_prefix[size_t(node->m_parent->m_row)] + 1 + node->m_row;
}

// ---- bulk updates and read-only switch -------------------------------------------------------

void TCatalogueTree::BeginUpdate()
{
    if (m_updateDepth++ == 0)
        beginResetModel();
}

void TCatalogueTree::EndUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0)
        endResetModel();
}

void TCatalogueTree::SetReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    // Views ask flags() again on the next edit trigger; tell them the items changed anyway.
    if (m_updateDepth == 0 && !m_roots.empty())
        emit dataChanged(index(0, 0), index(int(m_roots.size()) - 1, 0));
}

// ---- item model ------------------------------------------------------------------------------

QModelIndex TCatalogueTree::IndexOf(const TTreeNode *node) const
{
    if (!node)
        return QModelIndex();
    return createIndex(node->m_row, 0, const_cast<TTreeNode *>(node));
}

TTreeNode *TCatalogueTree::NodeOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TTreeNode *>(index.internalPointer());
}

QModelIndex TCatalogueTree::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    if (!parent.isValid()) {
        if (row >= int(m_roots.size()))
            return QModelIndex();
        return createIndex(row, 0, m_roots[size_t(row)].get());
    }
    const TTreeNode *p = NodeOf(parent);
    if (!p || parent.column() != 0 || row >= p->ChildCount())
        return QModelIndex();
    return createIndex(row, 0, p->Child(row));
}

QModelIndex TCatalogueTree::parent(const QModelIndex &child) const
{
    const TTreeNode *node = NodeOf(child);
    if (!node || !node->m_parent)
        return QModelIndex();
    return IndexOf(node->m_parent);
}

int TCatalogueTree::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_roots.size());
    if (parent.column() != 0)
        return 0;
    const TTreeNode *node = NodeOf(parent);
    return node ? node->ChildCount() : 0;
}

int TCatalogueTree::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant TCatalogueTree::data(const QModelIndex &index, int role) const
{
    const TTreeNode *node = NodeOf(index);
    if (!node || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return node->m_text;
}

bool TCatalogueTree::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TTreeNode *node = NodeOf(index);
    if (!node || role != Qt::EditRole || m_readOnly)
        return false;
    const QString newText = value.toString();
    // A handler that reloads or deletes may take the node away: removal and reset invalidate
    // the persistent index; inside a bulk update, any freed node counts as a removal.
    const QPersistentModelIndex watched(index);
    const unsigned version = m_structureVersion;
    emit NodeEdited(node, newText);
    if (!watched.isValid() || (m_updateDepth > 0 && version != m_structureVersion))
        return false;
    SetText(NodeOf(watched), newText);
    return true;
}

Qt::ItemFlags TCatalogueTree::flags(const QModelIndex &index) const
{
    if (!NodeOf(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (NodeOf(index)->Level() == 0)
        f &= ~Qt::ItemNeverHasChildren;
    if (!m_readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

namespace {

// Which of the nodes before it (up to row) with the same trimmed text a node is.
template <class At> int occurrence(int row, const QString &text, At at)
{
    int seen = 0;
    for (int i = 0; i < row; ++i)
        seen += language::Trim(at(i)->Text()) == text ? 1 : 0;
    return seen;
}

// The occurrence-th of count nodes with the trimmed text; else the one at row; else null.
template <class At> TTreeNode *find(int count, const QString &text, int wanted, int row, At at)
{
    for (int i = 0, seen = 0; i < count; ++i)
        if (language::Trim(at(i)->Text()) == text && seen++ == wanted)
            return at(i);
    return row >= 0 && row < count ? at(row) : nullptr;
}

} // namespace

TNodePlace TCatalogueTree::PlaceOf(const TTreeNode *node) const
{
    TNodePlace place;
    if (!node)
        return place;
    const TTreeNode *album = node->Parent() ? node->Parent() : node;
    place.Album = language::Trim(album->Text());
    place.AlbumRow = album->Row();
    place.AlbumOccurrence = occurrence(album->Row(), place.Album, [this](int i) { return Root(i); });
    if (node != album) {
        place.Track = language::Trim(node->Text());
        place.TrackRow = node->Row();
        place.TrackOccurrence = occurrence(node->Row(), place.Track, [album](int i) { return album->Child(i); });
    }
    return place;
}

TTreeNode *TCatalogueTree::NodeAt(const TNodePlace &place) const
{
    if (place.AlbumRow < 0)
        return nullptr;
    TTreeNode *album = find(RootCount(), place.Album, place.AlbumOccurrence, place.AlbumRow, [this](int i) { return Root(i); });
    if (!album || place.TrackRow < 0)
        return album;
    TTreeNode *track = find(album->ChildCount(), place.Track, place.TrackOccurrence, place.TrackRow,
                            [album](int i) { return album->Child(i); });
    return track ? track : album;
}
