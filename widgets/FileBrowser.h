// FileBrowser: the linked drive selector, folder list and file list of the editors' dialogs.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

#include <functional>

/// The drives (on Linux the mounted volumes, the root first); choosing one opens it in the folder list.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget *parent = nullptr);
    /// The root of the chosen drive, with its trailing separator.
    QString Drive() const;
    /// Chooses the drive that holds path (without emitting DriveChanged).
    void SetDriveOf(const QString &path);

signals:
    void DriveChanged(const QString &root);
};

/// The open folder with its parents above it and its subfolders below; a double click opens one.
class TDirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget *parent = nullptr);
    /// The open folder, absolute, in native form, without a trailing separator (except a root).
    QString Directory() const { return m_directory; }
    /// Opens a folder; emits DirectoryChanged when it differs from the open one.
    void SetDirectory(const QString &path);

signals:
    void DirectoryChanged(const QString &path);

private:
    void Fill();
    QString m_directory;
};

/// The files of one folder that match a mask, sorted by name ignoring letter case.
class TFileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TFileListBox(QWidget *parent = nullptr);
    /// Patterns joined by ";", as "*.mp3;*.wav"; matched ignoring letter case. When fits is given, it
    /// decides which names are shown and the mask is only told.
    void SetMask(const QString &mask, std::function<bool(const QString &)> fits = {});
    QString Mask() const { return m_mask; }
    void SetDirectory(const QString &path);
    QString Directory() const { return m_directory; }
    /// The names shown, in list order.
    QStringList Names() const;
    /// The selected name, or empty.
    QString SelectedName() const;
    /// Folder and name joined by exactly one separator.
    QString FullPath(const QString &name) const;
    /// Selects the entry with this name, if shown.
    void SelectName(const QString &name);
    /// Re-reads the folder.
    void Update();

signals:
    /// The selection moved to a file (its full path).
    void FileSelected(const QString &path);
    /// A file was double-clicked (its full path).
    void FileDoubleClicked(const QString &path);

private:
    QString m_mask;
    std::function<bool(const QString &)> m_fits;
    QString m_directory;
};

/// Links the three: a drive opens its root in the folder list, a folder fills the file list.
void LinkFileBrowser(TDriveComboBox *drives, TDirectoryListBox *folders, TFileListBox *files);
/// Opens path (a file: its folder, with the file selected; a folder: that folder) in linked controls.
void OpenInFileBrowser(const QString &path, TDriveComboBox *drives, TDirectoryListBox *folders, TFileListBox *files);
