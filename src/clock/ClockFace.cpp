// SPDX-License-Identifier: MIT
#include "clock/ClockFace.h"
#include "clock/Form1.h"
#include "clock/TextShape.h"
#include "windowsystem/WindowSystem.h"

#include <QPainter>

ClockFace::ClockFace(Form1 *window)
    : m_window(window)
{
}

void ClockFace::choosePainting(bool translucent)
{
    m_translucent = translucent;
    m_window->setAttribute(Qt::WA_TranslucentBackground, translucent);
    m_window->setAttribute(Qt::WA_NoSystemBackground, translucent);
    m_window->setAutoFillBackground(!translucent);
}

void ClockFace::recreateForPainting(bool translucent)
{
    const QPoint where = windowsystem::current().position(m_window);
    m_window->hide();
    m_window->destroy();
    choosePainting(translucent);
    m_window->create();
    windowsystem::current().place(m_window, where);
}

void ClockFace::shapeToText(const QString &timeText)
{
    // The outline follows from the text, the font and the window size alone,
    // drawn at the screen's device pixels, and the colour that fills it. When
    // none changed and the window still carries what was built from them, a
    // rebuild would hand it the same.
    const qreal ratio = m_window->devicePixelRatioF();
    const QColor colour = m_window->palette().color(QPalette::Window);
    const QFont font = m_window->font();
    const QSize size = m_window->size();
    if (timeText == m_shapedText && font == m_shapedFont && size == m_shapedSize && ratio == m_shapedRatio
        && m_translucent == m_shapedTranslucent && colour == m_shapedColour
        && (m_shapedWindow ? m_shapedWindow == m_window->winId() : m_window->mask() == m_shapedMask))
        return;
    if (m_translucent) {
        // The digits cover what they are painted on, to the faintest edge
        // pixel: that, not the 1-bit outline, is what the user sees and clicks.
        m_digits = paintedText(timeText, font, size, ratio, colour);
        m_shape = paintedRegion(m_digits);
    } else {
        m_digits = QImage();
        m_shape = textOutlineRegion(timeText, font, size, ratio);
    }
    m_shapedText = timeText;
    m_shapedFont = font;
    m_shapedSize = size;
    m_shapedRatio = ratio;
    m_shapedTranslucent = m_translucent;
    m_shapedColour = colour;
    const bool onServer = windowsystem::current().setOutline(m_window, m_shape, m_translucent);
    m_shapedWindow = onServer ? m_window->winId() : 0;
    m_shapedMask = onServer ? QRegion() : m_window->mask();
    if (m_translucent)
        m_window->update(); // the digits are painted only when they change
}

void ClockFace::reshape()
{
    if (!m_shapedText.isNull())
        shapeToText(m_shapedText);
}

void ClockFace::paint()
{
    // The solid clock is painted by the X server alone.
    if (!m_translucent)
        return;
    QPainter painter(m_window);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(m_window->rect(), Qt::transparent);
    painter.drawImage(0, 0, m_digits);
}
