// SPDX-License-Identifier: MIT
#pragma once
#include "compat/OneWindow.h"
#include <QMenu>
#include <QPointer>
#include <QWidget>

class QColorDialog;

// The hidden host of the context menu. It is never shown; its menu pops up
// over the clock, and each item's command runs here. The commands change the
// clock state or open a window that does; the next tick shows the change.
class C_Menu : public QWidget, public compat::OneWindow<C_Menu>
{
    Q_OBJECT
    friend class compat::OneWindow<C_Menu>;
public:
    QMenu *p_Main;
    QAction *p_ColorSelect;
    QAction *p_FontSSelect;
    QAction *p_scale;
    QAction *ppopup;
    QAction *p_alam;
    QAction *p_savepic;
    QAction *dummy;
    QAction *p_help;
    QAction *dumy3;
    QAction *p_about;
    QAction *dummy2;
    QAction *p_end;
    QPointer<QColorDialog> CommonDialog1; // made at the first colour command

    // Pops the context menu up with its top-left corner at `screenPixel`.
    void popupAt(const QPoint &screenPixel);

private:
    C_Menu();
    QAction *addItem(const char *name, const QString &caption);
    QAction *addSeparator(const char *name);

    void on_p_ColorSelect_triggered();
    void on_p_FontSSelect_triggered();
    void on_p_scale_triggered();
    void on_ppopup_triggered();
    void on_p_alam_triggered();
    void on_p_savepic_triggered();
    void on_p_help_triggered();
    void on_p_about_triggered();
    void on_p_end_triggered();
};
