// SPDX-License-Identifier: MIT
#pragma once
#include <QPoint>
#include <Qt>
class QWidget;

namespace x11 {

// Where the window's top-left corner really is on the screen, in the
// program's (logical) pixels, as the window system knows it. Qt's own idea of
// a top-level's position is only what the window manager last reported, and
// a reparenting window manager may report nothing before the first drag
// (Qt then believes the window is at 0,0).
QPoint positionOnScreen(const QWidget *window);

// The flags of a frameless window that is part of the desktop. Under the X
// window manager of wlroots (sway and the other wlroots compositors) the
// window also places itself, out of the window manager's hands: that window
// manager tiles an ordinary window, centres a floating one wherever it asks
// to be and pulls it back to the centre when it moves itself, and lists it
// with the user's windows. Such a window stays above all others there.
Qt::WindowFlags desktopWindowFlags();

// Keeps a window placed by desktopWindowFlags() above the other X windows in
// the X server's own stacking too. The compositor draws it above all windows,
// but the X server hands a click to the topmost X window under the pointer,
// and the window manager raises every X window the user activates: over the
// clock, its digits would take no click. It is raised again whenever the
// window manager maps or restacks a window. Nothing for a managed window.
void keepOnTopOfXWindows(QWidget *window);

// Keeps a window that is part of the desktop, not an application window, out
// of taskbars, pagers and window switchers. Call before the window is first
// shown: window managers read these states when they take a window on.
void keepOffTaskbar(QWidget *window);

} // namespace x11
