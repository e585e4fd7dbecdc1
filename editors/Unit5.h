// Unit5: TForm5, the quick-load list manager.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class TForm5 : public QDialog
{
    Q_OBJECT
public:
    TForm5(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Loads main.lis when it exists and shows the dialog, not modal.
    void ShowManager();

private:
    ICatalogueHost &m_host;
    TDialogServices m_services;
};
