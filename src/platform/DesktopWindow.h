#pragma once
#include <QPoint>
class QWidget;

namespace platform {

// Where the window's top-left corner really is on the screen, in the
// program's (logical) pixels, as the window system knows it. Qt's own idea of
// a top-level's position is only what the window manager last reported, and
// a reparenting window manager may report nothing before the first drag
// (Qt then believes the window is at 0,0).
QPoint positionOnScreen(const QWidget *window);

// Keeps a window that is part of the desktop, not an application window, out
// of taskbars, pagers and window switchers. Call before the window is first
// shown: window managers read these states when they take a window on.
void keepOffTaskbar(QWidget *window);

} // namespace platform
