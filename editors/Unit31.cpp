// Unit31: TForm3, the track property dialog.
#include "Unit31.h"

TForm3::TForm3(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(QStringLiteral("Form3"));
}

void TForm3::OpenTrack()
{
    exec();
}
