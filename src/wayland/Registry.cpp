// SPDX-License-Identifier: MIT
#include "wayland/Registry.h"

#include <QGuiApplication>
#include <cstring>
#include <wayland-client.h>

namespace wayland {

std::uint32_t offeredVersion(wl_display *display, const char *interface)
{
    struct Search {
        const char *interface;
        std::uint32_t version = 0;
    } search{interface};
    static const wl_registry_listener listener = {
        [](void *data, wl_registry *, std::uint32_t, const char *name, std::uint32_t version) {
            auto *s = static_cast<Search *>(data);
            if (std::strcmp(name, s->interface) == 0)
                s->version = version;
        },
        [](void *, wl_registry *, std::uint32_t) {},
    };
    wl_event_queue *queue = wl_display_create_queue(display);
    auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), queue);
    wl_registry *registry = wl_display_get_registry(wrapper);
    wl_registry_add_listener(registry, &listener, &search);
    const bool answered = wl_display_roundtrip_queue(display, queue) >= 0;
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapper);
    wl_event_queue_destroy(queue);
    return answered ? search.version : 0;
}

bool layerShellBeforeStart()
{
    static const bool offered = [] {
        // wl_display_connect() takes a WAYLAND_SOCKET over, whatever name it
        // is given.
        if (qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
            return false;
        wl_display *display = wl_display_connect(nullptr);
        if (!display)
            return false;
        const bool found = offeredVersion(display, "zwlr_layer_shell_v1") > 0;
        wl_display_disconnect(display);
        return found;
    }();
    return offered;
}

wl_display *qtDisplay()
{
    auto *app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>() : nullptr;
    return app ? app->display() : nullptr;
}

} // namespace wayland
