// ElidedLabel: a one-line plain-text label that never widens its window: long values are elided.
#pragma once

#include <QLabel>

/// Shows its text as plain text on one line, cut with "…" where it does not fit; the full text is
/// its tool tip. Its minimum width is nothing, so no value can make the window wider.
class TElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TElidedLabel(const QString &text = QString(), QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
