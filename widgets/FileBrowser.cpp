// FileBrowser: drives, folders and files of the linked browser controls.
#include "FileBrowser.h"

#include "DirectoryScan.h"
#include "Paths.h"

#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>
#include <QPainter>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int LevelRole = Qt::UserRole + 1;
constexpr int IndentPixels = 8;

/// A folder as the controls keep it: absolute, clean, native, no trailing separator except a root's.
QString nativeFolder(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(Paths::toFileSystem(path)).absoluteFilePath());
    return QDir::toNativeSeparators(clean);
}

bool endsWithSeparator(const QString &path)
{
    return path.endsWith(u'/') || path.endsWith(u'\\');
}

QString withTrailingSeparator(const QString &folder)
{
    return endsWithSeparator(folder) ? folder : folder + Paths::separator();
}

/// Drive letters and whatever lies below them compare ignoring case; Unix paths do not.
Qt::CaseSensitivity caseOf(const QString &root)
{
    return root.contains(u':') ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

/// The names of one folder's files, or of its folders (links to folders too), hidden ones left out, in
/// name order; patterns, when given, are matched ignoring case. An unreadable or missing folder gives
/// none. Read with the entry kinds the folder gives, so that a folder of many thousands of files costs
/// no system call per file.
QStringList entryNames(const QString &folder, bool folders, const QStringList &patterns = {})
{
    if (folder.isEmpty())
        return {};
    QList<QRegularExpression> masks;
    for (const QString &p : patterns)
        masks << QRegularExpression::fromWildcard(p, Qt::CaseInsensitive);
    QStringList names;
    TDirectoryScan scan(folder);
    std::vector<TScanEntry> batch;
    for (bool more = true; more;) {
        batch.clear();
        more = scan.Next(batch, 4096, folders);
        for (TScanEntry &e : batch) {
            const bool isFolder = e.Kind == TEntryKind::Folder || e.Kind == TEntryKind::FolderLink;
            if (e.Hidden || (folders ? !isFolder : e.Kind != TEntryKind::File))
                continue;
            if (!masks.isEmpty()
                && std::none_of(masks.begin(), masks.end(), [&](const QRegularExpression &m) { return m.match(e.Name).hasMatch(); }))
                continue;
            names << std::move(e.Name);
        }
    }
    Paths::SortNames(names);
    return names;
}

/// The nearest folder at or above path that exists (a root at worst).
QString existingFolder(const QString &path)
{
    QString folder = nativeFolder(path);
    while (!QFileInfo(folder).isDir()) {
        const QString parent = nativeFolder(QFileInfo(folder).path());
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

/// Draws folder rows indented by their depth, as a classic folder list does.
class TIndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem o(option);
        o.rect.setLeft(o.rect.left() + index.data(LevelRole).toInt() * IndentPixels);
        QStyledItemDelegate::paint(painter, o, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.rwidth() += index.data(LevelRole).toInt() * IndentPixels;
        return s;
    }
};

/// Gives every row the file icon as it is drawn, so that a folder of many thousands of files needs no
/// icon set on each of its items.
class TFileIconDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = option->widget ? option->widget->style()->standardIcon(QStyle::SP_FileIcon) : QIcon();
        option->decorationSize = option->icon.actualSize(option->decorationSize);
    }
};

} // namespace

// ---- TDriveComboBox

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent)
{
    // Drive letters (Windows) or "/" (Linux), then the mounted volumes; each root once.
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots << QDir::toNativeSeparators(drive.absoluteFilePath());
    QStringList names(roots.size());
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir())
            continue;
        const QString root = withTrailingSeparator(QDir::toNativeSeparators(volume.rootPath()));
        const qsizetype at = roots.indexOf(root);
        if (at >= 0) {
            names[at] = volume.name();
        } else {
            roots << root;
            names << volume.name();
        }
    }
    // Sorted, so that "/" comes first on Linux and the letters run in order on Windows.
    QList<qsizetype> order(roots.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return Paths::NameLess(roots[a], roots[b]); });
    for (qsizetype i : order)
        addItem(names[i].isEmpty() ? roots[i] : roots[i] + u" ["_s + names[i] + u']', roots[i]);
    // activated comes from the user only, so SetDriveOf stays quiet.
    connect(this, &QComboBox::activated, this, [this] { emit DriveChanged(Drive()); });
}

QString TDriveComboBox::Drive() const
{
    return currentData().toString();
}

void TDriveComboBox::SetDriveOf(const QString &path)
{
    const QString target = withTrailingSeparator(nativeFolder(path));
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (target.startsWith(root, caseOf(root)) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}

// ---- TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new TIndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Double click or Enter opens a folder.
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { SetDirectory(item->data(PathRole).toString()); });
    m_directory = existingFolder(QDir::currentPath());
    Fill();
}

void TDirectoryListBox::SetDirectory(const QString &path)
{
    const QString folder = existingFolder(path);
    if (folder == m_directory)
        return;
    m_directory = folder;
    Fill();
    emit DirectoryChanged(m_directory);
}

void TDirectoryListBox::Fill()
{
    clear();
    // The chain from the root down to the open folder.
    QStringList chain;
    for (QString f = m_directory;;) {
        chain.prepend(f);
        const QString parent = nativeFolder(QFileInfo(f).path());
        if (parent == f)
            break;
        f = parent;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [this](const QString &text, const QString &path, int level, const QIcon &icon) {
        auto *item = new QListWidgetItem(icon, text, this);
        item->setData(PathRole, path);
        item->setData(LevelRole, level);
        return item;
    };
    QListWidgetItem *current = nullptr;
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const QString name = i == 0 ? chain[i] : QFileInfo(chain[i]).fileName();
        current = add(name, chain[i], int(i), open);
    }
    const int level = int(chain.size());
    for (const QString &name : entryNames(m_directory, true))
        add(name, withTrailingSeparator(m_directory) + name, level, closed);
    setCurrentItem(current);
    scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

// ---- TFileListBox

TFileListBox::TFileListBox(QWidget *parent) : QListWidget(parent), m_mask(u"*"_s)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // one line each: no need to measure every row of a large folder
    setItemDelegate(new TFileIconDelegate(this));
    connect(this, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *current) {
        if (current)
            emit FileSelected(FullPath(current->text()));
    });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit FileDoubleClicked(FullPath(item->text())); });
    m_directory = existingFolder(QDir::currentPath());
    Update();
}

void TFileListBox::SetMask(const QString &mask, std::function<bool(const QString &)> fits)
{
    if (mask == m_mask && !fits && !m_fits)
        return;
    m_mask = mask;
    m_fits = std::move(fits);
    Update();
}

void TFileListBox::SetDirectory(const QString &path)
{
    m_directory = path.isEmpty() ? QString() : nativeFolder(path);
    Update();
}

QStringList TFileListBox::Names() const
{
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << item(i)->text();
    return names;
}

QString TFileListBox::SelectedName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QString TFileListBox::FullPath(const QString &name) const
{
    return withTrailingSeparator(m_directory) + name;
}

void TFileListBox::SelectName(const QString &name)
{
    for (int i = 0; i < count(); ++i) {
        if (item(i)->text() == name) {
            setCurrentRow(i);
            scrollToItem(item(i));
            return;
        }
    }
}

void TFileListBox::Update()
{
    QStringList patterns;
    for (const QString &p : m_mask.split(u';'))
        if (!p.trimmed().isEmpty())
            patterns << p.trimmed();
    const QString kept = SelectedName();
    {
        // Re-reading the same folder moves nothing the user chose.
        const QSignalBlocker quiet(this);
        clear();
        QStringList names = entryNames(m_directory, false, m_fits ? QStringList() : patterns);
        if (m_fits)
            names.removeIf([this](const QString &name) { return !m_fits(name); });
        // Added at once: one by one, a folder of 50,000 files takes seconds.
        addItems(names);
        if (!kept.isEmpty())
            SelectName(kept);
    }
}

// ---- Linking

void LinkFileBrowser(TDriveComboBox *drives, TDirectoryListBox *folders, TFileListBox *files)
{
    if (!folders)
        return;
    if (drives) {
        QObject::connect(drives, &TDriveComboBox::DriveChanged, folders, &TDirectoryListBox::SetDirectory);
        QObject::connect(folders, &TDirectoryListBox::DirectoryChanged, drives, &TDriveComboBox::SetDriveOf);
        drives->SetDriveOf(folders->Directory());
    }
    if (files) {
        QObject::connect(folders, &TDirectoryListBox::DirectoryChanged, files, &TFileListBox::SetDirectory);
        if (files->Directory() != folders->Directory())
            files->SetDirectory(folders->Directory());
    }
}

void OpenInFileBrowser(const QString &path, TDriveComboBox *drives, TDirectoryListBox *folders, TFileListBox *files)
{
    if (!folders || path.isEmpty())
        return;
    const QFileInfo info(Paths::toFileSystem(path));
    const bool isFile = info.isFile();
    const QString shown = files ? files->Directory() : QString();
    folders->SetDirectory(isFile ? info.path() : info.filePath());
    const bool movedFiles = files && files->Directory() != shown;
    if (drives)
        drives->SetDriveOf(folders->Directory());
    if (files) {
        // Read once: the folder list's change has already re-read a linked file list.
        if (files->Directory() != folders->Directory())
            files->SetDirectory(folders->Directory());
        else if (!movedFiles)
            files->Update();
        if (isFile)
            files->SelectName(info.fileName());
    }
}
