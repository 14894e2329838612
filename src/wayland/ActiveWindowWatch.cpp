// SPDX-License-Identifier: MIT
#include "wayland/ActiveWindowWatch.h"
#include "wayland/Registry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSet>
#include <QtWaylandClient/QWaylandClientExtensionTemplate>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

#include "qwayland-plasma-window-management.h"
#include "qwayland-wlr-foreign-toplevel-management-unstable-v1.h"

namespace wayland {
namespace {

// Plasma names a window by a uuid only from this version on.
constexpr int kPlasmaVersion = 16;
constexpr int kWlrVersion = 3;
// How long after Qt has connected anew to a compositor that restarted the
// other programs' windows are still coming back: each program connects anew
// on its own, and the compositor activates each window as it comes.
constexpr qint64 kReturnMs = 5000;

// Whether Qt's connection still carries requests: not once it broke (Qt
// then connects anew, and the objects of the old connection are only memory).
bool connectionAlive()
{
    wl_display *display = qtDisplay();
    return display && wl_display_get_error(display) == 0;
}

// One window as a window list tells it.
class ListedWindow
{
public:
    virtual ~ListedWindow() = default;
    // Lets go of the window's object, telling the compositor when `tell`.
    virtual void release(bool tell) = 0;

    bool active = false;
    bool ours = false;
    bool described = false; // its first state has come in full
    QString owner;          // the program it belongs to: its process (Plasma) or app id (wlr)
};

// The windows a list tells of, and which of them is active. The windows it
// tells of before it has caught up with the compositor are the ones there
// were when it was bound: their activation is not the user's doing.
class WindowList
{
public:
    explicit WindowList(ActiveWindowWatch *watch) : m_watch(watch) {}
    ~WindowList() { clear(); }

    // The list was bound (again): it catches up once the compositor has
    // answered what it sent then, and (Plasma, which describes a window once
    // asked for it) what was asked in answer.
    void begin()
    {
        clear();
        if (!m_owners.isEmpty())
            m_since.start();
        m_syncsLeft = 2;
        sync();
    }

    void add(ListedWindow *window) { m_windows.emplace_back(window); }

    void settle(const ListedWindow *window)
    {
        if (!window->described)
            return;
        if (window->active && m_active != window) {
            m_active = window;
            if (m_caughtUp && !window->ours && !returning(window))
                Q_EMIT m_watch->otherActivated();
        } else if (!window->active && m_active == window) {
            m_active = nullptr;
        }
    }

    // Called from the window's own last event: libwayland holds its object
    // until the event has been dispatched.
    void remove(ListedWindow *window)
    {
        if (m_active == window)
            m_active = nullptr;
        window->release(true);
        std::erase_if(m_windows, [window](const auto &w) { return w.get() == window; });
    }

    // Every window let go, as when the list goes or its connection broke.
    // A compositor that went away took the windows with it: the programs
    // they belong to are kept, as their windows come back once it restarted.
    void clear()
    {
        const bool tell = connectionAlive();
        if (!tell) {
            m_owners.clear();
            for (const auto &window : m_windows)
                if (!window->ours && !window->owner.isEmpty())
                    m_owners.insert(window->owner);
        }
        for (const auto &window : m_windows)
            window->release(tell);
        m_windows.clear();
        m_active = nullptr;
        m_caughtUp = false;
        if (m_sync)
            wl_callback_destroy(m_sync);
        m_sync = nullptr;
    }

private:
    // A window of a program that had one before the compositor restarted,
    // come back while the programs still reconnect.
    bool returning(const ListedWindow *window) const
    {
        return m_since.isValid() && !m_since.hasExpired(kReturnMs) && m_owners.contains(window->owner);
    }

    void sync()
    {
        static const wl_callback_listener listener = {
            [](void *data, wl_callback *, std::uint32_t) {
                auto *list = static_cast<WindowList *>(data);
                wl_callback_destroy(list->m_sync);
                list->m_sync = nullptr;
                if (--list->m_syncsLeft > 0)
                    list->sync();
                else
                    list->m_caughtUp = true;
            },
        };
        m_sync = wl_display_sync(qtDisplay());
        wl_callback_add_listener(m_sync, &listener, this);
    }

    ActiveWindowWatch *m_watch;
    std::vector<std::unique_ptr<ListedWindow>> m_windows;
    const ListedWindow *m_active = nullptr;
    bool m_caughtUp = false;
    wl_callback *m_sync = nullptr;
    int m_syncsLeft = 0;
    QSet<QString> m_owners;  // the programs that had windows when the compositor went away
    QElapsedTimer m_since;   // since the list was bound again on the new compositor
};

// Lets go of a window's object: told to the compositor when `tell`, else
// only its proxy freed, what is left of an object of a connection that broke.
template <typename Object> void letGo(Object &object, bool tell)
{
    if (tell)
        object.destroy();
    else if (object.isInitialized())
        wl_proxy_destroy(reinterpret_cast<wl_proxy *>(object.object()));
}

// A list's windows begin anew each time Qt binds it (at the start, and on a
// compositor that took the place of one that went), and go when it is gone.
void followBinding(QWaylandClientExtension *list, WindowList &windows)
{
    QObject::connect(list, &QWaylandClientExtension::activeChanged, list, [list, &windows] {
        if (list->isActive())
            windows.begin();
        else
            windows.clear();
    });
}

} // namespace

// The wlr foreign toplevel list: each window with its app id and states.
class WlrToplevelList : public QWaylandClientExtensionTemplate<WlrToplevelList>,
                        public QtWayland::zwlr_foreign_toplevel_manager_v1
{
public:
    explicit WlrToplevelList(ActiveWindowWatch *watch)
        : QWaylandClientExtensionTemplate(kWlrVersion)
        , m_windows(watch)
    {
        followBinding(this, m_windows);
        initialize();
    }

    ~WlrToplevelList() override
    {
        m_windows.clear();
        if (isActive() && connectionAlive())
            stop();
        if (isInitialized())
            wl_proxy_destroy(reinterpret_cast<wl_proxy *>(object()));
    }

protected:
    void zwlr_foreign_toplevel_manager_v1_toplevel(struct ::zwlr_foreign_toplevel_handle_v1 *toplevel) override
    {
        m_windows.add(new Toplevel(&m_windows, toplevel));
    }

private:
    class Toplevel : public ListedWindow, public QtWayland::zwlr_foreign_toplevel_handle_v1
    {
    public:
        Toplevel(WindowList *list, struct ::zwlr_foreign_toplevel_handle_v1 *object)
            : zwlr_foreign_toplevel_handle_v1(object)
            , m_list(list)
        {
        }

        void release(bool tell) override { letGo<QtWayland::zwlr_foreign_toplevel_handle_v1>(*this, tell); }

    protected:
        void zwlr_foreign_toplevel_handle_v1_app_id(const QString &appId) override
        {
            owner = appId;
            ours = appId == QGuiApplication::desktopFileName();
        }
        void zwlr_foreign_toplevel_handle_v1_state(wl_array *states) override
        {
            const auto *first = static_cast<const std::uint32_t *>(states->data);
            const auto *last = first + states->size / sizeof(std::uint32_t);
            active = std::find(first, last, std::uint32_t(state_activated)) != last;
        }
        void zwlr_foreign_toplevel_handle_v1_done() override
        {
            described = true;
            m_list->settle(this);
        }
        void zwlr_foreign_toplevel_handle_v1_closed() override { m_list->remove(this); }

    private:
        WindowList *m_list;
    };

    WindowList m_windows;
};

// Plasma's window management: each window by its uuid, with its states and
// the process it belongs to.
class PlasmaWindowList : public QWaylandClientExtensionTemplate<PlasmaWindowList>,
                         public QtWayland::org_kde_plasma_window_management
{
public:
    explicit PlasmaWindowList(ActiveWindowWatch *watch)
        : QWaylandClientExtensionTemplate(kPlasmaVersion)
        , m_windows(watch)
    {
        followBinding(this, m_windows);
        initialize();
    }

    ~PlasmaWindowList() override
    {
        m_windows.clear();
        if (isInitialized())
            wl_proxy_destroy(reinterpret_cast<wl_proxy *>(object()));
    }

protected:
    void org_kde_plasma_window_management_window_with_uuid(uint32_t, const QString &uuid) override
    {
        m_windows.add(new Window(&m_windows, get_window_by_uuid(uuid)));
    }

private:
    class Window : public ListedWindow, public QtWayland::org_kde_plasma_window
    {
    public:
        Window(WindowList *list, struct ::org_kde_plasma_window *object)
            : org_kde_plasma_window(object)
            , m_list(list)
        {
        }

        void release(bool tell) override { letGo<QtWayland::org_kde_plasma_window>(*this, tell); }

    protected:
        void org_kde_plasma_window_state_changed(uint32_t flags) override
        {
            active = flags & org_kde_plasma_window_management::state_active;
            m_list->settle(this);
        }
        void org_kde_plasma_window_pid_changed(uint32_t pid) override
        {
            owner = QString::number(pid);
            ours = pid == std::uint32_t(getpid());
        }
        void org_kde_plasma_window_initial_state() override
        {
            described = true;
            m_list->settle(this);
        }
        void org_kde_plasma_window_unmapped() override { m_list->remove(this); }

    private:
        WindowList *m_list;
    };

    WindowList m_windows;
};

ActiveWindowWatch &ActiveWindowWatch::instance()
{
    static ActiveWindowWatch *watch = nullptr;
    if (!watch) {
        watch = new ActiveWindowWatch;
        // Its objects belong to Qt's connection, which goes with the
        // application object: they are let go before.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, watch, [] {
            delete watch;
            watch = nullptr;
        });
    }
    return *watch;
}

// One list is enough: the wlr one where the compositor offers it, else
// Plasma's.
ActiveWindowWatch::ActiveWindowWatch()
    : m_wlr(std::make_unique<WlrToplevelList>(this))
{
    if (!m_wlr->isActive())
        m_plasma = std::make_unique<PlasmaWindowList>(this);
}

ActiveWindowWatch::~ActiveWindowWatch() = default;

} // namespace wayland
