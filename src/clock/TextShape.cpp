// SPDX-License-Identifier: MIT
#include "clock/TextShape.h"
#include "clock/ClockFont.h"

#include <QBitmap>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QtMath>
#include <cmath>
#include <optional>
#include <vector>

namespace {
// `text` drawn with its origin at x, clipped to `size` (logical pixels), as
// device pixels.
QRegion renderedRegion(const QString &text, const QFont &font, const QSize &size, double x, qreal dpr = 1)
{
    QBitmap bitmap(QSize(qCeil(size.width() * dpr), qCeil(size.height() * dpr)));
    bitmap.setDevicePixelRatio(dpr);
    bitmap.fill(Qt::color0);
    QPainter painter(&bitmap);
    painter.setFont(font);
    painter.setPen(Qt::color1);
    painter.drawText(QPointF(x, clockBaseline(painter)), text);
    painter.end();
    return QRegion(bitmap);
}

// A time text uses eleven glyphs. Rendering one glyph costs about as much as
// rendering it into the whole text, so each glyph is rendered once per
// position within a pixel (1/64 steps, as the text layout places glyphs) and
// the outline of a text is the union of its glyphs moved to their places: a
// third of the cost of drawing the text. The union covers exactly the pixels
// that drawing the whole text covers (a test compares both at every size);
// a font that kerns between these glyphs is not composed.
class TimeGlyphs
{
public:
    std::optional<QRegion> outline(const QString &text, const QFont &font, const QSize &size)
    {
        if (!(font == m_font && size.height() == m_height)) {
            // A new font or height: its first outline is drawn whole, and the
            // glyphs are measured for the outlines after it. Measuring costs
            // several times one drawing, and a new clock should show at once.
            m_font = font;
            m_height = size.height();
            m_glyphs.clear();
            m_measured = false;
            return std::nullopt;
        }
        if (!m_measured)
            measure();
        if (!m_composable)
            return std::nullopt;
        QRegion region;
        qint64 x64 = 0;
        for (QChar c : text) {
            const int index = glyphIndex(c);
            if (index < 0)
                return std::nullopt;
            const qint64 whole = x64 >> 6;
            if (whole >= size.width())
                break;
            const int key = index * 64 + int(x64 & 63);
            auto it = m_glyphs.constFind(key);
            if (it == m_glyphs.constEnd())
                it = m_glyphs.insert(key, renderedRegion(QString(c), m_font, m_cell, m_margin + (x64 & 63) / 64.0));
            region += it->translated(int(whole) - m_margin, 0);
            x64 += m_advance64[index];
        }
        return region & QRect(QPoint(0, 0), size);
    }

private:
    static int glyphIndex(QChar c)
    {
        if (c >= u'0' && c <= u'9')
            return c.unicode() - u'0';
        return c == u':' ? 10 : -1;
    }

    void measure()
    {
        m_measured = true;
        const QFontMetricsF metrics(m_font);
        // Room on both sides of a glyph for ink outside its advance. A size set
        // by hand far beyond the window's (thousands of points, where the font
        // engine's metrics stop making sense) is drawn whole instead.
        const double room = std::ceil(metrics.height());
        const double cellWidth = 3 * room + std::ceil(metrics.maxWidth());
        m_composable = room > 0 && cellWidth <= 4096;
        if (!m_composable)
            return;
        m_margin = int(room);
        m_cell = QSize(int(cellWidth), m_height);
        static const QString glyphs = QStringLiteral("0123456789:");
        for (int i = 0; i < 11; ++i)
            m_advance64[i] = std::llround(metrics.horizontalAdvance(glyphs[i]) * 64);
        for (QChar a : glyphs)
            for (QChar b : glyphs)
                if (std::llround(metrics.horizontalAdvance(QString(a) + b) * 64)
                    != m_advance64[glyphIndex(a)] + m_advance64[glyphIndex(b)])
                    m_composable = false; // kerned pair
    }

    QFont m_font;
    int m_height = -1;
    bool m_measured = false;
    bool m_composable = false;
    int m_margin = 0;
    QSize m_cell;
    qint64 m_advance64[11] = {};
    QHash<int, QRegion> m_glyphs; // at most 11 x 64, for one font and height
};
} // namespace

QRegion textOutlineRegion(const QString &text, const QFont &font, const QSize &size, qreal devicePixelRatio)
{
    if (size.isEmpty())
        return QRegion();
    // Glyphs are composed at a ratio of 1 only: at others the layout's glyph
    // positions fall on fractions of a device pixel that the glyph cache does
    // not track.
    if (devicePixelRatio != 1)
        return renderedRegion(text, font, size, 0, devicePixelRatio);
    static TimeGlyphs glyphs;
    if (std::optional<QRegion> composed = glyphs.outline(text, font, size))
        return *composed;
    return renderedRegion(text, font, size, 0);
}

QRegion renderedTextRegion(const QString &text, const QFont &font, const QSize &size, qreal devicePixelRatio)
{
    if (size.isEmpty())
        return QRegion();
    return renderedRegion(text, font, size, 0, devicePixelRatio);
}

QImage paintedText(const QString &text, const QFont &font, const QSize &size, qreal devicePixelRatio,
                   const QColor &colour)
{
    QImage image(QSize(qCeil(size.width() * devicePixelRatio), qCeil(size.height() * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (image.isNull())
        return image;
    // Drawn with a font as large as the device's pixels, not with the font
    // scaled up: a window that moved to a screen of a larger scale had its
    // glyphs from the smaller one, scaled up, soft.
    QFont grey = font;
    grey.setPointSizeF(font.pointSizeF() * devicePixelRatio);
    // Coloured subpixel fringes would show on whatever lies below.
    grey.setStyleStrategy(QFont::StyleStrategy(grey.styleStrategy() | QFont::NoSubpixelAntialias));
    QPainter painter(&image);
    painter.setFont(grey);
    painter.setPen(colour);
    painter.drawText(QPointF(0, clockBaseline(painter)), text);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QRegion paintedRegion(const QImage &painting)
{
    // Runs of painted pixels, row by row.
    std::vector<QRect> runs;
    for (int y = 0; y < painting.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(painting.constScanLine(y));
        for (int x = 0; x < painting.width();) {
            if (!qAlpha(row[x])) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < painting.width() && qAlpha(row[x]))
                ++x;
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

