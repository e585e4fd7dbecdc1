// UnitU1Edit: the main window's commands that change, open and save the list, and show the editors.
#include "UnitU1.h"

#include "CatalogueTree.h"
#include "DescriptionView.h"
#include "ExportTarget.h"
#include "FileDialogs.h"
#include "HtmlExport.h"
#include "He1.h"
#include "KsError.h"
#include "ListEdits.h"
#include "M3uExport.h"
#include "Messages.h"
#include "Paths.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit31.h"
#include "Unit41.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"
#include "language.h"

#include <QAction>
#include <QPersistentModelIndex>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
const QString ListFilter = u"Список музыкальных файлов|*.lst"_s;
const QString ListExtension = u".lst"_s;
} // namespace

void TForm1::ShowBuilder()
{
    m_form2->ShowBuilder();
}

void TForm1::ShowSearch()
{
    m_form6->ShowSearch();
}

void TForm1::ShowQuickLoadManager()
{
    m_form5->ShowManager();
}

void TForm1::ShowFileSearch()
{
    m_fileFindForm->ShowFinder();
}

void TForm1::ShowTagEditor()
{
    m_form8->ShowEditor();
}

void TForm1::CollapseTree()
{
    TreeView1->collapseAll();
}

// ---- records of the selected node --------------------------------------------------------------

bool TForm1::LookUpRecords(const TTreeNode *node)
{
    return m_list.LookUpNode(*node, Paths::programFolder());
}

// ---- deleting ----------------------------------------------------------------------------------

void TForm1::DeleteSelected()
{
    TTreeNode *node = TreeView1->Selected();
    if (!node)
        return;
    if (node->Level() == 0)
        DeleteAlbum(node);
    else
        DeleteTrack(node);
}

void TForm1::DeleteAlbum(TTreeNode *node)
{
    if (node->Text() == TCatalogueTree::EmptyPlaceholder())
        return;
    LookUpRecords(node);
    if (m_list.CurrentAlbum.LineIndex < 0)
        return;
    QStringList lines = m_list.ListLines;
    if (!ListEdits::DeleteAlbum(lines, m_list.CurrentAlbum)) {
        m_messages.ShowMessage(ListEdits::DamagedAlbumMessage());
        return;
    }
    m_list.Commit(std::move(lines));
    m_list.CurrentAlbum.TrackCount = 0;
    if (m_tree->NodeCount() == 1 + node->ChildCount())
        m_tree->AddFirst(TCatalogueTree::EmptyPlaceholder());
    // The tree chooses the next selection; its handler runs as for any selection.
    m_tree->DeleteNode(node);
}

void TForm1::DeleteTrack(TTreeNode *node)
{
    LookUpRecords(node);
    if (m_list.CurrentTrack.LineIndex < 0)
        return;
    QStringList lines = m_list.ListLines;
    TAlbum album = m_list.CurrentAlbum;
    if (!ListEdits::DeleteTrack(lines, album, m_list.CurrentTrack)) {
        m_messages.ShowMessage(ListEdits::DamagedTrackMessage());
        return;
    }
    m_list.Commit(std::move(lines));
    m_list.CurrentAlbum = album;
    LoadList(m_list.ListFileName);
}

// ---- in-place rename ---------------------------------------------------------------------------

void TForm1::EditingBegins(TTreeNode *node)
{
    m_editOldText = language::Trim(node->Text());
}

void TForm1::EditingEnds(TTreeNode *node, const QString &newText)
{
    bool renamed = false;
    Guarded([&] {
        QStringList lines;
        const QString refusal = m_list.RenameNode(*node, m_editOldText, newText, lines);
        if (!refusal.isEmpty()) {
            m_messages.ShowMessage(refusal);
            return;
        }
        // The same text typed again changes no line: nothing to save.
        if (lines != m_list.ListLines) {
            try {
                m_list.Commit(std::move(lines));
            } catch (const KsError &) {
                m_messages.ShowMessage(u"Не могу сохранить список."_s);
                return;
            }
        }
        renamed = true;
    });
    if (renamed)
        return;
    // Nothing was renamed in the list, so the node keeps its text once the tree has applied the edit.
    const QPersistentModelIndex index(m_tree->IndexOf(node));
    const QString oldText = node->Text();
    QTimer::singleShot(0, this, [this, index, oldText] {
        if (TTreeNode *n = index.isValid() ? m_tree->NodeOf(index) : nullptr)
            m_tree->SetText(n, oldText);
    });
}

// ---- information and the tag editor ------------------------------------------------------------

void TForm1::ShowInformation()
{
    TTreeNode *node = TreeView1->Selected();
    if (!node)
        return;
    LookUpRecords(node);
    if (node->Level() == 0)
        m_form4->OpenAlbum(node);
    else
        m_form3->OpenTrack();
}

void TForm1::HandOverToTagEditor()
{
    // The editor takes CurrentTrack.FileName: the selected track's, or on an album the track looked up last.
    if (TTreeNode *node = TreeView1->Selected())
        LookUpRecords(node);
    m_form8->OpenFile(m_list.CurrentTrack.FileName);
}

// ---- opening and saving ------------------------------------------------------------------------

void TForm1::OpenListFile()
{
    const std::optional<TFileChoice> choice = m_fileDialogs.OpenFile(this, ListFilter);
    if (!choice)
        return;
    LoadList(FileDialogs::WithDefaultExtension(choice->Path, ListExtension));
}

void TForm1::SaveListAs()
{
    const std::optional<TFileChoice> choice = m_fileDialogs.SaveFile(this, ListFilter);
    if (!choice || language::Trim(choice->Path).isEmpty())
        return;
    // Later edits still go to the list that was loaded.
    m_list.SaveTo(FileDialogs::WithDefaultExtension(choice->Path, ListExtension));
}

void TForm1::MakeListDefault()
{
    m_list.SaveTo(Paths::programFolder() + u"list.lst"_s);
}

// ---- HTML export -------------------------------------------------------------------------------

void TForm1::ExportHtml()
{
    const std::optional<TFileChoice> choice = m_fileDialogs.SaveFile(this, u"HTML|*.htm"_s);
    if (!choice || language::Trim(choice->Path).isEmpty())
        return;
    const QString path = FileDialogs::WithDefaultExtension(choice->Path, u".htm"_s);
    if (const QString refusal = ExportRefusal(path, true); !refusal.isEmpty()) {
        m_messages.ShowMessage(refusal);
        return;
    }
    HtmlExport::WritePage(path, m_list.ListLines, m_list.ListFileName, m_list.Encoding, Paths::programFolder());
    // The page waits on its tab, which is not brought to the front.
    m_descriptionView->Navigate(DescriptionUrl(path));
    m_exportPageShown = true;
}

QString TForm1::ExportRefusal(const QString &path, bool page) const
{
    const ExportTarget::TKeptFiles kept{ m_list.ListFileName, Paths::programFolder() + u"main.lis"_s,
                                         { m_defaultSettingsFile, m_appliedSettingsFile } };
    return ExportTarget::Refusal(path, kept, page ? ExportTarget::TKind::Page : ExportTarget::TKind::Playlist);
}

// ---- M3U export --------------------------------------------------------------------------------

void TForm1::ExportM3u()
{
    // With an album (or one of its tracks) selected in a list of several, the user may take that album alone.
    const TTreeNode *node = TreeView1->Selected();
    const TTreeNode *album = node && node->Parent() ? node->Parent() : node;
    int albumRow = -1;
    if (album && album->Text() != TCatalogueTree::EmptyPlaceholder() && m_tree->RootCount() > 1
        && m_messages.Ask(u"Записать в плейлист только альбом «%1»? «Нет» — весь список."_s.arg(album->Text())))
        albumRow = album->Row();
    const std::optional<TFileChoice> choice = m_fileDialogs.SaveFile(this, u"Плейлист M3U|*.m3u8"_s);
    if (!choice || language::Trim(choice->Path).isEmpty())
        return;
    const QString path = FileDialogs::WithDefaultExtension(choice->Path, u".m3u8"_s);
    if (const QString refusal = ExportRefusal(path, false); !refusal.isEmpty()) {
        m_messages.ShowMessage(refusal);
        return;
    }
    const M3uExport::TPlaylist written = M3uExport::WritePlaylist(path, m_list.ListLines, Paths::programFolder(), albumRow);
    if (const QString told = M3uExport::LeftOutMessage(written); !told.isEmpty())
        m_messages.ShowMessage(told);
}
