// NativeWindow_win: Windows reports a window's frame and position to the toolkit as they change.
#include "NativeWindow.h"

std::optional<NativeWindow::TPlacement> NativeWindow::Placement(const QWindow *)
{
    return std::nullopt;
}

void NativeWindow::SetOwner(const QWindow *, const QWindow *)
{
}
