// WindowPlacement: keeping a window that settings place wholly on a screen the user can reach.
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

namespace WindowPlacement {

/// Stored bounds (left, top, width, height) as a rectangle, each number first brought within ±2^24, so
/// that no edge of it, nor any sum the placement makes, can overflow.
QRect FromSettings(qint64 left, qint64 top, qint64 width, qint64 height);

/// The client area of a window, placed so that its whole frame (client plus the window manager's
/// margins) lies inside one screen's available area: the screen that shares most of the framed window,
/// else the first. The size is fitted first, never below minimum; then the position moves as little as
/// it must. A window already inside keeps its bounds. screens are the available areas, the primary
/// one first; none leaves the bounds alone.
QRect Place(const QRect &client, const QMargins &frame, const QSize &minimum, const QList<QRect> &screens);

} // namespace WindowPlacement
