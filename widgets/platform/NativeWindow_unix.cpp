// NativeWindow_unix: a window's position, frame and owner, asked of and told to the X server; Wayland
// tells programs neither.
#include "NativeWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QList>
#include <QtMath>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

template <class Reply> using TReply = std::unique_ptr<Reply, decltype(&std::free)>;
template <class Reply> TReply<Reply> owned(Reply *reply)
{
    return TReply<Reply>(reply, &std::free);
}

// A native length in logical pixels, as the toolkit scales them (QT_SCALE_FACTOR and the screen's own factor).
int logical(int native, qreal factor)
{
    return qRound(native / factor);
}

// A frame's width in logical pixels, rounded up: a window placed by it never reaches past the screen.
int logicalAtLeast(int native, qreal factor)
{
    return qCeil(native / factor - 1e-6);
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, quint16(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The values of a window's property, up to count of 32 bits; none when it is not set.
QList<quint32> property(xcb_connection_t *connection, xcb_window_t window, const char *name, quint32 count = 4)
{
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atom(connection, name), XCB_ATOM_ANY, 0, count), nullptr));
    QList<quint32> values;
    if (!reply || reply->type == XCB_ATOM_NONE)
        return values;
    if (reply->format != 32)
        return { 0 }; // set, with values of another kind
    const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    return QList<quint32>(data, data + xcb_get_property_value_length(reply.get()) / 4);
}

// The X server's connection when the window is a shown X window; null otherwise.
xcb_connection_t *connectionFor(const QWindow *window)
{
    // Only the xcb platform's windows are X windows (the offscreen one may answer for X11 too).
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb") || !window || !window->isVisible()
        || !window->handle())
        return nullptr;
    return x11->connection();
}

} // namespace

std::optional<NativeWindow::TPlacement> NativeWindow::Placement(const QWindow *window)
{
    xcb_connection_t *connection = connectionFor(window);
    if (!connection)
        return std::nullopt;
    const auto client = xcb_window_t(window->winId());

    // The client's own place on the screen, and its size.
    const auto tree = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, client), nullptr));
    const auto geometry = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, client), nullptr));
    if (!tree || !geometry)
        return std::nullopt;
    const xcb_window_t root = tree->root;
    const auto onRoot = owned(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, client, root, 0, 0), nullptr));
    if (!onRoot)
        return std::nullopt;

    // The frame the window manager has drawn around the window, as it announces it (EWMH's
    // _NET_FRAME_EXTENTS: left, right, top, bottom). A manager that does not announce frames: once it
    // has taken the window (ICCCM's WM_STATE), the extent around the client of the frame window it put
    // the client in, a child of the root. Until then there is no frame yet. Without a manager there is none.
    QMargins margins;
    bool framed = false;
    const auto extentsAtom = atom(connection, "_NET_FRAME_EXTENTS");
    if (const QList<quint32> extents = property(connection, client, "_NET_FRAME_EXTENTS"); extents.size() == 4) {
        margins = QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
        framed = true;
    } else if (property(connection, root, "_NET_SUPPORTING_WM_CHECK").isEmpty()) {
        framed = true;
    } else if (!property(connection, root, "_NET_SUPPORTED", 4096).contains(extentsAtom)
               && !property(connection, client, "WM_STATE").isEmpty() && tree->parent != root) {
        xcb_window_t frame = tree->parent;
        for (xcb_window_t parent = frame; parent != root && parent != XCB_WINDOW_NONE;) {
            frame = parent;
            const auto up = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr));
            if (!up)
                return std::nullopt;
            parent = up->parent;
        }
        const auto outer = owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, frame), nullptr));
        const auto inFrame = owned(xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, client, frame, 0, 0), nullptr));
        if (!outer || !inFrame)
            return std::nullopt;
        margins = QMargins(inFrame->dst_x, inFrame->dst_y, outer->width - inFrame->dst_x - geometry->width,
                           outer->height - inFrame->dst_y - geometry->height);
        framed = true;
    }

    // The toolkit keeps a screen's origin and scales the distances from it.
    const qreal factor = window->devicePixelRatio();
    const QScreen *screen = window->screen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    TPlacement placement;
    placement.Client = QRect(origin.x() + logical(onRoot->dst_x - origin.x(), factor),
                             origin.y() + logical(onRoot->dst_y - origin.y(), factor),
                             logical(geometry->width, factor), logical(geometry->height, factor));
    placement.Frame = QMargins(logicalAtLeast(margins.left(), factor), logicalAtLeast(margins.top(), factor),
                               logicalAtLeast(margins.right(), factor), logicalAtLeast(margins.bottom(), factor));
    placement.Framed = framed;
    return placement;
}

void NativeWindow::SetOwner(const QWindow *dialog, const QWindow *owner)
{
    xcb_connection_t *connection = connectionFor(dialog);
    if (!connection || !connectionFor(owner))
        return;
    const auto ownerId = xcb_window_t(owner->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(dialog->winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &ownerId);
    xcb_flush(connection);
}
