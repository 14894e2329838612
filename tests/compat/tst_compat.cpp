// SPDX-License-Identifier: MIT
// The settings store keeps texts exactly; layouts in twips.
#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "compat/Numbers.h"
#include "compat/SettingsStore.h"
#include "compat/Twips.h"

#include <QGuiApplication>
#include <QtTest>

using namespace BasTavisk;

class TestCompat : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void absentReadsEmpty();
    void handEditedValues();
    void storeIsPerApplicationUnderTavisk();
    void twips();
    void menuPixelThroughTwips_data();
    void menuPixelThroughTwips();

private:
    std::unique_ptr<IsolatedStore> m_store;
};

void TestCompat::initTestCase() { m_store = initClockTest(); }

void TestCompat::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    for (const char *t : {" True", "True ", "1,000", "12abc", "", "-150", "a=b;c", "@Variant(x)",
                          "\"quoted\"", "back\\slash", "#not a comment", "[not a section]", "line\nbreak"})
        QTest::newRow(t) << QString::fromUtf8(t);
    QTest::newRow("japanese") << QStringLiteral("時間表示 アラーム");
    QTest::newRow("long") << QString(100000, QLatin1Char('7'));
}

void TestCompat::settingsRoundTrip()
{
    QFETCH(QString, text);
    QVERIFY(WriteSetting(kApp, "Font", "Color", text));
    QCOMPARE(ReadSetting(kApp, "Font", "Color"), text);
    // And from the file, as a fresh start reads it.
    compat::SettingsStore fresh(kApp);
    QCOMPARE(fresh.read("Font", "Color"), text);
}

void TestCompat::absentReadsEmpty()
{
    m_store->clear();
    QCOMPARE(ReadSetting(kApp, "Font", "Nothing"), QString());
    QCOMPARE(ReadSetting(kApp, "NoSection", "Size"), QString());
    QCOMPARE(ReadSetting(QStringLiteral("NoApp"), "Font", "Size"), QString());
}

void TestCompat::handEditedValues()
{
    m_store->writeRaw("[Font]\nColor=1,000\nSize= 18 \n[Disp]\nSec=True\n");
    QCOMPARE(ReadSetting(kApp, "Font", "Color"), QStringLiteral("1,000")); // not an empty list
    QCOMPARE(compat::NumberFromText(ReadSetting(kApp, "Font", "Color")), 1.0);
    QCOMPARE(compat::NumberFromText(ReadSetting(kApp, "Font", "Size")), 18.0);
    QCOMPARE(ReadSetting(kApp, "Disp", "Sec"), QStringLiteral("True"));
}

void TestCompat::storeIsPerApplicationUnderTavisk()
{
    m_store->clear();
    QVERIFY(WriteSetting(kApp, "Set", "Top", "-150"));
    const QByteArray file = m_store->readRaw();
    QVERIFY2(file.contains("[Set]\nTop=-150"), file.constData());
    QVERIFY(m_store->configFile().endsWith(QStringLiteral("/Tavisk/Tavisk.conf")));
}

// The context menu opens at the pointer's pixel, worked out through twips:
// exactly the pixel at any DPI, and as before at 96 dpi, fractions included.
void TestCompat::menuPixelThroughTwips_data()
{
    QTest::addColumn<double>("pixels");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<int>("pixel");
    QTest::newRow("96 dpi") << 120.0 << 15.0 << 120;
    QTest::newRow("96 dpi, half a pixel (scaled screen)") << 412.5 << 15.0 << 412;
    QTest::newRow("96 dpi, left of the primary screen") << -1.0 << 15.0 << -1;
    QTest::newRow("96 dpi, a fraction left of it") << -0.4 << 15.0 << 0;
    QTest::newRow("110 dpi") << 1288.0 << 1440.0 / 110 << 1288;
    QTest::newRow("110 dpi, far right") << 2559.0 << 1440.0 / 110 << 2559;
    QTest::newRow("192 dpi") << 1310.0 << 7.5 << 1310;
    QTest::newRow("192 dpi, left of the primary screen") << -825.0 << 7.5 << -825;
}

void TestCompat::menuPixelThroughTwips()
{
    QFETCH(double, pixels);
    QFETCH(double, twipsPerPixel);
    QFETCH(int, pixel);
    QCOMPARE(compat::pixelThroughTwips(pixels, twipsPerPixel), pixel);
}

void TestCompat::twips()
{
    // Layouts in twips come out at their designed pixel sizes on a 96 dpi
    // screen, and a window centred in twips is centred on the screen.
    if (qFuzzyCompare(QGuiApplication::primaryScreen()->logicalDotsPerInchX(), 96.0)) {
        QCOMPARE(compat::twipsRect(120, 120, 4455, 1815), QRect(8, 8, 297, 121));
        QCOMPARE(compat::twipsToPixelsX(1700), 113);
        QCOMPARE(compat::pixelsToTwipsY(-10), -150.0);
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centred = compat::centredOnScreen(QSize(200, 100));
    QVERIFY(qAbs(centred.x() + 100 - screen.center().x()) <= 1);
    QVERIFY(qAbs(centred.y() + 50 - screen.center().y()) <= 1);
}

QTEST_MAIN(TestCompat)
#include "tst_compat.moc"
