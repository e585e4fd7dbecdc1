// Unit41: TForm4, the album property dialog.
#include "Unit41.h"

TForm4::TForm4(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(QStringLiteral("Form4"));
}

void TForm4::OpenAlbum()
{
    show();
    raise();
    activateWindow();
}
