// Unit6: TForm6, the search in the open list.
#include "Unit6.h"

TForm6::TForm6(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(QStringLiteral("Form6"));
}

void TForm6::ShowSearch()
{
    show();
    raise();
    activateWindow();
}
