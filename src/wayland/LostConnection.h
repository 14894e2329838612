// SPDX-License-Identifier: MIT
#pragma once

namespace wayland {

// A compositor that goes away for good ends the clock with one line on
// stderr and status 1, as any failure of the program: Qt's Wayland platform
// would say it in its own words and end with status 255. Where Qt connects
// anew (QT_WAYLAND_RECONNECT, as Plasma sets it), the clock says so and
// comes back on the compositor that took the old one's place; where none
// does, Qt ends the program with status 1.
void endOnLostConnection();

} // namespace wayland
