// SPDX-License-Identifier: MIT
#include "clock/ClockFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

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

double clockBaseline(const QPainter &painter)
{
    return standInActive() ? kImpactAscentPerEm * painter.fontInfo().pixelSize()
                           : QFontMetricsF(painter.font()).ascent();
}

