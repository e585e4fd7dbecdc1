// Unit41: TForm4, the album property dialog.
#include "Unit41.h"

#include "CatalogueTree.h"
#include "DialogControls.h"
#include "FileDialogs.h"
#include "He1.h"
#include "KsError.h"
#include "language.h"
#include "ListEdits.h"
#include "Messages.h"
#include "OpenList.h"
#include "Paths.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QString DescriptionFileFilter()
{
    return u"*.htm|*.htm|*.txt|*.txt|*.*|*.*"_s;
}

namespace {
const QString ImageFilter = u"All|*.jpg;*.jpeg;*.bmp;*.gif;*.png|JPEG Image File (*.jpg)|*.jpg|"
                            "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|GIFs (*.gif)|*.gif"_s;
} // namespace

TForm4::TForm4(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(u"Form4"_s);
    // A fixed frame with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    CreateControls();
}

void TForm4::CreateControls()
{
    auto *grid = new QGridLayout;
    const char16_t *captions[] = { u"Название:", u"Автор:", u"Описание:", u"URL:", u"Изображение:" };
    QLineEdit **edits[] = { &Edit1, &Edit2, &Edit3, &Edit4, &Edit5 };
    for (int i = 0; i < 5; ++i) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(u"Edit%1"_s.arg(i + 1));
        edit->setMinimumWidth(320);
        auto *caption = new QLabel(QString::fromUtf16(captions[i]), this);
        caption->setObjectName(u"Label%1"_s.arg(i + 1));
        caption->setBuddy(edit);
        grid->addWidget(caption, i, 0);
        grid->addWidget(edit, i, 1);
        *edits[i] = edit;
    }
    Button3 = NamedButton(this, u"Button3"_s, u". . ."_s);
    Button4 = NamedButton(this, u"Button4"_s, u". . ."_s);
    for (QPushButton *b : { Button3, Button4 })
        b->setFixedWidth(32);
    grid->addWidget(Button3, 2, 2);
    grid->addWidget(Button4, 4, 2);
    Button1 = NamedButton(this, u"Button1"_s, u"Применить"_s);
    Button2 = NamedButton(this, u"Button2"_s, u"Отмена"_s);
    LayOutPropertyDialog(this, grid, Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm4::Apply);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, &TForm4::PickDescription);
    connect(Button4, &QPushButton::clicked, this, &TForm4::PickImage);
}

void TForm4::OpenAlbum(const TTreeNode *node)
{
    const TAlbum &album = m_host.OpenList().CurrentAlbum;
    setWindowTitle(ListEdits::AlbumKeyLine(album.Title));
    m_node = QPersistentModelIndex(m_host.Tree().IndexOf(node));
    Edit1->setText(node ? node->Text() : QString());
    Edit2->setText(album.Author);
    Edit3->setText(album.DescriptionFile);
    Edit4->setText(album.Url);
    Edit5->setText(album.Image);
    m_shownDescription = album.DescriptionFile;
    m_shownImage = album.Image;
    show();
    raise();
    activateWindow();
}

TTreeNode *TForm4::AlbumNode(const QString &title) const
{
    // The selection may have moved, or the list been reloaded, while the dialog was open: the node is
    // the one it was opened on while that still stands for the album, else the first of that title.
    TCatalogueTree &tree = m_host.Tree();
    if (TTreeNode *node = m_node.isValid() ? tree.NodeOf(m_node) : nullptr)
        if (node->Level() == 0 && language::Trim(node->Text()) == title)
            return node;
    for (int i = 0; i < tree.RootCount(); ++i)
        if (language::Trim(tree.Root(i)->Text()) == title)
            return tree.Root(i);
    return nullptr;
}

void TForm4::Apply()
{
    RunGuarded(*m_services.Messages, [this] {
        TOpenList &list = m_host.OpenList();
        const QString keyLine = windowTitle();
        const QString title = keyLine.mid(QStringView(u"album: ").size());
        TTreeNode *node = AlbumNode(title);
        auto pathField = [](const QLineEdit *edit, const QString &shown) {
            return edit->text() == shown ? std::nullopt : std::optional<QString>(edit->text());
        };
        const ListEdits::TAlbumFields fields{ Edit1->text(), Edit2->text(), pathField(Edit3, m_shownDescription),
                                              Edit4->text(), pathField(Edit5, m_shownImage) };
        QStringList lines = list.ListLines;
        try {
            // An album whose title repeats is written in its own block.
            qint32 albumLine = -1;
            if (node) {
                bool own = false;
                const TAlbum album = list.ReadAlbumRecordAt(title, node->Row(), Paths::programFolder(), &own);
                if (own && album.LineIndex < 0)
                    return;
                if (own)
                    albumLine = album.LineIndex;
            }
            if (!ListEdits::WriteAlbumProperties(lines, keyLine, fields, albumLine))
                return; // no album of that title: the dialog stays open
            list.Commit(std::move(lines));
        } catch (const KsError &) {
            m_services.Messages->ShowMessage(u"Ошибка изменения информации."_s);
            return;
        }
        if (node)
            m_host.Tree().SetText(node, fields.Name);
        hide();
    });
}

void TForm4::PickDescription()
{
    if (const std::optional<TFileChoice> choice = m_services.FileDialogs->OpenFile(this, DescriptionFileFilter()))
        Edit3->setText(choice->Path);
}

void TForm4::PickImage()
{
    if (const std::optional<TFileChoice> choice = m_services.FileDialogs->OpenPicture(this, ImageFilter))
        Edit5->setText(choice->Path);
}
