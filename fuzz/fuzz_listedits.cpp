// fuzz_listedits: a delete or a rename of any node of any list changes exactly what it names (a rename,
// the node's own line, so that a reload shows it), and a save keeps the bytes of every line it did not touch.
#include "FuzzSupport.h"

#include "ListEdits.h"
#include "language.h"

#include <QHash>
#include <algorithm>

using namespace FuzzSupport;

namespace {

int count(const QStringList &lines, const QString &line)
{
    return int(std::count(lines.begin(), lines.end(), line));
}

// The lines after removing length lines at first.
QStringList without(QStringList lines, qsizetype first, qsizetype length)
{
    lines.remove(first, length);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    if (size < 2)
        return 0;
    const uint8_t choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    TOpenList list;
    TCatalogueTree tree;
    const bool loaded = load(bytes, list, tree);
    if (tree.NodeCount() == 0 || tree.Root(0)->Text() == TCatalogueTree::EmptyPlaceholder())
        return 0;
    const TTreeNode *node = tree.NodeByIndex(int(choice >> 1) % tree.NodeCount());
    const QStringList before = list.ListLines;
    QStringList lines = before;
    try {
        list.LookUpNode(*node, QStringLiteral("/p/"));
    } catch (const KsError &) {
        return 0;
    }
    const QString newAlbum = QStringLiteral("-newalbum");

    if (choice & 1) {
        // Delete: one whole block, or nothing.
        if (node->Level() == 0) {
            const TAlbum album = list.CurrentAlbum;
            if (album.LineIndex < 0)
                return 0;
            if (ListEdits::DeleteAlbum(lines, album)) {
                const qsizetype length = ListEdits::AlbumBlockLength(album.TrackCount);
                KS_FUZZ_CHECK(lines == without(before, album.LineIndex - 2, length));
                KS_FUZZ_CHECK(count(lines, newAlbum) == count(before, newAlbum) - 1);
            } else {
                KS_FUZZ_CHECK(lines == before);
            }
        } else {
            TAlbum album = list.CurrentAlbum;
            const TTrack track = list.CurrentTrack;
            if (track.LineIndex < 0)
                return 0;
            if (ListEdits::DeleteTrack(lines, album, track)) {
                QStringList expected = without(before, track.LineIndex, 4);
                expected[list.CurrentAlbum.LineIndex + 3] = QStringLiteral("nt: %1").arg(album.TrackCount);
                KS_FUZZ_CHECK(lines == expected);
                KS_FUZZ_CHECK((track.LineIndex - list.CurrentAlbum.LineIndex - 5) % 4 == 0);
                KS_FUZZ_CHECK(count(lines, newAlbum) == count(before, newAlbum));
            } else {
                KS_FUZZ_CHECK(lines == before);
            }
        }
    } else {
        // Rename: the node's own line, the one the loader read it from, becomes the new key line and no
        // other line changes; a reload shows the new title there and every other node as before. A
        // blank title, or a track of an album that is not one whole block, changes nothing.
        const QString title = language::Trim(node->Text());
        const bool blank = size % 16 == 0;
        const QString renamed = blank ? QStringLiteral(" \t") : QStringLiteral("Renamed ") + QString::number(size);
        QString refusal;
        try {
            refusal = list.RenameNode(*node, title, renamed, lines);
        } catch (const KsError &) {
            return 0;
        }
        if (!refusal.isEmpty()) {
            KS_FUZZ_CHECK(lines == before);
            return 0;
        }
        KS_FUZZ_CHECK(!blank);
        const TTreeNode *albumNode = node->Parent() ? node->Parent() : node;
        qsizetype ownLine = -1;
        for (qsizetype i = 0, seen = 0; i + 2 < before.size() && ownLine < 0; ++i)
            if (before[i] == newAlbum && seen++ == albumNode->Row())
                ownLine = i + 2 + (node->Parent() ? 5 + 4 * qsizetype(node->Row()) : 0);
        KS_FUZZ_CHECK(ownLine >= 0 && lines.size() == before.size());
        const QString key = node->Level() ? QStringLiteral("track: ") : QStringLiteral("album: ");
        KS_FUZZ_CHECK(lines[ownLine] == key + renamed);
        for (qsizetype i = 0; i < lines.size(); ++i)
            KS_FUZZ_CHECK(i == ownLine || lines[i] == before[i]);
        if (node->Parent()) {
            TAlbum album;
            album.LineIndex = qint32(ownLine - 5 - 4 * node->Row());
            album.TrackCount = language::StrToInt(language::CutSubstring(before[album.LineIndex + 3], QStringLiteral("nt:")));
            KS_FUZZ_CHECK(ListEdits::IsWholeAlbumBlock(before, album) && node->Row() < album.TrackCount);
        }
        TOpenList reloaded;
        TCatalogueTree after;
        LinesFile::TLinesText text{ lines, list.Encoding };
        // A list whose load stopped with a message stops at the same place again, with the same nodes.
        bool reloadedWhole = true;
        try {
            reloaded.LoadLines(std::move(text), QStringLiteral("/fuzz/list.lst"), after, TLoadContext{ QStringLiteral("/p/"), {}, {} });
        } catch (const KsError &) {
            reloadedWhole = false;
        }
        KS_FUZZ_CHECK(reloadedWhole == loaded);
        KS_FUZZ_CHECK(after.NodeCount() == tree.NodeCount());
        // In overlapping blocks another node may have been read from the same line.
        const auto read = [](const QString &line, const TTreeNode *n) {
            return language::Trim(language::CutSubstring(line, n->Level() ? QStringLiteral("track:") : QStringLiteral("album:")));
        };
        for (int i = 0; i < tree.NodeCount(); ++i) {
            const TTreeNode *n = tree.NodeByIndex(i);
            const QString now = after.NodeByIndex(i)->Text();
            if (n == node)
                KS_FUZZ_CHECK(now == renamed);
            else
                KS_FUZZ_CHECK(now == n->Text() || (n->Text() == read(before[ownLine], n) && now == read(lines[ownLine], n)));
        }
    }

    // The save of the edited lines gives every line that was kept its bytes back (a kept line still
    // shares its text's storage with the line that was read).
    const TextCodec::TFileEncoding written = TextCodec::encodingForSave(lines, list.Encoding);
    if (written.Utf8 == list.Encoding.Utf8) {
        QHash<const QChar *, qsizetype> read;
        for (qsizetype j = 0; j < before.size(); ++j)
            if (!before[j].isEmpty())
                read.insert(before[j].constData(), j);
        const QList<QByteArray> original = byteLines(bytes);
        const QList<QByteArray> saved = byteLines(TextCodec::encodeLines(lines, written));
        KS_FUZZ_CHECK(saved.size() == lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const auto it = lines[i].isEmpty() ? read.constEnd() : read.constFind(lines[i].constData());
            if (it != read.constEnd())
                KS_FUZZ_CHECK(saved[i] == original[*it]);
        }
    }
    return 0;
}
