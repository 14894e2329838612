// SPDX-License-Identifier: MIT
#pragma once

namespace commands {

// Saves the five display settings (colour, size, position, seconds) in one
// go, the position as the window system has the clock now. A save that fails
// says so and leaves the settings saved before as they were.
void SaveSetting();

} // namespace commands
