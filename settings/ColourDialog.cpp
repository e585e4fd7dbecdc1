// ColourDialog: the toolkit's colour dialog and the scripted one of the tests.
#include "ColourDialog.h"

#include <QColorDialog>
#include <stdexcept>

std::optional<QColor> TQtColourDialog::ChooseColour(QWidget *parent, const QColor &initial)
{
    QColorDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return dialog.selectedColor();
}

void TScriptedColourDialog::Answer(const QColor &colour)
{
    if (!colour.isValid() || colour.alpha() != 255)
        throw std::invalid_argument("the colour dialog gives only valid, opaque colours");
    Answers.append(colour.toRgb());
}

std::optional<QColor> TScriptedColourDialog::ChooseColour(QWidget *, const QColor &initial)
{
    Initial.append(initial);
    return Answers.isEmpty() ? std::nullopt : Answers.takeFirst();
}
