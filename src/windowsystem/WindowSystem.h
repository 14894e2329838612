// SPDX-License-Identifier: MIT
#pragma once
#include <QPoint>
#include <QPointF>
#include <Qt>
class QColor;
class QMouseEvent;
class QRegion;
class QWidget;

namespace windowsystem {

// What the clock asks of the window system it runs on: X11 (also through
// XWayland) or a Wayland compositor's layer shell. One is picked at start-up
// and the clock never asks again which it is.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // The flags of a frameless window that is part of the desktop.
    virtual Qt::WindowFlags desktopWindowFlags() const = 0;
    // Readies a window whose native window exists and is not yet on screen:
    // out of taskbars, pagers and window switchers, without a shadow, and
    // with whatever else the window system must know before it shows it.
    virtual void prepare(QWidget *window) = 0;
    // Shows a top-level window that must not get lost on its way to the screen.
    virtual void showReliably(QWidget *window) = 0;

    // Whether windows can be partly transparent, so that the digits can be
    // antialiased against whatever is below them.
    virtual bool composited() const = 0;

    // Where the window's top-left corner really is, and putting it there, in
    // the program's (logical) pixels on the virtual desktop.
    virtual QPoint position(const QWidget *window) const = 0;
    virtual void place(QWidget *window, const QPoint &topLeft) = 0;
    // Where on the virtual desktop the pointer was at a mouse event on
    // `window`, in the frame of position() and place(), also while the
    // window moves under a button held since the press. To be asked for the
    // press too: some compositors then report the pointer relative to where
    // the window was at the press.
    virtual QPointF pointerOnScreen(const QWidget *window, const QMouseEvent *event) = 0;

    // Above all windows, or back to where windows are when not.
    virtual void setOnTop(QWidget *window, bool onTop) = 0;

    // The window's whole content is one colour, and the window system may
    // paint it by itself; or the program paints it, on a transparent window.
    virtual void paintSolid(QWidget *window, const QColor &colour) = 0;
    virtual void paintTranslucent(QWidget *window) = 0;
    // Cuts the window to `outline`, in device pixels: what shows of it and,
    // when `translucent`, what takes clicks (elsewhere clicks reach what is
    // below). True when the window system holds the outline for this native
    // window; false when it became the widget's mask.
    virtual bool setOutline(QWidget *window, const QRegion &outline, bool translucent) = 0;
};

// Before the application object is made: the Qt platform to run on, chosen
// for the session unless the user chose one (QT_QPA_PLATFORM).
void choosePlatform();

// The window system picked for this run, made on first use.
WindowSystem &current();

} // namespace windowsystem
