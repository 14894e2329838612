// SPDX-License-Identifier: MIT
#include "wayland/LayerSurface.h"
#include "wayland/ActiveWindowWatch.h"
#include "wayland/DragImage.h"

#include <LayerShellQt/Window>
#include <QBackingStore>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace wayland {
namespace {

// Qt stands a screen of no size in for the outputs while there are none.
bool isOutput(const QScreen *screen) { return screen && !screen->geometry().isEmpty(); }

bool anyOutput()
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), isOutput);
}

// The output a window whose top-left corner is at `topLeft` belongs on: the
// one under that corner, else the first it overlaps, else the primary one.
QScreen *screenFor(const QPoint &topLeft, const QSize &size)
{
    if (QScreen *under = QGuiApplication::screenAt(topLeft); isOutput(under))
        return under;
    const QRect rect(topLeft, size);
    for (QScreen *screen : QGuiApplication::screens())
        if (isOutput(screen) && screen->geometry().intersects(rect))
            return screen;
    return QGuiApplication::primaryScreen();
}

bool onAnOutput(const QPoint &topLeft, const QSize &size)
{
    const QRect rect(topLeft, size);
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *s) { return isOutput(s) && s->geometry().intersects(rect); });
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

LayerSurface &LayerSurface::of(QWidget *window)
{
    if (auto *surface = window->findChild<LayerSurface *>(QString(), Qt::FindDirectChildrenOnly))
        return *surface;
    return *new LayerSurface(window);
}

LayerSurface::LayerSurface(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_place(window->pos())
{
    // The surface of an output that goes away goes with it. The window is
    // hidden at once, before Qt moves it to another screen, or to a
    // placeholder for none, and paints it there: buffers painted for the
    // placeholder have no alpha channel, and Qt would show them again on
    // the next output (a black box around the digits). Nor is it left
    // buffers of its own size: when Qt connects anew to a compositor that
    // restarted, it makes every window's buffers again at once, a hidden
    // one's too, while the window is on the placeholder, and paints into
    // them once the window is shown. Buffers of one pixel are dropped at the
    // first paint, which makes them anew for the window's output. (With no
    // size at all, Qt 6.8 keeps a buffer it has freed as the one to paint
    // into next.)
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen *screen) {
        if (screen != m_output)
            return;
        endMove();
        m_window->hide();
        if (QBackingStore *store = m_window->backingStore())
            store->resize(QSize(1, 1));
    });
    // Made anew once Qt has settled its screens.
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &LayerSurface::resurface, Qt::QueuedConnection);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &LayerSurface::resurface, Qt::QueuedConnection);
    connect(&ActiveWindowWatch::instance(), &ActiveWindowWatch::otherActivated, this, [this] {
        if (!m_inFront)
            return;
        m_inFront = false;
        apply();
    });
}

LayerSurface::~LayerSurface() = default;

void LayerSurface::prepare()
{
    QWindow *handle = m_window->windowHandle();
    auto *layer = LayerShellQt::Window::get(handle);
    // Placed by margins from the output's own corner, whatever panels or
    // docks claim of it, at its own size.
    layer->setAnchors(LayerShellQt::Window::Anchors(LayerShellQt::Window::AnchorTop)
                      | LayerShellQt::Window::AnchorLeft);
    layer->setExclusiveZone(-1);
    // The clock never takes the keyboard from the window the user works in.
    layer->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityNone);
    // An output that goes away takes the surface with it; the window stays,
    // to be shown again on an output that is there.
    layer->setCloseOnDismissed(false);
    layer->setScreenConfiguration(LayerShellQt::Window::ScreenFromQWindow);
    layer->setScope(QStringLiteral("tavisk"));
    m_output = screenFor(m_place, m_window->size());
    m_outputCorner = m_output->geometry().topLeft();
    disconnect(m_outputMoves);
    m_outputMoves = connect(m_output, &QScreen::geometryChanged, this, &LayerSurface::followOutput);
    handle->setScreen(m_output);
    m_place = keptOn(m_output, m_place, m_window->size());
    apply();
}

void LayerSurface::show()
{
    m_shown = true;
    m_inFront = true;
    m_window->show();
}

void LayerSurface::place(const QPoint &topLeft)
{
    if (!m_window->isVisible()) {
        m_place = topLeft; // prepare() puts it on its output
        m_window->move(topLeft);
        return;
    }
    QScreen *screen = screenFor(topLeft, m_window->size());
    m_place = keptOn(screen, topLeft, m_window->size());
    if (screen == m_output) {
        apply();
        return;
    }
    remake();
}

// Each commit wakes the compositor: the layer is handed over only when it
// changes.
void LayerSurface::raise()
{
    if (m_inFront)
        return;
    m_inFront = true;
    apply();
}

void LayerSurface::setOnTop(bool onTop)
{
    if (m_onTop == onTop)
        return;
    m_onTop = onTop;
    apply();
}

void LayerSurface::beginMove(const QPoint &pressInWindow)
{
    m_press = pressInWindow;
    m_moveTarget = m_place;
}

// The surface stays where it was at the press and only its picture follows
// the pointer, across outputs too. Moving the surface itself cannot be exact:
// compositors report the pointer, while the button is held, relative to where
// the surface was at the press (sway), where it is now, or somewhere between
// (KWin), and a fast hand outruns every guess. A surface that stays put makes
// the pointer's place exact everywhere: where it is within the surface, plus
// the surface's own place.
void LayerSurface::followMove(const QPoint &pointerInWindow)
{
    if (!m_press || !m_window->isVisible())
        return;
    const QPoint wanted = m_place + pointerInWindow - *m_press;
    QScreen *screen = screenFor(wanted, m_window->size());
    m_moveTarget = keptOn(screen, wanted, m_window->size());
    if (!m_dragImage)
        m_dragImage = std::make_unique<DragImage>(m_window);
    m_dragImage->showAt(screen, m_moveTarget);
}

void LayerSurface::endMove()
{
    if (!m_press)
        return;
    m_press.reset();
    if (!m_dragImage)
        return; // a click, not a move
    m_dragImage.reset();
    if (m_window->isVisible())
        place(m_moveTarget);
}

void LayerSurface::apply()
{
    QWindow *handle = m_window->windowHandle();
    if (!handle || !m_output)
        return;
    auto *layer = LayerShellQt::Window::get(handle);
    layer->setLayer(m_onTop || m_inFront ? LayerShellQt::Window::LayerTop : LayerShellQt::Window::LayerBottom);
    const QPoint margin = m_place - m_outputCorner;
    layer->setMargins(QMargins(margin.x(), margin.y(), 0, 0));
    // Qt places the clock's menu from where it believes the window is.
    m_window->move(m_place);
    // Margins and layer are double-buffered: they take effect with the
    // surface's next commit, which a repaint brings.
    m_window->update();
}

void LayerSurface::resurface()
{
    if (!m_shown || (m_window->isVisible() && isOutput(m_output) && QGuiApplication::screens().contains(m_output)))
        return;
    endMove();
    if (!anyOutput()) {
        m_window->hide(); // until an output comes
        return;
    }
    if (!onAnOutput(m_place, m_window->size())) {
        const QRect primary = QGuiApplication::primaryScreen()->geometry();
        m_place = primary.topLeft() + QPoint(primary.width() / 2, primary.height() / 2);
    }
    remake();
}

void LayerSurface::followOutput(const QRect &geometry)
{
    endMove();
    m_place += geometry.topLeft() - m_outputCorner;
    m_outputCorner = geometry.topLeft();
    // A smaller output (a new resolution) keeps it whole.
    m_place = keptOn(m_output, m_place, m_window->size());
    apply();
}

// A layer surface stays on the output it was made for: it is made anew, on
// the output under its place (prepare()).
void LayerSurface::remake()
{
    m_window->hide();
    m_window->move(m_place);
    m_window->show();
}

} // namespace wayland
