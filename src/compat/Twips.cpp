// SPDX-License-Identifier: MIT
#include "compat/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace compat {

namespace {
double dpiX()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}
double dpiY()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}
QRect primaryGeometry()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

double twipsPerPixelX() { return 1440.0 / dpiX(); }
double twipsPerPixelY() { return 1440.0 / dpiY(); }

int twipsToPixelsX(double twips) { return int(std::lround(twips / twipsPerPixelX())); }
int twipsToPixelsY(double twips) { return int(std::lround(twips / twipsPerPixelY())); }
double pixelsToTwipsX(int pixels) { return pixels * twipsPerPixelX(); }
double pixelsToTwipsY(int pixels) { return pixels * twipsPerPixelY(); }

int pixelThroughTwips(double pixels, double twipsPerPixel)
{
    const double twips = std::nearbyint(pixels * twipsPerPixel);
    return int(std::copysign(std::trunc((std::abs(twips) + 0.5) / twipsPerPixel), twips));
}

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToPixelsX(left), twipsToPixelsY(top),
                 twipsToPixelsX(width), twipsToPixelsY(height));
}

double screenWidthTwips() { return pixelsToTwipsX(primaryGeometry().width()); }
double screenHeightTwips() { return pixelsToTwipsY(primaryGeometry().height()); }

QPoint centredOnScreen(const QSize &outerPixels)
{
    const double top = (screenHeightTwips() - pixelsToTwipsY(outerPixels.height())) / 2;
    const double left = (screenWidthTwips() - pixelsToTwipsX(outerPixels.width())) / 2;
    const QPoint origin = primaryGeometry().topLeft();
    return origin + QPoint(twipsToPixelsX(left), twipsToPixelsY(top));
}

} // namespace compat
