// NativeWindow: what the window system itself says about a top-level window, and its owner.
#pragma once

#include <QMargins>
#include <QRect>
#include <optional>

class QWindow;

namespace NativeWindow {

/// A shown top-level window as the window system has placed it, in the toolkit's logical pixels.
struct TPlacement
{
    QRect Client;   ///< the window's own area on the screen
    QMargins Frame; ///< the window manager's frame around it: title bar and borders
    bool Framed = false; ///< the window manager has taken the window, or none runs: Frame is final
};

/// Asks the window system now. The toolkit's own record of a window's position can lag behind a window
/// manager that frames, moves or re-creates the window; this does not. Nothing where the platform
/// cannot tell (a window not shown, Wayland, no window system): the toolkit's values hold there.
std::optional<TPlacement> Placement(const QWindow *window);

/// Makes a shown dialog belong to owner's native window now, so that the window manager keeps it above
/// it. The toolkit sets this only when a dialog is shown, so a dialog already shown would still belong
/// to a native window its owner has replaced. Does nothing where the platform keeps it by itself.
void SetOwner(const QWindow *dialog, const QWindow *owner);

} // namespace NativeWindow
