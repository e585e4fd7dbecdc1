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
const QString ImageFilter = u"All|*.jpg;*.jpeg;*.bmp;*.gif|JPEG Image File (*.jpg)|*.jpg|"
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

void TForm4::OpenAlbum()
{
    const TAlbum &album = m_host.OpenList().CurrentAlbum;
    setWindowTitle(ListEdits::AlbumKeyLine(album.Title));
    const TTreeNode *node = m_host.TreeView()->Selected();
    Edit1->setText(node ? node->Text() : QString());
    Edit2->setText(album.Author);
    Edit3->setText(album.DescriptionFile);
    Edit4->setText(album.Url);
    Edit5->setText(album.Image);
    show();
    raise();
    activateWindow();
}

TTreeNode *TForm4::NodeToRename(const QString &oldTitle) const
{
    // The selection may have moved while the dialog was open: the node renamed is the album's own,
    // the selected one when it is that album, else the first album node of that title.
    TTreeNode *selected = m_host.TreeView()->Selected();
    if (selected && selected->Level() == 0 && language::Trim(selected->Text()) == oldTitle)
        return selected;
    const TCatalogueTree &tree = m_host.Tree();
    for (int i = 0; i < tree.RootCount(); ++i)
        if (language::Trim(tree.Root(i)->Text()) == oldTitle)
            return tree.Root(i);
    return nullptr;
}

void TForm4::Apply()
{
    RunGuarded(*m_services.Messages, [this] {
        TOpenList &list = m_host.OpenList();
        const QString keyLine = windowTitle();
        TTreeNode *node = NodeToRename(keyLine.mid(QStringView(u"album: ").size()));
        const ListEdits::TAlbumFields fields{ Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text(),
                                              Edit5->text() };
        try {
            if (!ListEdits::WriteAlbumProperties(list.ListLines, keyLine, fields))
                return; // no album of that title: the dialog stays open
            if (node)
                m_host.Tree().SetText(node, fields.Name);
            list.Save();
        } catch (const KsError &) {
            m_services.Messages->ShowMessage(u"Ошибка изменения информации."_s);
            return;
        }
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
