// CatalogueHost: what the editors' dialogs use of the main window, and the services they are given.
#pragma once

#include <QString>

class IFileDialogs;
class TCatalogueTree;
class THETreeView;
class TMessages;
class TOpenList;
class TUndoHistory;

/// The main window as the dialogs see it: the open list, its tree, and the two reloads.
class ICatalogueHost
{
public:
    virtual ~ICatalogueHost() = default;
    virtual TOpenList &OpenList() = 0;
    virtual TCatalogueTree &Tree() = 0;
    /// The tree control: the selected node, selecting a node, the keyboard focus.
    virtual THETreeView *TreeView() const = 0;
    /// Replaces the open list with a file and rebuilds the tree; selects the first album. Throws KsError.
    virtual void LoadList(const QString &fileName) = 0;
    /// Reloads the quick-load combo box from main.lis.
    virtual void LoadQuickLoadIndex() = 0;
    /// Where every write of a list file or of main.lis is recorded, so that the user can undo it.
    virtual TUndoHistory *History() = 0;
};

/// The seams every dialog is handed.
struct TDialogServices
{
    TMessages *Messages = nullptr;
    IFileDialogs *FileDialogs = nullptr;
};
