// OpenList: loading a list file into the tree, the album and track lookups, and saving the lines.
#include "OpenList.h"

#include "CatalogueTree.h"
#include "KsError.h"
#include "LinesFile.h"
#include "Paths.h"
#include "language.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Ends a bulk update of the tree however the build leaves the scope.
class TreeUpdateGuard
{
public:
    explicit TreeUpdateGuard(TCatalogueTree &tree)
        : m_tree(tree)
    {
        m_tree.BeginUpdate();
    }
    ~TreeUpdateGuard() { m_tree.EndUpdate(); }
    TreeUpdateGuard(const TreeUpdateGuard &) = delete;
    TreeUpdateGuard &operator=(const TreeUpdateGuard &) = delete;

private:
    TCatalogueTree &m_tree;
};

// The line at index; an index past either end fails the way a list access does.
const QString &lineAt(const QStringList &lines, qsizetype index)
{
    if (index < 0 || index >= lines.size())
        throw KsError::indexOutOfBounds(index);
    return lines.at(index);
}

// The trimmed value of a keyed line.
QString valueAt(const QStringList &lines, qsizetype index, const QString &key)
{
    return language::Trim(language::CutSubstring(lineAt(lines, index), key));
}

// Index of the first line in [from, to] equal to key; -1 when none. Indices past the end fail.
qsizetype findLine(const QStringList &lines, qsizetype from, qsizetype to, const QString &key)
{
    const qsizetype keySize = key.size();
    const QChar *keyData = key.constData();
    const qsizetype last = std::min(to, lines.size() - 1);
    for (qsizetype i = from; i <= last; ++i) {
        const QString &line = lines.at(i);
        // Most lines differ in length, so the size check rejects them without reading text.
        if (line.size() == keySize && QStringView(line) == QStringView(keyData, keySize))
            return i;
    }
    if (to > last && from <= to)
        throw KsError::indexOutOfBounds(std::max(from, last + 1));
    return -1;
}

} // namespace

bool TOpenList::LoadList(const QString &fileName, TCatalogueTree &tree, const TLoadContext &context)
{
    tree.Clear();
    QStringList lines = LinesFile::readLines(fileName);
    ListLines = std::move(lines);
    ListFileName = fileName;

    const QString settingsName = SettingsLineName(ListLines);
    if (!settingsName.isEmpty()) {
        const QString argFolder = Paths::folderOf(context.FirstArgument);
        const bool useArgFolder = !argFolder.isEmpty() && Paths::fileExists(argFolder + settingsName);
        const QString folder = useArgFolder ? argFolder : context.ProgramFolder;
        if (context.LoadSettingsFile)
            context.LoadSettingsFile(folder + settingsName);
    }

    {
        TreeUpdateGuard guard(tree);
        const QString newAlbum = u"-newalbum"_s;
        const QString albumKey = u"album:"_s;
        const QString countKey = u"nt:"_s;
        const QString trackKey = u"track:"_s;
        const qsizetype n = ListLines.size();
        for (qsizetype i = 0; i + 2 < n; ++i) {
            const QString &line = ListLines.at(i);
            if (line.size() != newAlbum.size() || line != newAlbum)
                continue;
            TTreeNode *album = tree.AddRoot(valueAt(ListLines, i + 2, albumKey));
            const qint32 count = language::StrToInt(language::CutSubstring(lineAt(ListLines, i + 5), countKey));
            for (qint64 k = 0; k < count; ++k)
                tree.AddChild(album, valueAt(ListLines, i + 7 + 4 * k, trackKey));
        }
    }

    if (tree.NodeCount() == 0) {
        tree.AddFirst(TCatalogueTree::EmptyPlaceholder());
        return false;
    }
    return true;
}

TAlbum TOpenList::ReadAlbumRecord(const QString &title, const QString &programFolder) const
{
    TAlbum album;
    album.Title = title;
    album.LineIndex = -1;
    const qsizetype a = findLine(ListLines, 1, ListLines.size() - 1, "album: "_L1 + title);
    if (a < 0)
        return album;
    album.LineIndex = qint32(a);
    album.Author = valueAt(ListLines, a - 1, u"author:"_s);
    album.Url = valueAt(ListLines, a + 1, u"url:"_s);
    album.DescriptionFile = Paths::resolve(valueAt(ListLines, a + 2, u"discriptionfile:"_s), programFolder);
    album.TrackCount = language::StrToInt(valueAt(ListLines, a + 3, u"nt:"_s));
    album.Image = Paths::resolve(valueAt(ListLines, a + 4, u"image:"_s), programFolder);
    return album;
}

TTrack TOpenList::ReadTrackRecord(const QString &albumTitle, const QString &trackTitle, const QString &programFolder)
{
    CurrentAlbum = ReadAlbumRecord(albumTitle, programFolder);
    TTrack track;
    track.LineIndex = -1;
    if (CurrentAlbum.LineIndex < 0)
        return track;
    track.AlbumTitle = albumTitle;
    track.Title = trackTitle;
    const qint64 a = CurrentAlbum.LineIndex;
    const qint64 last = a + 3 + 4 * qint64(CurrentAlbum.TrackCount);
    const qsizetype t = findLine(ListLines, a + 4, last, "track: "_L1 + language::Trim(trackTitle));
    if (t < 0)
        return track;
    track.LineIndex = qint32(t);
    track.FileName = Paths::resolve(valueAt(ListLines, t + 2, u"file:"_s), programFolder);
    track.DescriptionFile = Paths::resolve(valueAt(ListLines, t + 3, u"dfile:"_s), programFolder);
    track.Size = valueAt(ListLines, t + 1, u"size:"_s);
    return track;
}

void TOpenList::SaveTo(const QString &fileName) const
{
    LinesFile::writeLines(fileName, ListLines);
}

void TOpenList::Save() const
{
    SaveTo(ListFileName);
}

QString TOpenList::SettingsLineName(const QStringList &lines)
{
    if (lines.isEmpty())
        return QString();
    const QString last = language::Trim(lines.last());
    if (!last.contains("ini: "_L1))
        return QString();
    return language::Trim(language::CutSubstring(last, u"ini:"_s));
}
