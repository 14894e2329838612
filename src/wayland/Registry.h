// SPDX-License-Identifier: MIT
#pragma once

namespace wayland {

// Whether the compositor in WAYLAND_DISPLAY offers the wlr layer shell, asked
// of its registry once, on a connection of our own. Qt's Wayland plugin cannot
// be asked: where the protocol is missing, the layer shell library only logs
// a warning and leaves an ordinary window.
bool offersLayerShell();

} // namespace wayland
