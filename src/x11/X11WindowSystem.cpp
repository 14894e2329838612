// SPDX-License-Identifier: MIT
#include "x11/X11WindowSystem.h"
#include "x11/Compositor.h"
#include "x11/DesktopWindow.h"
#include "x11/ShowReliably.h"
#include "x11/SolidWindow.h"

#include <QMouseEvent>
#include <QWidget>

namespace x11 {

Qt::WindowFlags X11WindowSystem::desktopWindowFlags() const { return x11::desktopWindowFlags(); }

void X11WindowSystem::prepare(QWidget *window)
{
    keepShadowOff(window);
    keepOffTaskbar(window);
    keepOnTopOfXWindows(window);
}

void X11WindowSystem::showReliably(QWidget *window) { x11::showReliably(window); }

bool X11WindowSystem::composited() const { return compositorRunning(); }

QPoint X11WindowSystem::position(const QWidget *window) const { return positionOnScreen(window); }

void X11WindowSystem::place(QWidget *window, const QPoint &topLeft) { window->move(topLeft); }

// The X server reports the pointer's place on the screen with every event.
QPointF X11WindowSystem::pointerOnScreen(const QWidget *, const QMouseEvent *event) { return event->globalPosition(); }

void X11WindowSystem::setOnTop(QWidget *window, bool onTop) { setTopMost(window, onTop); }

void X11WindowSystem::paintSolid(QWidget *window, const QColor &colour) { paintSolidBySystem(window, colour); }

void X11WindowSystem::paintTranslucent(QWidget *window) { paintTranslucentByProgram(window); }

bool X11WindowSystem::setOutline(QWidget *window, const QRegion &outline, bool translucent)
{
    return translucent ? setTranslucentOutline(window, outline) : x11::setOutline(window, outline);
}

} // namespace x11
