// SPDX-License-Identifier: MIT
#include "wayland/Registry.h"

#include <cstring>
#include <wayland-client.h>

namespace wayland {
namespace {

bool askRegistry(const char *interface)
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return false;
    struct Search {
        const char *interface;
        bool found = false;
    } search{interface};
    static const wl_registry_listener listener = {
        [](void *data, wl_registry *, uint32_t, const char *name, uint32_t) {
            auto *s = static_cast<Search *>(data);
            s->found = s->found || std::strcmp(name, s->interface) == 0;
        },
        [](void *, wl_registry *, uint32_t) {},
    };
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &search);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered && search.found;
}

} // namespace

bool offersLayerShell()
{
    static const bool offered = askRegistry("zwlr_layer_shell_v1");
    return offered;
}

} // namespace wayland
