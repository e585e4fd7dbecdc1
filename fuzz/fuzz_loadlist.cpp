// fuzz_loadlist: any bytes load without a crash into a tree never larger than the list, and every
// node's lookups end.
#include "FuzzSupport.h"

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    TOpenList list;
    TCatalogueTree tree;
    load(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), list, tree);
    KS_FUZZ_CHECK(tree.NodeCount() <= std::max<qsizetype>(1, list.ListLines.size()));

    const int nodes = std::min(tree.NodeCount(), 64);
    for (int i = 0; i < nodes; ++i) {
        const TTreeNode *node = tree.NodeByIndex(i);
        KS_FUZZ_CHECK(node != nullptr);
        try {
            list.LookUpNode(*node, QStringLiteral("/p/"));
        } catch (const KsError &) {
            // A damaged block is reported, never a crash.
        }
        const qint32 line = node->Level() ? list.CurrentTrack.LineIndex : list.CurrentAlbum.LineIndex;
        KS_FUZZ_CHECK(line < list.ListLines.size());
    }
    return 0;
}
