// FileAssociation_unix: the .lst association of the running program for the current Linux user.
#include "FileAssociation.h"

#include "XdgAssociation.h"

#include <QCoreApplication>

void TSystemFileAssociation::AssociateListFiles()
{
    XdgAssociation::Register(QCoreApplication::applicationFilePath(), XdgAssociation::UserFolders());
}
