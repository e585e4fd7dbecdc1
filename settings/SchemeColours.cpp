// SchemeColours: the Windows desktop-scheme colour numbers mapped onto the roles of the toolkit's palette.
#include "SchemeColours.h"

#include <QPalette>

namespace {

struct TSchemeRole
{
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// Indexed by the scheme's colour number (scroll bar, desktop, captions, menu, window, ..., menu bar).
constexpr TSchemeRole SchemeRoles[] = {
    { QPalette::Active, QPalette::Button },          // 0 scroll bar
    { QPalette::Active, QPalette::Dark },            // 1 desktop
    { QPalette::Active, QPalette::Highlight },       // 2 active caption
    { QPalette::Inactive, QPalette::Window },        // 3 inactive caption
    { QPalette::Active, QPalette::Window },          // 4 menu
    { QPalette::Active, QPalette::Base },            // 5 window background
    { QPalette::Active, QPalette::Shadow },          // 6 window frame
    { QPalette::Active, QPalette::WindowText },      // 7 menu text
    { QPalette::Active, QPalette::Text },            // 8 window text
    { QPalette::Active, QPalette::HighlightedText }, // 9 caption text
    { QPalette::Active, QPalette::Window },          // 10 active border
    { QPalette::Inactive, QPalette::Window },        // 11 inactive border
    { QPalette::Active, QPalette::Mid },             // 12 application workspace
    { QPalette::Active, QPalette::Highlight },       // 13 highlight
    { QPalette::Active, QPalette::HighlightedText }, // 14 highlighted text
    { QPalette::Active, QPalette::Button },          // 15 button face
    { QPalette::Active, QPalette::Dark },            // 16 button shadow
    { QPalette::Disabled, QPalette::Text },          // 17 grey text
    { QPalette::Active, QPalette::ButtonText },      // 18 button text
    { QPalette::Inactive, QPalette::WindowText },    // 19 inactive caption text
    { QPalette::Active, QPalette::Light },           // 20 button highlight
    { QPalette::Active, QPalette::Shadow },          // 21 3D dark shadow
    { QPalette::Active, QPalette::Midlight },        // 22 3D light
    { QPalette::Active, QPalette::ToolTipText },     // 23 tool tip text
    { QPalette::Active, QPalette::ToolTipBase },     // 24 tool tip background
    { QPalette::Active, QPalette::Button },          // 25 (unused)
    { QPalette::Active, QPalette::Link },            // 26 hot-tracked item
    { QPalette::Active, QPalette::Highlight },       // 27 active caption gradient
    { QPalette::Inactive, QPalette::Window },        // 28 inactive caption gradient
    { QPalette::Active, QPalette::Highlight },       // 29 menu highlight
    { QPalette::Active, QPalette::Window },          // 30 menu bar
};

} // namespace

namespace SchemeColours {

QColor ToColour(Settings::TColour value, const QPalette &palette)
{
    if (!Settings::IsSchemeColour(value))
        return QColor(Settings::Red(value), Settings::Green(value), Settings::Blue(value));
    const int n = Settings::SchemeIndex(value);
    // A number past the scheme's colours paints as the button face.
    const TSchemeRole role = n < int(std::size(SchemeRoles)) ? SchemeRoles[n] : SchemeRoles[15];
    return palette.color(role.Group, role.Role);
}

Settings::TColour FromColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return Settings::RgbColour(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace SchemeColours
