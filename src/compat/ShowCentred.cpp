// SPDX-License-Identifier: MIT
#include "compat/ShowCentred.h"
#include "compat/Twips.h"

#include <QEvent>
#include <QWidget>

namespace compat {

namespace {
bool framed(const QWidget *window) { return window->frameGeometry().size() != window->size(); }

void centre(QWidget *window) { window->move(centredOnScreen(window->frameGeometry().size())); }

// Waits for the first sign that the frame is known, centres the window once
// more and goes away.
class CentreWhenFramed : public QObject
{
public:
    static constexpr const char *kName = "CentreWhenFramed";

    explicit CentreWhenFramed(QWidget *window)
        : QObject(window)
    {
        setObjectName(kName);
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        // Framing need not move the frame's corner; a paint follows it anyway.
        const QEvent::Type t = event->type();
        if ((t == QEvent::Move || t == QEvent::Resize || t == QEvent::Paint) && framed(window)) {
            window->removeEventFilter(this);
            deleteLater();
            centre(window);
        }
        return false;
    }
};
} // namespace

void showCentred(QWidget *window)
{
    centre(window);
    window->show();
    if (framed(window))
        centre(window);
    else if (!window->findChild<QObject *>(QLatin1String(CentreWhenFramed::kName),
                                           Qt::FindDirectChildrenOnly))
        new CentreWhenFramed(window);
    window->raise();
    window->activateWindow();
}

} // namespace compat
