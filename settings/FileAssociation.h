// FileAssociation: registering the program with the desktop as the opener of list files (.lst).
#pragma once

#include "KsError.h"

#include <QObject>
#include <QString>
#include <functional>

/// Makes the desktop open .lst files with this program, passing the file on the command line.
class IFileAssociation
{
public:
    /// Told when a registration is complete: an empty text, or the failure's.
    using TFinished = std::function<void(const QString &failure)>;

    virtual ~IFileAssociation() = default;
    /// Writes the registration again each time; throws KsError with the failure's text. Where the desktop
    /// needs telling (Linux), finished is called once when the desktop has taken it up, maybe after the
    /// call has returned; where success is silent (the Windows registry), it is not called.
    virtual void AssociateListFiles(const TFinished &finished) = 0;
};

/// The registration of the platform the program runs on: the registry's classes on Windows, the
/// user's default applications (and, for a program that is not installed, its own desktop entry and
/// MIME type) on Linux.
class TSystemFileAssociation : public IFileAssociation
{
public:
    void AssociateListFiles(const TFinished &finished) override;

private:
    QObject m_running; // owns the work that goes on in the background; gone with the association
};

/// Counts the requests instead of registering anything (tests never touch the user's desktop).
class TRecordingFileAssociation : public IFileAssociation
{
public:
    int Requests = 0;
    QString Failure;   ///< when set, every request fails with this text
    TFinished Pending; ///< the last request's report, for the test to call when the work would be done
    void AssociateListFiles(const TFinished &finished) override
    {
        ++Requests;
        if (!Failure.isEmpty())
            throw KsError(Failure);
        Pending = finished;
    }
};
