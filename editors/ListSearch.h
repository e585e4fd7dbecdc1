// ListSearch: finding an album or a track of the open list by a fragment of its name.
#pragma once

#include <QString>
#include <QStringList>

class TCatalogueTree;
class TTreeNode;

namespace ListSearch {

/// The node a search for text selects: the first line (of lines, in order) that contains the
/// trimmed text, ignoring the case of every letter of every script, and a "track:" or "album:" key
/// gives a value, and the first node in display order whose trimmed text equals it is the result.
/// Null when no line leads to a node.
TTreeNode *FindNode(const QStringList &lines, const TCatalogueTree &tree, const QString &text);

/// The message shown when nothing is found.
QString NotFoundMessage();

} // namespace ListSearch
