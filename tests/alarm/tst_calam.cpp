// SPDX-License-Identifier: MIT
// The alarm dialog: how typed input becomes the pending alarm (or a message),
// the clear command, and the dialog's layout and keyboard behaviour.
#include "TestSupport.h"
#include "alarm/C_Alam.h"
#include "clock/BasTavisk.h"
#include "compat/Twips.h"
#include "menu/C_Menu.h"

#include <QMessageBox>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

using namespace BasTavisk;

using namespace AlarmText;

namespace {
const QString kPending = QStringLiteral("05:06:07");

// Answers every message box that comes up while it lives: notes its text,
// checks that it is the dialog's kind of box, and clicks OK.
class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || box == m_last)
                return;
            m_last = box;
            texts << box->text();
            if (box->windowTitle() != kTitle || box->icon() != QMessageBox::Information
                || box->standardButtons() != QMessageBox::Ok)
                wrongKind << box->text();
            box->button(QMessageBox::Ok)->click();
        });
        m_poll.start(1);
    }
    QStringList texts;
    QStringList wrongKind;

private:
    QTimer m_poll;
    QPointer<QMessageBox> m_last;
};

C_Alam *openDialog()
{
    C_Menu::instance()->p_alam->trigger();
    return C_Alam::exists() ? C_Alam::instance() : nullptr;
}

void destroyDialog()
{
    if (C_Alam::exists())
        C_Alam::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QDateTime at(int h, int m, int s) { return QDateTime(QDate(2026, 5, 4), QTime(h, m, s)); }

bool validTarget(const QString &t)
{
    static const QRegularExpression re(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
    return re.match(t).hasMatch();
}
} // namespace

class TestCAlam : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void setCommand_data();
    void setCommand();
    void faultyInputKeepsTheDialogAsTyped();
    void refusedHiddenFieldComesIntoView();
    void randomInputLeavesNoneOrAValidTarget();
    void clearCommand();
    void reopenShowsTheLastAlarm();
    void openingIsModelessAndSingle();
    void layoutInBothModes();
    void modeSwitchOnlyChangesVisibility();
    void keyboard();

private:
    std::unique_ptr<IsolatedStore> m_store;
};

void TestCAlam::initTestCase() { m_store = initClockTest(); }

void TestCAlam::init() { resetClockState(); }

void TestCAlam::cleanup() { destroyDialog(); }

void TestCAlam::setCommand_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QString>("box");    // the one message expected, or none
    QTest::addColumn<QString>("target"); // gAlarmTime afterwards
    QTest::addColumn<int>("alarmMin");   // gAlarmMin afterwards
    QTest::addColumn<int>("byClock");    // gAlarmByClock afterwards
    QTest::addColumn<QString>("focus");  // field holding the focus, when the dialog stays

    const QDateTime t = at(13, 5, 20);
    // gAlarmMin and gAlarmByClock start at 7 and 1 in every row, so rows that set
    // nothing show that they are left alone. What every input means is tested
    // without the dialog (tst_alarminput); these rows take each kind of
    // answer through it.
    QTest::newRow("10 minutes") << t << 0 << "10" << "" << "" << kSet << "13:15:20" << 10 << 0 << "";
    QTest::newRow("minutes hidden in time mode") << t << 1 << "10" << "" << "" << kSet << "13:15:20" << 10 << 0 << "";
    QTest::newRow("7 and 5") << t << 1 << "" << "7" << "5" << kSet << "07:05:00" << 7 << 1 << "";
    QTest::newRow("23 and empty") << t << 1 << "" << "23" << "" << kSet << "23:00:00" << 7 << 1 << "";
    QTest::newRow("hour 24") << t << 1 << "" << "24" << "10" << kHourRange << kPending << 7 << 1 << "txthour";
    QTest::newRow("minutes 60") << t << 1 << "" << "10" << "60" << kMinuteRange << kPending << 7 << 1 << "txtmin";
    QTest::newRow("both modes filled") << t << 0 << "5" << "7" << "" << kBoth << kPending << 7 << 1 << "";
    QTest::newRow("both empty") << t << 1 << "" << "" << "" << "" << kPending << 7 << 1 << "";
    QTest::newRow("minutes not a number") << t << 0 << "abc" << "" << "" << kNotANumber << kPending << 7 << 1 << "txtA";
}

void TestCAlam::setCommand()
{
    QFETCH(QDateTime, now);
    QFETCH(int, mode);
    QFETCH(QString, minutes);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QString, box);
    QFETCH(QString, target);
    QFETCH(int, alarmMin);
    QFETCH(int, byClock);
    QFETCH(QString, focus);

    FakeNow clock(now);
    gAlarmTime = kPending;
    gAlarmMsg = QStringLiteral("old");
    gAlarmMin = 7;
    gAlarmByClock = 1;
    C_Alam *dialog = openDialog();
    dialog->opt[mode]->click();
    dialog->txtA->setText(minutes);
    dialog->txthour->setText(hour);
    dialog->txtmin->setText(minute);
    dialog->txt->setText(QStringLiteral("  お茶 です  "));

    BoxAnswerer answers;
    dialog->cmd->click();

    QCOMPARE(answers.texts, box.isEmpty() ? QStringList() : QStringList{box});
    QVERIFY(answers.wrongKind.isEmpty());
    QCOMPARE(gAlarmTime, target);
    QCOMPARE(int(gAlarmMin), alarmMin);
    QCOMPARE(int(gAlarmByClock), byClock);
    const bool stored = box == kSet;
    QCOMPARE(gAlarmMsg, stored ? QStringLiteral("お茶 です") : QStringLiteral("old"));
    // The dialog closes after a set or when nothing was typed; a message about
    // the input keeps it open with everything as typed.
    const bool staysOpen = !stored && !box.isEmpty();
    QCOMPARE(dialog->isVisible(), staysOpen);
    if (staysOpen) {
        QCOMPARE(dialog->txtA->text(), minutes);
        QCOMPARE(dialog->txthour->text(), hour);
        QCOMPARE(dialog->txtmin->text(), minute);
        QCOMPARE(dialog->txt->text(), QStringLiteral("  お茶 です  "));
        if (!focus.isEmpty())
            QCOMPARE(dialog->focusWidget()->objectName(), focus);
    }
    if (QTest::currentDataTag() == QByteArray("23 and empty"))
        QCOMPARE(dialog->txtmin->text(), QStringLiteral("00"));
}

void TestCAlam::faultyInputKeepsTheDialogAsTyped()
{
    // After a refused minutes value the user corrects it in the same dialog.
    FakeNow clock(at(13, 5, 20));
    C_Alam *dialog = openDialog();
    dialog->txtA->setText(QStringLiteral("zehn"));
    dialog->txt->setText(QStringLiteral("Tee"));
    {
        BoxAnswerer answers;
        dialog->cmd->click();
        QCOMPARE(answers.texts, QStringList{kNotANumber});
    }
    QVERIFY(gAlarmTime.isEmpty());
    QVERIFY(C_Alam::exists() && dialog->isVisible());
    QCOMPARE(dialog->txtA->selectedText(), QStringLiteral("zehn")); // ready to be typed over
    dialog->txtA->setText(QStringLiteral("10"));
    BoxAnswerer answers;
    dialog->cmd->click();
    QCOMPARE(answers.texts, QStringList{kSet});
    QCOMPARE(gAlarmTime, QStringLiteral("13:15:20"));
    QCOMPARE(gAlarmMsg, QStringLiteral("Tee"));
}

void TestCAlam::refusedHiddenFieldComesIntoView()
{
    // Texts survive a mode switch, so the field at fault may be hidden.
    C_Alam *dialog = openDialog();
    dialog->opt[1]->click();
    dialog->txthour->setText(QStringLiteral("24"));
    dialog->opt[0]->click();
    {
        BoxAnswerer answers;
        dialog->cmd->click();
        QCOMPARE(answers.texts, QStringList{kHourRange});
    }
    QVERIFY(dialog->opt[1]->isChecked());
    QVERIFY(!dialog->txthour->isHidden() && dialog->txtA->isHidden());
    QCOMPARE(dialog->focusWidget(), dialog->txthour);

    dialog->txthour->clear();
    dialog->txtA->setText(QStringLiteral("x"));
    BoxAnswerer answers;
    dialog->cmd->click();
    QCOMPARE(answers.texts, QStringList{kNotANumber});
    QVERIFY(dialog->opt[0]->isChecked());
    QVERIFY(!dialog->txtA->isHidden());
    QCOMPARE(dialog->focusWidget(), dialog->txtA);
}

void TestCAlam::randomInputLeavesNoneOrAValidTarget()
{
    FakeNow clock(at(23, 50, 59));
    QRandomGenerator rng(20260504);
    const QString alphabet = QStringLiteral("0123456789012345 .-+eE&Hh,a:");
    auto randomText = [&] {
        QString s;
        for (int n = int(rng.bounded(5)); n > 0; --n)
            s += alphabet.at(rng.bounded(int(alphabet.size())));
        return s;
    };
    for (int i = 0; i < 150; ++i) {
        const QString before = gAlarmTime;
        C_Alam *dialog = openDialog();
        dialog->opt[rng.bounded(2)]->click();
        dialog->txtA->setText(rng.bounded(2) ? randomText() : QString());
        dialog->txthour->setText(randomText());
        dialog->txtmin->setText(randomText());
        BoxAnswerer answers;
        dialog->cmd->click();
        const QString context = QStringLiteral("minutes '%1' hour '%2' minute '%3' -> '%4'")
                                    .arg(dialog->txtA->text(), dialog->txthour->text(),
                                         dialog->txtmin->text(), gAlarmTime);
        QVERIFY2(gAlarmTime.isEmpty() || validTarget(gAlarmTime), qPrintable(context));
        QVERIFY2(answers.texts.contains(kSet) || gAlarmTime == before, qPrintable(context));
        QVERIFY(answers.wrongKind.isEmpty());
        destroyDialog();
        clock.advanceMs(997);
    }
}

void TestCAlam::clearCommand()
{
    gAlarmTime = QStringLiteral("07:30:00");
    gAlarmMsg = QStringLiteral("Tee");
    gAlarmByClock = 1;
    gAlarmMin = 12;
    C_Alam *dialog = openDialog();
    QVERIFY(dialog->Command2->isEnabled());
    dialog->txtA->setText(QStringLiteral("3"));
    dialog->txt->setText(QStringLiteral("bleibt"));
    {
        BoxAnswerer answers;
        dialog->Command2->click();
        QCOMPARE(answers.texts, QStringList{kCleared});
        QVERIFY(answers.wrongKind.isEmpty());
    }
    QVERIFY(gAlarmTime.isEmpty());
    QCOMPARE(gAlarmMsg, QStringLiteral("Tee"));
    QCOMPARE(int(gAlarmByClock), 1);
    QCOMPARE(int(gAlarmMin), 12);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->Command2->isEnabled());
    QVERIFY(dialog->txtA->text().isEmpty() && dialog->txthour->text().isEmpty()
            && dialog->txtmin->text().isEmpty());
    QCOMPARE(dialog->txt->text(), QStringLiteral("bleibt"));

    // Nothing pending: nothing happens.
    BoxAnswerer answers;
    dialog->Command2->click();
    QVERIFY(answers.texts.isEmpty());
    QVERIFY(dialog->isVisible());

    // "閉じる" closes and changes nothing.
    gAlarmTime = kPending;
    dialog->Command1->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(gAlarmTime, kPending);
}

void TestCAlam::reopenShowsTheLastAlarm()
{
    FakeNow clock(at(6, 0, 0));
    C_Alam *dialog = openDialog();
    QVERIFY(!dialog->Command2->isEnabled());
    dialog->opt[1]->click();
    dialog->txthour->setText(QStringLiteral("7"));
    dialog->txtmin->setText(QStringLiteral("5"));
    dialog->txt->setText(QStringLiteral("x"));
    {
        BoxAnswerer answers;
        dialog->cmd->click();
    }
    destroyDialog();
    QVERIFY(!C_Alam::exists());

    dialog = openDialog();
    QVERIFY(dialog->opt[1]->isChecked());
    QVERIFY(!dialog->txthour->isHidden() && !dialog->txtmin->isHidden() && dialog->txtA->isHidden());
    QCOMPARE(dialog->txthour->text(), QStringLiteral("07"));
    QCOMPARE(dialog->txtmin->text(), QStringLiteral("05"));
    QVERIFY(dialog->txt->text().isEmpty());
    QVERIFY(dialog->Command2->isEnabled());
    destroyDialog();

    // After it fired the mode and fields stay, but there is nothing to clear.
    gAlarmTime.clear();
    dialog = openDialog();
    QVERIFY(dialog->opt[1]->isChecked());
    QVERIFY(dialog->txthour->text().isEmpty() && dialog->txtmin->text().isEmpty());
    QVERIFY(!dialog->Command2->isEnabled());
    destroyDialog();

    // Minutes mode shows the last minutes, or nothing for 0.
    gAlarmByClock = 0;
    gAlarmMin = 25;
    dialog = openDialog();
    QVERIFY(dialog->opt[0]->isChecked());
    QCOMPARE(dialog->txtA->text(), QStringLiteral("25"));
    destroyDialog();
    gAlarmMin = 0;
    QVERIFY(openDialog()->txtA->text().isEmpty());
}

void TestCAlam::openingIsModelessAndSingle()
{
    C_Alam *dialog = openDialog();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!dialog->parentWidget());
    QCOMPARE(dialog->pos(), compat::centredOnScreen(dialog->frameGeometry().size()));

    dialog->txtA->setText(QStringLiteral("9"));
    dialog->move(3, 4);
    QCOMPARE(openDialog(), dialog);
    QCOMPARE(dialog->txtA->text(), QStringLiteral("9")); // opening again keeps what was typed
    QCOMPARE(dialog->pos(), compat::centredOnScreen(dialog->frameGeometry().size()));
    int dialogs = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        dialogs += qobject_cast<C_Alam *>(w) ? 1 : 0;
    QCOMPARE(dialogs, 1);

    dialog->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!C_Alam::exists());
    QVERIFY(gAlarmTime.isEmpty());
}

void TestCAlam::layoutInBothModes()
{
    C_Alam *dialog = openDialog();
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize()); // not resizable
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!dialog->Command2->isEnabled()); // nothing to clear yet

    verifyLayout(dialog);
    dialog->opt[1]->click();
    verifyLayout(dialog);

    // The Japanese faces stand for installed fonts that have the glyphs.
    for (QWidget *w : {static_cast<QWidget *>(dialog->cmd), static_cast<QWidget *>(dialog->txt),
                       static_cast<QWidget *>(dialog->Label1)}) {
        QVERIFY2(QFontInfo(w->font()).family().startsWith(QStringLiteral("IPA")),
                 qPrintable(QFontInfo(w->font()).family()));
        QVERIFY(QFontMetrics(w->font()).inFont(QChar(u'解')));
    }
}

void TestCAlam::modeSwitchOnlyChangesVisibility()
{
    gAlarmTime = kPending;
    C_Alam *dialog = openDialog();
    dialog->txtA->setText(QStringLiteral("4"));
    dialog->opt[1]->click();
    QVERIFY(dialog->txtA->isHidden() && dialog->lbl1->isHidden());
    QVERIFY(!dialog->txthour->isHidden() && !dialog->txtmin->isHidden());
    QVERIFY(!dialog->lblhour->isHidden() && !dialog->lblmin->isHidden());
    dialog->txthour->setText(QStringLiteral("8"));
    dialog->opt[0]->click();
    QVERIFY(!dialog->txtA->isHidden() && !dialog->lbl1->isHidden() && dialog->txthour->isHidden());
    QCOMPARE(dialog->txtA->text(), QStringLiteral("4"));
    QCOMPARE(dialog->txthour->text(), QStringLiteral("8"));
    QCOMPARE(gAlarmTime, kPending);
    QCOMPARE(int(gAlarmByClock), 0);
}

void TestCAlam::keyboard()
{
    C_Alam *dialog = openDialog();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(QApplication::focusWidget(), dialog->txtA);

    // Tab order in minutes mode; hidden fields are skipped.
    const QList<QWidget *> order = tabCycle(dialog);
    const QList<QWidget *> minutesOrder{dialog->txtA, dialog->txt, dialog->cmd, dialog->Command2,
                                        dialog->Command1, dialog->opt[0]};
    // Command2 is disabled with no alarm pending, so it is skipped as well.
    QList<QWidget *> expected = minutesOrder;
    expected.removeOne(dialog->Command2);
    QCOMPARE(order, expected);

    // Enter steps on like Tab, and is not typed into the field.
    dialog->txtA->setFocus();
    QTest::keyClick(dialog->txtA, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog->txt);
    QTest::keyClick(dialog->txt, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), dialog->cmd);
    QVERIFY(dialog->isVisible()); // the step does not press the button

    // Time-of-day mode: hour, minutes, message; at most two characters each.
    dialog->opt[1]->setFocus();
    dialog->opt[1]->click();
    QTest::keyClick(dialog->opt[1], Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog->txthour);
    QTest::keyClicks(dialog->txthour, QStringLiteral("123"));
    QCOMPARE(dialog->txthour->text(), QStringLiteral("12"));
    QTest::keyClick(dialog->txthour, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog->txtmin);
    QTest::keyClicks(dialog->txtmin, QStringLiteral("345"));
    QCOMPARE(dialog->txtmin->text(), QStringLiteral("34"));
    QTest::keyClick(dialog->txtmin, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog->txt);

    // Coming back to a field selects all of it, so typing replaces it.
    dialog->txthour->setFocus(Qt::OtherFocusReason);
    QCOMPARE(dialog->txthour->selectedText(), QStringLiteral("12"));
    dialog->txtmin->setFocus(Qt::OtherFocusReason);
    QCOMPARE(dialog->txtmin->selectedText(), QStringLiteral("34"));
    QTest::keyClicks(dialog->txtmin, QStringLiteral("7"));
    QCOMPARE(dialog->txtmin->text(), QStringLiteral("7"));
}

QTEST_MAIN(TestCAlam)
#include "tst_calam.moc"
