#pragma once
#include <QPoint>
class QWidget;

namespace platform {

// Where the window's top-left corner really is on the screen, in the
// program's (logical) pixels, as the window system knows it. Qt's own idea of
// a top-level's position stays at the requested place until the window
// manager reports a move, and under a reparenting window manager that report
// may not come before the first drag.
QPoint positionOnScreen(const QWidget *window);

// Keeps a window that is part of the desktop, not an application window, out
// of taskbars, pagers and window switchers. Call before the window is first
// shown: window managers read these states when they take a window on.
void keepOffTaskbar(QWidget *window);

} // namespace platform
