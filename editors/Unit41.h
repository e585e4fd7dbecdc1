// Unit41: TForm4, the album property dialog.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class TForm4 : public QDialog
{
    Q_OBJECT
public:
    TForm4(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Fills the fields from the selected node and CurrentAlbum and shows the dialog, not modal.
    void OpenAlbum();

private:
    ICatalogueHost &m_host;
    TDialogServices m_services;
};
