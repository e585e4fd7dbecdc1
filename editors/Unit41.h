// Unit41: TForm4, the album property dialog.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>
#include <QPersistentModelIndex>

class QLineEdit;
class QPushButton;
class TTreeNode;

/// The filter of the ". . ." beside a description field (album and track dialogs).
QString DescriptionFileFilter();

class TForm4 : public QDialog
{
    Q_OBJECT
public:
    TForm4(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Fills the fields from the album node and CurrentAlbum and shows the dialog, not modal.
    void OpenAlbum(const TTreeNode *node);

private:
    void CreateControls();
    void Apply();
    TTreeNode *AlbumNode(const QString &title) const;
    void PickDescription();
    void PickImage();

    ICatalogueHost &m_host;
    TDialogServices m_services;
    QPersistentModelIndex m_node;  // the album node the dialog was opened on
    QString m_shownDescription;    // the path fields as filled: unchanged ones keep their stored lines
    QString m_shownImage;

    QLineEdit *Edit1 = nullptr; // name
    QLineEdit *Edit2 = nullptr; // author
    QLineEdit *Edit3 = nullptr; // description file
    QLineEdit *Edit4 = nullptr; // URL
    QLineEdit *Edit5 = nullptr; // image
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
};
