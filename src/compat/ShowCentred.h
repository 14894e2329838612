// SPDX-License-Identifier: MIT
#pragma once
class QWidget;

namespace compat {

// Shows a modeless top-level window centred on the whole primary screen by
// its outer (framed) size, raised and active. Before a window's first showing
// on X11 its frame is unknown; it is then centred by its client size and
// centred once more as soon as the window manager has framed it.
void showCentred(QWidget *window);

} // namespace compat
