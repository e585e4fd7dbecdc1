// DialogControls: small builders for the controls the editors' dialogs share.
#pragma once

#include <QBoxLayout>
#include <QGridLayout>
#include <QPushButton>
#include <QString>

/// A push button with the given objectName that Enter does not press unless it is made default.
inline QPushButton *NamedButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

/// Lays a property dialog out at its fixed size: the labelled fields, then the confirm and cancel
/// buttons at the bottom right; confirm is the button Enter presses.
inline void LayOutPropertyDialog(QWidget *dialog, QGridLayout *fields, QPushButton *confirm, QPushButton *cancel)
{
    confirm->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto *form = new QVBoxLayout(dialog);
    form->addLayout(fields);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}
