// Unit7: TForm7, the settings dialog: the main window's colours and options, live, and settings files.
#pragma once

#include "SettingsHost.h"

#include <QColor>
#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TForm7 : public QDialog
{
    Q_OBJECT
public:
    TForm7(ISettingsHost &host, const TSettingsDialogServices &services, QWidget *parent = nullptr);

    /// Shows the dialog, not modal, with the check boxes set from the window.
    void ShowSettings();
    /// Forgets the name last chosen in the open dialog (every settings file loaded does this).
    void ClearOpenName() { m_openName.clear(); }
    const QString &OpenName() const { return m_openName; }
    /// The name the save dialog starts with: the last one saved, with its ".ini".
    const QString &SaveName() const { return m_saveName; }
    /// The colour the colour dialog opens with next.
    const QColor &LastColour() const { return m_lastColour; }

private:
    QGroupBox *ColourGroup(const QString &title, std::initializer_list<std::pair<const char16_t *, Settings::TColourKey>> rows);
    void ChooseColour(Settings::TColourKey key);
    void OpenSettingsFile();
    void SaveSettingsFile();

    ISettingsHost &m_host;
    TSettingsDialogServices m_services;
    QColor m_lastColour = Qt::black;
    QString m_openName;
    QString m_saveName;

    std::array<QLineEdit *, Settings::ColourCount> m_boxes{}; ///< Edit1 ... Edit9 from the top, by colour
    int m_rowCount = 0;
    QCheckBox *CheckBox1 = nullptr; // in-place editing
    QCheckBox *CheckBox2 = nullptr; // stay on top
    QCheckBox *CheckBox3 = nullptr; // borderless
    QPushButton *Button10 = nullptr; // save a settings file
    QPushButton *Button11 = nullptr; // open a settings file
    QPushButton *Button12 = nullptr; // close
};
