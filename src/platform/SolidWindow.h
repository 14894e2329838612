#pragma once
class QColor;
class QRegion;
class QWidget;

namespace platform {

// A window whose whole content is one colour, cut to shape: the clock.
//
// On X11 the X server paints such a window by itself from the window's
// background, so the program need not answer the exposures that every new
// outline brings (and that a window moving off the clock brings). The window
// also stops listening for property changes: its title is the time, and the
// server would otherwise echo each new title back, twice a second. Every echo
// wakes the program; a clock that runs all day should wake once per tick.
//
// Does nothing on other platforms, or before the window has a native window.
void paintSolidBySystem(QWidget *window, const QColor &colour);

// Cuts the window to `outline`, and sends the new outline to the window
// system at once: Qt sends its requests when it next reads events, and a
// window that listens for none would show each new outline a tick late.
void setOutline(QWidget *window, const QRegion &outline);

// Keeps the window above all others, or lets it go back among them, without
// recreating it. Whatever events the window had chosen to ignore stay ignored.
void setTopMost(QWidget *window, bool onTop);

} // namespace platform
