// SPDX-License-Identifier: MIT
#include "x11/X11WindowSystem.h"
#include "x11/Compositor.h"
#include "x11/DesktopWindow.h"
#include "x11/ShowReliably.h"
#include "x11/SolidWindow.h"
#include "x11/WindowState.h"

#include <QMouseEvent>
#include <QWidget>

namespace x11 {

namespace {
// A window the program does not paint itself is filled with its palette's
// window colour by the X server.
void paintBySystemOrProgram(QWidget *window)
{
    if (window->testAttribute(Qt::WA_TranslucentBackground)) {
        paintTranslucentByProgram(window);
        return;
    }
    WindowState &state = WindowState::of(window);
    state.background = window->palette().color(QPalette::Window);
    paintSolidBySystem(window, state.background);
}
} // namespace

Qt::WindowFlags X11WindowSystem::desktopWindowFlags() const { return x11::desktopWindowFlags(); }

bool X11WindowSystem::composited() const { return compositorRunning(); }

void X11WindowSystem::prepare(QWidget *window)
{
    paintBySystemOrProgram(window);
    keepShadowOff(window);
    keepOffTaskbar(window);
    keepOnTopOfXWindows(window);
}

void X11WindowSystem::show(QWidget *window) { showReliably(window); }

bool X11WindowSystem::setOutline(QWidget *window, const QRegion &outline, bool translucent)
{
    if (translucent)
        return setTranslucentOutline(window, outline);
    // The new colour fills the new outline.
    if (WindowState::of(window).background != window->palette().color(QPalette::Window))
        paintBySystemOrProgram(window);
    return x11::setOutline(window, outline);
}

QPoint X11WindowSystem::position(const QWidget *window) const { return positionOnScreen(window); }

void X11WindowSystem::place(QWidget *window, const QPoint &topLeft) { window->move(topLeft); }

// The X server reports the pointer's place on the screen with every event,
// and the window follows it.
void X11WindowSystem::beginMove(QWidget *window, const QMouseEvent *press)
{
    WindowState &state = WindowState::of(window);
    state.movePress = press->position().toPoint();
    state.moveTarget = press->globalPosition().toPoint() - *state.movePress;
}

void X11WindowSystem::followMove(QWidget *window, const QMouseEvent *move)
{
    WindowState &state = WindowState::of(window);
    if (!state.movePress)
        return;
    state.moveTarget = move->globalPosition().toPoint() - *state.movePress;
    window->move(state.moveTarget);
}

// Where the move ended, once more with the button up: a window manager that
// holds a window to its screen during a move lets it across now.
void X11WindowSystem::endMove(QWidget *window)
{
    WindowState &state = WindowState::of(window);
    if (!state.movePress)
        return;
    state.movePress.reset();
    window->move(state.moveTarget);
}

void X11WindowSystem::raise(QWidget *window) { window->raise(); }

void X11WindowSystem::setOnTop(QWidget *window, bool onTop) { setTopMost(window, onTop); }

} // namespace x11
