// SPDX-License-Identifier: MIT
#include "menu/C_Menu.h"
#include "alarm/C_Alam.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "commands/C_Font.h"
#include "commands/SaveSetting.h"
#include "compat/MsgBox.h"
#include "compat/ShowCentred.h"
#include "compat/Twips.h"
#include "compat/Version.h"
#include "compat/WinColor.h"
#include "windowsystem/WindowSystem.h"

#include <QApplication>
#include <QColorDialog>

using namespace BasTavisk;

namespace {
const QString kTitle = QString::fromLatin1(compat::version::kProductName);
}

C_Menu::C_Menu()
{
    setObjectName(QStringLiteral("C_Menu"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(compat::twipsRect(0, 0, 1575, 465).size());

    p_Main = new QMenu(QStringLiteral("MainMenu"), this);
    p_Main->setObjectName(QStringLiteral("p_Main"));
    p_ColorSelect = addItem("p_ColorSelect", QStringLiteral("Color(&C)"));
    p_FontSSelect = addItem("p_FontSSelect", QStringLiteral("FontSize(&F)"));
    p_scale = addItem("p_scale", QStringLiteral("秒表示(&S)"));
    ppopup = addItem("ppopup", QStringLiteral("AlwaysTop(&L)"));
    p_alam = addItem("p_alam", QStringLiteral("アラーム(&D)"));
    p_savepic = addItem("p_savepic", QStringLiteral("SaveSetting(&P)"));
    dummy = addSeparator("dummy");
    p_help = addItem("p_help", QStringLiteral("Help(&H)"));
    dumy3 = addSeparator("dumy3");
    p_about = addItem("p_about", QStringLiteral("About(&A)"));
    dummy2 = addSeparator("dummy2");
    p_end = addItem("p_end", QStringLiteral("Exit(&E)"));

    p_scale->setCheckable(true);
    ppopup->setCheckable(true);

    connect(p_ColorSelect, &QAction::triggered, this, &C_Menu::on_p_ColorSelect_triggered);
    connect(p_FontSSelect, &QAction::triggered, this, &C_Menu::on_p_FontSSelect_triggered);
    connect(p_scale, &QAction::triggered, this, &C_Menu::on_p_scale_triggered);
    connect(ppopup, &QAction::triggered, this, &C_Menu::on_ppopup_triggered);
    connect(p_alam, &QAction::triggered, this, &C_Menu::on_p_alam_triggered);
    connect(p_savepic, &QAction::triggered, this, &C_Menu::on_p_savepic_triggered);
    connect(p_help, &QAction::triggered, this, &C_Menu::on_p_help_triggered);
    connect(p_about, &QAction::triggered, this, &C_Menu::on_p_about_triggered);
    connect(p_end, &QAction::triggered, this, &C_Menu::on_p_end_triggered);
}

QAction *C_Menu::addItem(const char *name, const QString &caption)
{
    QAction *action = p_Main->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction *C_Menu::addSeparator(const char *name)
{
    QAction *action = p_Main->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

void C_Menu::popupAt(const QPoint &screenPixel) { p_Main->popup(screenPixel); }

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
    gColor = compat::toWinColor(CommonDialog1->selectedColor());
}

void C_Menu::on_p_FontSSelect_triggered()
{
    C_Font *dialog = C_Font::instance();
    if (gFontSize != 0)
        dialog->preselect(gFontSize);
    compat::showCentred(dialog); // modeless: the command returns at once
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
        windowsystem::current().setOnTop(clock, ppopup->isChecked());
}

void C_Menu::on_p_alam_triggered()
{
    // Opening it again while it is open centres it again; its fields stay.
    compat::showCentred(C_Alam::instance()); // modeless: the command returns at once
}

void C_Menu::on_p_savepic_triggered() { commands::SaveSetting(); }

void C_Menu::on_p_help_triggered()
{
    compat::MsgBox(QStringLiteral("時間表示がされている部分を右クリックし、\n各メニューで設定するだけです！"),
                     QMessageBox::Information, kTitle);
}

void C_Menu::on_p_about_triggered()
{
    compat::MsgBox(kTitle + QStringLiteral("  Copyright (C) 2026 The Tavisk developers"),
                     QMessageBox::NoIcon, kTitle);
}

void C_Menu::on_p_end_triggered()
{
    // Ends at once: nothing is saved and a pending alarm is dropped.
    QApplication::exit(0);
}
