// SPDX-License-Identifier: MIT
#include "x11/ShowReliably.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace x11 {

namespace {
constexpr int kWaitMs = 2000;
constexpr int kAttempts = 5;
} // namespace

void showReliably(QWidget *window)
{
    window->show();
    auto *retry = new QTimer(window);
    retry->setInterval(kWaitMs);
    QObject::connect(retry, &QTimer::timeout, window, [window, retry, attempts = 0]() mutable {
        const QWindow *handle = window->windowHandle();
        // Done once the window is on screen, hidden on purpose, or asked for often enough.
        if (!window->isVisible() || (handle && handle->isExposed()) || ++attempts > kAttempts) {
            retry->deleteLater();
            return;
        }
        window->hide();
        window->show();
    });
    retry->start();
}

} // namespace x11
