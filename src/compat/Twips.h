// SPDX-License-Identifier: MIT
#pragma once
#include <QRect>

// Window layouts are kept in twips (1/1440 inch), as they were designed;
// the widgets want pixels. Conversions use the primary screen's logical DPI,
// so twips per pixel is 15 at 96 dpi.
namespace compat {

double twipsPerPixelX();
double twipsPerPixelY();

int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

// The whole pixel a screen position (in pixels) lies in, worked out through
// whole twips: the twips rounded to the nearest (half to even), then divided
// by twips per pixel, dropping the remainder. Where twips per pixel is not a
// whole number (13.09 at 110 dpi, 7.5 at 192), dividing by it rounded would
// land pixels away from the position; the half twip added before the
// division keeps the result on it, and changes nothing where it is whole.
int pixelThroughTwips(double pixels, double twipsPerPixel);

// A layout rectangle in twips, as pixels.
QRect twipsRect(double left, double top, double width, double height);

double screenWidthTwips();
double screenHeightTwips();

// Outer position that centres a window of the given outer size on the whole
// primary screen (not the work area), computed in twips as the layouts do.
QPoint centredOnScreen(const QSize &outerPixels);

} // namespace compat
