#pragma once
#include <QPoint>

class QWidget;

namespace platform {

// Hands the window to the window manager's own move loop, as a press on a
// title bar would, with the pointer at `globalPos`. False where the window
// manager cannot move windows; the caller then moves the window itself.
bool startSystemMove(QWidget *window, const QPoint &globalPos);

} // namespace platform
