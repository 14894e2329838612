// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QObject>
#include <QPoint>
#include <optional>

class QWidget;

namespace x11 {

// What the program keeps of an X window beyond what the X server can be
// asked cheaply: the colour its background was last given (asking costs a
// round trip) and a move under way. Kept with the window, as its child.
class WindowState : public QObject
{
    Q_OBJECT
public:
    static WindowState &of(QWidget *window); // made on first use

    QColor background;
    std::optional<QPoint> movePress; // the pointer within the window at the press
    QPoint moveTarget;               // where the move puts the window

private:
    explicit WindowState(QWidget *window);
};

} // namespace x11
