// SPDX-License-Identifier: MIT
#pragma once
// Xlib, for the SHAPE extension on Qt's own connection: Xlib's requests join
// the write that Qt makes for the window's title, where xcb's would go to the
// X server in a write of their own, one more each second. Xlib defines
// macros named like Qt's and the standard library's words (None, Bool,
// Status, Always, and event names such as KeyPress), which would break any Qt
// header read after them: include this file last, and the clashing macros go
// here, once.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#undef None
#undef Bool
#undef Status
#undef Always
#undef Success
#undef KeyPress
#undef KeyRelease
#undef FocusIn
#undef FocusOut
#undef Expose
#undef FontChange
#undef CursorShape
#undef Unsorted
#undef GrayScale
