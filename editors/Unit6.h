// Unit6: TForm6, the search in the open list.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class TForm6 : public QDialog
{
    Q_OBJECT
public:
    TForm6(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, above the other windows.
    void ShowSearch();

private:
    ICatalogueHost &m_host;
    TDialogServices m_services;
};
