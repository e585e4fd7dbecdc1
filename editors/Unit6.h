// Unit6: TForm6, the search in the open list.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class TForm6 : public QDialog
{
    Q_OBJECT
public:
    TForm6(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, above the other windows.
    void ShowSearch();

private:
    void Search();

    ICatalogueHost &m_host;
    TDialogServices m_services;

    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr; // "Поиск"
    QPushButton *Button2 = nullptr; // "Выход"
};
