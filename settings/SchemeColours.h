// SchemeColours: stored colours as the toolkit paints them, desktop-scheme colours from the palette.
#pragma once

#include "SettingsFile.h"

#include <QColor>

class QPalette;

namespace SchemeColours {

/// The colour a stored value paints: its red, green and blue, or for 0x80000000 + n the palette colour
/// that stands for colour n of the desktop scheme (15, the button face, is the palette's button colour).
QColor ToColour(Settings::TColour value, const QPalette &palette);

/// The stored value of a colour chosen by the user.
Settings::TColour FromColour(const QColor &colour);

} // namespace SchemeColours
