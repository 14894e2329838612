// SPDX-License-Identifier: MIT
#include "wayland/ActiveWindowWatch.h"
#include "wayland/Registry.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <wayland-client.h>

#include "plasma-window-management-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace wayland {
namespace {

struct Global {
    std::uint32_t name = 0;
    std::uint32_t version = 0;
};

// Plasma names a window by a uuid only from this version on.
constexpr std::uint32_t kPlasmaUuids = 13;

} // namespace

ActiveWindowWatch::ActiveWindowWatch(wl_display *display, Protocol protocol, std::function<void()> otherActivated)
    : m_display(display)
    , m_protocol(protocol)
    , m_otherActivated(std::move(otherActivated))
{
}

std::unique_ptr<ActiveWindowWatch> ActiveWindowWatch::start(std::function<void()> otherActivated)
{
    wl_display *display = qtDisplay();
    if (!display)
        return nullptr;
    // Everything up to the windows there are now is asked on a queue of our
    // own, while Qt goes on with its connection.
    wl_event_queue *queue = wl_display_create_queue(display);
    auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), queue);
    wl_registry *registry = wl_display_get_registry(wrapper);
    struct Globals {
        Global wlr, plasma;
    } globals;
    static const wl_registry_listener listener = {
        [](void *data, wl_registry *, std::uint32_t name, const char *interface, std::uint32_t version) {
            auto *g = static_cast<Globals *>(data);
            if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0)
                g->wlr = {name, version};
            else if (std::strcmp(interface, org_kde_plasma_window_management_interface.name) == 0)
                g->plasma = {name, version};
        },
        [](void *, wl_registry *, std::uint32_t) {},
    };
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip_queue(display, queue);

    std::unique_ptr<ActiveWindowWatch> watch;
    wl_proxy *manager = nullptr;
    if (globals.wlr.name) {
        watch.reset(new ActiveWindowWatch(display, Protocol::Wlr, std::move(otherActivated)));
        manager = static_cast<wl_proxy *>(wl_registry_bind(
            registry, globals.wlr.name, &zwlr_foreign_toplevel_manager_v1_interface,
            std::min<std::uint32_t>(globals.wlr.version, zwlr_foreign_toplevel_manager_v1_interface.version)));
    } else if (globals.plasma.name && globals.plasma.version >= kPlasmaUuids) {
        watch.reset(new ActiveWindowWatch(display, Protocol::Plasma, std::move(otherActivated)));
        manager = static_cast<wl_proxy *>(wl_registry_bind(
            registry, globals.plasma.name, &org_kde_plasma_window_management_interface,
            std::min<std::uint32_t>(globals.plasma.version, org_kde_plasma_window_management_interface.version)));
    }
    if (watch) {
        watch->m_manager = manager;
        wl_proxy_add_dispatcher(manager, &ActiveWindowWatch::dispatch, watch.get(), nullptr);
        // The windows, then (Plasma, which sends them when asked) their states.
        wl_display_roundtrip_queue(display, queue);
        wl_display_roundtrip_queue(display, queue);
        watch->m_started = true;
        // From now on Qt dispatches them, with its own events. What came in
        // on our queue meanwhile is dispatched here first, in its order.
        wl_proxy_set_queue(manager, nullptr);
        for (const auto &window : watch->m_windows)
            wl_proxy_set_queue(window.first, nullptr);
        wl_display_dispatch_queue_pending(display, queue);
    }
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapper);
    wl_event_queue_destroy(queue);
    return watch;
}

ActiveWindowWatch::~ActiveWindowWatch()
{
    while (!m_windows.empty())
        removeWindow(m_windows.begin()->first);
    if (m_protocol == Protocol::Wlr)
        zwlr_foreign_toplevel_manager_v1_stop(reinterpret_cast<zwlr_foreign_toplevel_manager_v1 *>(m_manager));
    wl_proxy_destroy(m_manager);
    wl_display_flush(m_display);
}

// Events by name, whatever version of the protocol the compositor speaks.
int ActiveWindowWatch::dispatch(const void *watch, void *target, std::uint32_t, const wl_message *message,
                                wl_argument *args)
{
    auto *self = static_cast<ActiveWindowWatch *>(const_cast<void *>(watch));
    auto *proxy = static_cast<wl_proxy *>(target);
    if (proxy == self->m_manager)
        self->onManagerEvent(message->name, args);
    else
        self->onWindowEvent(proxy, message->name, args);
    return 0;
}

void ActiveWindowWatch::onManagerEvent(const char *event, wl_argument *args)
{
    if (m_protocol == Protocol::Wlr && std::strcmp(event, "toplevel") == 0) {
        addWindow(reinterpret_cast<wl_proxy *>(args[0].o));
    } else if (m_protocol == Protocol::Plasma && std::strcmp(event, "window_with_uuid") == 0) {
        addWindow(reinterpret_cast<wl_proxy *>(org_kde_plasma_window_management_get_window_by_uuid(
            reinterpret_cast<org_kde_plasma_window_management *>(m_manager), args[1].s)));
    }
}

void ActiveWindowWatch::onWindowEvent(wl_proxy *proxy, const char *event, wl_argument *args)
{
    auto it = m_windows.find(proxy);
    if (it == m_windows.end())
        return;
    Window &window = it->second;
    if (m_protocol == Protocol::Wlr) {
        if (std::strcmp(event, "state") == 0) {
            const wl_array *states = args[0].a;
            const auto *first = static_cast<const std::uint32_t *>(states->data);
            const auto *last = first + states->size / sizeof(std::uint32_t);
            window.active = std::find(first, last, std::uint32_t(ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED)) != last;
        } else if (std::strcmp(event, "app_id") == 0) {
            window.ours = QString::fromUtf8(args[0].s) == QGuiApplication::desktopFileName();
        } else if (std::strcmp(event, "done") == 0) {
            window.described = true;
            settle(proxy);
        } else if (std::strcmp(event, "closed") == 0) {
            removeWindow(proxy);
        }
        return;
    }
    if (std::strcmp(event, "state_changed") == 0) {
        window.active = args[0].u & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE;
        settle(proxy);
    } else if (std::strcmp(event, "pid_changed") == 0) {
        window.ours = args[0].u == std::uint32_t(getpid());
    } else if (std::strcmp(event, "initial_state") == 0) {
        window.described = true;
        settle(proxy);
    } else if (std::strcmp(event, "unmapped") == 0) {
        removeWindow(proxy);
    }
}

void ActiveWindowWatch::addWindow(wl_proxy *proxy)
{
    m_windows.emplace(proxy, Window{});
    wl_proxy_add_dispatcher(proxy, &ActiveWindowWatch::dispatch, this, nullptr);
}

void ActiveWindowWatch::removeWindow(wl_proxy *proxy)
{
    if (m_active == proxy)
        m_active = nullptr;
    m_windows.erase(proxy);
    if (m_protocol == Protocol::Wlr)
        zwlr_foreign_toplevel_handle_v1_destroy(reinterpret_cast<zwlr_foreign_toplevel_handle_v1 *>(proxy));
    else
        org_kde_plasma_window_destroy(reinterpret_cast<org_kde_plasma_window *>(proxy));
}

void ActiveWindowWatch::settle(wl_proxy *proxy)
{
    const Window &window = m_windows.at(proxy);
    if (!window.described)
        return;
    if (window.active && m_active != proxy) {
        m_active = proxy;
        if (m_started && !window.ours)
            m_otherActivated();
    } else if (!window.active && m_active == proxy) {
        m_active = nullptr;
    }
}

} // namespace wayland
