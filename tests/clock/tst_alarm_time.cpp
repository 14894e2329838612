// SPDX-License-Identifier: MIT
// The alarm against the clock's real troubles: a stalled event loop, midnight,
// a system clock stepped forward or back. Driven through the tick with a
// replaceable time source; it must fire exactly once and never early.
#include "TestSupport.h"
#include "alarm/C_AlamF.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "compat/Beep.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QtTest>

using namespace BasTavisk;

namespace {
qint64 wallSecond(const QDateTime &t) { return t.date().toJulianDay() * 86400 + t.time().msecsSinceStartOfDay() / 1000; }
} // namespace

class TestAlarmTime : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void schedule_data();
    void schedule();
    void randomSchedules();

private:
    std::unique_ptr<IsolatedStore> m_store;
    std::unique_ptr<Form1> m_clock;
    int m_beeps = 0;
};

void TestAlarmTime::initTestCase()
{
    m_store = initClockTest();
    compat::setBeepSink([this] { ++m_beeps; });
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0)));
    m_clock = std::make_unique<Form1>();
    QVERIFY(m_clock->Form_Load());
    m_clock->Timer1->stop(); // ticks are driven by hand
}

void TestAlarmTime::init()
{
    m_beeps = 0;
    gAlarmTime.clear();
}

void TestAlarmTime::cleanupTestCase()
{
    m_clock.reset();
    compat::setBeepSink({});
}

// Steps: "+ms" advances the time source and ticks; "~ms" advances it without
// a tick (a stall, or a clock step when large); "-ms" steps it back and ticks.
void TestAlarmTime::schedule_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("firesAtStep"); // -1: never
    const QStringList ticks6 = {"+800", "+800", "+800", "+800", "+800", "+800"};

    QTest::newRow("on time") << QTime(7, 29, 58, 300) << "07:30:00" << ticks6 << 2;
    QTest::newRow("stall of 3 s over it") << QTime(7, 29, 58, 300) << "07:30:00"
                                          << QStringList{"+800", "~3000", "+800", "+800", "+800"} << 2;
    QTest::newRow("stall of 3 s ending before it") << QTime(7, 29, 55, 300) << "07:30:00"
                                                   << QStringList{"~3000", "+400", "+800", "+800", "+800"} << 3;
    QTest::newRow("midnight on time") << QTime(23, 59, 58, 900) << "00:00:00" << ticks6 << 1;
    QTest::newRow("midnight inside a 3 s stall") << QTime(23, 59, 58, 900) << "00:00:00"
                                                 << QStringList{"~3000", "+800", "+800"} << 1;
    QTest::newRow("last second of the day, stalled over")
        << QTime(23, 59, 58, 100) << "23:59:59" << QStringList{"~2500", "+800", "+800"} << 1;
    QTest::newRow("stepped forward over it") << QTime(7, 0, 0) << "07:30:00"
                                             << QStringList{"+800", "+3600000", "+800", "+800"} << 1;
    QTest::newRow("stepped forward, not as far") << QTime(7, 0, 0) << "07:30:00"
                                                 << QStringList{"+800", "+600000", "+800", "+800"} << -1;
    QTest::newRow("stepped back before it, then reached")
        << QTime(7, 29, 50) << "07:30:00"
        << QStringList{"+800", "-60000", "+800", "~68000", "+800", "+800", "+800"} << 4;
    QTest::newRow("stepped back over it after firing")
        << QTime(7, 29, 59, 500) << "07:30:00" << QStringList{"+800", "+800", "-5000", "+800", "+800", "+800", "+800", "+800", "+800", "+800", "+800"} << 0;
    QTest::newRow("stepped back from just past it, not reached")
        << QTime(7, 29, 58, 500) << "07:30:05" << QStringList{"+800", "-3600000", "+800", "+800"} << -1;
    QTest::newRow("set after its time: not today") << QTime(8, 0, 0) << "07:30:00" << ticks6 << -1;
}

void TestAlarmTime::schedule()
{
    QFETCH(QTime, start);
    QFETCH(QString, target);
    QFETCH(QStringList, steps);
    QFETCH(int, firesAtStep);
    FakeNow now(QDateTime(QDate(2026, 12, 7), start));
    m_clock->on_Timer1_timeout(); // the previous tick, before the alarm is set
    gAlarmTime = target;
    gAlarmMsg = QStringLiteral("x");
    for (int i = 0; i < steps.size(); ++i) {
        const QString &s = steps[i];
        const qint64 ms = s.mid(1).toLongLong();
        if (s[0] == u'~') {
            now.advanceMs(ms);
            continue;
        }
        now.advanceMs(s[0] == u'-' ? -ms : ms);
        const int before = m_beeps;
        m_clock->on_Timer1_timeout();
        QVERIFY2(m_beeps == (i >= firesAtStep && firesAtStep >= 0 ? 1 : 0),
                 qPrintable(QStringLiteral("step %1 (%2) at %3: %4 beeps")
                                .arg(i).arg(s, now.value().toString(QStringLiteral("HH:mm:ss.zzz"))).arg(m_beeps)));
        if (m_beeps > before)
            QVERIFY(gAlarmTime.isEmpty() && gAlarmMsg.isEmpty());
    }
    gAlarmTime.clear();
}

// Seeded random tick schedules around the alarm's time, midnight included:
// late ticks, stalls, steps both ways. The alarm fires at the first tick that
// sees its second or comes after it (since the previous tick, moving
// forward), exactly once, and never at a tick before that.
void TestAlarmTime::randomSchedules()
{
    QRandomGenerator rng(0x5eed0003);
    int scenarios = 0, ticks = 0, stalls = 0, stepsBack = 0, stepsForward = 0, midnights = 0;
    for (int round = 0; round < 400; ++round) {
        const bool nearMidnight = rng.bounded(3) == 0;
        const QTime startTime = nearMidnight ? QTime(23, 58, 0).addMSecs(int(rng.bounded(120000)))
                                             : QTime(0, 0, 0).addMSecs(int(rng.bounded(86400000)));
        FakeNow now(QDateTime(QDate(2026, 12, 7), startTime));
        m_clock->on_Timer1_timeout();
        m_beeps = 0;
        const QDateTime targetAt = now.value().addSecs(rng.bounded(1, 90));
        const QString target = ComparisonText(targetAt);
        const int at = QTime::fromString(target, QStringLiteral("HH:mm:ss")).msecsSinceStartOfDay() / 1000;
        midnights += targetAt.date() != now.value().date();
        gAlarmTime = target;
        qint64 prev = wallSecond(now.value());
        bool expectFired = false;
        for (int i = 0; i < 400 && !(expectFired && wallSecond(now.value()) > wallSecond(targetAt) + 5); ++i) {
            const int kind = int(rng.bounded(100));
            if (kind < 4) {
                now.advanceMs(1500 + rng.bounded(3500)); // a stalled loop: this tick comes late
                ++stalls;
            } else if (kind < 6) {
                now.advanceMs(-qint64(rng.bounded(1000, 120000)));
                ++stepsBack;
            } else if (kind < 8) {
                now.advanceMs(rng.bounded(1000, 120000));
                ++stepsForward;
            } else {
                now.advanceMs(700 + rng.bounded(200)); // a timer with its usual slack
            }
            const qint64 cur = wallSecond(now.value());
            bool due = ComparisonText(now.value()) == target;
            if (cur > prev) {
                qint64 occurrence = prev - prev % 86400 + at;
                if (occurrence <= prev)
                    occurrence += 86400;
                due = due || occurrence <= cur;
            }
            prev = cur;
            const bool firesNow = due && !expectFired;
            expectFired = expectFired || due;
            m_clock->on_Timer1_timeout();
            ++ticks;
            if (m_beeps != (expectFired ? 1 : 0))
                QFAIL(qPrintable(QStringLiteral("round %1, tick %2 at %3, alarm %4: %5 beeps, expected %6")
                                     .arg(round).arg(i)
                                     .arg(now.value().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")), target)
                                     .arg(m_beeps).arg(expectFired ? 1 : 0)));
            if (firesNow)
                QVERIFY(gAlarmTime.isEmpty());
        }
        gAlarmTime.clear();
        ++scenarios;
    }
    qInfo("%d schedules, %d ticks (%d stalls, %d steps back, %d forward, %d across midnight): "
          "every alarm fired once, none early",
          scenarios, ticks, stalls, stepsBack, stepsForward, midnights);
    QVERIFY(stalls > 100 && stepsBack > 50 && stepsForward > 50 && midnights > 20);
    if (C_AlamF::exists())
        C_AlamF::instance()->close();
}

QTEST_MAIN(TestAlarmTime)
#include "tst_alarm_time.moc"
