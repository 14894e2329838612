#include "platform/TextShape.h"

#include <QBitmap>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>

// The font and icon are compiled into the static core library, whose resource
// initialiser nothing else would pull in.
static void initAssets() { Q_INIT_RESOURCE(assets); }

namespace platform {

namespace {
// Impact's ascent is 2066 units of its 2048-unit em. The windows were sized
// for text whose cell top lies at y = 0 with that ascent, so a stand-in face
// is placed by Impact's baseline, not by its own (larger) ascent.
constexpr double kImpactAscentPerEm = 2066.0 / 2048.0;

bool &standInActive()
{
    static bool active = false;
    return active;
}
} // namespace

void installImpactStandIn()
{
    initAssets();
    if (QFontDatabase::families().contains(QStringLiteral("Impact"), Qt::CaseInsensitive))
        return;
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/tavisk/anton.woff2"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return;
    QFont::insertSubstitution(QStringLiteral("impact"), families.first());
    QFont::insertSubstitution(QStringLiteral("Impact"), families.first());
    standInActive() = true;
}

QRegion textOutlineRegion(const QString &text, const QFont &font, const QSize &size)
{
    if (size.isEmpty())
        return QRegion();
    QBitmap bitmap(size);
    bitmap.fill(Qt::color0);
    QPainter painter(&bitmap);
    painter.setFont(font);
    painter.setPen(Qt::color1);
    const QFontMetricsF metrics(painter.font());
    const double em = painter.fontInfo().pixelSize();
    const double baseline = standInActive() ? kImpactAscentPerEm * em : metrics.ascent();
    painter.drawText(QPointF(0, baseline), text);
    painter.end();
    return QRegion(bitmap);
}

} // namespace platform
