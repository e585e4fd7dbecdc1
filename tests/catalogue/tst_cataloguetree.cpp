// Tests of the catalogue tree: node order, pre-order numbering, deletion, editing and the model signals.
#include "CatalogueTree.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Pre-order walk over the public node interface, as the reference for the cached numbering.
QList<TTreeNode *> preOrder(const TCatalogueTree &tree)
{
    QList<TTreeNode *> out;
    for (int r = 0; r < tree.RootCount(); ++r) {
        out << tree.Root(r);
        for (int c = 0; c < tree.Root(r)->ChildCount(); ++c)
            out << tree.Root(r)->Child(c);
    }
    return out;
}

void checkNumbering(const TCatalogueTree &tree)
{
    const QList<TTreeNode *> nodes = preOrder(tree);
    QCOMPARE(tree.NodeCount(), nodes.size());
    for (int i = 0; i < nodes.size(); ++i) {
        QCOMPARE(tree.NodeByIndex(i), nodes.at(i));
        QCOMPARE(tree.IndexOfNode(nodes.at(i)), i);
        QCOMPARE(tree.NodeOf(tree.IndexOf(nodes.at(i))), nodes.at(i));
    }
    QCOMPARE(tree.NodeByIndex(nodes.size()), nullptr);
    QCOMPARE(tree.NodeByIndex(-1), nullptr);
}

} // namespace

class TestCatalogueTree : public QObject
{
    Q_OBJECT
private slots:
    void orderAndCounts();
    void addFirstGoesBeforeAllRoots();
    void tracksHaveNoChildren();
    void deleteRemovesChildrenAndSignals();
    void renameKeepsPlace();
    void editEmitsBeforeTheTextChanges();
    void editHandlerThatClearsTheTree();
    void readOnlySwitch();
    void bulkUpdateResetsOnce();
    void randomOperationsUnderModelTester();
};

void TestCatalogueTree::orderAndCounts()
{
    TCatalogueTree tree;
    TTreeNode *b = tree.AddRoot(u"Zebra"_s);
    tree.AddChild(b, u"z1"_s);
    tree.AddChild(b, u"a2"_s);
    tree.AddChild(b, u"m3"_s);
    TTreeNode *a = tree.AddRoot(u"Abba"_s);
    QCOMPARE(tree.NodeCount(), 5);
    QCOMPARE(tree.RootCount(), 2);
    QCOMPARE(b->ChildCount(), 3);
    QCOMPARE(a->ChildCount(), 0);
    QCOMPARE(tree.Root(0)->Text(), u"Zebra"_s); // insertion order, never sorted
    QCOMPARE(b->Child(1)->Text(), u"a2"_s);
    QCOMPARE(b->Child(1)->Parent(), b);
    QCOMPARE(b->Child(1)->Level(), 1);
    QCOMPARE(a->Level(), 0);
    QCOMPARE(a->Parent(), nullptr);
    // The index of an album's first track is the album's index + 1; collapsed or not makes no odds.
    QCOMPARE(tree.IndexOfNode(a), 4);
    QCOMPARE(tree.IndexOfNode(b->Child(0)), tree.IndexOfNode(b) + 1);
    QCOMPARE(tree.IndexOfNode(nullptr), -1);
    checkNumbering(tree);
    tree.Clear();
    QCOMPARE(tree.NodeCount(), 0);
    QCOMPARE(tree.NodeByIndex(0), nullptr);
    QCOMPARE(tree.Root(0), nullptr);
}

void TestCatalogueTree::addFirstGoesBeforeAllRoots()
{
    TCatalogueTree tree;
    TTreeNode *one = tree.AddRoot(u"one"_s);
    tree.AddChild(one, u"t"_s);
    TTreeNode *first = tree.AddFirst(u"first"_s);
    QCOMPARE(tree.Root(0), first);
    QCOMPARE(tree.NodeByIndex(1), one);
    QCOMPARE(tree.IndexOf(one).row(), 1);
    TTreeNode *placeholder = tree.AddFirst(TCatalogueTree::EmptyPlaceholder());
    QCOMPARE(tree.NodeByIndex(0)->Text(), u"{пусто}"_s);
    QCOMPARE(tree.IndexOfNode(placeholder), 0);
    checkNumbering(tree);
}

void TestCatalogueTree::tracksHaveNoChildren()
{
    TCatalogueTree tree;
    TTreeNode *album = tree.AddRoot(u"a"_s);
    TTreeNode *track = tree.AddChild(album, u"t"_s);
    QCOMPARE(tree.AddChild(track, u"deeper"_s), nullptr);
    QCOMPARE(tree.NodeCount(), 2);
    QVERIFY(tree.flags(tree.IndexOf(track)).testFlag(Qt::ItemNeverHasChildren));
    QVERIFY(!tree.flags(tree.IndexOf(album)).testFlag(Qt::ItemNeverHasChildren));
}

void TestCatalogueTree::deleteRemovesChildrenAndSignals()
{
    TCatalogueTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    TTreeNode *a = tree.AddRoot(u"a"_s);
    tree.AddChild(a, u"a1"_s);
    TTreeNode *b = tree.AddRoot(u"b"_s);
    tree.AddChild(b, u"b1"_s);
    TTreeNode *b2 = tree.AddChild(b, u"b2"_s);
    tree.AddChild(b, u"b3"_s);
    TTreeNode *c = tree.AddRoot(u"c"_s);

    QSignalSpy about(&tree, &QAbstractItemModel::rowsAboutToBeRemoved);
    QSignalSpy removed(&tree, &QAbstractItemModel::rowsRemoved);
    tree.DeleteNode(b2);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(about.first().at(0).value<QModelIndex>(), tree.IndexOf(b));
    QCOMPARE(about.first().at(1).toInt(), 1);
    QCOMPARE(about.first().at(2).toInt(), 1);
    QCOMPARE(b->Child(1)->Text(), u"b3"_s);
    QCOMPARE(tree.IndexOf(b->Child(1)).row(), 1);
    checkNumbering(tree);

    tree.DeleteNode(b);
    QCOMPARE(removed.size(), 2);
    QCOMPARE(removed.last().at(0).value<QModelIndex>(), QModelIndex());
    QCOMPARE(removed.last().at(1).toInt(), 1);
    QCOMPARE(tree.NodeCount(), 3);
    QCOMPARE(tree.Root(1), c);
    QCOMPARE(tree.IndexOfNode(c), 2);
    checkNumbering(tree);

    tree.DeleteNode(nullptr);
    QCOMPARE(removed.size(), 2);
}

void TestCatalogueTree::renameKeepsPlace()
{
    TCatalogueTree tree;
    tree.AddRoot(u"m"_s);
    TTreeNode *z = tree.AddRoot(u"z"_s);
    QSignalSpy changed(&tree, &QAbstractItemModel::dataChanged);
    tree.SetText(z, u"a"_s);
    QCOMPARE(tree.Root(1), z);
    QCOMPARE(tree.data(tree.IndexOf(z)).toString(), u"a"_s);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).value<QModelIndex>(), tree.IndexOf(z));
}

void TestCatalogueTree::editEmitsBeforeTheTextChanges()
{
    TCatalogueTree tree;
    tree.SetReadOnly(false);
    TTreeNode *album = tree.AddRoot(u"Old"_s);
    TTreeNode *track = tree.AddChild(album, u"t"_s);
    QString seenText, seenNew;
    TTreeNode *seenNode = nullptr;
    connect(&tree, &TCatalogueTree::NodeEdited, this, [&](TTreeNode *node, const QString &newText) {
        seenNode = node;
        seenText = node->Text();
        seenNew = newText;
    });
    QVERIFY(tree.setData(tree.IndexOf(album), u" New "_s));
    QCOMPARE(seenNode, album);
    QCOMPARE(seenText, u"Old"_s);
    QCOMPARE(seenNew, u" New "_s); // as typed
    QCOMPARE(album->Text(), u" New "_s);
    QVERIFY(tree.setData(tree.IndexOf(track), u"u"_s));
    QCOMPARE(seenNode, track);
    QVERIFY(!tree.setData(tree.IndexOf(track), u"x"_s, Qt::DisplayRole));
    QCOMPARE(track->Text(), u"u"_s);
}

void TestCatalogueTree::editHandlerThatClearsTheTree()
{
    TCatalogueTree tree;
    tree.SetReadOnly(false);
    TTreeNode *album = tree.AddRoot(u"a"_s);
    connect(&tree, &TCatalogueTree::NodeEdited, this, [&](TTreeNode *, const QString &) {
        tree.Clear();
        tree.AddRoot(u"reloaded"_s);
    });
    QVERIFY(!tree.setData(tree.IndexOf(album), u"b"_s));
    QCOMPARE(tree.Root(0)->Text(), u"reloaded"_s);
}

void TestCatalogueTree::readOnlySwitch()
{
    TCatalogueTree tree;
    TTreeNode *n = tree.AddRoot(u"a"_s);
    QVERIFY(tree.ReadOnly());
    QVERIFY(!tree.flags(tree.IndexOf(n)).testFlag(Qt::ItemIsEditable));
    QVERIFY(tree.flags(tree.IndexOf(n)).testFlag(Qt::ItemIsSelectable));
    QSignalSpy edited(&tree, &TCatalogueTree::NodeEdited);
    QVERIFY(!tree.setData(tree.IndexOf(n), u"b"_s));
    QCOMPARE(edited.size(), 0);
    QCOMPARE(n->Text(), u"a"_s);
    tree.SetReadOnly(false);
    QVERIFY(tree.flags(tree.IndexOf(n)).testFlag(Qt::ItemIsEditable));
    QCOMPARE(tree.flags(QModelIndex()), Qt::NoItemFlags);
}

void TestCatalogueTree::bulkUpdateResetsOnce()
{
    TCatalogueTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tree.AddRoot(u"old"_s);
    QSignalSpy reset(&tree, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&tree, &QAbstractItemModel::rowsInserted);
    tree.BeginUpdate();
    tree.BeginUpdate(); // nesting is allowed
    tree.Clear();
    for (int i = 0; i < 100; ++i) {
        TTreeNode *a = tree.AddRoot(u"a%1"_s.arg(i));
        for (int k = 0; k < 3; ++k)
            tree.AddChild(a, u"t%1"_s.arg(k));
    }
    tree.EndUpdate();
    QCOMPARE(reset.size(), 0);
    tree.EndUpdate();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(inserted.size(), 0);
    QCOMPARE(tree.rowCount(), 100);
    QCOMPARE(tree.NodeCount(), 400);
    checkNumbering(tree);
    tree.EndUpdate(); // unbalanced end is harmless
    QCOMPARE(reset.size(), 1);
}

void TestCatalogueTree::randomOperationsUnderModelTester()
{
    TCatalogueTree tree;
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QRandomGenerator rng(42);
    for (int step = 0; step < 600; ++step) {
        const int count = tree.NodeCount();
        const quint32 op = rng.bounded(10);
        TTreeNode *any = count ? tree.NodeByIndex(int(rng.bounded(count))) : nullptr;
        TTreeNode *album = any && any->Parent() ? any->Parent() : any;
        if (op < 3)
            tree.AddRoot(u"r%1"_s.arg(step));
        else if (op < 4)
            tree.AddFirst(u"f%1"_s.arg(step));
        else if (op < 7 && album)
            tree.AddChild(album, u"c%1"_s.arg(step));
        else if (op < 9 && any)
            tree.DeleteNode(any);
        else if (any)
            tree.SetText(any, u"s%1"_s.arg(step));
        if (step % 50 == 0)
            checkNumbering(tree);
        if (QTest::currentTestFailed())
            return;
    }
    checkNumbering(tree);
}

QTEST_GUILESS_MAIN(TestCatalogueTree)
#include "tst_cataloguetree.moc"
