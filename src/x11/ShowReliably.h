// SPDX-License-Identifier: MIT
#pragma once
class QWidget;

namespace x11 {

// Shows a top-level window and, should the window system still not have put
// it on screen a few seconds later, asks again, a few times. A map request
// sent while a window manager is starting up (a clock started with the
// session) can be lost, and a frameless clock that never appears is lost to
// its user.
void showReliably(QWidget *window);

} // namespace x11
