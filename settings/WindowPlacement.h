// WindowPlacement: keeping a window that settings place on a screen the user can reach.
#pragma once

#include <QList>
#include <QRect>

namespace WindowPlacement {

/// The bounds unchanged while a strip along the window's top (the part that is grabbed to move it), at
/// least 100 pixels of it or the whole width, lies on one of the screens. Otherwise the bounds moved onto
/// the screen that shares most of their area, else the first screen, and shrunk to fit it.
/// screens are the screens' available areas, the primary one first; none leaves the bounds alone.
QRect Reachable(const QRect &bounds, const QList<QRect> &screens);

} // namespace WindowPlacement
