// SPDX-License-Identifier: MIT
#pragma once

namespace compat {

// True when another clock of this user is already running. The first call
// takes the per-user lock and keeps it for the life of the process.
bool previousInstance();

} // namespace compat
