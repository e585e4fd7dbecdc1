// UnitU1Settings: the settings files of the main window, its colours, the settings dialog and the .lst association.
#include "UnitU1.h"

#include "FileAssociation.h"
#include "He1.h"
#include "SchemeColours.h"
#include "Unit7.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>

using Settings::TColourKey;

namespace {

void paint(QWidget *widget, std::initializer_list<QPalette::ColorRole> roles, const QColor &colour)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : roles)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The screens' available areas, the primary screen first.
QList<QRect> screenAreas()
{
    QList<QRect> areas;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.append(screen->availableGeometry());
    return areas;
}

} // namespace

void TForm1::LoadDefaultSettings()
{
    ApplySettings(Settings::Read(m_defaultSettingsFile));
}

void TForm1::LoadSettingsFile(const QString &path)
{
    ApplySettings(Settings::Read(path));
    m_appliedSettingsFile = path;
    m_form7->ClearOpenName();
}

void TForm1::SaveDefaultSettings()
{
    SaveSettingsFile(m_defaultSettingsFile);
}

void TForm1::SaveSettingsFile(const QString &path)
{
    // A settings file that cannot be written is left as it was, without a message.
    Settings::Save(path, CurrentSettings());
}

void TForm1::ApplySettings(const Settings::TWindowSettings &settings)
{
    // The bounds are the normal ones, also for a window that is then maximized; a place off every
    // screen (a monitor since removed, a file made on a larger screen) is moved onto one. They are the
    // client area's: a frame position taken before the window manager has framed the window (as at the
    // first paint) would be read back shifted by the frame, and every start would move the window.
    if (isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    const QSize size = settings.Bounds.size().expandedTo(minimumSizeHint()).expandedTo(minimumSize());
    const QRect wanted = QRect(settings.Bounds.topLeft(), size).marginsAdded(frame);
    setGeometry(WindowPlacement::Reachable(wanted, screenAreas()).marginsRemoved(frame));

    m_colours = settings.Colours;
    ApplyColours();

    // Stay on top is only ever switched on by a file; the options are applied as one change of window.
    Qt::WindowFlags flags = windowFlags();
    if (settings.StayOnTopRequested())
        flags.setFlag(Qt::WindowStaysOnTopHint);
    SetInPlaceEditing(!settings.TreeReadOnly());
    flags.setFlag(Qt::FramelessWindowHint, settings.Borderless());
    Panel7->setVisible(settings.Borderless());
    if (flags != windowFlags())
        ChangeWindowFlags(flags);
    if (settings.Maximized())
        setWindowState(windowState() | Qt::WindowMaximized);

    if (settings.FrontTab() >= 0)
        PageControl1->setCurrentIndex(settings.FrontTab());
}

Settings::TWindowSettings TForm1::CurrentSettings() const
{
    using Settings::TWindowSettings;
    TWindowSettings s;
    s.Bounds = geometry();
    s.Colours = m_colours;
    s.WindowState = TWindowSettings::WindowStateWord(isMaximized());
    s.ReadOnly = TWindowSettings::Word(!InPlaceEditing());
    s.Window = TWindowSettings::TabWord(PageControl1->currentIndex());
    s.StayOnTop = TWindowSettings::Word(StaysOnTop());
    s.NoBorder = TWindowSettings::Word(Borderless());
    return s;
}

void TForm1::SetColour(TColourKey key, Settings::TColour value)
{
    m_colours[key] = value;
    ApplyColours();
}

void TForm1::ApplyColours()
{
    const QPalette &scheme = QGuiApplication::palette();
    const auto colour = [&](TColourKey key) { return SchemeColours::ToColour(m_colours[key], scheme); };
    paint(TreeView1, { QPalette::Base }, colour(Settings::TreeColour));
    paint(TreeView1, { QPalette::Text }, colour(Settings::TreeFontColour));
    // The right-hand area takes the bottom strip's colour; the information panel is painted over it.
    for (QWidget *w : { Panel2, Panel4 })
        paint(w, { QPalette::Window }, colour(Settings::PanelColour));
    for (QToolButton *b : { SpeedButton1, SpeedButton6, SpeedButton2, SpeedButton4, SpeedButton3 })
        paint(b, { QPalette::ButtonText, QPalette::WindowText }, colour(Settings::PanelFontColour));
    for (QWidget *w : { Panel6, Panel3, Panel5 })
        paint(w, { QPalette::Window, QPalette::Button }, colour(Settings::SystemPanelColour));
    // The URL value keeps its own blue.
    for (QWidget *w : { Panel6, Panel3 })
        paint(w, { QPalette::WindowText, QPalette::ButtonText }, colour(Settings::SystemPanelFont));
    paint(ComboBox1, { QPalette::Base }, colour(Settings::ComboColour));
    paint(ComboBox1, { QPalette::Text }, colour(Settings::ComboFontColour));
    paint(TabSheet2, { QPalette::Window }, colour(Settings::ImageColour));
}

bool TForm1::InPlaceEditing() const
{
    return !TreeView1->ReadOnly();
}

void TForm1::SetInPlaceEditing(bool on)
{
    TreeView1->SetReadOnly(!on);
}

void TForm1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Colours of the desktop scheme follow a change of the desktop's palette.
    if (event->type() == QEvent::ApplicationPaletteChange)
        ApplyColours();
}

void TForm1::ShowSettingsDialog()
{
    m_form7->ShowSettings();
}

void TForm1::AssociateListFiles()
{
    m_association.AssociateListFiles();
}
