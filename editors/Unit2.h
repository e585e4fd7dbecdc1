// Unit2: TForm2, the album builder.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class TForm2 : public QDialog
{
    Q_OBJECT
public:
    TForm2(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, with everything it held.
    void ShowBuilder();

private:
    ICatalogueHost &m_host;
    TDialogServices m_services;
};
