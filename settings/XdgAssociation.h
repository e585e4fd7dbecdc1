// XdgAssociation: the .lst association of a Linux desktop, for the current user, the freedesktop.org way.
#pragma once

#include <QString>

namespace XdgAssociation {

/// The user's folders the registration writes into.
struct TFolders
{
    QString DataHome;   ///< $XDG_DATA_HOME, else ~/.local/share
    QString ConfigHome; ///< $XDG_CONFIG_HOME, else ~/.config
};

/// The current user's folders, from the environment.
TFolders UserFolders();

/// The MIME type of list files, as dist/kestrune-list.xml defines it.
QString ListMimeType();

/// The file name (and desktop ID) of the program's desktop entry.
QString DesktopFileName();

/// The program's desktop entry (dist/kestrune.desktop) with a command that starts executable on the file.
QByteArray DesktopEntry(const QString &executable);

/// An argument of a desktop entry's Exec key: quoted, with the characters the format reserves escaped.
QString ExecArgument(const QString &argument);

/// Writes the desktop entry into DataHome/applications, its icon into DataHome/icons/hicolor, the MIME
/// type into DataHome/mime/packages and rebuilds that MIME database with update-mime-database, and
/// makes the entry the default application of the type in ConfigHome/mimeapps.list, keeping its other
/// lines. Writing it again leaves the same
/// files. Throws KsError ("Cannot create file %s", or what update-mime-database reported).
void Register(const QString &executable, const TFolders &folders);

} // namespace XdgAssociation
