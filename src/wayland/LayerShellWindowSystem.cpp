// SPDX-License-Identifier: MIT
#include "wayland/LayerShellWindowSystem.h"
#include "wayland/LayerSurface.h"
#include "wayland/LostConnection.h"

#include <QMouseEvent>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace wayland {

LayerShellWindowSystem::LayerShellWindowSystem() { endOnLostConnection(); }

Qt::WindowFlags LayerShellWindowSystem::desktopWindowFlags() const { return Qt::FramelessWindowHint; }

bool LayerShellWindowSystem::composited() const { return true; }

void LayerShellWindowSystem::prepare(QWidget *window) { LayerSurface::of(window).prepare(); }

void LayerShellWindowSystem::show(QWidget *window) { LayerSurface::of(window).show(); }

bool LayerShellWindowSystem::setOutline(QWidget *window, const QRegion &outline, bool)
{
    // The mask is the surface's input region, in the surface's logical
    // pixels: each device pixel of the outline counts whole, so that every
    // painted pixel takes a click.
    const qreal ratio = window->devicePixelRatioF();
    QRegion mask;
    for (const QRect &r : outline)
        mask += QRect(QPoint(int(std::floor(r.left() / ratio)), int(std::floor(r.top() / ratio))),
                      QPoint(int(std::ceil((r.right() + 1) / ratio)) - 1, int(std::ceil((r.bottom() + 1) / ratio)) - 1));
    // On the native window, not the widget: a widget's mask also clips its
    // painting, so the pixels of the digits before that lay outside the new
    // ones were never painted over and stayed on the screen, and each new
    // picture was handed over as a hundred strips. Unclipped, the whole
    // window is painted again and handed over as one rectangle, in the same
    // commit as the new input region.
    window->winId(); // a window shaped before it is first shown
    window->windowHandle()->setMask(mask);
    return true;
}

// The compositor cannot be asked where a layer surface is: it is where the
// margins the program gave put it.
QPoint LayerShellWindowSystem::position(const QWidget *window) const
{
    const auto *surface = window->findChild<const LayerSurface *>(QString(), Qt::FindDirectChildrenOnly);
    return surface ? surface->position() : window->pos();
}

void LayerShellWindowSystem::place(QWidget *window, const QPoint &topLeft) { LayerSurface::of(window).place(topLeft); }

void LayerShellWindowSystem::beginMove(QWidget *window, const QMouseEvent *press)
{
    LayerSurface::of(window).beginMove(press->position().toPoint());
}

void LayerShellWindowSystem::followMove(QWidget *window, const QMouseEvent *move)
{
    LayerSurface::of(window).followMove(move->position().toPoint());
}

void LayerShellWindowSystem::endMove(QWidget *window) { LayerSurface::of(window).endMove(); }

void LayerShellWindowSystem::raise(QWidget *window) { LayerSurface::of(window).raise(); }

void LayerShellWindowSystem::setOnTop(QWidget *window, bool onTop) { LayerSurface::of(window).setOnTop(onTop); }

} // namespace wayland
