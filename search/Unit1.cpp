// Unit1: TFileFindForm, the file search dialog.
#include "Unit1.h"

#include "AlbumText.h"
#include "DialogControls.h"
#include "FileBrowser.h"
#include "FileDialogs.h"
#include "FileFinder.h"
#include "LineTextBox.h"
#include "ListEdits.h"
#include "ListTextSave.h"
#include "Messages.h"
#include "OpenList.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int ClientWidth = 534;
constexpr int ClientHeight = 354;
constexpr int LeftWidth = 170;
constexpr int ProgressMs = 100; // how often the status line follows a running search
constexpr int PumpMs = 20;      // the longest the walk keeps the window from its events
} // namespace

TFileFindForm::TFileFindForm(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(host),
      m_services(services),
      m_finder(new TFileFinder(this)),
      m_search(*m_finder, m_info)
{
    setObjectName(u"FileFindForm"_s);
    setWindowTitle(u"Поиск файлов"_s);
    setModal(false);
    m_finder->setObjectName(u"FileFinder1"_s);
    m_finder->FileAttr = 63;
    m_finder->SubFolders = true;
    m_finder->ProcessMessages = true;
    m_finder->PumpInterval = PumpMs;
    m_finder->Filename = u"*.mp3"_s;
    m_finder->FuzzySearch = true;
    m_finder->IgnoreCase = true;
    m_search.OnAlbum = [this](const QStringList &block) { RichEdit1->Append(block); };
    CreateControls();
    // The given client size, or more where the controls need it at the desktop's font.
    setFixedSize(minimumSizeHint().expandedTo(QSize(ClientWidth, ClientHeight)));
    layout()->activate(); // the status line knows its width before the dialog is first shown
}

QString TFileFindForm::ListFilter()
{
    return u"*.lst|*.lst"_s;
}

void TFileFindForm::CreateControls()
{
    FileListBox1 = new TFileListBox(this);
    FileListBox1->setObjectName(u"FileListBox1"_s);
    Label3 = new QLabel(u"*."_s, this);
    Label3->setObjectName(u"Label3"_s);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Edit3 = new QLineEdit(u"mp3"_s, this);
    Edit3->setObjectName(u"Edit3"_s);
    Label3->setBuddy(Edit3);
    ShowExtensionFiles(Edit3->text());
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->setObjectName(u"DirectoryListBox1"_s);
    DriveComboBox1 = new TDriveComboBox(this);
    DriveComboBox1->setObjectName(u"DriveComboBox1"_s);
    DriveComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    LinkFileBrowser(DriveComboBox1, DirectoryListBox1, FileListBox1);
    Button1 = NamedButton(this, u"Button1"_s, u"Поиск"_s);
    Button2 = NamedButton(this, u"Button2"_s, u"Выход"_s);

    RichEdit1 = new TLineTextBox(this);
    RichEdit1->setObjectName(u"RichEdit1"_s);
    Label4 = new QLabel(this);
    Label4->setObjectName(u"Label4"_s);
    Label4->setTextFormat(Qt::PlainText);
    Label4->setMinimumWidth(1); // long folder names must not widen the fixed window
    Label1 = new QLabel(u"Композитор:"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Label1->setBuddy(Edit1);
    Label2 = new QLabel(u"URL:"_s, this);
    Label2->setObjectName(u"Label2"_s);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(u"Edit2"_s);
    Label2->setBuddy(Edit2);
    Button3 = NamedButton(this, u"Button3"_s, u"Сохранить в новый"_s);
    Button4 = NamedButton(this, u"Button4"_s, u"Добавить к текущему"_s);

    // Left: the file list, the extension, the folders, the drives, the two buttons.
    auto *extension = new QHBoxLayout;
    extension->addWidget(Label3);
    extension->addWidget(Edit3, 1);
    auto *leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(LeftWidth);
    auto *left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(FileListBox1, 3);
    left->addLayout(extension);
    left->addWidget(DirectoryListBox1, 4);
    left->addWidget(DriveComboBox1);
    left->addWidget(Button1);
    left->addWidget(Button2);
    // Right: the text, the status line, author and address, the two wide buttons.
    auto *fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(RichEdit1, 1);
    right->addWidget(Label4);
    right->addLayout(fields);
    right->addWidget(Button3);
    right->addWidget(Button4);
    auto *form = new QHBoxLayout(this);
    form->addWidget(leftColumn);
    form->addLayout(right, 1);

    m_progress = new QTimer(this);
    m_progress->setInterval(ProgressMs);
    connect(m_progress, &QTimer::timeout, this, &TFileFindForm::ShowProgress);
    connect(Edit3, &QLineEdit::textChanged, this, &TFileFindForm::ShowExtensionFiles);
    const auto guarded = [this](void (TFileFindForm::*handler)()) {
        return [this, handler] { RunGuarded(*m_services.Messages, [&] { (this->*handler)(); }); };
    };
    connect(Button1, &QPushButton::clicked, this, guarded(&TFileFindForm::SearchOrStop));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, guarded(&TFileFindForm::SaveToNew));
    connect(Button4, &QPushButton::clicked, this, guarded(&TFileFindForm::AddToCurrent));
}

void TFileFindForm::ShowExtensionFiles(const QString &typed)
{
    // The file list shows the files a search takes, by the search's own rule.
    const FileSearch::TExtensions extensions(typed);
    FileListBox1->SetMask(extensions.Masks().join(u';'), [extensions](const QString &name) { return extensions.Fits(name); });
}

void TFileFindForm::ShowFinder()
{
    show();
    raise();
    activateWindow();
}

void TFileFindForm::done(int result)
{
    StopSearch();
    QDialog::done(result);
}

void TFileFindForm::SearchOrStop()
{
    // While a search runs, or its text still goes into the box, the button stops it; it never starts
    // a second one inside the first.
    if (m_searching)
        StopSearch();
    else
        Search();
}

void TFileFindForm::StopSearch()
{
    if (!m_searching)
        return;
    m_stopped = true;
    m_search.Stop();
}

void TFileFindForm::Search()
{
    if (FileSearch::TExtensions(Edit3->text()).Refused())
        return;
    RichEdit1->Start();
    m_stopped = false;
    const TSearchRequest request{ DirectoryListBox1->Directory(), Edit3->text(), Edit1->text(), Edit2->text() };
    SetSearching(true);
    try {
        m_search.Run(request);
    } catch (...) {
        // The albums written stay.
        SetSearching(false);
        throw;
    }
    SetSearching(false);
    // The folder list moves to the last album's folder, where a following search starts; its file list
    // follows on the next turn of the window, since each takes tens of milliseconds in a folder of
    // 50,000 files.
    if (!m_search.LastAlbumFolder().isEmpty()) {
        {
            const QSignalBlocker quiet(DirectoryListBox1);
            OpenInFileBrowser(m_search.LastAlbumFolder(), DriveComboBox1, DirectoryListBox1, nullptr);
        }
        QTimer::singleShot(0, FileListBox1, [this] { FileListBox1->SetDirectory(DirectoryListBox1->Directory()); });
    }
    const QString told = AlbumText::LeftOutMessage(m_search.Unreadable(), m_search.LeftOut());
    if (!told.isEmpty())
        m_services.Messages->ShowMessage(told);
}

void TFileFindForm::SetSearching(bool searching)
{
    m_searching = searching;
    Button1->setText(searching ? u"Стоп"_s : u"Поиск"_s);
    for (QWidget *w : std::initializer_list<QWidget *>{ Button3, Button4, Edit1, Edit2, Edit3, FileListBox1,
                                                          DirectoryListBox1, DriveComboBox1 })
        w->setEnabled(!searching);
    // The text becomes editable when the search is done; its albums are not undone line by line.
    if (searching) {
        m_progress->start();
    } else {
        m_progress->stop();
        RichEdit1->Finish();
    }
    ShowProgress();
}

void TFileFindForm::ShowProgress()
{
    const TFileSearch &s = m_search;
    if (m_searching && s.Running()) {
        // A long folder loses its middle rather than its end.
        const QString found = u"Найдено файлов: %1. Папка: "_s.arg(s.FilesFound());
        const QFontMetrics metrics = Label4->fontMetrics();
        const int room = Label4->width() - metrics.horizontalAdvance(found);
        Label4->setText(found + metrics.elidedText(s.Scanning(), Qt::ElideMiddle, room));
        Label4->setToolTip(found + s.Scanning());
        return;
    }
    QString text = u"Найдено файлов: %1, альбомов: %2."_s.arg(s.FilesFound()).arg(s.Albums());
    if (m_stopped)
        text.prepend(u"Поиск остановлен. "_s);
    Label4->setText(text);
    Label4->setToolTip(text);
}

QStringList TFileFindForm::TextLines() const
{
    return RichEdit1->Lines();
}

void TFileFindForm::SaveToNew()
{
    const auto choice = m_services.FileDialogs->SaveFile(this, ListFilter());
    const QString path = choice ? AlbumText::ListFilePath(choice->Path) : QString();
    if (path.isEmpty())
        return;
    SaveListText(m_host, *m_services.Messages, path, TextLines());
}

void TFileFindForm::AddToCurrent()
{
    // Saved first: a failed save leaves the open list as it was.
    TOpenList &list = m_host.OpenList();
    list.Commit(ListEdits::AppendAlbums(list.ListLines, TextLines()));
    m_host.LoadList(list.ListFileName);
}
