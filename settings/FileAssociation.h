// FileAssociation: registering the program with the desktop as the opener of list files (.lst).
#pragma once

#include "KsError.h"

#include <QString>

/// Makes the desktop open .lst files with this program, passing the file on the command line.
class IFileAssociation
{
public:
    virtual ~IFileAssociation() = default;
    /// Writes the registration again each time; throws KsError with the failure's text.
    virtual void AssociateListFiles() = 0;
};

/// The registration of the platform the program runs on: the registry's classes on Windows, the
/// user's desktop entry, MIME database and default applications on Linux.
class TSystemFileAssociation : public IFileAssociation
{
public:
    void AssociateListFiles() override;
};

/// Counts the requests instead of registering anything (tests never touch the user's desktop).
class TRecordingFileAssociation : public IFileAssociation
{
public:
    int Requests = 0;
    QString Failure; ///< when set, every request fails with this text
    void AssociateListFiles() override
    {
        ++Requests;
        if (!Failure.isEmpty())
            throw KsError(Failure);
    }
};
