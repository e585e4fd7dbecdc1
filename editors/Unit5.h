// Unit5: TForm5, the quick-load list manager.
#pragma once

#include "CatalogueHost.h"
#include "QuickLoadEntries.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;

class TForm5 : public QDialog
{
    Q_OBJECT
public:
    TForm5(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Loads main.lis when it exists and shows the dialog, not modal.
    void ShowManager();

    /// main.lis was put back (undo, redo): an open manager shows the file's entries, which its close writes.
    void IndexRestored();

    /// Every way of closing (Button2, the close box, Escape) ends here: hide, write main.lis, reload the combo box.
    void done(int result) override;

private:
    void CreateControls();
    void ShowEntries();
    void EntryClicked(int position);
    void EntryDoubleClicked(int position);
    void Edit(TQuickLoadEntries::TEdit result);
    void Closed();

    ICatalogueHost &m_host;
    TDialogServices m_services;
    TQuickLoadEntries m_entries;

    QListWidget *ListBox1 = nullptr;
    QLineEdit *Edit1 = nullptr; // name
    QLineEdit *Edit2 = nullptr; // list file
    TDriveComboBox *DriveComboBox1 = nullptr;
    TDirectoryListBox *DirectoryListBox1 = nullptr;
    TFileListBox *FileListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "Добавить"
    QPushButton *Button4 = nullptr; // "Изменить"
    QPushButton *Button3 = nullptr; // "Очистить"
    QPushButton *Button2 = nullptr; // "Закрыть"
};
