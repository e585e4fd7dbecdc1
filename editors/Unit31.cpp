// Unit31: TForm3, the track property dialog.
#include "Unit31.h"

#include "CatalogueTree.h"
#include "DialogControls.h"
#include "FileDialogs.h"
#include "He1.h"
#include "KsError.h"
#include "language.h"
#include "ListEdits.h"
#include "Messages.h"
#include "OpenList.h"
#include "Unit41.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TForm3::TForm3(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(u"Form3"_s);
    // A fixed frame with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    CreateControls();
}

void TForm3::CreateControls()
{
    auto *grid = new QGridLayout;
    const char16_t *captions[] = { u"Название:", u"Длина:", u"Файл:", u"Описание:" };
    QLineEdit **edits[] = { &Edit1, &Edit2, &Edit3, &Edit4 };
    for (int i = 0; i < 4; ++i) {
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
    Edit3->setReadOnly(true); // a track's file is not changed here

    Button1 = NamedButton(this, u"Button1"_s, u". . ."_s);
    Button1->setFixedWidth(32);
    grid->addWidget(Button1, 3, 2);
    Button2 = NamedButton(this, u"Button2"_s, u"Ок"_s);
    Button3 = NamedButton(this, u"Button3"_s, u"Отмена"_s);
    LayOutPropertyDialog(this, grid, Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &TForm3::PickDescription);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Confirm);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm3::OpenTrack()
{
    const TTrack &track = m_host.OpenList().CurrentTrack;
    setWindowTitle(ListEdits::TrackKeyLine(track.Title));
    Edit1->setText(language::Trim(track.Title));
    Edit2->setText(language::Trim(track.Size));
    Edit3->setText(language::Trim(track.FileName));
    Edit4->setText(language::Trim(track.DescriptionFile));
    m_shownDescription = Edit4->text();
    exec();
}

void TForm3::Confirm()
{
    RunGuarded(*m_services.Messages, [this] {
        TOpenList &list = m_host.OpenList();
        const std::optional<QString> description =
            Edit4->text() == m_shownDescription ? std::nullopt : std::optional<QString>(Edit4->text());
        const ListEdits::TTrackFields fields{ Edit1->text(), Edit2->text(), description };
        QStringList lines = list.ListLines;
        try {
            if (!ListEdits::WriteTrackProperties(lines, list.CurrentTrack.LineIndex, fields))
                return;
            list.Commit(std::move(lines));
        } catch (const KsError &) {
            m_services.Messages->ShowMessage(u"Ошибка изменения информации!"_s);
            return;
        }
        // The leading blank is the node text's form after this dialog; readers trim it.
        if (TTreeNode *node = m_host.TreeView()->Selected())
            m_host.Tree().SetText(node, u" "_s + fields.Title);
    });
    accept(); // hidden in every case
}

void TForm3::PickDescription()
{
    if (const std::optional<TFileChoice> choice = m_services.FileDialogs->OpenFile(this, DescriptionFileFilter()))
        Edit4->setText(choice->Path);
}
