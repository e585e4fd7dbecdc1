// Unit2: TForm2, the album builder.
#include "Unit2.h"

TForm2::TForm2(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(QStringLiteral("Form2"));
}

void TForm2::ShowBuilder()
{
    show();
    raise();
    activateWindow();
}
