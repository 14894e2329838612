// SPDX-License-Identifier: MIT
// Numbers read from settings and fields: leniently, and rounded to what
// fits, so that a hand-edited or odd value never becomes a wrong one.
#include "compat/Numbers.h"

#include <QtTest>
#include <cmath>

using namespace compat;

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void numberFromText_data();
    void numberFromText();
    void numberAtStartTellsNoNumberFromZero();
    void rounding();
};

void TestNumbers::numberFromText_data()
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

void TestNumbers::numberFromText()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(NumberFromText(text), expected);
}

void TestNumbers::numberAtStartTellsNoNumberFromZero()
{
    QCOMPARE(NumberAtStart("0"), std::optional<double>(0.0));
    QCOMPARE(NumberAtStart("-0"), std::optional<double>(0.0));
    QVERIFY(!NumberAtStart("").has_value());
    QVERIFY(!NumberAtStart("nan").has_value());
    QVERIFY(!NumberAtStart("+").has_value());
    QVERIFY(std::isinf(*NumberAtStart("1e400")));
    QVERIFY(*NumberAtStart("-1e400") < 0);
}

void TestNumbers::rounding()
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

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
