// SPDX-License-Identifier: MIT
#include "alarm/C_AlamF.h"
#include "compat/Dialogs.h"
#include "compat/ShowCentred.h"
#include "compat/Twips.h"

C_AlamF::C_AlamF()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    compat::setUpDialog(this, QStringLiteral("C_AlamF"), QStringLiteral("アラーム"), 4680, 2460);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched
    Frame1->setGeometry(compat::twipsRect(120, 120, 4455, 1815));
    Frame1->setAccessibleName(QStringLiteral("アラーム時メッセージ"));

    txt = new QPlainTextEdit(Frame1);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setGeometry(compat::twipsRect(120, 150, 4215, 1575));
    txt->setReadOnly(true); // selectable, not editable
    txt->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not a tab stop: the keyboard stays on OK, so Enter or Space closes.
    txt->setFocusPolicy(Qt::ClickFocus);
    txt->setAccessibleName(QStringLiteral("アラーム"));

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(compat::twipsRect(1680, 2040, 1095, 375));
    Command1->setAccessibleName(QStringLiteral("OK"));
    // Neither default nor cancel button; Enter presses it while it has focus.
    Command1->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, &C_AlamF::on_Command1_clicked);

    setTabOrder(Command1, txt);
    Command1->setFocus();
}

void C_AlamF::showNotice()
{
    // Centred when newly made; a notice already up stays where it is.
    if (!m_placed) {
        m_placed = true;
        compat::showCentred(this);
    } else {
        show();
        raise();
        activateWindow();
    }
    Command1->setFocus();
}

void C_AlamF::on_Command1_clicked() { close(); }
