// Unit5: TForm5, the quick-load list manager.
#include "Unit5.h"

#include "DialogControls.h"
#include "FileBrowser.h"
#include "Messages.h"
#include "Paths.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TForm5::TForm5(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(u"Form5"_s);
    setWindowTitle(u"Создание списка быстрой загрузки"_s);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    CreateControls();
    // At least its designed size, and as large as its captions need at the platform's font.
    setFixedSize(minimumSizeHint().expandedTo(QSize(512, 312)));
}

void TForm5::CreateControls()
{
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(u"ListBox1"_s);
    ListBox1->setMinimumWidth(240);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(u"Edit2"_s);
    Edit2->setReadOnly(true);
    auto *nameLabel = new QLabel(u"Название"_s, this);
    nameLabel->setObjectName(u"Label1"_s);
    nameLabel->setBuddy(Edit1);
    auto *fileLabel = new QLabel(u"Файл"_s, this);
    fileLabel->setObjectName(u"Label2"_s);
    fileLabel->setBuddy(Edit2);

    DriveComboBox1 = new TDriveComboBox(this);
    DriveComboBox1->setObjectName(u"DriveComboBox1"_s);
    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->setObjectName(u"DirectoryListBox1"_s);
    FileListBox1 = new TFileListBox(this);
    FileListBox1->setObjectName(u"FileListBox1"_s);
    FileListBox1->SetMask(u"*.lst"_s);
    LinkFileBrowser(DriveComboBox1, DirectoryListBox1, FileListBox1);

    Button1 = NamedButton(this, u"Button1"_s, u"Добавить"_s);
    Button4 = NamedButton(this, u"Button4"_s, u"Изменить"_s);
    Button3 = NamedButton(this, u"Button3"_s, u"Очистить"_s);
    Button2 = NamedButton(this, u"Button2"_s, u"Закрыть"_s);

    // Left: the entries and the two fields; right: the file browser; below: the buttons.
    auto *fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(fileLabel, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto *left = new QVBoxLayout;
    left->addWidget(ListBox1, 1);
    left->addLayout(fields);
    auto *browser = new QGridLayout;
    browser->addWidget(DriveComboBox1, 0, 0, 1, 2);
    browser->addWidget(DirectoryListBox1, 1, 0);
    browser->addWidget(FileListBox1, 1, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 5);
    top->addLayout(browser, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button4);
    buttons->addWidget(Button3);
    buttons->addStretch();
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item->isSelected())
            EntryClicked(ListBox1->row(item));
    });
    // Moving through the entries with the keyboard counts as clicking them.
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && ListBox1->item(row)->isSelected())
            EntryClicked(row);
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        if (item->isSelected())
            EntryDoubleClicked(ListBox1->row(item));
    });
    connect(FileListBox1, &TFileListBox::FileDoubleClicked, this, [this](const QString &path) {
        if (!path.isEmpty())
            Edit2->setText(path);
    });
    connect(Button1, &QPushButton::clicked, this, [this] { Edit(m_entries.Add(Edit1->text(), Edit2->text())); });
    connect(Button4, &QPushButton::clicked, this, [this] { Edit(m_entries.Change(Edit1->text(), Edit2->text())); });
    connect(Button3, &QPushButton::clicked, this, [this] {
        m_entries.Clear();
        ShowEntries();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    RunGuarded(*m_services.Messages,
               [this] { OpenInFileBrowser(Paths::programFolder(), DriveComboBox1, DirectoryListBox1, FileListBox1); });
}

void TForm5::ShowManager()
{
    // An open dialog keeps what the user has typed; only a hidden one takes the file again.
    if (!isVisible()) {
        RunGuarded(*m_services.Messages, [this] { m_entries.Load(Paths::programFolder()); });
        ShowEntries();
    }
    show();
    raise();
    activateWindow();
}

void TForm5::IndexRestored()
{
    if (!isVisible())
        return;
    m_entries.Load(Paths::programFolder());
    ShowEntries();
}

void TForm5::done(int result)
{
    const bool wasVisible = isVisible();
    QDialog::done(result);
    if (wasVisible)
        Closed();
}

void TForm5::Closed()
{
    RunGuarded(*m_services.Messages, [this] {
        m_entries.Save(Paths::programFolder(), m_host.History());
        m_host.LoadQuickLoadIndex();
    });
}

void TForm5::ShowEntries()
{
    const QSignalBlocker blocker(ListBox1); // refilling is no click
    ListBox1->clear();
    ListBox1->addItems(m_entries.Entries());
}

void TForm5::EntryClicked(int position)
{
    if (const std::optional<TQuickLoadEntry> entry = m_entries.Click(position)) {
        Edit1->setText(entry->Name);
        Edit1->setCursorPosition(0); // the name from its start, the path with its file name
        Edit2->setText(entry->File);
    }
}

void TForm5::EntryDoubleClicked(int position)
{
    m_entries.Remove(position);
    ShowEntries();
}

void TForm5::Edit(TQuickLoadEntries::TEdit result)
{
    if (result == TQuickLoadEntries::TEdit::NameMissing)
        m_services.Messages->ShowMessage(TQuickLoadEntries::NameMissingMessage());
    else if (result == TQuickLoadEntries::TEdit::Done)
        ShowEntries();
}
