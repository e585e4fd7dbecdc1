// Unit1: TFileFindForm, the file search dialog that turns folders of audio files into list text.
#pragma once

#include "AudioInfo.h"
#include "CatalogueHost.h"
#include "FileSearch.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class TDirectoryListBox;
class TDriveComboBox;
class TFileFinder;
class TFileListBox;
class TLineTextBox;

class TFileFindForm : public QDialog
{
    Q_OBJECT
public:
    TFileFindForm(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, with the text it held.
    void ShowFinder();
    /// Every way of closing (Button2, the close box, Escape) ends here: a running search stops.
    void done(int result) override;

    /// The search engine and the last search's figures.
    TFileFinder &FileFinder1() const { return *m_finder; }
    const TFileSearch &LastSearch() const { return m_search; }

    /// The "*.lst|*.lst" filter of the save dialog.
    static QString ListFilter();

private:
    void CreateControls();
    void ShowExtensionFiles(const QString &typed);
    void SearchOrStop();
    void Search();
    void StopSearch();
    void SetSearching(bool searching);
    void ShowProgress();
    QStringList TextLines() const;
    void SaveToNew();
    void AddToCurrent();

    ICatalogueHost &m_host;
    TDialogServices m_services;
    TFileFinder *m_finder = nullptr;
    TAudioInfo m_info;
    TFileSearch m_search;
    QTimer *m_progress = nullptr;
    /// A search runs.
    bool m_searching = false;
    /// The user stopped it.
    bool m_stopped = false;

    TFileListBox *FileListBox1 = nullptr;
    QLabel *Label3 = nullptr;  // "*."
    QLineEdit *Edit3 = nullptr; // extension
    TDirectoryListBox *DirectoryListBox1 = nullptr;
    TDriveComboBox *DriveComboBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "Поиск"
    QPushButton *Button2 = nullptr; // "Выход"
    TLineTextBox *RichEdit1 = nullptr; // the albums found, then the user's text
    QLabel *Label4 = nullptr; // where the search is, and what it found
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr; // author
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr; // web address
    QPushButton *Button3 = nullptr; // "Сохранить в новый"
    QPushButton *Button4 = nullptr; // "Добавить к текущему"
};
