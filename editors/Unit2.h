// Unit2: TForm2, the album builder.
#pragma once

#include "AlbumText.h"
#include "CatalogueHost.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;

class TForm2 : public QDialog
{
    Q_OBJECT
public:
    TForm2(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, with everything it held.
    void ShowBuilder();

private:
    void CreateControls();
    AlbumText::TTrackFields TrackFields() const;
    void ShowTracks();
    void ShowAlbum();

    void PickDescription();
    void PickImage();
    void AddTrack();
    void GenerateTracks();
    void ClearTracks();
    void ComposeAlbum();
    void AddToOpenList();
    void SaveToList();
    void AddToList();
    /// The list file named in the save dialog, with the extension rule; empty when there is none.
    QString ChooseListFile();

    ICatalogueHost &m_host;
    TDialogServices m_services;
    AlbumText::TTrackList m_tracks;
    QStringList m_album;

    QLineEdit *m_name = nullptr;
    QLineEdit *m_author = nullptr;
    QLineEdit *m_url = nullptr;
    QLineEdit *m_description = nullptr;
    QLineEdit *m_image = nullptr;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_duration = nullptr;
    QLineEdit *m_file = nullptr;
    QLineEdit *m_trackDescription = nullptr;
    QPlainTextEdit *m_albumText = nullptr;
    QPlainTextEdit *m_trackText = nullptr;
    TDriveComboBox *m_drives = nullptr;
    TDirectoryListBox *m_folders = nullptr;
    TFileListBox *m_files = nullptr;
};
