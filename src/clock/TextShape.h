// SPDX-License-Identifier: MIT
#pragma once
#include <QFont>
#include <QRegion>
#include <QString>

class QColor;
class QImage;

// The area inside the glyph outlines of `text`, written in `font` with the top
// of the text's character cell at (0, 0), clipped to `size` pixels. Holes
// inside glyphs (0, 4, 6, 8, 9) are not part of the region. At a device pixel
// ratio other than 1, `size` is in logical pixels and the region in device
// pixels: the glyphs are drawn at the device's resolution, not enlarged.
QRegion textOutlineRegion(const QString &text, const QFont &font, const QSize &size, qreal devicePixelRatio = 1);

// The same area, always drawn as a whole (textOutlineRegion composes time
// texts from cached glyphs).
QRegion renderedTextRegion(const QString &text, const QFont &font, const QSize &size, qreal devicePixelRatio = 1);

// `text` painted antialiased in `colour` on a transparent image of `size`
// (logical pixels) at the given device pixel ratio, placed exactly as the
// outline above.
QImage paintedText(const QString &text, const QFont &font, const QSize &size, qreal devicePixelRatio,
                   const QColor &colour);

// Every pixel of such a painting that is not fully transparent, however
// faintly painted, in device pixels. Antialiased glyphs are hinted apart from
// the 1-bit ones by a pixel or two, so only this area matches what the user
// sees.
QRegion paintedRegion(const QImage &painting);

