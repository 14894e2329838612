#include "clock/C_Menu.h"
#include "platform/Twips.h"

C_Menu::C_Menu()
{
    setObjectName(QStringLiteral("C_Menu"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(platform::twipsRect(0, 0, 1575, 465).size());

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
    // "-" marks a separator in the menu's table; as text, styles draw it
    // beside the line.
    action->setData(QStringLiteral("-"));
    return action;
}

void C_Menu::popupAt(const QPoint &screenPixel) { p_Main->popup(screenPixel); }
