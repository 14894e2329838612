// The shared helpers: lenient number reading, rounding, the seconds rule,
// the size table, time texts and the alarm's due test.
#include "clock/BasTavisk.h"

#include <QtTest>
#include <cmath>

using namespace BasTavisk;

class TestBasTavisk : public QObject
{
    Q_OBJECT
private slots:
    void numberFromText_data();
    void numberFromText();
    void numberAtStartTellsNoNumberFromZero();
    void rounding();
    void secondsRule_data();
    void secondsRule();
    void sizeTable();
    void timeTexts();
    void alarmDue_data();
    void alarmDue();
};

void TestBasTavisk::numberFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("comma ends the number") << "1,000" << 1.0;
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent with sign") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits is not one") << "7e" << 7.0;
    QTest::newRow("blanks between digits") << "1 2" << 12.0;
    QTest::newRow("tabs and line feeds") << "\t1\n2 .5" << 12.5;
    QTest::newRow("spaces around") << "  255  " << 255.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("negative") << "-150" << -150.0;
    QTest::newRow("plus sign") << "+42" << 42.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("half") << "18.5" << 18.5;
    QTest::newRow("unit after number") << "20pt" << 20.0;
    QTest::newRow("currency sign ends it") << "12$" << 12.0;
    QTest::newRow("full-width digits are not digits") << QStringLiteral("１２") << 0.0;
    QTest::newRow("carriage return is not skipped") << "1\r2" << 1.0;
    QTest::newRow("bare ampersand H") << "&H" << 0.0;
    QTest::newRow("huge hex") << "&HFFFFFFFFFF" << 1099511627775.0;
    QTest::newRow("underflow") << "1e-400" << 0.0;
}

void TestBasTavisk::numberFromText()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(NumberFromText(text), expected);
}

void TestBasTavisk::numberAtStartTellsNoNumberFromZero()
{
    QCOMPARE(NumberAtStart("0"), std::optional<double>(0.0));
    QCOMPARE(NumberAtStart("-0"), std::optional<double>(0.0));
    QVERIFY(!NumberAtStart("").has_value());
    QVERIFY(!NumberAtStart("nan").has_value());
    QVERIFY(!NumberAtStart("+").has_value());
    QVERIFY(std::isinf(*NumberAtStart("1e400")));
    QVERIFY(*NumberAtStart("-1e400") < 0);
}

void TestBasTavisk::rounding()
{
    QCOMPARE(RoundToInt16(18.5), std::optional<qint16>(18));
    QCOMPARE(RoundToInt16(19.5), std::optional<qint16>(20));
    QCOMPARE(RoundToInt16(12.5), std::optional<qint16>(12));
    QCOMPARE(RoundToInt16(13.5), std::optional<qint16>(14));
    QCOMPARE(RoundToInt16(-2.5), std::optional<qint16>(-2));
    QCOMPARE(RoundToInt16(18.4), std::optional<qint16>(18));
    QCOMPARE(RoundToInt16(32767.4), std::optional<qint16>(32767));
    QVERIFY(!RoundToInt16(32767.5).has_value()); // rounds to 32768: overflow
    QCOMPARE(RoundToInt16(-32768), std::optional<qint16>(-32768));
    QVERIFY(!RoundToInt16(40000).has_value());
    QCOMPARE(RoundToInt32(2147483647.0), std::optional<qint32>(2147483647));
    QVERIFY(!RoundToInt32(2147483648.0).has_value());
    QCOMPARE(RoundToInt32(-2147483648.0), std::optional<qint32>(-2147483647 - 1));
    QVERIFY(!RoundToInt32(std::nan("")).has_value());
    QVERIFY(!RoundToInt32(INFINITY).has_value());
}

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

void TestBasTavisk::sizeTable()
{
    QCOMPARE(WindowSizeTwips(12), QSize(1035, 375));
    QCOMPARE(WindowSizeTwips(13), QSize(1035, 375));
    QCOMPARE(WindowSizeTwips(14), QSize(1315, 375));
    QCOMPARE(WindowSizeTwips(16), QSize(1475, 375));
    QCOMPARE(WindowSizeTwips(18), QSize(1700, 375));
    QCOMPARE(WindowSizeTwips(20), QSize(1700, 615));
    QCOMPARE(WindowSizeTwips(22), QSize(1750, 615));
    QCOMPARE(WindowSizeTwips(24), QSize(1815, 615));
    QCOMPARE(WindowSizeTwips(26), QSize(1980, 615));
    QCOMPARE(WindowSizeTwips(28), QSize(2050, 615));
    QCOMPARE(WindowSizeTwips(36), QSize(2650, 800));
    QCOMPARE(WindowSizeTwips(15), QSize(2650, 800));
    QCOMPARE(WindowSizeTwips(-3), QSize(2650, 800));
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
