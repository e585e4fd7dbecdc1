// UnitU1: start-up of the main window, the deferred first load and the browsing handlers.
#include "UnitU1.h"

#include "CatalogueTree.h"
#include "DescriptionView.h"
#include "FileDialogs.h"
#include "He1.h"
#include "ImageView.h"
#include "LinkLabel.h"
#include "Messages.h"
#include "Paths.h"
#include "Pictures.h"
#include "ShellOpen.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit31.h"
#include "Unit41.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"
#include "language.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

TForm1::TForm1(TFormServices services, QWidget *parent)
    : QWidget(parent), m_shell(*services.Shell), m_messages(*services.Messages),
      m_fileDialogs(*services.FileDialogs), m_player(*services.Player), m_colourDialog(*services.ColourDialog),
      m_association(*services.Association), m_descriptionView(std::move(services.DescriptionView)),
      m_arguments(std::move(services.Arguments)), m_tree(new TCatalogueTree(this))
{
    m_colours = Settings::TWindowSettings().Colours;
    m_list.History = &m_history;
    m_history.Changed = [this] { ShowUndoState(); };
    CreateControls();
    TreeView1->setFocus();
    Guarded([this] { FormCreate(); });
    CreateDialogs();
    m_shell.SetFailureHandler([this](const QString &target, const QString &reason) {
        Guarded([&] { OpenFailed(target, reason); });
    });
    m_player.SetChangeHandler([this](const TPlayerChange &change) { PlayerChanged(change); });
    // Every file dialog starts where the open list is, or in the program folder.
    m_fileDialogs.SetStartFolder([this] {
        const QString folder = Paths::folderOf(Paths::toFileSystem(m_list.ListFileName));
        return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : Paths::programFolder();
    });
}

TForm1::~TForm1()
{
    m_player.SetChangeHandler({});
    m_shell.SetFailureHandler({});
}

void TForm1::FormCreate()
{
    m_defaultSettingsFile = Paths::programFolder() + u"ks.ini"_s;
    m_list.ListLines.clear();
    m_quickLoadFiles.clear();
    // The list is chosen now and loaded at the first paint.
    const QString argument = ListFileArgument(m_arguments);
    m_list.ListFileName = argument.isEmpty() ? Paths::programFolder() + u"list.lst"_s : argument;
    LoadQuickLoadIndex();
}

QString TForm1::ListFileArgument(const QStringList &arguments)
{
    const QString first = language::Trim(arguments.value(0));
    // The shell's association passes the file unquoted, so a name with blanks arrives in pieces:
    // when the first piece names no file and all of them together do, they are the list.
    if (arguments.size() > 1 && !Paths::fileExists(first)) {
        const QString joined = language::Trim(arguments.join(u' '));
        if (Paths::fileExists(joined))
            return joined;
    }
    return first;
}

void TForm1::CreateDialogs()
{
    // In the program's order of creation; the first load comes only after all of them exist.
    const TDialogServices services{ &m_messages, &m_fileDialogs };
    m_form2 = new TForm2(*this, services, this);
    m_form5 = new TForm5(*this, services, this);
    const TSettingsDialogServices settingsServices{ &m_messages, &m_fileDialogs, &m_colourDialog };
    m_form7 = new TForm7(*this, settingsServices, this);
    m_fileFindForm = new TFileFindForm(*this, services, this);
    m_form3 = new TForm3(*this, services, this);
    m_form4 = new TForm4(*this, services, this);
    m_form6 = new TForm6(*this, services, this);
    m_form8 = new TForm8(m_messages, this);
}

void TForm1::LoadQuickLoadIndex()
{
    ComboBox1->clear();
    m_quickLoadFiles.clear();
    const QList<TQuickLoadEntry> entries = QuickLoad::ReadIndex(Paths::programFolder());
    for (const TQuickLoadEntry &entry : entries) {
        ComboBox1->addItem(entry.Name);
        m_quickLoadFiles.append(entry.File);
    }
    ComboBox1->setCurrentIndex(-1);
}

void TForm1::LoadList(const QString &fileName)
{
    TLoadContext context;
    context.ProgramFolder = Paths::programFolder();
    context.FirstArgument = ListFileArgument(m_arguments); // as ListFileName takes it
    context.LoadSettingsFile = [this](const QString &path) { LoadSettingsFile(path); };
    if (m_list.LoadList(fileName, *m_tree, context))
        TreeView1->Select(m_tree->NodeByIndex(0));
}

// ---- first paint --------------------------------------------------------------------------------

void TForm1::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_firstPaintPending && !m_firstPaintScheduled) {
        m_firstPaintScheduled = true;
        // The load runs once this paint has reached the screen.
        QTimer::singleShot(0, this, &TForm1::FirstPaint);
    }
}

bool TForm1::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    // A window covered by its children may be flushed without a paint event of its own.
    if (event->type() == QEvent::UpdateRequest && m_firstPaintPending && !m_firstPaintScheduled) {
        m_firstPaintScheduled = true;
        QTimer::singleShot(0, this, &TForm1::FirstPaint);
    }
    return result;
}

void TForm1::FirstPaint()
{
    if (!m_firstPaintPending)
        return;
    m_firstPaintPending = false;
    Guarded([this] { LoadList(m_list.ListFileName); });
    // A list that names its own settings file had it applied while loading.
    Guarded([this] {
        if (m_list.ListLines.isEmpty() || !m_list.ListLines.last().contains(u"ini:"_s))
            LoadDefaultSettings();
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    Guarded([this] { SaveDefaultSettings(); });
    QWidget::closeEvent(event);
}

// ---- browsing -----------------------------------------------------------------------------------

void TForm1::SelectionChanged(TTreeNode *node)
{
    m_exportPageShown = false;
    Guarded([this, node] {
        if (node->Level() == 1)
            ShowTrackDescription(node);
        else if (node->Text() != TCatalogueTree::EmptyPlaceholder())
            ShowAlbumDescription(node);
    });
}

void TForm1::ShowDescriptionIfNew(const QString &path)
{
    if (PageControl1->currentIndex() != DescriptionTab || m_shownDescription == path
        || language::Trim(path).isEmpty() || !Paths::fileExists(path))
        return;
    m_descriptionView->Navigate(DescriptionUrl(path));
    m_shownDescription = path;
}

void TForm1::ShowAlbumDescription(TTreeNode *node)
{
    LookUpRecords(node);
    ShowDescriptionIfNew(m_list.CurrentAlbum.DescriptionFile);
    const QString &image = m_list.CurrentAlbum.Image;
    if (language::Trim(image).isEmpty() || !Paths::fileExists(image))
        Image1->hide();
    else if (PageControl1->currentIndex() == ImageTab)
        ShowPicture(image);
}

void TForm1::ShowTrackDescription(TTreeNode *node)
{
    LookUpRecords(node);
    ShowDescriptionIfNew(m_list.CurrentTrack.DescriptionFile);
}

void TForm1::ShowPicture(const QString &path)
{
    // A picture that fails to decode leaves the previous one in place.
    Image1->SetPicture(Pictures::LoadPicture(Paths::toFileSystem(path)));
    Image1->show();
}

void TForm1::TabChanged(int index)
{
    Guarded([this, index] {
        if (index == DescriptionTab)
            DescriptionTabShown();
        else if (index == ImageTab)
            ImageTabShown();
    });
}

void TForm1::DescriptionTabShown()
{
    if (m_exportPageShown || m_shownDescription == m_list.CurrentAlbum.DescriptionFile)
        return;
    const TTreeNode *node = TreeView1->Selected();
    if (node && node->Level() == 1 && !language::Trim(m_list.CurrentTrack.DescriptionFile).isEmpty())
        m_descriptionView->Navigate(DescriptionUrl(m_list.CurrentTrack.DescriptionFile));
    else
        m_descriptionView->Navigate(DescriptionUrl(m_list.CurrentAlbum.DescriptionFile));
}

void TForm1::ImageTabShown()
{
    if (Paths::fileExists(m_list.CurrentAlbum.Image))
        ShowPicture(m_list.CurrentAlbum.Image);
    else
        Image1->hide();
}

void TForm1::UrlClicked()
{
    Guarded([this] {
        if (!Label10->text().isEmpty())
            m_shell.ShellOpen(Label10->text());
    });
}

// ---- quick load, menu ---------------------------------------------------------------------------

void TForm1::QuickLoadChosen(int index)
{
    Guarded([this, index] {
        if (index < 0 || index >= m_quickLoadFiles.size())
            return;
        // A relative entry names a list in the program folder, as the demo's entries do.
        const QString &file = m_quickLoadFiles.at(index);
        if (!language::Trim(file).isEmpty())
            LoadList(Paths::resolve(file));
    });
}

void TForm1::ShowDescriptionTab()
{
    PageControl1->setCurrentIndex(DescriptionTab);
}

void TForm1::ShowImageTab()
{
    PageControl1->setCurrentIndex(ImageTab);
}

void TForm1::ShowAboutTab()
{
    PageControl1->setCurrentIndex(AboutTab);
}

void TForm1::SelectListAction()
{
    ComboBox1->setFocus();
    ComboBox1->showPopup();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel6)
        return PanelMouseEvent(event) || QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrlS = key->text() == QString(QChar(19))
            || (key->key() == Qt::Key_S && (key->modifiers() & Qt::ControlModifier));
        if (ctrlS) {
            ComboBox1->hidePopup();
            TreeView1->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::MenuButtonClicked()
{
    // Measured from the outer frame of the window, as the menu has always opened.
    const QPoint strip = Panel2->mapTo(this, QPoint(0, 0));
    const QPoint at = frameGeometry().topLeft() + strip + SpeedButton3->pos() + QPoint(4, 0);
    PopupMenu2->popup(at);
}
