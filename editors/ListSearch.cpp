// ListSearch: finding an album or a track of the open list by a fragment of its name.
#include "ListSearch.h"

#include "CatalogueTree.h"
#include "language.h"

#include <QHash>
#include <optional>

using namespace Qt::StringLiterals;

namespace ListSearch {

namespace {

/// The trimmed node texts and the first node (in display order) carrying each one.
class TNodesByText
{
public:
    explicit TNodesByText(const TCatalogueTree &tree)
    {
        // Display order: each root followed by its children, collapsed or not.
        for (int r = 0; r < tree.RootCount(); ++r) {
            TTreeNode *root = tree.Root(r);
            Add(root);
            for (int c = 0; c < root->ChildCount(); ++c)
                Add(root->Child(c));
        }
    }
    TTreeNode *Find(const QString &text) const { return m_first.value(text, nullptr); }

private:
    void Add(TTreeNode *node)
    {
        const QString text = language::Trim(node->Text());
        if (!m_first.contains(text)) // an earlier node with the same text wins
            m_first.insert(text, node);
    }
    QHash<QString, TTreeNode *> m_first;
};

/// The value a line offers for the needle, or none when the line is no candidate.
std::optional<QString> LineValue(const QString &line, const QString &needle)
{
    if (!line.contains(needle, Qt::CaseInsensitive))
        return std::nullopt;
    const bool album = line.contains(u"album:"_s);
    if (!album && !line.contains(u"track:"_s))
        return std::nullopt;
    return language::Trim(language::CutSubstring(line, album ? u"album:"_s : u"track:"_s));
}

} // namespace

TTreeNode *FindNode(const QStringList &lines, const TCatalogueTree &tree, const QString &text)
{
    const QString needle = language::Trim(text);
    if (needle.isEmpty())
        return nullptr;
    // Built at the first candidate line, so that many candidates without a node stay linear.
    std::optional<TNodesByText> nodes;
    for (const QString &line : lines) {
        const std::optional<QString> value = LineValue(line, needle);
        if (!value)
            continue;
        if (!nodes)
            nodes.emplace(tree);
        if (TTreeNode *node = nodes->Find(*value))
            return node;
    }
    return nullptr;
}

QString NotFoundMessage()
{
    return u"Текстовой фрагмент в данном списке отсутствует."_s;
}

} // namespace ListSearch
