// Unit8: TForm8, the ID3 tag editor: the tag of one MP3 file, or a tag for every file of a folder.
#pragma once

#include "TagEditing.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TMessages;

class TForm8 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm8(TMessages &messages, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, as it was left.
    void ShowEditor();
    /// Points the file list at a file, loads it and shows the dialog; throws KsError when it is no file.
    void OpenFile(const QString &path);
    /// Shows the tag of a file in the fields, as a double click on it does; the file is not changed.
    void LoadFile(const QString &path);
    /// The file loaded last, which "Запомнить" writes.
    const QString &LoadedFile() const { return m_loaded; }

    /// Closing the dialog also stops a folder-wide action at the next file.
    void done(int result) override;

private:
    void CreateControls();
    TagEditing::TTagFields Fields() const;
    void ShowFields(const TagEditing::TTagFields &fields);
    void ShowLoaded();
    void ShowID3v2Version();
    QList<TagEditing::TFolderFile> FolderFiles() const;
    void Remember();
    void ChangeAllFiles();
    void RemoveFromAllFiles();
    bool Busy();
    void SetRunning(QPushButton *button, int count);
    bool ShowProgress(int position);
    void TellStopped(int done, int count, const QString &what);

    TMessages &m_messages;
    QString m_loaded;
    QPushButton *m_running = nullptr; // the folder-wide action's button while it runs
    bool m_stopAsked = false;

    TFileListBox *FileListBox1 = nullptr;
    TDirectoryListBox *DirectoryListBox1 = nullptr;
    TDriveComboBox *DriveComboBox1 = nullptr;
    QLabel *Label3 = nullptr; // "Файл:"
    QLabel *Label4 = nullptr; // the loaded file
    QLabel *Label5 = nullptr; // the loaded file's ID3v2 tag and its version
    QLineEdit *LabeledEdit1 = nullptr; // title
    QLineEdit *LabeledEdit2 = nullptr; // artist
    QLineEdit *LabeledEdit3 = nullptr; // year
    QLineEdit *LabeledEdit4 = nullptr; // album
    QLineEdit *LabeledEdit5 = nullptr; // track number
    QLineEdit *LabeledEdit6 = nullptr; // comment
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr; // "Запомнить"
    QPushButton *Button2 = nullptr; // "Изменить все файлы каталога"
    QPushButton *Button4 = nullptr; // "Удалить из всех файлов"
    QPushButton *Button3 = nullptr; // "Выход"
    QProgressBar *ProgressBar1 = nullptr; // a folder-wide action's files done, shown while it runs
};
