#include "platform/DesktopWindow.h"

#include "platform/X11.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace platform {


QPoint positionOnScreen(const QWidget *window)
{
    xcb_connection_t *connection = x11::connection();
    const QWindow *handle = window->windowHandle();
    if (!connection || !handle || !window->testAttribute(Qt::WA_WState_Created))
        return window->geometry().topLeft();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const x11::Reply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, xcb_window_t(window->winId()), root, 0, 0), nullptr));
    if (!reply)
        return window->geometry().topLeft();
    // The server counts device pixels; the program lays out in logical ones.
    const double ratio = handle->devicePixelRatio();
    return QPoint(qRound(reply->dst_x / ratio), qRound(reply->dst_y / ratio));
}

void keepOffTaskbar(QWidget *window)
{
    xcb_connection_t *connection = x11::connection();
    if (!connection)
        return;
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_atom_t netWmState = x11::atom(connection, "_NET_WM_STATE");
    // Window managers drop a window's states when it is withdrawn, so these
    // are set again before every showing, next to the states already there
    // (Qt adds always-on-top to them when it maps the window).
    std::vector<xcb_atom_t> states;
    const x11::Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, netWmState, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        states.assign(data, data + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t));
    }
    for (const char *name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                             // KWin's window switcher lists every normal window not marked so.
                             "_KDE_NET_WM_STATE_SKIP_SWITCHER"}) {
        const xcb_atom_t state = x11::atom(connection, name);
        if (std::find(states.begin(), states.end(), state) == states.end())
            states.push_back(state);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmState, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.data());
    xcb_flush(connection);
}

} // namespace platform
