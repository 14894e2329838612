// SPDX-License-Identifier: MIT
#pragma once
#include "windowsystem/WindowSystem.h"
#include <memory>

class QScreen;

namespace wayland {

class DragImage;

// The clock as a layer surface of a Wayland compositor that offers the wlr
// layer shell (KWin, sway and the other wlroots compositors): a surface that
// the program itself places on an output, by margins from the output's own
// top-left corner, above all windows or on the desktop below them, and that
// no window list shows. A session is always composited there.
class LayerShellWindowSystem : public windowsystem::WindowSystem
{
public:
    LayerShellWindowSystem();
    ~LayerShellWindowSystem() override;

    Qt::WindowFlags desktopWindowFlags() const override;
    void prepare(QWidget *window) override;
    void showReliably(QWidget *window) override;
    bool composited() const override;
    QPoint position(const QWidget *window) const override;
    void place(QWidget *window, const QPoint &topLeft) override;
    QPointF pointerOnScreen(const QWidget *window, const QMouseEvent *event) override;
    void setOnTop(QWidget *window, bool onTop) override;
    void paintSolid(QWidget *window, const QColor &colour) override;
    void paintTranslucent(QWidget *window) override;
    bool setOutline(QWidget *window, const QRegion &outline, bool translucent) override;

private:
    // Hands the window's layer, and its place on its output, to the compositor.
    void applyLayerSurface(QWidget *window, const QPoint &topLeft);

    bool m_onTop = false;
    bool m_watchingScreens = false;
    // While a drag goes on: the surface stays put, its picture moves.
    std::unique_ptr<DragImage> m_dragImage;
};

} // namespace wayland
