// Unit8: TForm8, the ID3 tag editor.
#include "Unit8.h"

#include "FileBrowser.h"
#include "KsError.h"
#include "Messages.h"
#include "Paths.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 536;
constexpr int ClientHeight = 240;
constexpr int LeftWidth = 150;

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

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    LabeledEdit2 = labeledEdit(this, u"LabeledEdit2"_s, u"Автор"_s, grid, 0, 0, 2);
    LabeledEdit4 = labeledEdit(this, u"LabeledEdit4"_s, u"Альбом"_s, grid, 2, 0, 2);
    LabeledEdit1 = labeledEdit(this, u"LabeledEdit1"_s, u"Название (*)"_s, grid, 4, 0, 2);
    LabeledEdit3 = labeledEdit(this, u"LabeledEdit3"_s, u"Год"_s, grid, 6, 0);
    LabeledEdit5 = labeledEdit(this, u"LabeledEdit5"_s, u"Номер (*)"_s, grid, 6, 1);
    LabeledEdit6 = labeledEdit(this, u"LabeledEdit6"_s, u"Комментарий"_s, grid, 8, 0, 2);
    // The edits take no more than a field holds. A comment loaded from a tag without a track byte keeps
    // its 30; beside a track number it holds 28, which the write checks.
    for (QLineEdit *e : { LabeledEdit1, LabeledEdit2, LabeledEdit4, LabeledEdit6 })
        e->setMaxLength(TagEditing::TextWidth);
    LabeledEdit3->setMaxLength(TagEditing::YearWidth);
    Label1 = new QLabel(u"* - Не учитывается при изменении"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label2 = new QLabel(u"нескольких файлов"_s, this);
    Label2->setObjectName(u"Label2"_s);

    Button1 = button(this, u"Button1"_s, u"Запомнить"_s);
    Button2 = button(this, u"Button2"_s, u"Изменить все файлы каталога"_s);
    Button4 = button(this, u"Button4"_s, u"Удалить из всех файлов"_s);
    Button3 = button(this, u"Button3"_s, u"Выход"_s);

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
    auto *middle = new QVBoxLayout;
    middle->setSpacing(2);
    middle->addLayout(file);
    middle->addLayout(grid);
    middle->addStretch();
    middle->addWidget(Label1);
    middle->addWidget(Label2);
    auto *right = new QVBoxLayout;
    for (QPushButton *b : { Button1, Button2, Button4, Button3 })
        right->addWidget(b);
    right->addStretch();
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
}

void TForm8::ShowEditor()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm8::OpenFile(const QString &path)
{
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
    m_loaded = path;
    // A long path loses its middle: the drive and the file name stay in sight.
    Label4->setText(Label4->fontMetrics().elidedText(path, Qt::ElideMiddle, Label4->width()));
    Label4->setToolTip(path);
    ShowFields(TagEditing::LoadFields(path));
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
    const QString refusal = TagEditing::ApplyTagToFile(m_loaded, Fields());
    if (!refusal.isEmpty())
        m_messages.ShowMessage(refusal);
}

void TForm8::ChangeAllFiles()
{
    // Each file's title and number show while it is written. Once writing began, also after a failure,
    // the fields show the loaded file's own tag again, so that "Запомнить" never writes another file's
    // into it; a refusal leaves the typed fields for the user to mend.
    bool written = false;
    const auto showLoaded = qScopeGuard([this, &written] {
        if (written && !m_loaded.isEmpty())
            ShowFields(TagEditing::LoadFields(m_loaded));
    });
    const QString refusal =
        TagEditing::ApplyTagToFolder(FolderFiles(), Fields(), [this, &written](const TagEditing::TTagFields &f) {
            written = true;
            LabeledEdit1->setText(f.Title);
            LabeledEdit5->setText(f.Track);
        });
    if (!refusal.isEmpty())
        m_messages.ShowMessage(refusal);
}

void TForm8::RemoveFromAllFiles()
{
    TagEditing::RemoveTagFromFolder(FolderFiles());
}
