// SPDX-License-Identifier: MIT
#pragma once
#include "windowsystem/WindowSystem.h"

namespace x11 {

// The clock as an X11 window, also through XWayland. Off X11 (the offscreen
// platform of the tests) each operation falls back to plain Qt.
class X11WindowSystem : public windowsystem::WindowSystem
{
public:
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

} // namespace x11
