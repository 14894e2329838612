// SPDX-License-Identifier: MIT
#include "wayland/LayerShellWindowSystem.h"
#include "wayland/DragImage.h"

#include <LayerShellQt/Window>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace wayland {
namespace {

// The output a window whose top-left corner is at `topLeft` belongs on: the
// one under that corner, else the first it overlaps, else the primary one.
QScreen *screenFor(const QPoint &topLeft, const QSize &size)
{
    if (QScreen *under = QGuiApplication::screenAt(topLeft))
        return under;
    const QRect rect(topLeft, size);
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->geometry().intersects(rect))
            return screen;
    return QGuiApplication::primaryScreen();
}

// A surface anchored to its output's top-left corner cannot reach past that
// corner (margins are never negative), and stays whole on its output.
QPoint keptOn(const QScreen *screen, const QPoint &topLeft, const QSize &size)
{
    const QRect area = screen->geometry();
    return QPoint(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())),
                  std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
}

} // namespace

LayerShellWindowSystem::LayerShellWindowSystem() = default;

LayerShellWindowSystem::~LayerShellWindowSystem() = default;

Qt::WindowFlags LayerShellWindowSystem::desktopWindowFlags() const { return Qt::FramelessWindowHint; }

void LayerShellWindowSystem::prepare(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    auto *layer = LayerShellQt::Window::get(handle);
    // Placed by margins from the output's own corner, whatever panels or
    // docks claim of it, at its own size.
    layer->setAnchors(LayerShellQt::Window::Anchors(LayerShellQt::Window::AnchorTop)
                      | LayerShellQt::Window::AnchorLeft);
    layer->setExclusiveZone(-1);
    // The clock never takes the keyboard from the window the user works in.
    layer->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityNone);
    // An output that goes away must not close the clock (see below).
    layer->setCloseOnDismissed(false);
    layer->setScreenConfiguration(LayerShellQt::Window::ScreenFromQWindow);
    layer->setScope(QStringLiteral("tavisk"));
    QScreen *screen = screenFor(window->pos(), window->size());
    handle->setScreen(screen);
    // An output that goes away (a monitor unplugged) takes its layer
    // surfaces with it: the clock is made anew on one that is left, where it
    // was if that is on one, else kept whole on the primary one.
    if (!m_watchingScreens) {
        m_watchingScreens = true;
        QObject::connect(
            qGuiApp, &QGuiApplication::screenRemoved, window,
            [this, window] {
                if (!window->isVisible())
                    return;
                const QPoint at = position(window);
                window->hide();
                window->move(at);
                window->show();
            },
            Qt::QueuedConnection);
    }
    applyLayerSurface(window, keptOn(screen, window->pos(), window->size()));
}

void LayerShellWindowSystem::showReliably(QWidget *window) { window->show(); }

bool LayerShellWindowSystem::composited() const { return true; }

// The compositor cannot be asked where a layer surface is: it is where the
// margins the compositor was given put it. Until the surface is on screen,
// the window's geometry holds where the clock is to go.
QPoint LayerShellWindowSystem::position(const QWidget *window) const
{
    QWindow *handle = window->windowHandle();
    if (!handle || !window->isVisible())
        return window->pos();
    const QMargins margins = LayerShellQt::Window::get(handle)->margins();
    return handle->screen()->geometry().topLeft() + QPoint(margins.left(), margins.top());
}

void LayerShellWindowSystem::place(QWidget *window, const QPoint &topLeft)
{
    QWindow *handle = window->windowHandle();
    if (!handle || !window->isVisible()) {
        window->move(topLeft); // prepare() hands it on
        return;
    }
    QScreen *screen = screenFor(topLeft, window->size());
    // While a button is held the surface stays where it is, and its picture
    // follows the pointer, across outputs too.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        if (!m_dragImage)
            m_dragImage = std::make_unique<DragImage>(window);
        m_dragImage->showAt(screen, keptOn(screen, topLeft, window->size()), m_onTop);
        return;
    }
    m_dragImage.reset();
    if (screen == handle->screen()) {
        applyLayerSurface(window, keptOn(screen, topLeft, window->size()));
        return;
    }
    // A layer surface stays on the output it was made for: it is made anew
    // on the other one.
    window->hide();
    window->move(topLeft);
    window->show(); // prepare() puts it on the output under topLeft
}

// The surface does not move while a button is held, so every compositor
// reports the pointer relative to where it is.
QPointF LayerShellWindowSystem::pointerOnScreen(const QWidget *window, const QMouseEvent *event)
{
    return event->position() + QPointF(position(window));
}

void LayerShellWindowSystem::setOnTop(QWidget *window, bool onTop)
{
    m_onTop = onTop;
    if (window->windowHandle() && window->isVisible())
        applyLayerSurface(window, position(window));
}

// Qt paints every Wayland window itself.
void LayerShellWindowSystem::paintSolid(QWidget *, const QColor &) {}

void LayerShellWindowSystem::paintTranslucent(QWidget *) {}

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

void LayerShellWindowSystem::applyLayerSurface(QWidget *window, const QPoint &topLeft)
{
    QWindow *handle = window->windowHandle();
    auto *layer = LayerShellQt::Window::get(handle);
    layer->setLayer(m_onTop ? LayerShellQt::Window::LayerTop : LayerShellQt::Window::LayerBottom);
    const QPoint margin = topLeft - handle->screen()->geometry().topLeft();
    layer->setMargins(QMargins(margin.x(), margin.y(), 0, 0));
    // Qt places the clock's menu from where it believes the window is.
    window->move(topLeft);
    // Margins and layer are double-buffered: they take effect with the
    // surface's next commit, which a repaint brings.
    window->update();
}

} // namespace wayland
