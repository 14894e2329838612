// SPDX-License-Identifier: MIT
#include "x11/Compositor.h"
#include "x11/X11.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSet>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace x11 {
namespace {

class CompositorWatch : public QAbstractNativeEventFilter
{
public:
    explicit CompositorWatch(xcb_connection_t *connection)
        : m_connection(connection)
    {
        const xcb_setup_t *setup = xcb_get_setup(connection);
        // The default screen is the one the connection was opened for; Qt
        // puts its windows there.
        int screen = 0;
        const QByteArray display = qgetenv("DISPLAY");
        if (const int dot = display.lastIndexOf('.'); dot > display.lastIndexOf(':'))
            screen = display.mid(dot + 1).toInt();
        if (screen < 0 || screen >= xcb_setup_roots_length(setup))
            screen = 0;
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
        // The requests answered together: one round trip, once. (xcb keeps
        // the extension's data for the connection; Qt has asked for it too.)
        const auto atomCookie = xcb_intern_atom(connection, 0, quint16(name.size()), name.constData());
        xcb_prefetch_extension_data(connection, &xcb_xfixes_id);
        const x11::Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(connection, atomCookie, nullptr));
        const xcb_query_extension_reply_t *fixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
        if (!atom)
            return;
        m_selection = atom->atom;
        if (fixes && fixes->present)
            m_notifyType = std::uint8_t(fixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        const x11::Reply<xcb_get_selection_owner_reply_t> owner(
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, m_selection), nullptr));
        m_running = owner && owner->owner != XCB_NONE;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) == XCB_REPARENT_NOTIFY) {
            const auto *reparent = static_cast<const xcb_reparent_notify_event_t *>(message);
            // (Back on the root when a window manager ends: nothing to ask.)
            if (m_shadowless.contains(reparent->window) && !isRoot(reparent->parent))
                setNoShadow(reparent->parent);
            return false;
        }
        if (m_notifyType == 0 || (event->response_type & 0x7f) != m_notifyType)
            return false;
        const auto *notice = static_cast<const xcb_xfixes_selection_notify_event_t *>(message);
        if (notice->selection == m_selection)
            m_running = notice->owner != XCB_NONE;
        return false; // Qt keeps its own record from the same notice
    }

    bool running() const { return m_running; }

    void keepShadowOff(xcb_window_t window)
    {
        m_shadowless.insert(window);
        setNoShadow(window);
    }

private:
    bool isRoot(xcb_window_t window) const
    {
        for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); screens.rem; xcb_screen_next(&screens))
            if (screens.data->root == window)
                return true;
        return false;
    }

    void setNoShadow(xcb_window_t window)
    {
        // picom reads _COMPTON_SHADOW, its later versions _PICOM_SHADOW as
        // well: 0 is no shadow.
        if (m_shadowAtoms[0] == XCB_NONE) {
            m_shadowAtoms[0] = x11::atom(m_connection, "_COMPTON_SHADOW");
            m_shadowAtoms[1] = x11::atom(m_connection, "_PICOM_SHADOW");
        }
        const std::uint32_t off = 0;
        for (const xcb_atom_t atom : m_shadowAtoms)
            if (atom != XCB_NONE)
                xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom, XCB_ATOM_CARDINAL, 32, 1, &off);
        xcb_flush(m_connection);
    }

    xcb_connection_t *m_connection;
    xcb_atom_t m_shadowAtoms[2] = {XCB_NONE, XCB_NONE};
    QSet<xcb_window_t> m_shadowless; // our windows that asked, by X id
    xcb_atom_t m_selection = XCB_NONE;
    std::uint8_t m_notifyType = 0;
    bool m_running = false;
};

CompositorWatch *watch()
{
    xcb_connection_t *connection = x11::connection();
    if (!connection)
        return nullptr;
    static CompositorWatch watch(connection);
    return &watch;
}

} // namespace

bool compositorRunning()
{
    CompositorWatch *w = watch();
    return w && w->running();
}

void keepShadowOff(QWidget *window)
{
    if (CompositorWatch *w = watch(); w && window->testAttribute(Qt::WA_WState_Created))
        w->keepShadowOff(xcb_window_t(window->winId()));
}

} // namespace x11
