// SPDX-License-Identifier: MIT
#include "commands/C_Font.h"
#include "clock/BasTavisk.h"
#include "compat/Dialogs.h"
#include "compat/ShowCentred.h"
#include "compat/Twips.h"

using namespace BasTavisk;

C_Font::C_Font()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint)
{
    compat::setUpDialog(this, QStringLiteral("C_Font"), QStringLiteral("FontSize指定"), 2625, 585);
    move(compat::centredOnScreen(size()));

    cboFont = new QComboBox(this);
    cboFont->setObjectName(QStringLiteral("cboFont"));
    cboFont->setGeometry(compat::twipsRect(120, 120, 1215, 360));
    cboFont->setFont(compat::layoutFont(QStringLiteral("ＭＳ Ｐ明朝"), 12, true));
    cboFont->setEditable(false); // a choice from the list only
    cboFont->addItems({QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"),
                       QStringLiteral("18"), QStringLiteral("20"), QStringLiteral("22"),
                       QStringLiteral("24"), QStringLiteral("26"), QStringLiteral("28"),
                       QStringLiteral("36")});
    cboFont->setCurrentIndex(-1); // nothing chosen until the opening preselects
    // Qt on Linux gives a combo box its current entry as name, so AT-SPI sees
    // this only as the description.
    cboFont->setAccessibleName(QStringLiteral("FontSize指定"));
    cboFont->setAccessibleDescription(QStringLiteral("FontSize指定"));

    cmd = new QPushButton(QStringLiteral("O K"), this);
    cmd->setObjectName(QStringLiteral("cmd"));
    cmd->setGeometry(compat::twipsRect(1440, 120, 975, 375));
    cmd->setFont(compat::layoutFont(QStringLiteral("ＭＳ 明朝"), 12, true));
    // Not the default button: Enter presses it only while it has the focus.
    cmd->setAutoDefault(true);
    cmd->setAccessibleName(QStringLiteral("O K"));
    connect(cmd, &QPushButton::clicked, this, &C_Font::on_cmd_clicked);

    setTabOrder(cboFont, cmd);
    cboFont->setFocus();
}

void C_Font::preselect(int points) { cboFont->setCurrentIndex(cboFont->findText(QString::number(points))); }

void C_Font::on_cmd_clicked()
{
    const QString text = cboFont->currentText();
    if (!text.isEmpty())
        gFontSize = qint16(text.toInt()); // the entries are all small decimal integers
    close();
}
