// SettingsFile: the keys of the settings file in their order, with their defaults.
#include "SettingsFile.h"

#include "IniFile.h"
#include "Paths.h"
#include "WindowPlacement.h"

using namespace Qt::StringLiterals;

namespace {
const QString Form = u"Form"_s;
const QString Options = u"Options"_s;
const QString TabWords[] = { u"Discription"_s, u"Image"_s, u"About"_s };
} // namespace

namespace Settings {

QString ColourKeyName(TColourKey key)
{
    static const QString names[ColourCount] = { u"Color"_s,          u"FontColor"_s,       u"PanelColor"_s,
                                                u"PanelFontColor"_s, u"SystemPanel"_s,     u"SystemPanelFont"_s,
                                                u"Combo"_s,          u"ComboFont"_s,       u"Image"_s };
    return names[key];
}

int TWindowSettings::FrontTab() const
{
    for (int tab = 0; tab < 3; ++tab)
        if (Window == TabWords[tab])
            return tab;
    return -1;
}

QString TWindowSettings::Word(bool value)
{
    return value ? u"true"_s : u"false"_s;
}

QString TWindowSettings::WindowStateWord(bool maximized)
{
    return maximized ? u"WsMaximized"_s : u"WsNormal"_s;
}

QString TWindowSettings::TabWord(int tab)
{
    return tab >= 0 && tab < 3 ? TabWords[tab] : QString();
}

TWindowSettings Read(const QString &path)
{
    const TIniFile ini(path);
    TWindowSettings s;
    s.Bounds = WindowPlacement::FromSettings(
        ini.ReadInteger(Form, u"Left"_s, s.Bounds.left()), ini.ReadInteger(Form, u"Top"_s, s.Bounds.top()),
        ini.ReadInteger(Form, u"Width"_s, s.Bounds.width()), ini.ReadInteger(Form, u"Height"_s, s.Bounds.height()));
    for (int key = 0; key < ColourCount; ++key)
        s.Colours[key] = ini.ReadInteger(Form, ColourKeyName(TColourKey(key)), s.Colours[key]);
    s.WindowState = ini.ReadString(Form, u"WindowState"_s, s.WindowState);
    s.Window = ini.ReadString(Form, u"Window"_s, s.Window);
    s.ReadOnly = ini.ReadString(Options, u"ReadOnly"_s, s.ReadOnly);
    s.StayOnTop = ini.ReadString(Options, u"StayOnTop"_s, s.StayOnTop);
    s.NoBorder = ini.ReadString(Options, u"NoBorder"_s, s.NoBorder);
    return s;
}

bool Save(const QString &path, const TWindowSettings &s)
{
    TIniFile ini(path);
    if (s.Maximized()) {
        // The file keeps the normal bounds it had, so the next start restores them and maximizes.
        ini.WriteString(Form, u"WindowState"_s, s.WindowState);
    } else {
        ini.WriteInteger(Form, u"Top"_s, s.Bounds.top());
        ini.WriteInteger(Form, u"Left"_s, s.Bounds.left());
        ini.WriteInteger(Form, u"Width"_s, s.Bounds.width());
        ini.WriteInteger(Form, u"Height"_s, s.Bounds.height());
        for (int key = 0; key < ColourCount; ++key)
            ini.WriteInteger(Form, ColourKeyName(TColourKey(key)), s.Colours[key]);
        ini.WriteString(Form, u"WindowState"_s, s.WindowState);
        ini.WriteString(Options, u"ReadOnly"_s, s.ReadOnly);
    }
    ini.WriteString(Form, u"Window"_s, s.Window);
    ini.WriteString(Options, u"StayOnTop"_s, s.StayOnTop);
    ini.WriteString(Options, u"NoBorder"_s, s.NoBorder);
    return ini.Save();
}

QString SaveName(const QString &chosen)
{
    return Paths::fileNameOf(chosen).contains(".ini"_L1) ? chosen : chosen + u".ini"_s;
}

} // namespace Settings
