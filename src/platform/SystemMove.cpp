#include "platform/SystemMove.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

namespace platform {

namespace {
xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, false, uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return a;
}

// Whether the window manager announces _NET_WM_MOVERESIZE on the root window.
bool wmSupports(xcb_connection_t *c, xcb_window_t root, xcb_atom_t wanted)
{
    const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, false, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < n && !found; ++i)
            found = atoms[i] == wanted;
    }
    free(reply);
    return found;
}
} // namespace

bool startSystemMove(QWidget *window, const QPoint &globalPos)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!c) // not X11: the platform's own request
        return window->windowHandle() && window->windowHandle()->startSystemMove();

    // Sent by hand because Qt 6.4's own request on X11 can hand the window
    // manager a start point that is not the pointer's, and the clock then
    // jumps by its own distance from the screen's corner.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t moveResize = atom(c, "_NET_WM_MOVERESIZE");
    if (moveResize == XCB_ATOM_NONE || !wmSupports(c, root, moveResize))
        return false;

    const qreal ratio = window->devicePixelRatioF();
    xcb_client_message_event_t ev = {};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(window->winId());
    ev.type = moveResize;
    ev.data.data32[0] = uint32_t(qRound(globalPos.x() * ratio));
    ev.data.data32[1] = uint32_t(qRound(globalPos.y() * ratio));
    ev.data.data32[2] = 8; // _NET_WM_MOVERESIZE_MOVE
    ev.data.data32[3] = XCB_BUTTON_INDEX_1;
    ev.data.data32[4] = 1; // a normal application asks
    // Let go of the pointer the press gave us, so the window manager can take it.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_send_event(c, false, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&ev));
    xcb_flush(c);
    return true;
}

} // namespace platform
