// SPDX-License-Identifier: MIT
#include "wayland/DragImage.h"

#include <LayerShellQt/Window>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace wayland {

DragImage::DragImage(QWidget *window)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                           | Qt::WindowDoesNotAcceptFocus)
    , m_window(window)
    , m_picture(window->grab())
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    window->installEventFilter(this);
    window->update();
}

DragImage::~DragImage()
{
    m_window->removeEventFilter(this);
    m_window->update();
}

void DragImage::showAt(QScreen *screen, const QPoint &topLeft)
{
    const QPoint at = topLeft - screen->geometry().topLeft();
    if (isVisible() && windowHandle()->screen() != screen)
        hide(); // a layer surface stays on the output it was made for
    if (!isVisible()) {
        winId();
        windowHandle()->setScreen(screen);
        setGeometry(screen->geometry());
        auto *layer = LayerShellQt::Window::get(windowHandle());
        layer->setAnchors(LayerShellQt::Window::Anchors(LayerShellQt::Window::AnchorTop)
                          | LayerShellQt::Window::AnchorBottom | LayerShellQt::Window::AnchorLeft
                          | LayerShellQt::Window::AnchorRight);
        layer->setExclusiveZone(-1);
        layer->setKeyboardInteractivity(LayerShellQt::Window::KeyboardInteractivityNone);
        layer->setScreenConfiguration(LayerShellQt::Window::ScreenFromQWindow);
        layer->setScope(QStringLiteral("tavisk-drag"));
        layer->setLayer(LayerShellQt::Window::LayerTop);
        m_at = at;
        show();
        return;
    }
    // Only where the picture was and where it goes is painted again.
    const QSize size = m_picture.deviceIndependentSize().toSize();
    update(QRect(m_at, size));
    m_at = at;
    update(QRect(m_at, size));
}

bool DragImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::Paint)
        return false;
    QPainter painter(m_window);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(m_window->rect(), Qt::transparent);
    return true;
}

void DragImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(event->rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawPixmap(m_at, m_picture);
}

} // namespace wayland
