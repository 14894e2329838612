#pragma once
#include <QRect>

// Window layouts are kept in twips (1/1440 inch), as they were designed;
// the widgets want pixels. Conversions use the primary screen's logical DPI,
// so twips per pixel is 15 at 96 dpi.
namespace platform {

double twipsPerPixelX();
double twipsPerPixelY();

int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

// A layout rectangle in twips, as pixels.
QRect twipsRect(double left, double top, double width, double height);

double screenWidthTwips();
double screenHeightTwips();

// Outer position that centres a window of the given outer size on the whole
// primary screen (not the work area), computed in twips as the layouts do.
QPoint centredOnScreen(const QSize &outerPixels);

} // namespace platform
