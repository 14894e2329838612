// SPDX-License-Identifier: MIT
#pragma once
#include <QFont>
#include <QString>

class QWidget;

namespace compat {

// What the clock's own windows (the alarm dialog, the alarm notice, the size
// dialog) share: an object name, a title, a fixed size laid out in twips;
// destroyed when closed, and closing one never ends the program.
void setUpDialog(QWidget *dialog, const QString &name, const QString &title, double widthTwips,
                 double heightTwips);

// A face the dialogs were laid out with, at its size in points.
QFont layoutFont(const QString &family, double points, bool bold);

} // namespace compat
