// LinkLabel: the link look and the click of a link label.
#include "LinkLabel.h"

#include <QMouseEvent>

TLinkLabel::TLinkLabel(const QString &text, int pixelSize, QWidget *parent) : TElidedLabel(text, parent)
{
    QFont f = font();
    f.setBold(true);
    f.setUnderline(true);
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    TElidedLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}
