// UnitU1Chrome: borderless mode and its window buttons, moving the window by the information panel,
// "Скрыть панель" and stay on top.
#include "UnitU1.h"

#include "He1.h"

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
        ChangeWindowFlags(windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
}

bool TForm1::Borderless() const
{
    return windowFlags().testFlag(Qt::FramelessWindowHint);
}

void TForm1::SetBorderless(bool on)
{
    Panel7->setVisible(on);
    if (on != Borderless())
        ChangeWindowFlags(windowFlags().setFlag(Qt::FramelessWindowHint, on));
}

void TForm1::ChangeWindowFlags(Qt::WindowFlags flags)
{
    // New flags give the window a new native window, hidden; it keeps its bounds and state. Shown
    // again it comes up over its own dialogs (the settings dialog that changed it), which go back on top.
    const bool visible = isVisible();
    QWidget *active = QApplication::activeWindow();
    setWindowFlags(flags);
    if (!visible)
        return;
    show();
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (child->isWindow() && child->isVisible())
            child->raise();
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
        m_dragWindowStart = pos();
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
        move(m_dragWindowStart + mouse->globalPosition().toPoint() - m_dragStart);
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
    // The tree, the transport strip's 21 pixels and 8 more: the information panel and the tabs are cut off.
    resize(TreeView1->width() + 21 + 8, height());
    PageControl1->setCurrentIndex(AboutTab);
}
