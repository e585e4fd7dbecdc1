// OpenList: loading a list file into the tree, the album and track lookups, and saving the lines.
#include "OpenList.h"

#include "CatalogueTree.h"
#include "KsError.h"
#include "LinesFile.h"
#include "ListEdits.h"
#include "Paths.h"
#include "language.h"

#include <algorithm>

using namespace Qt::StringLiterals;

using LinesFile::lineAt;
using LinesFile::valueAt;

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

const QString NewAlbumLine = u"-newalbum"_s;

// The "-newalbum" line of the loader's album at row (-1 when there is none), and how many of the
// loader's albums have the trimmed title (counted up to two).
struct TBlockScan
{
    qsizetype Start = -1;
    int SameTitle = 0;
};

TBlockScan scanAlbums(const QStringList &lines, int row, const QString &title)
{
    TBlockScan scan;
    const qsizetype n = lines.size();
    int seen = 0;
    for (qsizetype i = 0; i + 2 < n; ++i) {
        const QString &line = lines.at(i);
        if (line.size() != NewAlbumLine.size() || line != NewAlbumLine)
            continue;
        if (seen++ == row)
            scan.Start = i;
        const QString &albumLine = lines.at(i + 2);
        if (scan.SameTitle < 2 && albumLine.contains(title)
            && language::Trim(language::CutSubstring(albumLine, u"album:"_s)) == title)
            ++scan.SameTitle;
        if (scan.Start >= 0 && scan.SameTitle >= 2)
            break;
    }
    return scan;
}

// Fills the fields of an album record from its "album: " line at a.
void readAlbumFields(const QStringList &lines, qsizetype a, const QString &programFolder, TAlbum &album)
{
    album.LineIndex = qint32(a);
    album.Author = valueAt(lines, a - 1, u"author:"_s);
    album.Url = valueAt(lines, a + 1, u"url:"_s);
    album.DescriptionFile = Paths::resolve(valueAt(lines, a + 2, u"discriptionfile:"_s), programFolder);
    album.TrackCount = language::StrToInt(valueAt(lines, a + 3, u"nt:"_s));
    album.Image = Paths::resolve(valueAt(lines, a + 4, u"image:"_s), programFolder);
}

void readTrackFields(const QStringList &lines, qsizetype t, const QString &programFolder, TTrack &track)
{
    track.LineIndex = qint32(t);
    track.FileName = Paths::resolve(valueAt(lines, t + 2, u"file:"_s), programFolder);
    track.DescriptionFile = Paths::resolve(valueAt(lines, t + 3, u"dfile:"_s), programFolder);
    track.Size = valueAt(lines, t + 1, u"size:"_s);
}

// The first line equal to "track: " + the trimmed title among every line of the album's tracks.
TTrack trackInAlbum(const QStringList &lines, const TAlbum &album, const QString &albumTitle,
                    const QString &trackTitle, const QString &programFolder)
{
    TTrack track;
    track.LineIndex = -1;
    if (album.LineIndex < 0)
        return track;
    track.AlbumTitle = albumTitle;
    track.Title = trackTitle;
    const qint64 a = album.LineIndex;
    const qint64 last = a + 3 + 4 * qint64(album.TrackCount);
    const qsizetype t = findLine(lines, a + 4, last, ListEdits::TrackKeyLine(trackTitle));
    if (t >= 0)
        readTrackFields(lines, t, programFolder, track);
    return track;
}

} // namespace

bool TOpenList::LoadList(const QString &fileName, TCatalogueTree &tree, const TLoadContext &context)
{
    tree.Clear();
    return LoadLines(LinesFile::readFile(fileName), fileName, tree, context);
}

bool TOpenList::LoadLines(LinesFile::TLinesText text, const QString &fileName, TCatalogueTree &tree,
                          const TLoadContext &context)
{
    tree.Clear();
    ListLines = std::move(text.Lines);
    Encoding = std::move(text.Encoding);
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
        // A list whose blocks overlap (counts too large, "-newalbum" inside a block) would build a tree
        // that grows with the square of its length; a list of whole blocks never has more nodes than lines.
        qint64 nodes = 0;
        for (qsizetype i = 0; i + 2 < n; ++i) {
            const QString &line = ListLines.at(i);
            if (line.size() != newAlbum.size() || line != newAlbum)
                continue;
            if (nodes + 1 > n)
                throw KsError::damagedList(i);
            TTreeNode *album = tree.AddRoot(valueAt(ListLines, i + 2, albumKey));
            ++nodes;
            const qint32 count = language::StrToInt(language::CutSubstring(lineAt(ListLines, i + 5), countKey));
            // Tracks whose lines lie inside the list; a count reaching past its end stops below.
            const qint64 inside = std::min<qint64>(std::max<qint32>(count, 0), std::max<qint64>(0, (n - i - 4) / 4));
            if (nodes + inside > n)
                throw KsError::damagedList(i);
            for (qint64 k = 0; k < count; ++k)
                tree.AddChild(album, valueAt(ListLines, i + 7 + 4 * k, trackKey));
            nodes += inside;
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
    readAlbumFields(ListLines, a, programFolder, album);
    return album;
}

TTrack TOpenList::ReadTrackRecord(const QString &albumTitle, const QString &trackTitle, const QString &programFolder)
{
    CurrentAlbum = ReadAlbumRecord(albumTitle, programFolder);
    return trackInAlbum(ListLines, CurrentAlbum, albumTitle, trackTitle, programFolder);
}

TAlbum TOpenList::ReadAlbumRecordAt(const QString &title, int row, const QString &programFolder, bool *ownBlock) const
{
    const TBlockScan scan = scanAlbums(ListLines, row, title);
    const bool own = scan.SameTitle >= 2 && scan.Start >= 0;
    if (ownBlock)
        *ownBlock = own;
    if (!own)
        return ReadAlbumRecord(title, programFolder);
    TAlbum album;
    album.Title = title;
    album.LineIndex = -1;
    const qsizetype a = scan.Start + 2;
    if (ListLines.at(a) == ListEdits::AlbumKeyLine(title))
        readAlbumFields(ListLines, a, programFolder, album);
    return album;
}

TTrack TOpenList::ReadTrackRecordAt(const QString &albumTitle, int albumRow, const QString &trackTitle, int trackRow,
                                    const QString &programFolder, bool *ownBlock)
{
    bool albumOwn = false;
    CurrentAlbum = ReadAlbumRecordAt(albumTitle, albumRow, programFolder, &albumOwn);
    if (ownBlock)
        *ownBlock = albumOwn;
    if (CurrentAlbum.LineIndex < 0)
        return trackInAlbum(ListLines, CurrentAlbum, albumTitle, trackTitle, programFolder);

    // Does the title repeat among the album's tracks?
    const qint64 a = CurrentAlbum.LineIndex;
    const qint64 n = ListLines.size();
    const QString title = language::Trim(trackTitle);
    const QString key = ListEdits::TrackKeyLine(title);
    int same = 0;
    for (qint64 k = 0, t = a + 5; k < CurrentAlbum.TrackCount && t < n && same < 2; ++k, t += 4) {
        const QString &line = ListLines.at(t);
        if (line.contains(title) && language::Trim(language::CutSubstring(line, u"track:"_s)) == title)
            ++same;
    }
    if (same < 2)
        return trackInAlbum(ListLines, CurrentAlbum, albumTitle, trackTitle, programFolder);
    if (ownBlock)
        *ownBlock = true;
    TTrack track;
    track.LineIndex = -1;
    track.AlbumTitle = albumTitle;
    track.Title = trackTitle;
    const qint64 t = a + 5 + 4 * qint64(trackRow);
    if (trackRow >= 0 && trackRow < CurrentAlbum.TrackCount && t < n && ListLines.at(t) == key)
        readTrackFields(ListLines, t, programFolder, track);
    return track;
}

bool TOpenList::LookUpNode(const TTreeNode &node, const QString &programFolder)
{
    bool own = false;
    if (const TTreeNode *album = node.Parent())
        CurrentTrack = ReadTrackRecordAt(language::Trim(album->Text()), album->Row(), node.Text(), node.Row(),
                                         programFolder, &own);
    else
        CurrentAlbum = ReadAlbumRecordAt(language::Trim(node.Text()), node.Row(), programFolder, &own);
    return own;
}

QString TOpenList::RenameNode(const TTreeNode &node, const QString &oldTitle, const QString &newText,
                              QStringList &lines) const
{
    lines = ListLines;
    if (language::Trim(newText).isEmpty())
        return ListEdits::BlankTitleMessage();
    const TTreeNode &albumNode = node.Parent() ? *node.Parent() : node;
    const qsizetype start = scanAlbums(ListLines, albumNode.Row(), language::Trim(albumNode.Text())).Start;
    if (start < 0)
        return ListEdits::NoAlbumToRenameMessage();
    bool renamed = false;
    if (!node.Parent()) {
        renamed = ListEdits::RenameAlbum(lines, start + 2, oldTitle, newText);
    } else {
        TAlbum album;
        album.LineIndex = qint32(start + 2);
        // The count as the loader read it.
        album.TrackCount = language::StrToInt(language::CutSubstring(lineAt(ListLines, start + 5), u"nt:"_s));
        renamed = ListEdits::RenameTrack(lines, album, node.Row(), oldTitle, newText);
    }
    return renamed ? QString() : ListEdits::DamagedRenameMessage();
}

void TOpenList::Commit(QStringList lines)
{
    // Nothing changes in memory unless the file has taken the lines.
    Encoding = LinesFile::writeFile(ListFileName, lines, Encoding, History);
    ListLines = std::move(lines);
}

void TOpenList::SaveTo(const QString &fileName) const
{
    LinesFile::writeFile(fileName, ListLines, Encoding, History);
}

bool TOpenList::IsListFile(const QString &path) const
{
    return Paths::sameFile(ListFileName, path);
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
