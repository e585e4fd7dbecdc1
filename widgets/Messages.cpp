// Messages: message boxes of the program and the text rule of the general error handler.
#include "Messages.h"

#include "KsError.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <exception>

using namespace Qt::StringLiterals;

namespace {
QString &title()
{
    static QString t = u"Kestrune"_s;
    return t;
}
} // namespace

QString ApplicationTitle()
{
    return title();
}

void SetApplicationTitle(const QString &text)
{
    title() = text;
}

QString ErrorMessageText(const QString &text)
{
    if (!text.isEmpty() && text.back().unicode() > u'.')
        return text + u'.';
    return text;
}

void ReportCurrentException(TMessages &messages)
{
    try {
        throw;
    } catch (const KsError &e) {
        messages.ShowError(ErrorMessageText(e.message()));
    } catch (const std::exception &e) {
        messages.ShowError(ErrorMessageText(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        messages.ShowError(u"Unknown error."_s);
    }
}

namespace {
// The window a box belongs to, and stays above: the active one, else the program's main window (its
// one shown window without a parent), as when a report comes while another program is in front.
QWidget *owner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!w->parentWidget() && w->isVisible() && w->isWindow() && !qobject_cast<QMessageBox *>(w))
            return w;
    return nullptr;
}

void showBox(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, owner());
    // Texts come from lists and file names: never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
} // namespace

void TMessageBoxes::ShowError(const QString &text)
{
    showBox(QMessageBox::Critical, text);
}

void TMessageBoxes::ShowMessage(const QString &text)
{
    showBox(QMessageBox::NoIcon, text);
}

bool TMessageBoxes::Ask(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const QPushButton *yes = box.addButton(u"Да"_s, QMessageBox::YesRole);
    QPushButton *no = box.addButton(u"Нет"_s, QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
