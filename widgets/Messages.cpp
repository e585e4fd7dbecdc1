// Messages: message boxes of the program and the text rule of the general error handler.
#include "Messages.h"

#include "KsError.h"

#include <QApplication>
#include <QMessageBox>
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
void showBox(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
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
