// Unit6: TForm6, the search in the open list.
#include "Unit6.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "ListSearch.h"
#include "Messages.h"
#include "OpenList.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TForm6::TForm6(ICatalogueHost &host, const TDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(u"Form6"_s);
    setWindowTitle(u"Поиск"_s);
    // Fixed frame with a close and a minimise box, above the other windows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setMinimumWidth(240);
    Button1 = new QPushButton(u"Поиск"_s, this);
    Button1->setObjectName(u"Button1"_s);
    Button2 = new QPushButton(u"Выход"_s, this);
    Button2->setObjectName(u"Button2"_s);
    // Enter is handled by the search field alone, so a search never runs twice.
    for (QPushButton *b : { Button1, Button2 }) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TForm6::Search);
    connect(Edit1, &QLineEdit::returnPressed, this, &TForm6::Search);
    connect(Button2, &QPushButton::clicked, this, &QDialog::hide);
    // Escape reaches QDialog, which hides the dialog.
}

void TForm6::ShowSearch()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    Edit1->setFocus();
}

void TForm6::Search()
{
    RunGuarded(*m_services.Messages, [this] {
        TTreeNode *node = ListSearch::FindNode(m_host.OpenList().ListLines, m_host.Tree(), Edit1->text());
        if (!node) {
            m_services.Messages->ShowMessage(ListSearch::NotFoundMessage());
            return;
        }
        THETreeView *tree = m_host.TreeView();
        tree->Select(node);
        tree->scrollTo(m_host.Tree().IndexOf(node));
        // The tree's window takes the keyboard; this dialog stays shown above it.
        tree->window()->activateWindow();
        tree->setFocus();
    });
}
