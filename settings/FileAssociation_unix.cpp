// FileAssociation_unix: the .lst association of the running program for the current Linux user.
#include "FileAssociation.h"

#include "XdgAssociation.h"

#include <QCoreApplication>

void TSystemFileAssociation::AssociateListFiles(const TFinished &finished)
{
    XdgAssociation::Register(QCoreApplication::applicationFilePath(), XdgAssociation::UserFolders(), m_running,
                             finished);
}
