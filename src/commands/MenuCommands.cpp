// The context menu's own commands: colour, seconds, always on top, help,
// about and exit. They change the clock state; the next tick shows it.
#include "clock/BasTavisk.h"
#include "clock/C_Menu.h"
#include "clock/Form1.h"
#include "platform/MsgBox.h"
#include "platform/SolidWindow.h"
#include "platform/Version.h"
#include "platform/WinColor.h"

#include <QApplication>
#include <QColorDialog>
#include <QWindow>

using namespace BasTavisk;

namespace {
const QString kTitle = QString::fromLatin1(platform::version::kProductName);
}

void C_Menu::on_p_ColorSelect_triggered()
{
    // The dialog opens on the colour last chosen in it, not on the digits'.
    if (!CommonDialog1) {
        CommonDialog1 = new QColorDialog(this);
        CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
        CommonDialog1->setCurrentColor(Qt::black);
    }
    if (CommonDialog1->exec() != QDialog::Accepted)
        return; // cancelled: the colour stays
    gColor = platform::toWinColor(CommonDialog1->selectedColor());
}

void C_Menu::on_p_scale_triggered()
{
    gShowSec = !gShowSec;
    // The check mark of this checkable item has already been flipped by the menu.
}

void C_Menu::on_ppopup_triggered()
{
    // The menu has already flipped the check mark; it alone decides.
    Form1 *clock = Form1::instance();
    if (clock)
        platform::setTopMost(clock, ppopup->isChecked());
}

void C_Menu::on_p_help_triggered()
{
    platform::MsgBox(QStringLiteral("時間表示がされている部分を右クリックし、\n各メニューで設定するだけです！"),
                     QMessageBox::Information, kTitle);
}

void C_Menu::on_p_about_triggered()
{
    platform::MsgBox(kTitle + QStringLiteral("  Copyright (C) 2026 The Tavisk developers"),
                     QMessageBox::NoIcon, kTitle);
}

void C_Menu::on_p_end_triggered()
{
    // Ends at once: nothing is saved and a pending alarm is dropped.
    QApplication::exit(0);
}
