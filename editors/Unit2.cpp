// Unit2: TForm2, the album builder.
#include "Unit2.h"

#include "DialogControls.h"
#include "FileBrowser.h"
#include "FileDialogs.h"
#include "ListEdits.h"
#include "ListTextSave.h"
#include "Messages.h"
#include "OpenList.h"
#include "Paths.h"
#include "PlayTime.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 666;
constexpr int ClientHeight = 373;

QPlainTextEdit *textBox(const QString &name, QWidget *parent)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

} // namespace

TForm2::TForm2(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_host(host), m_services(services)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Создание альбомов"_s);
    setModal(false);
    CreateControls();
    // Not resizable: at least its designed client area, and as large as its captions need.
    setFixedSize(minimumSizeHint().expandedTo(QSize(ClientWidth, ClientHeight)));
}

void TForm2::CreateControls()
{
    int labels = 0;
    // A caption above its field, as the three columns show them.
    auto labelled = [&](QVBoxLayout *column, const QString &caption, QWidget *field, QWidget *picker = nullptr) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(u"Label%1"_s.arg(++labels));
        l->setBuddy(field);
        column->addWidget(l);
        if (!picker) {
            column->addWidget(field);
            return;
        }
        auto *row = new QHBoxLayout;
        row->addWidget(field, 1);
        row->addWidget(picker);
        column->addLayout(row);
    };
    auto edit = [&](const QString &name, bool readOnly = false) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        return e;
    };
    auto button = [&](const QString &name, const QString &caption, void (TForm2::*handler)()) {
        QPushButton *b = NamedButton(this, name, caption);
        connect(b, &QPushButton::clicked, this, [this, handler] { RunGuarded(*m_services.Messages, [&] { (this->*handler)(); }); });
        return b;
    };
    auto picker = [&](const QString &name, void (TForm2::*handler)()) {
        QPushButton *b = button(name, u"..."_s, handler);
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(u"..."_s) + 16);
        return b;
    };

    // Album fields and the album text, left.
    auto *left = new QVBoxLayout;
    m_name = edit(u"Edit1"_s);
    m_author = edit(u"Edit2"_s);
    m_url = edit(u"Edit3"_s);
    m_description = edit(u"Edit4"_s);
    m_image = edit(u"Edit9"_s, true);
    labelled(left, u"Название  альбома:"_s, m_name);
    labelled(left, u"Автор:"_s, m_author);
    labelled(left, u"URL:"_s, m_url);
    labelled(left, u"Описание альбома:"_s, m_description, picker(u"Button1"_s, &TForm2::PickDescription));
    labelled(left, u"Изображение:"_s, m_image, picker(u"Button10"_s, &TForm2::PickImage));
    m_albumText = textBox(u"memo1"_s, this);
    left->addWidget(m_albumText, 1);

    // File browser, middle.
    auto *middle = new QVBoxLayout;
    m_drives = new TDriveComboBox(this);
    m_drives->setObjectName(u"DriveComboBox1"_s);
    m_folders = new TDirectoryListBox(this);
    m_folders->setObjectName(u"DirectoryListBox1"_s);
    m_files = new TFileListBox(this);
    m_files->setObjectName(u"FileListBox1"_s);
    // The given four, then every other format whose play time the generation writes.
    QStringList masks{ u"*.mp3"_s, u"*.wav"_s, u"*.mid"_s, u"*.cda"_s };
    for (const QString &extension : PlayTime::AudioExtensions())
        if (!masks.contains(u"*."_s + extension))
            masks << u"*."_s + extension;
    m_files->SetMask(masks.join(u';'));
    LinkFileBrowser(m_drives, m_folders, m_files);
    connect(m_files, &TFileListBox::FileSelected, this, [this](const QString &path) { m_file->setText(path); });
    middle->addWidget(m_drives);
    middle->addWidget(m_folders, 3);
    middle->addWidget(m_files, 4);

    // Track fields and the track list, right.
    auto *right = new QVBoxLayout;
    m_title = edit(u"Edit5"_s);
    m_duration = edit(u"Edit6"_s);
    m_file = edit(u"Edit7"_s, true);
    m_trackDescription = edit(u"Edit8"_s);
    labelled(right, u"Название:"_s, m_title);
    labelled(right, u"Длительность:"_s, m_duration);
    labelled(right, u"Файл:"_s, m_file);
    labelled(right, u"Файл описания:"_s, m_trackDescription);
    auto *trackButtons = new QHBoxLayout;
    trackButtons->addWidget(button(u"Button4"_s, u"Добавить"_s, &TForm2::AddTrack));
    trackButtons->addWidget(button(u"Button3"_s, u"Очистить"_s, &TForm2::ClearTracks));
    right->addLayout(trackButtons);
    right->addWidget(button(u"Button5"_s, u"Автоматическая генерация"_s, &TForm2::GenerateTracks));
    m_trackText = textBox(u"memo2"_s, this);
    right->addWidget(m_trackText, 1);

    // The album's commands along the bottom.
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(button(u"Button2"_s, u"Создать"_s, &TForm2::ComposeAlbum));
    bottom->addWidget(button(u"Button7"_s, u"Добавить к текущему списку"_s, &TForm2::AddToOpenList));
    bottom->addWidget(button(u"Button8"_s, u"Сохранить в список"_s, &TForm2::SaveToList));
    bottom->addWidget(button(u"Button9"_s, u"Добавить к списку"_s, &TForm2::AddToList));
    bottom->addStretch();
    bottom->addWidget(button(u"Button6"_s, u"Закрыть"_s, &TForm2::hide));

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(middle, 1);
    columns->addLayout(right, 1);
    auto *form = new QVBoxLayout(this);
    form->setContentsMargins(8, 6, 8, 8);
    form->addLayout(columns, 1);
    form->addLayout(bottom);
}

void TForm2::ShowBuilder()
{
    show();
    raise();
    activateWindow();
}

AlbumText::TTrackFields TForm2::TrackFields() const
{
    return { m_title->text(), m_duration->text(), m_file->text(), m_trackDescription->text() };
}

void TForm2::ShowTracks()
{
    m_trackText->setPlainText(m_tracks.Lines().join(u'\n'));
}

void TForm2::ShowAlbum()
{
    m_albumText->setPlainText(m_album.join(u'\n'));
}

void TForm2::PickDescription()
{
    const auto choice = m_services.FileDialogs->OpenFile(this, AlbumText::DescriptionFilter());
    if (!choice)
        return;
    const QString path =
        FileDialogs::WithDefaultExtension(choice->Path, AlbumText::DescriptionExtension(choice->FilterIndex));
    if (Paths::fileExists(path))
        m_description->setText(path);
}

void TForm2::PickImage()
{
    const auto choice =
        m_services.FileDialogs->OpenPicture(this, AlbumText::ImageFilter(), AlbumText::ImageFilterInitial);
    if (!choice)
        return;
    const QString path = FileDialogs::WithDefaultExtension(choice->Path, AlbumText::ImageExtension(choice->FilterIndex));
    if (Paths::fileExists(path))
        m_image->setText(path);
}

void TForm2::AddTrack()
{
    if (m_tracks.Add(TrackFields()))
        ShowTracks();
}

void TForm2::GenerateTracks()
{
    QList<AlbumText::TFoundFile> files;
    for (const QString &name : m_files->Names())
        files.append({ name, m_files->FullPath(name) });
    const auto generated = m_tracks.Generate(files, m_duration->text(), m_trackDescription->text());
    ShowTracks();
    const QString told = AlbumText::LeftOutMessage(generated.Unreadable, generated.LeftOut);
    if (!told.isEmpty())
        m_services.Messages->ShowMessage(told);
}

void TForm2::ClearTracks()
{
    m_tracks.Clear();
    ShowTracks();
}

void TForm2::ComposeAlbum()
{
    const AlbumText::TComposition c = AlbumText::ComposeAlbum(
        { m_name->text(), m_author->text(), m_url->text(), m_description->text(), m_image->text() }, m_tracks);
    if (!c.Message.isEmpty()) {
        m_services.Messages->ShowMessage(c.Message);
        return;
    }
    m_album = c.Lines;
    ShowAlbum();
}

void TForm2::AddToOpenList()
{
    // Saved first: a failed save leaves the open list as it was, so a retry adds the album once.
    TOpenList &list = m_host.OpenList();
    list.Commit(ListEdits::AppendAlbums(list.ListLines, m_album));
    m_host.LoadList(list.ListFileName);
}

QString TForm2::ChooseListFile()
{
    const auto choice = m_services.FileDialogs->SaveFile(this, AlbumText::ListFilter());
    return choice ? AlbumText::ListFilePath(choice->Path) : QString();
}

void TForm2::SaveToList()
{
    const QString path = ChooseListFile();
    if (path.isEmpty())
        return;
    SaveListText(m_host, *m_services.Messages, path, m_album);
}

void TForm2::AddToList()
{
    const QString path = ChooseListFile();
    if (path.isEmpty())
        return;
    if (!m_host.OpenList().IsListFile(path))
        AlbumText::AppendToListFile(path, m_album, m_host.History());
    else
        AddToOpenList();
}
