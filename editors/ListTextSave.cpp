// ListTextSave: the save of list text as a whole list file.
#include "ListTextSave.h"

#include "AlbumText.h"
#include "CatalogueHost.h"
#include "Messages.h"
#include "OpenList.h"

void SaveListText(ICatalogueHost &host, TMessages &messages, const QString &path, const QStringList &lines)
{
    TOpenList &list = host.OpenList();
    const bool ownFile = list.IsListFile(path);
    const AlbumText::TSaveCheck check = AlbumText::CheckListSave(lines, path, ownFile);
    if (!check.Refusal.isEmpty()) {
        messages.ShowMessage(check.Refusal);
        return;
    }
    if (!ownFile) {
        AlbumText::SaveAlbumList(path, lines, host.History());
        return;
    }
    if (!messages.Ask(check.Question))
        return;
    // Through the open list, so that the tree shows the file and the next edit does not put the old
    // lines back.
    list.Commit(lines);
    host.LoadList(list.ListFileName);
}
