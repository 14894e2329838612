#pragma once
#include <QFont>
#include <QRegion>
#include <QString>

namespace platform {

// Makes the family name "impact" usable on this machine: when no real Impact
// is installed, the bundled Anton face stands in for it (left alone, fontconfig
// picks a dingbat font for that name).
void installImpactStandIn();

// The area inside the glyph outlines of `text`, written in `font` with the top
// of the text's character cell at (0, 0), clipped to `size` pixels. Holes
// inside glyphs (0, 4, 6, 8, 9) are not part of the region.
QRegion textOutlineRegion(const QString &text, const QFont &font, const QSize &size);

// The same area, always drawn as a whole (textOutlineRegion composes time
// texts from cached glyphs).
QRegion renderedTextRegion(const QString &text, const QFont &font, const QSize &size);

} // namespace platform
