// SPDX-License-Identifier: MIT
#include "compat/Dialogs.h"
#include "compat/Twips.h"

#include <QWidget>

namespace compat {

void setUpDialog(QWidget *dialog, const QString &name, const QString &title, double widthTwips,
                 double heightTwips)
{
    dialog->setObjectName(name);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
    dialog->setWindowTitle(title);
    dialog->setFixedSize(twipsRect(0, 0, widthTwips, heightTwips).size());
}

QFont layoutFont(const QString &family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace compat
