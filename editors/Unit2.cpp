// Unit2: TForm2, the album builder.
#include "Unit2.h"

#include "FileBrowser.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "OpenList.h"
#include "Paths.h"
#include "PlayTime.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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
    setFixedSize(ClientWidth, ClientHeight);
    CreateControls();
}

void TForm2::CreateControls()
{
    int labels = 0;
    auto label = [&](const QString &text, int x, int y, int w) {
        auto *l = new QLabel(text, this);
        l->setObjectName(u"Label%1"_s.arg(++labels));
        l->setGeometry(x, y, w, 16);
        return l;
    };
    auto edit = [&](const QString &name, int x, int y, int w, bool readOnly = false) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(x, y, w, 22);
        e->setReadOnly(readOnly);
        return e;
    };
    auto button = [&](const QString &name, const QString &caption, int x, int y, int w, void (TForm2::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(x, y, w, 25);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, handler] { RunGuarded(*m_services.Messages, [&] { (this->*handler)(); }); });
        return b;
    };

    // Album fields, left.
    const int lx = 8, lw = 216;
    label(u"Название  альбома:"_s, lx, 6, lw);
    m_name = edit(u"Edit1"_s, lx, 22, lw);
    label(u"Автор:"_s, lx, 48, lw);
    m_author = edit(u"Edit2"_s, lx, 64, lw);
    label(u"URL:"_s, lx, 90, lw);
    m_url = edit(u"Edit3"_s, lx, 106, lw);
    label(u"Описание альбома:"_s, lx, 132, lw);
    m_description = edit(u"Edit4"_s, lx, 148, lw - 28);
    button(u"Button1"_s, u"..."_s, lx + lw - 24, 147, 24, &TForm2::PickDescription);
    label(u"Изображение:"_s, lx, 174, lw);
    m_image = edit(u"Edit9"_s, lx, 190, lw - 28, true);
    button(u"Button10"_s, u"..."_s, lx + lw - 24, 189, 24, &TForm2::PickImage);
    m_albumText = textBox(u"memo1"_s, this);
    m_albumText->setGeometry(lx, 220, lw, 112);

    // File browser, middle.
    const int bx = 232, bw = 200;
    m_drives = new TDriveComboBox(this);
    m_drives->setObjectName(u"DriveComboBox1"_s);
    m_drives->setGeometry(bx, 8, bw, 22);
    m_folders = new TDirectoryListBox(this);
    m_folders->setObjectName(u"DirectoryListBox1"_s);
    m_folders->setGeometry(bx, 34, bw, 128);
    m_files = new TFileListBox(this);
    m_files->setObjectName(u"FileListBox1"_s);
    m_files->setGeometry(bx, 166, bw, 166);
    m_files->SetMask(u"*.mp3;*.wav;*.mid;*.cda"_s);
    LinkFileBrowser(m_drives, m_folders, m_files);
    connect(m_files, &TFileListBox::FileSelected, this, [this](const QString &path) { m_file->setText(path); });

    // Track fields and the track list, right.
    const int rx = 440, rw = 218;
    label(u"Название:"_s, rx, 6, rw);
    m_title = edit(u"Edit5"_s, rx, 22, rw);
    label(u"Длительность:"_s, rx, 48, rw);
    m_duration = edit(u"Edit6"_s, rx, 64, rw);
    label(u"Файл:"_s, rx, 90, rw);
    m_file = edit(u"Edit7"_s, rx, 106, rw, true);
    label(u"Файл описания:"_s, rx, 132, rw);
    m_trackDescription = edit(u"Edit8"_s, rx, 148, rw);
    button(u"Button4"_s, u"Добавить"_s, rx, 176, 106, &TForm2::AddTrack);
    button(u"Button3"_s, u"Очистить"_s, rx + rw - 106, 176, 106, &TForm2::ClearTracks);
    button(u"Button5"_s, u"Автоматическая генерация"_s, rx, 204, rw, &TForm2::GenerateTracks);
    m_trackText = textBox(u"memo2"_s, this);
    m_trackText->setGeometry(rx, 234, rw, 98);

    // The album's commands along the bottom.
    const int by = 341;
    button(u"Button2"_s, u"Создать"_s, 8, by, 86, &TForm2::ComposeAlbum);
    button(u"Button7"_s, u"Добавить к текущему списку"_s, 100, by, 190, &TForm2::AddToOpenList);
    button(u"Button8"_s, u"Сохранить в список"_s, 296, by, 140, &TForm2::SaveToList);
    button(u"Button9"_s, u"Добавить к списку"_s, 442, by, 130, &TForm2::AddToList);
    button(u"Button6"_s, u"Закрыть"_s, 578, by, 80, &TForm2::hide);
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
    const int unreadable = m_tracks.Generate(files, m_duration->text(), m_trackDescription->text());
    ShowTracks();
    if (unreadable > 0)
        m_services.Messages->ShowMessage(PlayTime::UnreadableMessage(unreadable));
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
    list.Commit(list.ListLines + m_album);
    m_host.LoadList(list.ListFileName);
}

QString TForm2::ChooseListFile()
{
    const auto choice = m_services.FileDialogs->SaveFile(this, AlbumText::ListFilter());
    return choice ? AlbumText::ListFilePath(choice->Path) : QString();
}

// The open list's own file is written through the open list, so that the tree shows the change and
// the next edit does not put the old lines back.
void TForm2::SaveToList()
{
    const QString path = ChooseListFile();
    if (path.isEmpty())
        return;
    TOpenList &list = m_host.OpenList();
    if (!list.IsListFile(path)) {
        AlbumText::SaveAlbumList(path, m_album);
        return;
    }
    list.Commit(m_album);
    m_host.LoadList(list.ListFileName);
}

void TForm2::AddToList()
{
    const QString path = ChooseListFile();
    if (path.isEmpty())
        return;
    if (!m_host.OpenList().IsListFile(path))
        AlbumText::AppendToListFile(path, m_album);
    else
        AddToOpenList();
}
