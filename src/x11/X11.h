// SPDX-License-Identifier: MIT
#pragma once
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

// What the platform layer's X11 code shares: Qt's own connection to the X
// server, the replies it hands back, and atoms by name.
namespace x11 {

// Qt's connection; null when the program does not run on X11.
xcb_connection_t *connection();

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
// A reply of xcb, freed when it goes out of scope.
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The atom of `name` (one round trip), XCB_ATOM_NONE when the server cannot say.
xcb_atom_t atom(xcb_connection_t *connection, const char *name);

} // namespace x11
