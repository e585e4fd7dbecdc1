// XdgAssociation: the .lst association of a Linux desktop, for the current user, the freedesktop.org way.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace XdgAssociation {

/// The folders the registration reads and writes.
struct TFolders
{
    QString DataHome;     ///< $XDG_DATA_HOME, else ~/.local/share
    QString ConfigHome;   ///< $XDG_CONFIG_HOME, else ~/.config
    QStringList DataDirs; ///< $XDG_DATA_DIRS, else /usr/local/share and /usr/share: where packages put theirs
};

/// The current user's folders, from the environment.
TFolders UserFolders();

/// The MIME type of list files, as dist/kestrune-list.xml defines it.
QString ListMimeType();

/// The desktop ID of the entry the package installs (dist/kestrune.desktop).
QString PackagedEntryName();

/// The desktop ID of the entry that a program run from a folder of its own writes for the user: not
/// the package's, so that it never stands in for the installed program's.
QString OwnEntryName();

/// The packaged entry's ID when an entry of that name in one of dataDirs starts executable (the
/// running program is the installed one); empty otherwise.
QString InstalledEntry(const QString &executable, const QStringList &dataDirs);

/// The program of an Exec key: as it is where the entry rules allow it (so that every opener reads it,
/// xdg-open 1.1.3 too), quoted only when it holds a blank or another reserved character, with "%" doubled
/// and the escapes of a string value.
QString ExecProgram(const QString &path);

/// The entry of a program run from its own folder: dist/kestrune.desktop with a command that starts
/// executable on the file, TryExec (so that desktops pass it over once the program is gone) and the
/// program's folder in its name.
QByteArray OwnDesktopEntry(const QString &executable);

/// The bytes of a mimeapps.list (a UTF-8 key file) with entry as the default application of type in
/// "[Default Applications]": only the lines of that key change, or one is added to the group (the group
/// at the end when there is none). Group and key names are compared exactly; every other byte is kept,
/// whatever its encoding.
QByteArray WithDefaultApplication(const QByteArray &mimeApps, const QString &type, const QString &entry);

/// Makes the program the opener of list files for the user. The installed program only becomes the
/// default application of the type (ConfigHome/mimeapps.list). A program run from its own folder also
/// writes its own entry into DataHome/applications, the icon into DataHome/icons/hicolor and the MIME
/// type into DataHome/mime/packages, and rebuilds that MIME database with update-mime-database in the
/// background, a child of context. What can be checked is checked before anything is written: a failure
/// throws KsError naming the file and the cause, and writes nothing. finished is called once, when the
/// association is complete (before the return when nothing runs in the background), with an empty text
/// or the failure's. Writing it again leaves the same files.
void Register(const QString &executable, const TFolders &folders, QObject &context,
              const std::function<void(const QString &failure)> &finished);

} // namespace XdgAssociation
