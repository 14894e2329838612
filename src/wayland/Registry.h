// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

struct wl_display;

namespace wayland {

// Whether the compositor in WAYLAND_DISPLAY offers the wlr layer shell, asked
// of its registry once, on a short connection of our own, before Qt's Wayland
// platform starts. Qt's plugin cannot be asked: where the protocol is missing,
// the layer shell library only logs a warning and leaves an ordinary window.
// False when a WAYLAND_SOCKET was handed to the program: that connection is
// the only one there is, and it is Qt's.
bool layerShellBeforeStart();

// The version of `interface` that the compositor offers on `display`, 0 when
// it offers none; asked on a queue of our own, so that it can be asked of
// Qt's connection while Qt uses it.
std::uint32_t offeredVersion(wl_display *display, const char *interface);

// Qt's own connection to the compositor, while Qt's Wayland platform runs.
wl_display *qtDisplay();

} // namespace wayland
