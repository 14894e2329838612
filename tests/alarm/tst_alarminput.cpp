// SPDX-License-Identifier: MIT
// What the alarm dialog's three number fields ask for, without the dialog:
// the alarm's time, or the message and the field at fault. A wrong answer
// here is an alarm that rings at the wrong time, or never.
#include "alarm/AlarmInput.h"

#include <QtTest>

using namespace AlarmText;

Q_DECLARE_METATYPE(AlarmAnswer)

namespace {
QDateTime at(int h, int m, int s) { return QDateTime(QDate(2026, 5, 4), QTime(h, m, s)); }

AlarmAnswer set(const char *time, bool byClock, int minutes)
{
    return AlarmRequest{QString::fromLatin1(time), byClock, qint16(minutes), QString()};
}
AlarmAnswer refused(const QString &message, AlarmField field) { return AlarmRefusal{message, field}; }
AlarmAnswer none() { return NoAlarm{}; }

QString describe(const AlarmAnswer &answer)
{
    if (const auto *alarm = std::get_if<AlarmRequest>(&answer))
        return QStringLiteral("alarm %1, by clock %2, %3 minutes").arg(alarm->time).arg(alarm->byClock).arg(alarm->minutes);
    if (const auto *refusal = std::get_if<AlarmRefusal>(&answer))
        return QStringLiteral("refused: %1 (field %2)").arg(refusal->message).arg(int(refusal->field));
    return QStringLiteral("no alarm");
}
} // namespace

class TestAlarmInput : public QObject
{
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void minuteFieldShowsTwoDigits();
};

void TestAlarmInput::answers_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<AlarmAnswer>("expected");

    const QDateTime t = at(13, 5, 20);
    QTest::newRow("10 minutes") << t << "10" << "" << "" << set("13:15:20", false, 10);
    QTest::newRow("past midnight") << at(23, 45, 0) << "30" << "" << "" << set("00:15:00", false, 30);
    QTest::newRow("half a minute") << t << "0.5" << "" << "" << set("13:05:50", false, 0);
    QTest::newRow("blanks around minutes") << t << " 10 " << "" << "" << set("13:15:20", false, 10);
    QTest::newRow("largest offset") << t << "546" << "" << "" << set("22:11:20", false, 546);
    QTest::newRow("7 and 5") << t << "" << "7" << "5" << set("07:05:00", true, 0);
    QTest::newRow("23 and empty") << t << "" << "23" << "" << set("23:00:00", true, 0);
    QTest::newRow("0 and 0") << t << "" << "0" << "0" << set("00:00:00", true, 0);
    QTest::newRow("two digits") << t << "" << "09" << "59" << set("09:59:00", true, 0);
    // Japanese input methods type full-width digits.
    QTest::newRow("full-width minutes") << t << QStringLiteral("１０") << "" << "" << set("13:15:20", false, 10);
    QTest::newRow("full-width 7 and 05") << t << "" << QStringLiteral("７") << QStringLiteral("０５") << set("07:05:00", true, 0);
    QTest::newRow("hour 24") << t << "" << "24" << "10" << refused(kHourRange, AlarmField::Hour);
    QTest::newRow("minutes 60") << t << "" << "10" << "60" << refused(kMinuteRange, AlarmField::Minute);
    QTest::newRow("both modes filled") << t << "5" << "7" << "" << refused(kBoth, AlarmField::None);
    QTest::newRow("both empty") << t << "" << "" << "" << none();

    // Input that would make an alarm at a wrong time, or one that never
    // rings, is refused with a message instead.
    QTest::newRow("minutes not a number") << t << "abc" << "" << "" << refused(kNotANumber, AlarmField::MinutesFromNow);
    QTest::newRow("trailing letters") << t << "12abc" << "" << "" << refused(kNotANumber, AlarmField::MinutesFromNow);
    QTest::newRow("inner blank") << t << "1 2" << "" << "" << refused(kNotANumber, AlarmField::MinutesFromNow);
    QTest::newRow("offset too large") << t << "546.2" << "" << "" << refused(kOffsetRange, AlarmField::MinutesFromNow);
    QTest::newRow("offset far too large") << t << "1e9" << "" << "" << refused(kOffsetRange, AlarmField::MinutesFromNow);
    QTest::newRow("negative minutes") << t << "-5" << "" << "" << refused(kOffsetRange, AlarmField::MinutesFromNow);
    QTest::newRow("hour with blank") << t << "" << " 7" << "5" << refused(kHourRange, AlarmField::Hour);
    QTest::newRow("hour with point") << t << "" << "7." << "5" << refused(kHourRange, AlarmField::Hour);
    QTest::newRow("hour minus zero") << t << "" << "-0" << "5" << refused(kHourRange, AlarmField::Hour);
    QTest::newRow("hour plus one") << t << "" << "+1" << "5" << refused(kHourRange, AlarmField::Hour);
    QTest::newRow("hour letters") << t << "" << "ab" << "5" << refused(kHourRange, AlarmField::Hour);
    QTest::newRow("minutes with point") << t << "" << "7" << "5." << refused(kMinuteRange, AlarmField::Minute);
    QTest::newRow("minutes with blank") << t << "" << "7" << " 5" << refused(kMinuteRange, AlarmField::Minute);
    QTest::newRow("minutes without hour") << t << "" << "" << "30" << refused(kHourRange, AlarmField::Hour);
}

void TestAlarmInput::answers()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, minutes);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(AlarmAnswer, expected);
    AlarmAnswer answer = AlarmFromInput(minutes, hour, minute, now);
    if (auto *alarm = std::get_if<AlarmRequest>(&answer))
        alarm->minuteField.clear(); // minuteFieldShowsTwoDigits
    QCOMPARE(describe(answer), describe(expected));
}

// A time of day set without minutes, or with "0", shows them as "00" in the
// dialog when it is opened again; typed minutes stay as typed.
void TestAlarmInput::minuteFieldShowsTwoDigits()
{
    const QDateTime now = at(13, 5, 20);
    for (const QString &typed : {QString(), QStringLiteral("0"), QStringLiteral("０")})
        QCOMPARE(std::get<AlarmRequest>(AlarmFromInput(QString(), QStringLiteral("23"), typed, now)).minuteField,
                 QStringLiteral("00"));
    QCOMPARE(std::get<AlarmRequest>(AlarmFromInput(QString(), QStringLiteral("23"), QStringLiteral("5"), now)).minuteField,
             QString());
}

QTEST_APPLESS_MAIN(TestAlarmInput)
#include "tst_alarminput.moc"
