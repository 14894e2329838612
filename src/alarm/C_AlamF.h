// SPDX-License-Identifier: MIT
#pragma once
#include "compat/OneWindow.h"
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

// The notice that an alarm has fired: its message and an OK button.
// Modeless, without owner, at most one; destroyed when closed.
class C_AlamF : public QWidget, public compat::OneWindow<C_AlamF>
{
    Q_OBJECT
    friend class compat::OneWindow<C_AlamF>;
public:
    QFrame *Frame1;
    QPlainTextEdit *txt;
    QPushButton *Command1;

    // Shows the window; a newly created one appears centred on the screen.
    void showNotice();

    void on_Command1_clicked();

private:
    C_AlamF();
    bool m_placed = false;
};
