// UnitU1Settings: the settings files of the main window, its colours, the settings dialog and the .lst association.
#include "UnitU1.h"

#include "FileAssociation.h"
#include "He1.h"
#include "KsError.h"
#include "SchemeColours.h"
#include "Unit7.h"
#include "NativeWindow.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace Qt::StringLiterals;
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

// Runs an action with a window's frame once the window manager has framed the window (the first paint
// can come before that): asked every 50 ms, for 5 s at most.
class TWhenFramed : public QObject
{
public:
    TWhenFramed(QWidget *window, std::function<void(const QMargins &frame)> action)
        : QObject(window), m_window(window), m_action(std::move(action))
    {
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, this, &TWhenFramed::Check);
        m_timer.start();
    }

private:
    void Check()
    {
        const std::optional<NativeWindow::TPlacement> placed = NativeWindow::Placement(m_window->windowHandle());
        if (placed && placed->Framed)
            m_action(placed->Frame);
        if (!placed || placed->Framed || ++m_checks == 100) {
            m_timer.stop();
            deleteLater();
        }
    }

    QWidget *m_window;
    std::function<void(const QMargins &)> m_action;
    QTimer m_timer;
    int m_checks = 0;
};

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
    // The bounds are the normal ones (of the client area), also for a window that is then maximized.
    // The whole frame is kept inside one screen's available area, whatever the scale: a place off every
    // screen (a monitor since removed, a file made on a larger screen) is moved onto one, and a size
    // larger than the screen is made to fit it. A borderless window will have no frame.
    if (isMaximized())
        setWindowState(windowState() & ~Qt::WindowMaximized);
    const std::optional<NativeWindow::TPlacement> placed = NativeWindow::Placement(windowHandle());
    const QMargins frame = settings.Borderless() ? QMargins() : FrameMargins(placed);
    const QSize minimum = minimumSizeHint().expandedTo(minimumSize());
    const QRect bounds = WindowPlacement::Place(settings.Bounds, frame, minimum, screenAreas());

    m_colours = settings.Colours;
    ApplyColours();

    // Stay on top is only ever switched on by a file; the options are applied as one change of window,
    // which places the new window at the bounds.
    Qt::WindowFlags flags = windowFlags();
    if (settings.StayOnTopRequested())
        flags.setFlag(Qt::WindowStaysOnTopHint);
    SetInPlaceEditing(!settings.TreeReadOnly());
    flags.setFlag(Qt::FramelessWindowHint, settings.Borderless());
    Panel7->setVisible(settings.Borderless());
    const bool newWindow = flags != windowFlags();
    if (newWindow)
        ChangeWindowFlags(flags, bounds);
    else
        setGeometry(bounds);
    if (settings.Maximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    // A window the window manager has not framed yet (the first paint can come before that, and new
    // flags make a new window) is placed again by its frame once it has one.
    if (placed && (newWindow || !placed->Framed) && !settings.Borderless())
        WhenFramed([this, wanted = settings.Bounds, minimum](const QMargins &framed) {
            if (!isMaximized() && !Borderless())
                setGeometry(WindowPlacement::Place(wanted, framed, minimum, screenAreas()));
        });

    if (settings.FrontTab() >= 0)
        PageControl1->setCurrentIndex(settings.FrontTab());
}

Settings::TWindowSettings TForm1::CurrentSettings() const
{
    using Settings::TWindowSettings;
    TWindowSettings s;
    s.Bounds = ClientOnScreen();
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

void TForm1::WhenFramed(std::function<void(const QMargins &frame)> action)
{
    new TWhenFramed(this, std::move(action));
}

QRect TForm1::ClientOnScreen() const
{
    // The window system's answer: the toolkit's record of the position can lag behind a window manager
    // that has framed or re-created the window, and a position saved from it would move the window.
    const std::optional<NativeWindow::TPlacement> placed = NativeWindow::Placement(windowHandle());
    return placed ? placed->Client : geometry();
}

QMargins TForm1::FrameMargins(const std::optional<NativeWindow::TPlacement> &placed) const
{
    // At the first paint the toolkit may not have seen the frame yet; the window system has, once the
    // window manager has framed the window.
    if (placed)
        return placed->Framed ? placed->Frame : QMargins();
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
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
    // The desktop may take a while to take it up (its MIME database is rebuilt): the window goes on
    // meanwhile, and the user hears when it is done.
    m_association.AssociateListFiles([this](const QString &failure) {
        Guarded([this, &failure] {
            if (!failure.isEmpty())
                throw KsError(failure);
            m_messages.ShowMessage(u"Файлы *.lst связаны с Kestrune."_s);
        });
    });
}
