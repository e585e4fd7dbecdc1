// WindowPlacement: fitting a framed window into a screen, in 64-bit arithmetic.
#include "WindowPlacement.h"

#include <algorithm>

namespace {

constexpr qint64 Limit = qint64(1) << 24;

// A rectangle as its edges, one past the right and bottom; no sum of stored numbers overflows here.
struct TSpan
{
    qint64 Left, Top, Right, Bottom;
    qint64 Width() const { return Right - Left; }
    qint64 Height() const { return Bottom - Top; }
};

TSpan spanOf(const QRect &r)
{
    return { r.x(), r.y(), qint64(r.x()) + r.width(), qint64(r.y()) + r.height() };
}

qint64 sharedArea(const TSpan &a, const TSpan &b)
{
    const qint64 w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
    const qint64 h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
    return w > 0 && h > 0 ? w * h : 0;
}

// The start of a length inside [low, high): moved as little as possible; at low when it is too long.
qint64 fit(qint64 start, qint64 length, qint64 low, qint64 high)
{
    return std::max(low, std::min(start, high - length));
}

} // namespace

QRect WindowPlacement::FromSettings(qint64 left, qint64 top, qint64 width, qint64 height)
{
    const auto bounded = [](qint64 v) { return int(std::clamp(v, -Limit, Limit)); };
    return QRect(bounded(left), bounded(top), bounded(width), bounded(height));
}

QRect WindowPlacement::Place(const QRect &client, const QMargins &frame, const QSize &minimum,
                             const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return client;
    const qint64 width = std::max<qint64>({ client.width(), minimum.width(), 1 });
    const qint64 height = std::max<qint64>({ client.height(), minimum.height(), 1 });
    const qint64 frameWidth = qint64(frame.left()) + frame.right();
    const qint64 frameHeight = qint64(frame.top()) + frame.bottom();
    const TSpan outer{ qint64(client.x()) - frame.left(), qint64(client.y()) - frame.top(),
                       qint64(client.x()) + width + frame.right(), qint64(client.y()) + height + frame.bottom() };

    TSpan screen = spanOf(screens.first());
    qint64 best = 0;
    for (const QRect &s : screens)
        if (const qint64 shared = sharedArea(outer, spanOf(s)); shared > best) {
            best = shared;
            screen = spanOf(s);
        }

    // Size first: the frame as large as the screen at most, the client never below its minimum.
    const qint64 w = std::max(std::min(width, screen.Width() - frameWidth), std::max<qint64>(minimum.width(), 1));
    const qint64 h = std::max(std::min(height, screen.Height() - frameHeight), std::max<qint64>(minimum.height(), 1));
    const qint64 left = fit(outer.Left, w + frameWidth, screen.Left, screen.Right) + frame.left();
    const qint64 top = fit(outer.Top, h + frameHeight, screen.Top, screen.Bottom) + frame.top();
    return QRect(int(left), int(top), int(w), int(h));
}
