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
};

} // namespace x11
