// Unit31: TForm3, the track property dialog.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class TForm3 : public QDialog
{
    Q_OBJECT
public:
    TForm3(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Fills the fields from CurrentTrack and shows the dialog modally.
    void OpenTrack();

private:
    ICatalogueHost &m_host;
    TDialogServices m_services;
};
