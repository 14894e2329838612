// SPDX-License-Identifier: MIT
#include "alarm/C_Alam.h"
#include "alarm/AlarmInput.h"
#include "clock/BasTavisk.h"
#include "compat/Dialogs.h"
#include "compat/MsgBox.h"
#include "compat/Now.h"
#include "compat/Twips.h"

#include <QKeyEvent>

using namespace AlarmText;
using namespace BasTavisk;

namespace {
// Only spaces are trimmed from the message; other characters are the user's.
QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

C_Alam::C_Alam()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint)
{
    compat::setUpDialog(this, QStringLiteral("C_Alam"), QStringLiteral("メッセージアラームセット"), 5805, 3705);
    move(compat::centredOnScreen(size()));
    buildWidgets();
    connect(cmd, &QPushButton::clicked, this, &C_Alam::on_cmd_clicked);
    connect(Command2, &QPushButton::clicked, this, &C_Alam::on_Command2_clicked);
    connect(Command1, &QPushButton::clicked, this, &C_Alam::on_Command1_clicked);
    for (int i = 0; i < 2; ++i)
        connect(opt[i], &QRadioButton::clicked, this, [this, i] { on_opt_clicked(i); });
    Form_Load();
}

void C_Alam::buildWidgets()
{
    const QFont buttonFont = compat::layoutFont(QStringLiteral("ＭＳ 明朝"), 11.25, true);
    const QFont fieldFont = compat::layoutFont(QStringLiteral("ＭＳ Ｐゴシック"), 11.25, false);
    const QFont labelFont = compat::layoutFont(QStringLiteral("ＭＳ Ｐ明朝"), 9, false);

    auto button = [&](const char *name, const QString &caption, QRect twips) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(twips);
        b->setFont(buttonFont);
        b->setAutoDefault(true); // Enter presses the button that has the focus
        b->setAccessibleName(caption);
        return b;
    };
    auto field = [&](const char *name, QRect twips, const QString &accessibleName) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(twips);
        e->setFont(fieldFont);
        e->setAccessibleName(accessibleName);
        e->installEventFilter(this);
        return e;
    };
    auto label = [&](const char *name, const QString &caption, QRect twips, QLineEdit *buddy) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(twips);
        l->setFont(labelFont);
        l->setAccessibleName(caption.trimmed());
        l->setBuddy(buddy);
        return l;
    };
    auto line = [&](const char *name, double x1, double x2, double y) {
        auto *f = new QFrame(this);
        f->setObjectName(QLatin1String(name));
        f->setFrameStyle(QFrame::HLine | QFrame::Plain);
        const QRect span = compat::twipsRect(x1, y, x2 - x1, 0);
        f->setGeometry(span.x(), span.y(), span.width(), 1);
        return f;
    };

    fra = new QGroupBox(this);
    fra->setObjectName(QStringLiteral("fra"));
    fra->setGeometry(compat::twipsRect(240, 120, 2775, 615));
    fra->setAccessibleName(QStringLiteral("セット方法"));
    opt[1] = new QRadioButton(QStringLiteral("時間単位"), fra);
    opt[1]->setGeometry(compat::twipsRect(1440, 240, 1215, 255));
    opt[0] = new QRadioButton(QStringLiteral("分単位"), fra);
    opt[0]->setGeometry(compat::twipsRect(120, 240, 975, 255));
    opt[0]->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        opt[i]->setObjectName(QStringLiteral("opt"));
        opt[i]->setAccessibleName(opt[i]->text());
        opt[i]->installEventFilter(this);
    }

    Command2 = button("Command2", QStringLiteral("解除"), compat::twipsRect(3480, 3120, 975, 375));
    txtmin = field("txtmin", compat::twipsRect(1320, 1200, 615, 375), QStringLiteral("分にセット"));
    txtmin->setMaxLength(2);
    txthour = field("txthour", compat::twipsRect(240, 1200, 615, 375), QStringLiteral("時"));
    txthour->setMaxLength(2);
    txtA = field("txtA", compat::twipsRect(240, 1200, 975, 375), QStringLiteral("分後にセット"));
    txt = field("txt", compat::twipsRect(240, 2280, 5415, 375), QStringLiteral("アラーム時メッセージ："));
    Command1 = button("Command1", QStringLiteral("閉じる"), compat::twipsRect(4680, 3120, 975, 375));
    cmd = button("cmd", QStringLiteral("セット"), compat::twipsRect(2280, 3120, 975, 375));
    Line3 = line("Line3", 0, 5880, 1800);
    Line2 = line("Line2", -120, 5760, 960);
    lblmin = label("lblmin", QStringLiteral("分にセット"), compat::twipsRect(2040, 1320, 975, 255), txtmin);
    lblhour = label("lblhour", QStringLiteral("時"), compat::twipsRect(960, 1320, 375, 255), txthour);
    lbl1 = label("lbl1", QStringLiteral("分後にセット "), compat::twipsRect(1320, 1320, 1695, 255), txtA);
    Label1 = label("Label1", QStringLiteral("アラーム時メッセージ："), compat::twipsRect(360, 1935, 2295, 255), txt);
    Line1 = line("Line1", 0, 5760, 2880);

    // Keyboard order; labels and the frame take no focus, and of the option
    // buttons only the selected one is a tab stop.
    QWidget *order[] = {txtA, txthour, txtmin, txt, cmd, Command2, Command1, opt[0], opt[1]};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void C_Alam::Form_Load()
{
    const int mode = gAlarmByClock != 0 ? 1 : 0;
    opt[mode]->setChecked(true);
    showMode(opt[0]->isChecked() ? 0 : 1);
    Command2->setEnabled(!gAlarmTime.isEmpty());
    if (gAlarmByClock != 0) {
        const QTime at = QTime::fromString(gAlarmTime, QStringLiteral("HH:mm:ss"));
        txthour->setText(at.isValid() ? at.toString(QStringLiteral("HH")) : QString());
        txtmin->setText(at.isValid() ? at.toString(QStringLiteral("mm")) : QString());
    } else {
        txtA->setText(gAlarmMin != 0 ? QString::number(gAlarmMin) : QString());
    }
    // The first field of the mode shown starts with the focus.
    (mode == 0 ? txtA : txthour)->setFocus();
}

void C_Alam::showMode(int index)
{
    const bool byClock = index != 0;
    txthour->setVisible(byClock);
    txtmin->setVisible(byClock);
    lblhour->setVisible(byClock);
    lblmin->setVisible(byClock);
    lbl1->setVisible(!byClock);
    txtA->setVisible(!byClock);
}

void C_Alam::on_opt_clicked(int index) { showMode(index); }

void C_Alam::refuse(const AlarmRefusal &refusal)
{
    compat::MsgBox(refusal.message, QMessageBox::Information, kTitle);
    QLineEdit *field = refusal.field == AlarmField::MinutesFromNow ? txtA
                     : refusal.field == AlarmField::Hour           ? txthour
                     : refusal.field == AlarmField::Minute         ? txtmin
                                                                   : nullptr;
    if (!field)
        return;
    // The field at fault may belong to the mode not shown (switching modes
    // keeps the texts); show its mode so the user sees what is meant.
    if (field->isHidden()) {
        const int mode = field == txtA ? 0 : 1;
        opt[mode]->setChecked(true);
        showMode(mode);
    }
    field->setFocus();
    field->selectAll(); // ready to be typed over
}

void C_Alam::on_cmd_clicked()
{
    const AlarmAnswer answer = AlarmFromInput(txtA->text(), txthour->text(), txtmin->text(), compat::now());
    if (const auto *refusal = std::get_if<AlarmRefusal>(&answer)) {
        refuse(*refusal); // closing here would lose what was typed
        return;
    }
    const auto *alarm = std::get_if<AlarmRequest>(&answer);
    if (!alarm) {
        close(); // nothing typed
        return;
    }
    if (!alarm->minuteField.isEmpty())
        txtmin->setText(alarm->minuteField);
    gAlarmTime = alarm->time;
    gAlarmMsg = trimSpaces(txt->text());
    gAlarmByClock = alarm->byClock ? 1 : 0;
    if (!alarm->byClock)
        gAlarmMin = alarm->minutes;
    // Everything is stored before the box waits for the user: the tick keeps
    // running meanwhile and may fire this alarm, which must carry its message.
    Command2->setEnabled(true);
    compat::MsgBox(kSet, QMessageBox::Information, kTitle);
    close();
}

void C_Alam::on_Command2_clicked()
{
    if (gAlarmTime.isEmpty())
        return;
    gAlarmTime.clear();
    compat::MsgBox(kCleared, QMessageBox::Information, kTitle);
    txtA->clear();
    txtmin->clear();
    txthour->clear();
}

void C_Alam::on_Command1_clicked() { close(); }

bool C_Alam::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter steps on as Tab does, to the next visible field or button.
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn
               && (watched == txtA || watched == txthour || watched == txtmin)) {
        static_cast<QLineEdit *>(watched)->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}
