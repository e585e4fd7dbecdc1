// ListTextSave: list text that a dialog saves as a whole list file, with the checks before it.
#pragma once

#include <QString>
#include <QStringList>

class ICatalogueHost;
class TMessages;

/// Saves lines as the list file path (AlbumText::CheckListSave): text of blanks alone is refused with
/// a message; the open list's own file is replaced only after "Да", through the open list, and then
/// reloaded. Throws KsError when the file cannot be written.
void SaveListText(ICatalogueHost &host, TMessages &messages, const QString &path, const QStringList &lines);
