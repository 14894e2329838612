// SPDX-License-Identifier: MIT
#pragma once
#include <QPoint>
#include <Qt>
class QMouseEvent;
class QRegion;
class QWidget;

namespace windowsystem {

// What the clock asks of the window system it runs on: X11 (also through
// XWayland) or a Wayland compositor's layer shell. One is picked at start-up
// and the clock never asks again which it is. What a window system must keep
// for a window it keeps with the window (a child object), so that it goes
// when the window goes.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // The flags of a frameless window that is part of the desktop.
    virtual Qt::WindowFlags desktopWindowFlags() const = 0;
    // Whether windows can be partly transparent, so that the digits can be
    // antialiased against whatever is below them.
    virtual bool composited() const = 0;

    // Readies a window whose native window exists and is not yet on screen:
    // how its content reaches the screen (filled with its palette's window
    // colour by the window system, or painted by the program on a transparent
    // window when it has Qt::WA_TranslucentBackground); out of taskbars,
    // pagers and window switchers; without a shadow.
    virtual void prepare(QWidget *window) = 0;
    // Shows a newly started window: on screen for sure, in front of the
    // window the user works in, as a program just started is.
    virtual void show(QWidget *window) = 0;
    // Cuts the window to `outline`, in device pixels, filled with its
    // palette's window colour unless the program paints it: what shows of it
    // and, when `translucent`, what takes clicks (elsewhere clicks reach what
    // is below). True when the window system holds the outline for this native
    // window; false when it became the widget's mask.
    virtual bool setOutline(QWidget *window, const QRegion &outline, bool translucent) = 0;

    // Where the window's top-left corner really is, and putting it there, in
    // the program's (logical) pixels on the virtual desktop.
    virtual QPoint position(const QWidget *window) const = 0;
    virtual void place(QWidget *window, const QPoint &topLeft) = 0;

    // The user moves the window by a press of the left button on it, the
    // moves that follow, and its end: the release, or anything else that
    // takes the pointer from the window (a menu, a grab of the compositor).
    // Every begun move is ended; endMove() without one does nothing.
    virtual void beginMove(QWidget *window, const QMouseEvent *press) = 0;
    virtual void followMove(QWidget *window, const QMouseEvent *move) = 0;
    virtual void endMove(QWidget *window) = 0;

    // Brings the window in front of the other windows, as a click on an
    // ordinary window does; another window the user activates then covers it
    // again, unless it is on top.
    virtual void raise(QWidget *window) = 0;
    // Above all windows, or back among them when not.
    virtual void setOnTop(QWidget *window, bool onTop) = 0;
};

// Before the application object is made: the Qt platform to run on, chosen
// for the session unless the user chose one (QT_QPA_PLATFORM). False when
// there is no graphical session at all. What it sets in the environment for
// Qt's start is taken back by restoreEnvironment(), once Qt has read it, so
// that it does not outlive the start.
bool choosePlatform();
void restoreEnvironment();

// Whether the clock can place and cut its window where Qt runs: on X11, or
// on a Wayland compositor that offers the layer shell. An ordinary Wayland
// window is placed by the compositor alone, wherever it likes.
bool canPlaceWindows();

// The window system picked for this run, made on first use.
WindowSystem &current();

} // namespace windowsystem
