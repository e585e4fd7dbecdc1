// AboutPage: heading, web link and the two credit lines with their mail links.
#include "AboutPage.h"

#include "LinkLabel.h"
#include "ProgramInfo.h"
#include "ShellOpen.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

TLinkLabel *link(IShellOpen &shell, const QString &text, int pixelSize, const QString &name, QWidget *parent)
{
    auto *label = new TLinkLabel(text, pixelSize, parent);
    label->setObjectName(name);
    QObject::connect(label, &TLinkLabel::Clicked, label, [&shell, label] { shell.ShellOpen(label->text()); });
    return label;
}

// A credit line with its mail link a little lower and to the right.
void addCredit(QVBoxLayout *column, const QString &credit, TLinkLabel *mail, const QString &name, QWidget *page)
{
    auto *line = new QLabel(credit, page);
    line->setObjectName(name);
    column->addWidget(line);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(40, 2, 0, 0);
    row->addWidget(mail);
    row->addStretch();
    column->addLayout(row);
}

} // namespace

QWidget *CreateAboutPage(IShellOpen &shell, QWidget *parent)
{
    auto *page = new QWidget(parent);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(24, 16, 24, 16);

    auto *heading = new QLabel(u"Kestrune v. 0.98"_s, page);
    heading->setObjectName(u"Label11"_s);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPixelSize(32);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignHCenter);
    column->addWidget(heading);

    TLinkLabel *web = link(shell, ProgramInfo::WebAddress(), 16, u"Label12"_s, page);
    web->setAlignment(Qt::AlignHCenter);
    column->addWidget(web, 0, Qt::AlignHCenter);
    column->addSpacing(28);

    addCredit(column, u"Программист: Илья Северцев"_s,
              link(shell, u"mailto:ilya.severtsev@kestrune.example.org"_s, 0, u"Label14"_s, page), u"Label13"_s, page);
    column->addSpacing(12);
    addCredit(column, u"Идеи и поддержка словом: Вера Лагутина"_s,
              link(shell, u"mailto:vera.lagutina@kestrune.example.org"_s, 0, u"Label16"_s, page), u"Label15"_s, page);
    column->addStretch();
    auto *licence = new QLabel(u"Kestrune — свободная программа: её можно распространять и изменять на условиях "
                               u"GNU General Public License версии 3 или любой более поздней версии."_s, page);
    licence->setObjectName(u"Label17"_s);
    licence->setWordWrap(true);
    column->addWidget(licence);
    return page;
}
