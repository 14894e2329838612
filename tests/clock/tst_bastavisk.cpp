// SPDX-License-Identifier: MIT
// The clock's own rules: the seconds setting, time texts and the alarm's due
// test.
#include "clock/BasTavisk.h"

#include <QtTest>

using namespace BasTavisk;

class TestBasTavisk : public QObject
{
    Q_OBJECT
private slots:
    void secondsRule_data();
    void secondsRule();
    void timeTexts();
    void alarmDue_data();
    void alarmDue();
};

void TestBasTavisk::secondsRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    const int blank = int(SecondsSetting::Blank), on = int(SecondsSetting::On), off = int(SecondsSetting::Off);
    QTest::newRow("True") << "True" << on;
    QTest::newRow("true") << "true" << off;
    QTest::newRow("TRUE") << "TRUE" << off;
    QTest::newRow("leading space") << " True" << off;
    QTest::newRow("trailing space") << "True " << off;
    QTest::newRow("False") << "False" << off;
    QTest::newRow("empty") << "" << blank;
    QTest::newRow("spaces only") << "   " << blank;
    QTest::newRow("tab is not a space") << "\t" << off;
}

void TestBasTavisk::secondsRule()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(int(SecondsFromText(text)), expected);
}

void TestBasTavisk::timeTexts()
{
    const QDateTime morning(QDate(2026, 12, 7), QTime(9, 5, 7));
    QCOMPARE(TimeText(morning, true), QStringLiteral("09:05:07"));
    QCOMPARE(TimeText(morning, false), QStringLiteral("09:05"));
    const QDateTime lastSecond(QDate(2026, 12, 7), QTime(23, 59, 59));
    QCOMPARE(ComparisonText(lastSecond), QStringLiteral("23:59:59"));
    QCOMPARE(ComparisonText(lastSecond.addSecs(1)), QStringLiteral("00:00:00"));
    const QDateTime afternoon(QDate(2026, 12, 7), QTime(13, 0, 0));
    QCOMPARE(TimeText(afternoon, false), QStringLiteral("13:00")); // 24-hour, no AM/PM
}

void TestBasTavisk::alarmDue_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QDateTime>("previous");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("due");
    const QDate d(2026, 12, 7);
    auto at = [d](int h, int m, int s, int ms = 0) { return QDateTime(d, QTime(h, m, s, ms)); };

    QTest::newRow("no alarm") << "" << at(7, 29, 59, 500) << at(7, 30, 0, 300) << false;
    QTest::newRow("equal second") << "07:30:00" << at(7, 29, 59, 500) << at(7, 30, 0, 300) << true;
    QTest::newRow("equal without a previous tick") << "07:30:00" << QDateTime() << at(7, 30, 0) << true;
    QTest::newRow("not yet") << "07:30:00" << at(7, 29, 58, 700) << at(7, 29, 59, 500) << false;
    QTest::newRow("late tick skipped the second") << "07:30:00" << at(7, 29, 59, 900) << at(7, 30, 1, 100) << true;
    QTest::newRow("stall of minutes") << "07:30:00" << at(7, 25, 0) << at(7, 40, 0) << true;
    QTest::newRow("already seen by the previous tick") << "07:30:00" << at(7, 30, 0, 100) << at(7, 30, 0, 900) << true;
    QTest::newRow("past, previous tick after it") << "07:30:00" << at(7, 30, 1) << at(7, 30, 2) << false;
    QTest::newRow("midnight, exact") << "00:00:00" << at(23, 59, 59, 500) << at(23, 59, 59, 500).addMSecs(800) << true;
    QTest::newRow("midnight, late") << "00:00:00" << at(23, 59, 59, 900) << at(23, 59, 59).addSecs(3) << true;
    QTest::newRow("just before midnight, late") << "23:59:59" << at(23, 59, 58, 900) << at(23, 59, 58).addSecs(3) << true;
    QTest::newRow("clock stepped back over it") << "07:30:00" << at(8, 0, 0) << at(7, 0, 0) << false;
    QTest::newRow("clock stepped back, then reached") << "07:30:00" << at(7, 29, 59, 400) << at(7, 30, 0, 200) << true;
    QTest::newRow("set after passing: waits for tomorrow") << "07:00:00" << at(8, 0, 0) << at(8, 0, 1) << false;
    QTest::newRow("tomorrow's occurrence after a long suspend") << "07:00:00" << at(8, 0, 0) << at(8, 0, 0).addDays(1) << true;
    QTest::newRow("suspend shorter than the gap") << "07:00:00" << at(8, 0, 0) << at(23, 0, 0) << false;
    QTest::newRow("malformed target never fires") << " 7:30:00" << at(7, 0, 0) << at(8, 0, 0) << false;
}

void TestBasTavisk::alarmDue()
{
    QFETCH(QString, target);
    QFETCH(QDateTime, previous);
    QFETCH(QDateTime, now);
    QFETCH(bool, due);
    QCOMPARE(AlarmDue(target, previous, now), due);
}

QTEST_APPLESS_MAIN(TestBasTavisk)
#include "tst_bastavisk.moc"
