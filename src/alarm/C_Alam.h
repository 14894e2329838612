// SPDX-License-Identifier: MIT
#pragma once
#include "alarm/AlarmInput.h"
#include "compat/OneWindow.h"
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

// The dialog in which the one alarm is set, as minutes from now or as a time
// of day, with a message, or cleared. Modeless, without owner, at most one;
// destroyed when closed. It only writes the clock state: the tick fires.
class C_Alam : public QWidget, public compat::OneWindow<C_Alam>
{
    Q_OBJECT
    friend class compat::OneWindow<C_Alam>;
public:
    QGroupBox *fra;
    std::array<QRadioButton *, 2> opt; // 0: minutes from now, 1: time of day
    QPushButton *Command2;
    QLineEdit *txtmin;
    QLineEdit *txthour;
    QLineEdit *txtA;
    QLineEdit *txt;
    QPushButton *Command1;
    QPushButton *cmd;
    QFrame *Line3;
    QFrame *Line2;
    QLabel *lblmin;
    QLabel *lblhour;
    QLabel *lbl1;
    QLabel *Label1;
    QFrame *Line1;

    void on_opt_clicked(int index);
    void on_cmd_clicked();
    void on_Command2_clicked();
    void on_Command1_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    C_Alam();
    void buildWidgets();
    void Form_Load();
    void showMode(int index);
    // Answers an input error: the message, and the focus on the field at fault.
    void refuse(const AlarmRefusal &refusal);
};
