// ImageView: the cover picture, centred and unscaled, scrolled when it is larger than the tab.
#pragma once

#include <QImage>
#include <QScrollArea>

class QLabel;

class TImageView : public QScrollArea
{
public:
    explicit TImageView(QWidget *parent = nullptr);
    /// Replaces the picture shown.
    void SetPicture(const QImage &picture);
    /// The picture shown now (null before the first one).
    QImage Picture() const { return m_picture; }

private:
    QLabel *m_label;
    QImage m_picture;
};
