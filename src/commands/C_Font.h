// SPDX-License-Identifier: MIT
#pragma once
#include "compat/OneWindow.h"
#include <QComboBox>
#include <QPushButton>
#include <QWidget>

// The small dialog in which the digit size is picked from a fixed list.
// Modeless, without owner, at most one; destroyed when closed.
class C_Font : public QWidget, public compat::OneWindow<C_Font>
{
    Q_OBJECT
    friend class compat::OneWindow<C_Font>;
public:
    QComboBox *cboFont;
    QPushButton *cmd;

    // Selects the list entry for `points`; none when the list has no such size.
    void preselect(int points);

    void on_cmd_clicked();

private:
    C_Font();
};
