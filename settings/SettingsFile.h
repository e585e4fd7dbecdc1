// SettingsFile: the main window's settings as a settings file holds them, their defaults, and how they are read and saved.
#pragma once

#include <QRect>
#include <QString>
#include <array>

namespace Settings {

/// The nine colours, in the order the file lists them.
enum TColourKey {
    TreeColour,        ///< "Color": background of the catalogue tree
    TreeFontColour,    ///< "FontColor": text of the tree
    PanelColour,       ///< "PanelColor": bottom strip and the right-hand area
    PanelFontColour,   ///< "PanelFontColor": captions of the bottom strip's buttons
    SystemPanelColour, ///< "SystemPanel": information panel, top strip, transport strip
    SystemPanelFont,   ///< "SystemPanelFont": text of the information panel and the top strip
    ComboColour,       ///< "Combo": background of the quick-load combo box
    ComboFontColour,   ///< "ComboFont": text of the combo box
    ImageColour,       ///< "Image": background of the image tab
    ColourCount
};

/// A colour as stored: 0xBBGGRR, or 0x80000000 + n for colour n of the desktop scheme.
using TColour = qint32;
constexpr TColour White = 0xFFFFFF;
constexpr TColour Black = 0;
constexpr TColour ButtonFace = TColour(0x8000000F); ///< written as -2147483633

/// The key name of a colour in section "Form".
QString ColourKeyName(TColourKey key);

/// True for a colour of the desktop scheme (the top bit set).
inline bool IsSchemeColour(TColour value) { return value < 0; }
/// The scheme colour number n of 0x80000000 + n.
inline int SchemeIndex(TColour value) { return int(quint32(value) & 0x7FFFFFFFu); }
/// A red-green-blue colour with red in the lowest byte.
inline TColour RgbColour(int red, int green, int blue) { return TColour(red | (green << 8) | (blue << 16)); }
inline int Red(TColour value) { return value & 0xFF; }
inline int Green(TColour value) { return (value >> 8) & 0xFF; }
inline int Blue(TColour value) { return (value >> 16) & 0xFF; }

/// The values of one settings file, read as their words; absent keys hold the defaults.
struct TWindowSettings
{
    QRect Bounds{ 92, 74, 644, 469 }; ///< Left, Top, Width, Height of the window's client area
    std::array<TColour, ColourCount> Colours{ White, Black, ButtonFace, Black, ButtonFace, Black, White, Black,
                                              ButtonFace };
    QString WindowState = QStringLiteral("WsNormal");
    QString Window = QStringLiteral("Image");
    QString ReadOnly = QStringLiteral("true");
    QString StayOnTop = QStringLiteral("false");
    QString NoBorder = QStringLiteral("false");

    /// Any WindowState but "WsNormal" (letter case counts) maximizes.
    bool Maximized() const { return WindowState != QLatin1String("WsNormal"); }
    /// "true" alone makes the tree read-only; any other value, the empty one too, allows editing.
    bool TreeReadOnly() const { return ReadOnly == QLatin1String("true"); }
    /// "true" switches stay-on-top on; any other value leaves it as it is.
    bool StayOnTopRequested() const { return StayOnTop == QLatin1String("true"); }
    /// "true" gives borderless mode; any other value the normal border.
    bool Borderless() const { return NoBorder == QLatin1String("true"); }
    /// The tab Window names: 0 "Discription", 1 "Image", 2 "About"; -1 for any other value.
    int FrontTab() const;

    /// The words written for a state.
    static QString Word(bool value);
    static QString WindowStateWord(bool maximized);
    static QString TabWord(int tab);
};

/// Reads a settings file; a missing or unreadable file gives every default.
TWindowSettings Read(const QString &path);

/// Writes the settings into the file, keeping its other lines: while maximized only WindowState (and
/// not the bounds, colours or ReadOnly), then Window, StayOnTop and NoBorder. One safe save; false when
/// it failed, the file then being as it was.
bool Save(const QString &path, const TWindowSettings &settings);

/// The name a settings file is saved under: ".ini" is appended unless the file name (not its folders)
/// holds it anywhere.
QString SaveName(const QString &chosen);

} // namespace Settings
