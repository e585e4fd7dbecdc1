// Unit5: TForm5, the quick-load list manager.
#include "Unit5.h"

TForm5::TForm5(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(QStringLiteral("Form5"));
}

void TForm5::ShowManager()
{
    show();
    raise();
    activateWindow();
}
