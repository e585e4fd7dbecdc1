// ImageView: a label centred in a scroll area that shows one picture at its own size.
#include "ImageView.h"

#include <QLabel>
#include <QPixmap>

TImageView::TImageView(QWidget *parent) : QScrollArea(parent), m_label(new QLabel)
{
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAutoFillBackground(false);
    setWidget(m_label);
    setWidgetResizable(true);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    // The tab's own background shows around the picture.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

void TImageView::SetPicture(const QImage &picture)
{
    m_picture = picture;
    m_label->setPixmap(QPixmap::fromImage(picture));
}
