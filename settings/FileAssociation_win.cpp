// FileAssociation_win: the .lst association in the registry, with the executable's own path.
#include "FileAssociation.h"

#include "KsError.h"
#include "ListAssociation_win.h"
#include "ProgramFile.h"

void TSystemFileAssociation::AssociateListFiles(const TFinished &)
{
    // The registry is written at once, and success is silent.
    std::string errorText;
    if (!RegisterListAssociation(ProgramFile::Path(), errorText))
        throw KsError(QString::fromStdString(errorText));
}
