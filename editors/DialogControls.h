// DialogControls: small builders for the controls the editors' dialogs share.
#pragma once

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
