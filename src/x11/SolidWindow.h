// SPDX-License-Identifier: MIT
#pragma once
class QColor;
class QRegion;
class QWidget;

namespace x11 {

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

// The clock over a compositing manager: a window with an alpha channel that
// the X server clears to fully transparent and the program paints (so it
// still hears of exposures), ignoring the echoes of its own property changes.
// Does nothing to a window without an alpha channel.
void paintTranslucentByProgram(QWidget *window);

// Cuts the window to `outline`, given in device pixels (at a device pixel
// ratio of 2 an edge can lie on any device pixel, not only every second one),
// and sends the new outline to the window system at once: a window that
// listens for no events would otherwise show each new outline a tick late.
// Creates the native window if there is none yet. True when the X server
// holds the outline; false off X11, where it becomes the widget's mask.
bool setOutline(QWidget *window, const QRegion &outline);

// The same for a translucent window, whose `outline` is every pixel its
// digits are painted on: clicks reach the window there only, and the window
// shows nothing outside it, so that it cannot show as a box should the
// compositing manager end. Returns as setOutline does.
bool setTranslucentOutline(QWidget *window, const QRegion &outline);

// Keeps the window above all others, or lets it go back among them, without
// recreating it. Whatever events the window had chosen to ignore stay ignored.
void setTopMost(QWidget *window, bool onTop);

} // namespace x11
