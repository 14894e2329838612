// SPDX-License-Identifier: MIT
#pragma once
#include <QPixmap>
#include <QWidget>

namespace wayland {

// What the user sees of a layer surface while dragging it: a picture of it,
// drawn on a transparent surface that covers its output and takes no input,
// while the surface itself stays where the press was and shows nothing.
//
// Moving the surface itself under the pointer cannot be exact: compositors
// report the pointer, while the button is held, relative to where the surface
// was at the press (sway), where it is now, or somewhere between (KWin,
// depending on whether the pointer is over it), and a fast hand outruns
// every guess. A surface that stays put makes the pointer's place exact
// everywhere: the press's surface-local position plus the surface's own.
class DragImage : public QWidget
{
public:
    // Takes the picture of `window` and blanks the window, until destroyed.
    explicit DragImage(QWidget *window);
    ~DragImage() override;

    // Shows the picture with its top-left corner at `topLeft`, on `screen`,
    // above the windows: what the user drags is in front.
    void showAt(QScreen *screen, const QPoint &topLeft);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_window;
    QPixmap m_picture;
    QPoint m_at; // on the output
};

} // namespace wayland
