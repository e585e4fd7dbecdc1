// UnitU1Chrome: borderless mode and its window buttons, moving the window by the information panel,
// "Скрыть панель" and stay on top.
#include "UnitU1.h"

#include "He1.h"
#include "NativeWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

bool TForm1::StaysOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TForm1::SetStayOnTop(bool on)
{
    if (on != StaysOnTop())
        ChangeWindowFlags(windowFlags().setFlag(Qt::WindowStaysOnTopHint, on), ClientOnScreen());
}

bool TForm1::Borderless() const
{
    return windowFlags().testFlag(Qt::FramelessWindowHint);
}

void TForm1::SetBorderless(bool on)
{
    Panel7->setVisible(on);
    if (on != Borderless())
        ChangeWindowFlags(windowFlags().setFlag(Qt::FramelessWindowHint, on), ClientOnScreen());
}

void TForm1::ChangeWindowFlags(Qt::WindowFlags flags, const QRect &client)
{
    // New flags give the window a new native window, hidden; it keeps its state. It is placed by its
    // client area: placed by its frame, which the toolkit may not have measured yet, it would move by
    // the frame's size. Shown again it comes up over its own dialogs (the settings dialog that changed
    // it). Those still belong to the native window it had: made the new one's, they stay above it, also
    // when it stays on top.
    const bool visible = isVisible();
    QWidget *active = QApplication::activeWindow();
    setWindowFlags(flags);
    setGeometry(client);
    if (!visible)
        return;
    show();
    // Once more when the window manager has taken the new window: it links a dialog only to a window it
    // manages.
    const auto ownDialogs = [this] {
        for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (child->isWindow() && child->isVisible()) {
                NativeWindow::SetOwner(child->windowHandle(), windowHandle());
                child->raise();
            }
    };
    ownDialogs();
    WhenFramed([ownDialogs](const QMargins &) { ownDialogs(); });
    if (active && active != this && active->isVisible())
        active->activateWindow();
}

void TForm1::CloseButtonClicked()
{
    close();
}

void TForm1::MaximizeButtonClicked()
{
    // The symbol changes only here: a window maximized by the settings still shows "maximise".
    if (isMaximized()) {
        SpeedButton13->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
        showNormal();
    } else {
        SpeedButton13->setIcon(style()->standardIcon(QStyle::SP_TitleBarNormalButton));
        showMaximized();
    }
}

bool TForm1::PanelMouseEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        // Only the panel's own surface: a press on a label or a window button is theirs.
        if (Panel6->childAt(mouse->position().toPoint()))
            return false;
        // Wayland lets no program place its windows; the compositor moves it instead.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && windowHandle()
            && windowHandle()->startSystemMove())
            return true;
        m_dragging = true;
        m_dragStart = mouse->globalPosition().toPoint();
        m_dragWindowStart = ClientOnScreen().topLeft();
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_dragging)
            return false;
        if (mouse->buttons() == Qt::NoButton) {
            m_dragging = false; // the release went elsewhere
            return false;
        }
        // Measured on the screen, the grabbed point stays under the pointer however late the window follows.
        setGeometry(QRect(m_dragWindowStart + mouse->globalPosition().toPoint() - m_dragStart, size()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_dragging)
            return false;
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

void TForm1::HidePanel()
{
    // The window narrowed to its left side, exactly: the information panel and the tabs are cut off.
    // Pressed again it brings them back, as wide as before, for a window whose border cannot be dragged.
    if (width() > Panel1->width()) {
        m_widthBeforeHiding = width();
        resize(Panel1->width(), height());
        PageControl1->setCurrentIndex(AboutTab);
    } else {
        resize(m_widthBeforeHiding > Panel1->width() ? m_widthBeforeHiding : Panel1->width() + Panel4->sizeHint().width(),
               height());
    }
}
