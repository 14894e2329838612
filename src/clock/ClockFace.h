// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QWidget>

class Form1;

// How the clock's digits reach the screen. With a compositing manager they
// are painted, antialiased, on a transparent window; without one the X server
// paints the window, cut to the digits' outline, from its background. The
// outline costs a rendering of the text, so the one last sent is kept with
// what it was built from, and a tick that changes none of that sends nothing.
class ClockFace
{
public:
    explicit ClockFace(Form1 *window);

    bool translucent() const { return m_translucent; }

    // Sets the way of painting on a window whose native window does not exist
    // yet: the visual (with or without an alpha channel) is chosen when it is made.
    void choosePainting(bool translucent);
    // Makes the native window again for the other way of painting, where the
    // old one really is, and leaves it hidden.
    void recreateForPainting(bool translucent);

    // Cuts the window to the outline of `timeText` in the window's font, size
    // and colour, unless the window already carries exactly that.
    void shapeToText(const QString &timeText);
    // The same text again, at the window's device pixel ratio now.
    void reshape();
    // The window's paint event: only a translucent clock paints its digits.
    void paint();

private:
    Form1 *m_window;
    bool m_translucent = false;

    // What the window's outline was last built from, and the outline itself
    // (device pixels), and where it went: the X window it was sent to, or
    // none when it is the widget's mask.
    QString m_shapedText;
    QFont m_shapedFont;
    QSize m_shapedSize;
    qreal m_shapedRatio = 0;
    bool m_shapedTranslucent = false;
    QColor m_shapedColour;
    WId m_shapedWindow = 0;
    QRegion m_shape;
    QRegion m_shapedMask; // the widget's mask it became, when not on the X server
    QImage m_digits; // the painted digits, with a compositing manager
};
