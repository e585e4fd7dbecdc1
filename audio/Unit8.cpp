// Unit8: TForm8, the ID3 tag editor.
#include "Unit8.h"

#include "FileBrowser.h"
#include "KsError.h"
#include "Messages.h"
#include "Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 536;
constexpr int ClientHeight = 240;
constexpr int LeftWidth = 150;
const QString ChangeAllCaption = QStringLiteral("Изменить все файлы каталога");
const QString RemoveAllCaption = QStringLiteral("Удалить из всех файлов");

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// An edit with its caption above it.
QLineEdit *labeledEdit(QWidget *parent, const QString &name, const QString &caption, QGridLayout *grid, int row,
                       int column, int columnSpan = 1)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name + u"Label"_s);
    label->setBuddy(edit);
    grid->addWidget(label, row, column, 1, columnSpan);
    grid->addWidget(edit, row + 1, column, 1, columnSpan);
    return edit;
}

} // namespace

TForm8::TForm8(TMessages &messages, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_messages(messages)
{
    setObjectName(u"Form8"_s);
    setWindowTitle(u"Редактор ID3 тегов"_s);
    setModal(false);
    CreateControls();
    // The given client size, or more where the controls need it at the desktop's font.
    setFixedSize(minimumSizeHint().expandedTo(QSize(ClientWidth, ClientHeight)));
    layout()->activate(); // the path label knows its width before the dialog is first shown
}

void TForm8::CreateControls()
{
    FileListBox1 = new TFileListBox(this);
    FileListBox1->setObjectName(u"FileListBox1"_s);
    FileListBox1->SetMask(TagEditing::FileMask());
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->setObjectName(u"DirectoryListBox1"_s);
    DriveComboBox1 = new TDriveComboBox(this);
    DriveComboBox1->setObjectName(u"DriveComboBox1"_s);
    DriveComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    LinkFileBrowser(DriveComboBox1, DirectoryListBox1, FileListBox1);

    Label3 = new QLabel(u"Файл:"_s, this);
    Label3->setObjectName(u"Label3"_s);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label4 = new QLabel(this);
    Label4->setObjectName(u"Label4"_s);
    Label4->setTextFormat(Qt::PlainText);
    Label4->setMinimumWidth(1); // a long path must not widen the fixed window
    Label5 = new QLabel(this);
    Label5->setObjectName(u"Label5"_s);
    Label5->setFont(bold);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    LabeledEdit2 = labeledEdit(this, u"LabeledEdit2"_s, u"Автор"_s, grid, 0, 0, 2);
    LabeledEdit4 = labeledEdit(this, u"LabeledEdit4"_s, u"Альбом"_s, grid, 2, 0, 2);
    LabeledEdit1 = labeledEdit(this, u"LabeledEdit1"_s, u"Название (*)"_s, grid, 4, 0, 2);
    LabeledEdit3 = labeledEdit(this, u"LabeledEdit3"_s, u"Год"_s, grid, 6, 0);
    LabeledEdit5 = labeledEdit(this, u"LabeledEdit5"_s, u"Номер (*)"_s, grid, 6, 1);
    LabeledEdit6 = labeledEdit(this, u"LabeledEdit6"_s, u"Комментарий"_s, grid, 8, 0, 2);
    Label1 = new QLabel(u"* - Не учитывается при изменении"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label2 = new QLabel(u"нескольких файлов"_s, this);
    Label2->setObjectName(u"Label2"_s);

    Button1 = button(this, u"Button1"_s, u"Запомнить"_s);
    Button2 = button(this, u"Button2"_s, ChangeAllCaption);
    Button4 = button(this, u"Button4"_s, RemoveAllCaption);
    Button3 = button(this, u"Button3"_s, u"Выход"_s);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(u"ProgressBar1"_s);
    ProgressBar1->setFormat(u"%v из %m"_s);
    ProgressBar1->hide();

    auto *leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(LeftWidth);
    auto *left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(FileListBox1, 1);
    left->addWidget(DirectoryListBox1, 1);
    left->addWidget(DriveComboBox1);
    auto *file = new QHBoxLayout;
    file->addWidget(Label3);
    file->addWidget(Label4, 1);
    file->addWidget(Label5);
    auto *middle = new QVBoxLayout;
    middle->setSpacing(2);
    middle->addLayout(file);
    middle->addLayout(grid);
    middle->addStretch();
    middle->addWidget(Label1);
    middle->addWidget(Label2);
    auto *right = new QVBoxLayout;
    // The column keeps its width while a button reads "Стоп".
    for (QPushButton *b : { Button1, Button2, Button4, Button3 }) {
        b->setMinimumWidth(Button2->sizeHint().width());
        right->addWidget(b);
    }
    right->addStretch();
    right->addWidget(ProgressBar1);
    auto *form = new QHBoxLayout(this);
    form->addWidget(leftColumn);
    form->addLayout(middle, 1);
    form->addLayout(right);

    QWidget *order[] = { FileListBox1, DirectoryListBox1, DriveComboBox1, LabeledEdit1, LabeledEdit2, LabeledEdit3,
                         LabeledEdit4, LabeledEdit5, LabeledEdit6, Button1, Button2, Button3, Button4 };
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    const auto guarded = [this](void (TForm8::*handler)()) {
        return [this, handler] { RunGuarded(m_messages, [&] { (this->*handler)(); }); };
    };
    connect(FileListBox1, &TFileListBox::FileDoubleClicked, this, &TForm8::LoadFile);
    connect(Button1, &QPushButton::clicked, this, guarded(&TForm8::Remember));
    connect(Button2, &QPushButton::clicked, this, guarded(&TForm8::ChangeAllFiles));
    connect(Button4, &QPushButton::clicked, this, guarded(&TForm8::RemoveFromAllFiles));
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    ShowID3v2Version();
}

void TForm8::ShowEditor()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm8::done(int result)
{
    m_stopAsked = m_running != nullptr;
    QDialog::done(result);
}

void TForm8::OpenFile(const QString &path)
{
    if (Busy())
        return;
    if (!Paths::fileExists(path))
        throw KsError::cannotOpen(path);
    const QString name = QFileInfo(Paths::toFileSystem(path)).fileName();
    const QString refusal = TagEditing::LoadRefusal(name);
    if (!refusal.isEmpty()) {
        m_messages.ShowMessage(refusal);
        return;
    }
    OpenInFileBrowser(path, DriveComboBox1, DirectoryListBox1, FileListBox1);
    LoadFile(FileListBox1->FullPath(name));
    ShowEditor();
}

void TForm8::LoadFile(const QString &path)
{
    if (Busy())
        return;
    m_loaded = path;
    ShowID3v2Version();
    layout()->activate(); // the path label's width beside the version
    // A long path loses its middle: the drive and the file name stay in sight.
    Label4->setText(Label4->fontMetrics().elidedText(path, Qt::ElideMiddle, Label4->width()));
    Label4->setToolTip(path);
    ShowFields(TagEditing::LoadFields(path));
}

void TForm8::ShowLoaded()
{
    ShowID3v2Version();
    ShowFields(TagEditing::LoadFields(m_loaded));
}

void TForm8::ShowID3v2Version()
{
    const int version = m_loaded.isEmpty() ? 0 : TagEditing::ID3v2Version(m_loaded);
    Label5->setText(version ? u"+ ID3v2.%1"_s.arg(version) : QString());
    Label5->setToolTip(version ? u"У файла есть и тег ID3v2.%1: «Запомнить» и «Изменить все файлы каталога» "
                                 u"записывают поля и в него%2."_s.arg(version).arg(version == 2 ? u" (как ID3v2.3)"_s : QString())
                               : QString());
    // The edits take no more than the ID3v1 tag holds, unless an ID3v2 tag takes the text whole. A comment
    // loaded from a tag without a track byte keeps its 30; beside a track number it holds 28, which the
    // write checks.
    constexpr int unlimited = 32767; // QLineEdit's own limit
    for (QLineEdit *e : { LabeledEdit1, LabeledEdit2, LabeledEdit4, LabeledEdit6 })
        e->setMaxLength(version ? unlimited : TagEditing::TextWidth);
    LabeledEdit3->setMaxLength(version ? unlimited : TagEditing::YearWidth);
}

TagEditing::TTagFields TForm8::Fields() const
{
    return { LabeledEdit1->text(), LabeledEdit2->text(), LabeledEdit3->text(),
             LabeledEdit4->text(), LabeledEdit5->text(), LabeledEdit6->text() };
}

void TForm8::ShowFields(const TagEditing::TTagFields &f)
{
    LabeledEdit1->setText(f.Title);
    LabeledEdit2->setText(f.Artist);
    LabeledEdit3->setText(f.Year);
    LabeledEdit4->setText(f.Album);
    LabeledEdit5->setText(f.Track);
    LabeledEdit6->setText(f.Comment);
}

QList<TagEditing::TFolderFile> TForm8::FolderFiles() const
{
    QList<TagEditing::TFolderFile> files;
    for (const QString &name : FileListBox1->Names())
        files.append({ name, FileListBox1->FullPath(name) });
    return files;
}

void TForm8::Remember()
{
    const QString told = TagEditing::ApplyTagToFile(m_loaded, Fields());
    ShowID3v2Version(); // an ID3v2.2 tag is now 2.3
    if (!told.isEmpty())
        m_messages.ShowMessage(told);
}

// A folder-wide action in progress keeps the file it works on: nothing else is loaded meanwhile.
bool TForm8::Busy()
{
    if (!m_running)
        return false;
    ShowEditor();
    m_messages.ShowMessage(u"Редактор ID3 тегов меняет файлы каталога: дождитесь конца или нажмите «Стоп»."_s);
    return true;
}

// While a folder-wide action runs (button), that button stops it and every other control but "Выход"
// rests; with none, all is as before.
void TForm8::SetRunning(QPushButton *button, int count)
{
    m_running = button;
    m_stopAsked = false;
    Button2->setText(button == Button2 ? u"Стоп"_s : ChangeAllCaption);
    Button4->setText(button == Button4 ? u"Стоп"_s : RemoveAllCaption);
    for (QWidget *w : std::initializer_list<QWidget *>{ FileListBox1, DirectoryListBox1, DriveComboBox1, LabeledEdit1,
                                                          LabeledEdit2, LabeledEdit3, LabeledEdit4, LabeledEdit5,
                                                          LabeledEdit6, Button1, Button2, Button4 })
        w->setEnabled(!button || w == button);
    ProgressBar1->setRange(0, count);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(button);
}

// Shows the files done and lets the window handle what waits; false when the user asked to stop.
bool TForm8::ShowProgress(int position)
{
    ProgressBar1->setValue(position);
    QCoreApplication::processEvents();
    return !m_stopAsked;
}

void TForm8::TellStopped(int done, int count, const QString &what)
{
    if (isVisible())
        m_messages.ShowMessage(u"Остановлено после %1 из %2 файлов: %3, остальные файлы не тронуты."_s.arg(done).arg(count).arg(what));
}

void TForm8::ChangeAllFiles()
{
    if (m_running) {
        m_stopAsked = true;
        return;
    }
    const QList<TagEditing::TFolderFile> files = FolderFiles();
    // Each file's title and number show while it is written. Once writing began, also after a failure,
    // the fields show the loaded file's own tag again, so that "Запомнить" never writes another file's
    // into it; a refusal leaves the typed fields for the user to mend.
    bool written = false, stopped = false;
    int done = 0;
    QString told;
    {
        SetRunning(Button2, int(files.size()));
        const auto idle = qScopeGuard([this, &written] {
            SetRunning(nullptr, 0);
            if (written && !m_loaded.isEmpty())
                ShowLoaded();
        });
        told = TagEditing::ApplyTagToFolder(files, Fields(), [&](int position, const TagEditing::TTagFields &f) {
            done = position;
            stopped = !ShowProgress(position);
            if (stopped)
                return false;
            written = true;
            LabeledEdit1->setText(f.Title);
            LabeledEdit5->setText(f.Track);
            return true;
        });
    }
    if (stopped)
        TellStopped(done, int(files.size()), u"их теги изменены"_s);
    if (!told.isEmpty())
        m_messages.ShowMessage(told);
}

void TForm8::RemoveFromAllFiles()
{
    if (m_running) {
        m_stopAsked = true;
        return;
    }
    const QList<TagEditing::TFolderFile> files = FolderFiles();
    bool stopped = false;
    int done = 0;
    {
        SetRunning(Button4, int(files.size()));
        const auto idle = qScopeGuard([this] { SetRunning(nullptr, 0); });
        TagEditing::RemoveTagFromFolder(files, [&](int position) {
            done = position;
            stopped = !ShowProgress(position);
            return !stopped;
        });
    }
    if (stopped)
        TellStopped(done, int(files.size()), u"из них тег ID3v1 удалён"_s);
}
