// SPDX-License-Identifier: MIT
#include "x11/WindowState.h"

#include <QWidget>

namespace x11 {

WindowState &WindowState::of(QWidget *window)
{
    if (auto *state = window->findChild<WindowState *>(QString(), Qt::FindDirectChildrenOnly))
        return *state;
    return *new WindowState(window);
}

WindowState::WindowState(QWidget *window)
    : QObject(window)
{
}

} // namespace x11
