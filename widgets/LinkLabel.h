// LinkLabel: a label that looks like a web link and reports clicks.
#pragma once

#include "ElidedLabel.h"

class TLinkLabel : public TElidedLabel
{
    Q_OBJECT
public:
    /// Blue, bold, underlined text with a hand cursor; pixelSize 0 keeps the font's size.
    explicit TLinkLabel(const QString &text = QString(), int pixelSize = 0, QWidget *parent = nullptr);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
