// SPDX-License-Identifier: MIT
#pragma once
#include "windowsystem/WindowSystem.h"

namespace wayland {

// The clock as a layer surface of a Wayland compositor that offers the wlr
// layer shell (KWin, sway and the other wlroots compositors): a surface that
// the program itself places on an output, by margins from the output's own
// top-left corner, above all windows or on the desktop below them, and that
// no window list shows (see LayerSurface). A session is always composited
// there, and Qt paints every window itself.
class LayerShellWindowSystem : public windowsystem::WindowSystem
{
public:
    LayerShellWindowSystem();
    Qt::WindowFlags desktopWindowFlags() const override;
    bool composited() const override;
    void prepare(QWidget *window) override;
    void show(QWidget *window) override;
    bool setOutline(QWidget *window, const QRegion &outline, bool translucent) override;
    QPoint position(const QWidget *window) const override;
    void place(QWidget *window, const QPoint &topLeft) override;
    void beginMove(QWidget *window, const QMouseEvent *press) override;
    void followMove(QWidget *window, const QMouseEvent *move) override;
    void endMove(QWidget *window) override;
    void raise(QWidget *window) override;
    void setOnTop(QWidget *window, bool onTop) override;
};

} // namespace wayland
