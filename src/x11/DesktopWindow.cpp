// SPDX-License-Identifier: MIT
#include "x11/DesktopWindow.h"

#include "x11/WindowState.h"
#include "x11/X11.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <vector>

namespace x11 {

namespace {
// The name the X window manager gives itself, empty when there is none.
QByteArray windowManagerName(xcb_connection_t *connection)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const x11::Reply<xcb_get_property_reply_t> check(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root, x11::atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW,
                         0, 1),
        nullptr));
    if (!check || check->format != 32 || xcb_get_property_value_length(check.get()) != sizeof(xcb_window_t))
        return {};
    const xcb_window_t wm = *static_cast<const xcb_window_t *>(xcb_get_property_value(check.get()));
    const x11::Reply<xcb_get_property_reply_t> name(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, wm, x11::atom(connection, "_NET_WM_NAME"),
                         x11::atom(connection, "UTF8_STRING"), 0, 64),
        nullptr));
    if (!name || name->format != 8)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(name.get())),
                      xcb_get_property_value_length(name.get()));
}

// Installed for the application, kept with the window it raises.
class StayOnTopOfXWindows : public QAbstractNativeEventFilter
{
public:
    StayOnTopOfXWindows(xcb_connection_t *connection, QWidget *window)
        : m_connection(connection), m_window(window)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~StayOnTopOfXWindows() override
    {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t" || !m_window->isVisible())
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        // Override-redirect windows (menus, tooltips, the clock itself) are
        // no window manager's doing and stay where their programs put them.
        bool managed = false;
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
            managed = !static_cast<const xcb_map_notify_event_t *>(message)->override_redirect;
        else if ((event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY)
            managed = !static_cast<const xcb_configure_notify_event_t *>(message)->override_redirect;
        if (managed) {
            const std::uint32_t above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(m_connection, xcb_window_t(m_window->winId()), XCB_CONFIG_WINDOW_STACK_MODE, &above);
            xcb_flush(m_connection);
        }
        return false;
    }

private:
    xcb_connection_t *m_connection;
    QWidget *m_window;
};
} // namespace

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

Qt::WindowFlags desktopWindowFlags()
{
    xcb_connection_t *connection = x11::connection();
    if (connection && windowManagerName(connection) == "wlroots wm")
        return Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;
    return Qt::FramelessWindowHint;
}

void keepOnTopOfXWindows(QWidget *window)
{
    xcb_connection_t *connection = x11::connection();
    WindowState &state = WindowState::of(window);
    if (!connection || state.stayOnTop || !(window->windowFlags() & Qt::X11BypassWindowManagerHint))
        return;
    // Told of every top-level window's mapping and restacking, besides the
    // root's events Qt already takes.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const x11::Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root), nullptr));
    if (!attributes)
        return;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    state.stayOnTop = std::make_unique<StayOnTopOfXWindows>(connection, window);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection, xcb_window_t(window->winId()), XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection);
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

} // namespace x11
