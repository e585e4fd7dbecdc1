// SettingsHost: what the settings dialog changes in the main window, and the services it is given.
#pragma once

#include "SettingsFile.h"

#include <QString>

class IColourDialog;
class IFileDialogs;
class TMessages;

/// The main window as the settings dialog sees it: its colours, three options and settings files.
class ISettingsHost
{
public:
    virtual ~ISettingsHost() = default;
    /// Paints one part of the window with a stored colour, at once.
    virtual void SetColour(Settings::TColourKey key, Settings::TColour value) = 0;
    virtual bool InPlaceEditing() const = 0;
    virtual void SetInPlaceEditing(bool on) = 0;
    virtual bool StaysOnTop() const = 0;
    virtual void SetStayOnTop(bool on) = 0;
    virtual bool Borderless() const = 0;
    virtual void SetBorderless(bool on) = 0;
    /// Applies a settings file to the window (a missing one gives the defaults).
    virtual void LoadSettingsFile(const QString &path) = 0;
    /// Writes the window's state into a settings file; a failure is silent.
    virtual void SaveSettingsFile(const QString &path) = 0;
};

/// The seams the settings dialog is handed.
struct TSettingsDialogServices
{
    TMessages *Messages = nullptr;
    IFileDialogs *FileDialogs = nullptr;
    IColourDialog *ColourDialog = nullptr;
};
