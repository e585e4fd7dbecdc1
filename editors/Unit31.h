// Unit31: TForm3, the track property dialog.
#pragma once

#include "CatalogueHost.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class TForm3 : public QDialog
{
    Q_OBJECT
public:
    TForm3(ICatalogueHost &host, const TDialogServices &services, QWidget *parent = nullptr);

    /// Fills the fields from CurrentTrack and shows the dialog modally.
    void OpenTrack();

private:
    void CreateControls();
    void Confirm();
    void PickDescription();

    ICatalogueHost &m_host;
    TDialogServices m_services;
    QString m_shownDescription; // the description field as filled: unchanged, its line is kept

    QLineEdit *Edit1 = nullptr; // title
    QLineEdit *Edit2 = nullptr; // play time
    QLineEdit *Edit3 = nullptr; // audio file, shown only
    QLineEdit *Edit4 = nullptr; // description file
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
};
