// SPDX-License-Identifier: MIT
// Random typing into the alarm dialog: every field, both modes, Enter and Tab
// between fields, the set and clear buttons, long and odd texts. Whatever is
// typed, the pending alarm stays empty or a valid "hh:nn:ss", it changes only
// when the dialog says it was set or cleared, and a time-of-day alarm is the
// time typed.
#include "TestSupport.h"
#include "alarm/C_Alam.h"
#include "clock/BasTavisk.h"
#include "menu/C_Menu.h"

#include <QApplication>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

using namespace AlarmText;
using namespace BasTavisk;

namespace {

bool validTarget(const QString &t)
{
    static const QRegularExpression re(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
    return re.match(t).hasMatch();
}

QString randomInput(QRandomGenerator &rng)
{
    static const char *const picks[] = {"0", "00", "7", "07", " 7", "7 ", "23", "24", "59", "60", "546", "547",
                                        "-0", "-1", "1e2", "1e", "&H10", "&o7", ".5", "5.", "9.1", "+3", "1,5",
                                        "９", "ｱ", "日本", "", " "};
    static const QString alphabet = QStringLiteral("0123456789 .-+eE&HhOo,:abz０９時分\t");
    switch (rng.bounded(6)) {
    case 0:
    case 2:
    case 3: return QString::fromUtf8(picks[rng.bounded(int(std::size(picks)))]);
    case 1: return QString(int(rng.bounded(200, 2000)), QChar(u"9x 0"[rng.bounded(4)]));
    default: {
        QString s;
        for (int n = int(rng.bounded(1, 7)); n > 0; --n)
            s += alphabet[int(rng.bounded(alphabet.size()))];
        return s;
    }
    }
}
// Types `text` into the focused field key by key; characters without a key
// of their own arrive as an input method would send them.
void typeInto(QWidget *field, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(field, char(c.unicode()));
        } else if (c == u'\t') {
            QTest::keyClick(field, Qt::Key_Tab);
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
}
} // namespace

class TestAlarmFuzz : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void randomTyping();

private:
    std::unique_ptr<IsolatedStore> m_store;
};

namespace {
QtMessageHandler previousHandler = nullptr;
}

void TestAlarmFuzz::initTestCase()
{
    m_store = initClockTest();
    // Thousands of dialogs shown on the offscreen platform each warn that it
    // cannot raise them; the test's own output must not drown in that.
    previousHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &msg) {
        if (!msg.startsWith(QLatin1String("This plugin does not support")))
            previousHandler(type, context, msg);
    });
}

void TestAlarmFuzz::randomTyping()
{
    resetClockState();
    FakeNow now(QDateTime(QDate(2026, 5, 4), QTime(23, 40, 0)));
    QRandomGenerator rng(0x5eed0005);

    // Answers every message box as it comes up, noting its text.
    QStringList boxes;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->done(QMessageBox::Ok);
        }
    });
    answerer.start(0);

    int rounds = 0, sets = 0, clears = 0, refusals = 0, keystrokes = 0;
    for (int round = 0; round < 1200; ++round) {
        C_Menu::instance()->p_alam->trigger();
        QVERIFY(C_Alam::exists());
        C_Alam *dialog = C_Alam::instance();
        const int mode = int(rng.bounded(2));
        dialog->opt[mode]->click();
        if (rng.bounded(2)) { // often only the fields of the chosen mode hold text
            if (mode == 0) {
                dialog->txthour->clear();
                dialog->txtmin->clear();
            } else {
                dialog->txtA->clear();
            }
        }
        QLineEdit *fields[] = {dialog->txtA, dialog->txthour, dialog->txtmin, dialog->txt};
        for (QLineEdit *field : fields) {
            if (rng.bounded(3) == 0)
                continue; // left as it was
            const QString text = randomInput(rng);
            if (text.size() < 40 && field->isVisible() && rng.bounded(2)) {
                field->setFocus();
                field->selectAll();
                typeInto(field, text);
                keystrokes += int(text.size());
                if (rng.bounded(4) == 0)
                    QTest::keyClick(field, Qt::Key_Return); // steps on, as Tab does
            } else {
                field->setText(text);
            }
        }
        const QString before = gAlarmTime;
        // Full-width digits count as the digits 0-9.
        const auto typed = [](QString text) {
            for (QChar &c : text)
                if (c >= u'０' && c <= u'９')
                    c = QChar(u'0' + (c.unicode() - u'０'));
            return text;
        };
        const QString hour = typed(dialog->txthour->text()), minute = typed(dialog->txtmin->text());
        const bool minutesMode = !dialog->txtA->text().isEmpty();
        boxes.clear();
        const bool clear = rng.bounded(6) == 0;
        (clear ? dialog->Command2 : dialog->cmd)->click();
        QCoreApplication::processEvents();

        const QString context = QStringLiteral("round %1: minutes '%2' hour '%3' minute '%4' -> '%5' (%6)")
                                    .arg(round)
                                    .arg(C_Alam::exists() ? C_Alam::instance()->txtA->text().left(20) : QString(),
                                         hour.left(20), minute.left(20), gAlarmTime, boxes.join(u'|'));
        QVERIFY2(gAlarmTime.isEmpty() || validTarget(gAlarmTime), qPrintable(context));
        if (boxes.contains(kSet)) {
            ++sets;
            QVERIFY2(!gAlarmTime.isEmpty(), qPrintable(context));
            if (!minutesMode) {
                const QString hh = hour.size() == 1 ? u'0' + hour : hour;
                const QString mm = minute.isEmpty() ? QStringLiteral("00") : minute.size() == 1 ? u'0' + minute : minute;
                QVERIFY2(gAlarmTime == hh + u':' + mm + QStringLiteral(":00"), qPrintable(context));
            }
        } else if (boxes.contains(kCleared)) {
            ++clears;
            QVERIFY2(gAlarmTime.isEmpty(), qPrintable(context));
        } else {
            refusals += int(!boxes.isEmpty());
            QVERIFY2(gAlarmTime == before, qPrintable(context));
        }
        if (rng.bounded(3) == 0 && C_Alam::exists())
            C_Alam::instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        now.advanceMs(rng.bounded(1, 120000)); // across midnight too
        ++rounds;
    }
    qInfo("%d rounds (%d keystrokes): %d alarms set, %d cleared, %d inputs refused with a message; "
          "the target was always empty or a valid time",
          rounds, keystrokes, sets, clears, refusals);
    QVERIFY(sets > 50 && refusals > 100);
    if (C_Alam::exists())
        C_Alam::instance()->close();
}

QTEST_MAIN(TestAlarmFuzz)
#include "tst_alarm_fuzz.moc"
