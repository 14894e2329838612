// SPDX-License-Identifier: MIT
#include "wayland/LayerShellWindowSystem.h"
#include "wayland/LayerSurface.h"

#include <QMouseEvent>
#include <QRegion>
#include <QWidget>
#include <cmath>

namespace wayland {

Qt::WindowFlags LayerShellWindowSystem::desktopWindowFlags() const { return Qt::FramelessWindowHint; }

bool LayerShellWindowSystem::composited() const { return true; }

void LayerShellWindowSystem::prepare(QWidget *window) { LayerSurface::of(window).prepare(); }

void LayerShellWindowSystem::show(QWidget *window) { LayerSurface::of(window).show(); }

bool LayerShellWindowSystem::setOutline(QWidget *window, const QRegion &outline, bool)
{
    // The mask is the surface's input region, in the surface's logical
    // pixels: each device pixel of the outline counts whole, so that every
    // painted pixel takes a click and is not clipped away.
    const qreal ratio = window->devicePixelRatioF();
    QRegion mask;
    for (const QRect &r : outline)
        mask += QRect(QPoint(int(std::floor(r.left() / ratio)), int(std::floor(r.top() / ratio))),
                      QPoint(int(std::ceil((r.right() + 1) / ratio)) - 1, int(std::ceil((r.bottom() + 1) / ratio)) - 1));
    window->setMask(mask);
    return false;
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
