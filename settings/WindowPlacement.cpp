// WindowPlacement: the test for a reachable window and the move onto a screen.
#include "WindowPlacement.h"

#include <algorithm>

namespace {
constexpr int GripHeight = 30;
constexpr int GripWidth = 100;

qint64 area(const QRect &r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}
} // namespace

QRect WindowPlacement::Reachable(const QRect &bounds, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return bounds;
    const int width = std::max(bounds.width(), 1);
    const int height = std::max(bounds.height(), 1);
    const QRect grip(bounds.left(), bounds.top(), width, std::min(height, GripHeight));
    for (const QRect &screen : screens) {
        const QRect shared = grip & screen;
        if (shared.height() == grip.height() && shared.width() >= std::min(width, GripWidth))
            return bounds;
    }
    QRect target = screens.first();
    qint64 best = 0;
    for (const QRect &screen : screens)
        if (const qint64 a = area(QRect(bounds.topLeft(), QSize(width, height)) & screen); a > best) {
            best = a;
            target = screen;
        }
    const int w = std::min(width, target.width());
    const int h = std::min(height, target.height());
    const int left = std::clamp(bounds.left(), target.left(), target.left() + target.width() - w);
    const int top = std::clamp(bounds.top(), target.top(), target.top() + target.height() - h);
    return QRect(left, top, w, h);
}
