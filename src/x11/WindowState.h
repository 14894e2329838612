// SPDX-License-Identifier: MIT
#pragma once
#include <QAbstractNativeEventFilter>
#include <QColor>
#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>

class QWidget;

namespace x11 {

// What the program keeps of an X window beyond what the X server can be
// asked cheaply: the colour its background was last given (asking costs a
// round trip), a move under way, and what keeps it above the other X windows
// where it places itself. Kept with the window, as its child.
class WindowState : public QObject
{
    Q_OBJECT
public:
    static WindowState &of(QWidget *window); // made on first use

    QColor background;
    std::optional<QPoint> movePress; // the pointer within the window at the press
    QPoint moveTarget;               // where the move puts the window
    std::unique_ptr<QAbstractNativeEventFilter> stayOnTop;

private:
    explicit WindowState(QWidget *window);
};

} // namespace x11
