// fuzz_listedits: a delete or a rename of any node of any list changes exactly what it names, and a
// save keeps the bytes of every line it did not touch.
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
    load(bytes, list, tree);
    if (tree.NodeCount() == 0 || tree.Root(0)->Text() == TCatalogueTree::EmptyPlaceholder())
        return 0;
    const TTreeNode *node = tree.NodeByIndex(int(choice >> 1) % tree.NodeCount());
    const QStringList before = list.ListLines;
    QStringList lines = before;
    bool own = false;
    try {
        own = list.LookUpNode(*node, QStringLiteral("/p/"));
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
        // Rename: only lines that were the node's key line change, to the new key line.
        const QString title = language::Trim(node->Text());
        const QString renamed = QStringLiteral("Renamed ") + QString::number(size);
        int changed = 0;
        try {
            const qint32 ownLine = node->Level() ? list.CurrentTrack.LineIndex : list.CurrentAlbum.LineIndex;
            const std::optional<qint32> only = own ? std::optional(ownLine) : std::nullopt;
            if (node->Level() == 0)
                changed = ListEdits::RenameAlbum(lines, title, renamed, only);
            else
                changed = ListEdits::RenameTrack(lines, list.CurrentAlbum, title, renamed, only);
        } catch (const KsError &) {
            KS_FUZZ_CHECK(lines == before);
            return 0;
        }
        KS_FUZZ_CHECK(lines.size() == before.size());
        int differ = 0;
        const QString key = node->Level() ? QStringLiteral("track: ") : QStringLiteral("album: ");
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i] == before[i])
                continue;
            ++differ;
            KS_FUZZ_CHECK(before[i] == key + title && lines[i] == key + renamed);
        }
        KS_FUZZ_CHECK(differ == changed);
        KS_FUZZ_CHECK(!own || changed <= 1);
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
