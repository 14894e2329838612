// SPDX-License-Identifier: MIT
#pragma once

class QPainter;

// Makes the family name "impact" usable on this machine: when no real Impact
// is installed, the bundled Anton face stands in for it (left alone, fontconfig
// picks a dingbat font for that name).
void installImpactStandIn();

// How far below the top of its character cell the painter's font puts the
// baseline, in the painter's pixels: where Impact puts it, also when another
// face stands in for Impact.
double clockBaseline(const QPainter &painter);

