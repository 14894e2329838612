// SPDX-License-Identifier: MIT
// Hostile input to the number reader and to the settings store: seeded random
// cases checked against small independent models of the read rules. The clock
// must start from anything a store can hold, on a screen, with every value as
// the rules give it.
#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "compat/Now.h"
#include "compat/Numbers.h"
#include "compat/SettingsStore.h"
#include "compat/Twips.h"
#include "menu/C_Menu.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QtTest>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <optional>

using namespace BasTavisk;

namespace {

// --- Independent models -----------------------------------------------------

// The lenient number rule, written plainly: drop blanks, then &H/&O integers,
// or sign, digits, decimals and exponent as far as they fit.
std::optional<double> modelNumber(const QString &text)
{
    QByteArray s;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        s.append(c.unicode() < 0x80 ? char(c.unicode()) : '~');
    }
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const bool hex = s[1] == 'H' || s[1] == 'h';
        const QByteArray digits = hex ? QByteArray("0123456789abcdefABCDEF") : QByteArray("01234567");
        double v = 0;
        int n = 0;
        for (int i = 2; i < s.size() && digits.contains(s[i]); ++i, ++n)
            v = v * (hex ? 16 : 8) + QByteArray(1, s[i]).toInt(nullptr, 16);
        return n ? std::optional<double>(v) : std::nullopt;
    }
    int i = 0;
    QByteArray lit;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        lit.append(s[i++]);
    int mantissaDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        lit.append(s[i++]), ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        lit.append(s[i++]);
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            lit.append(s[i++]), ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        int j = i + 1;
        QByteArray exp("e");
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp.append(s[j++]);
        int expDigits = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9')
            exp.append(s[j++]), ++expDigits;
        if (expDigits)
            lit.append(exp);
    }
    return std::strtod(lit.constData(), nullptr); // C locale: '.' only
}

bool sameNumber(double model, double actual)
{
    if (std::isnan(model) || std::isnan(actual))
        return false; // the rule never produces NaN
    // strtod gives subnormals where the reader may give zero: both are "zero".
    if (std::abs(model) < DBL_MIN && std::abs(actual) < DBL_MIN)
        return true;
    return model == actual;
}

// Nearest integer, an exact half to the even one; nothing when out of range.
std::optional<qint64> modelRound(double v, qint64 lo, qint64 hi)
{
    if (!std::isfinite(v) || v < double(lo) - 1 || v > double(hi) + 1)
        return std::nullopt;
    const double f = std::floor(v);
    const double d = v - f;
    double r = d > 0.5 ? f + 1 : d < 0.5 ? f : (std::fmod(f, 2) == 0 ? f : f + 1);
    if (r < double(lo) || r > double(hi))
        return std::nullopt;
    return qint64(r);
}

// --- Generators -------------------------------------------------------------

const char *const kHostile[] = {
    "", " ", "\t", "True", "true", "TRUE", " True", "True ", "False", "1e400", "-1e400", "nan", "NaN", "inf",
    "-inf", "&H", "&h", "&O", "&HFFFFFFFFFF", "&HFFFFFFFFFFFFFFFFFFFF", "&O777777777777777777777", "&h7fff",
    "&H8000", "-0", "0", "+0", "-0.0", "-1", "32767", "32768", "-32768", "-32769", "2147483647", "2147483648",
    "-2147483648", "-2147483649", "2147483647.5", "-2147483648.5", "18.5", "19.5", "12.5", "13.5", "1,000",
    "12abc", "1 2", " - 5", "1e3", ".5", "5.", ".", "+", "-", "e5", "1e", "1e+", "-1e-400", "1e-310",
    "1.7976931348623157e308", "1e308", "-1e308", "4.9e-324", "１２", "=", "[Font]", ";", "#", "\\", "\"",
    "\"1\"", "a,b,c", "1,2,3", "@Variant(\\0\\0\\0\\x7f)", "@ByteArray(12)", "@Invalid()", "0x10", "010",
};

QString randomText(QRandomGenerator &rng)
{
    static const QString alphabet = QStringLiteral("0123456789+-.eE&HhOo ,\t\n\r:;=[]\"\\@xX日１\u00a0\u3000");
    QString s;
    const int n = int(rng.bounded(1, 24));
    for (int i = 0; i < n; ++i) {
        if (rng.bounded(20) == 0)
            s.append(QChar(char16_t(rng.bounded(1, 0xD7FF)))); // any BMP character but surrogates
        else
            s.append(alphabet[int(rng.bounded(alphabet.size()))]);
    }
    return s;
}

QString hostileValue(QRandomGenerator &rng, const QRect &screenTwips)
{
    switch (rng.bounded(10)) {
    case 0: return QString::fromLatin1(kHostile[rng.bounded(int(std::size(kHostile)))]);
    case 1: return QString(100 * 1024, QChar(u"9-.e&x"[rng.bounded(6)])); // 100 kB
    case 2: return QString::number(rng.generateDouble() * 4e6 - 2e6, 'g', int(rng.bounded(1, 17)));
    case 3: // near and past the screen's edges, negative included
        return QString::number(rng.bounded(-3 * screenTwips.width(), 3 * screenTwips.width()));
    case 4: return QString::number(qint64(rng.generate64()));
    case 5: return QString::number(std::ldexp(rng.generateDouble(), int(rng.bounded(-1100, 1100))), 'g', 17);
    default: return randomText(rng);
    }
}

} // namespace

class TestSettingsFuzz : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void numberFromTextMatchesModel();
    void hostileStoreStartsClock();
    void everyEntryMissingInTurn();

private:
    void startAndCheck(const QString &caseName, bool checkedBefore);
    std::unique_ptr<IsolatedStore> m_store;
    int m_started = 0;
};

void TestSettingsFuzz::initTestCase()
{
    // Every save ends in an fsync, some 15 ms on disk; hundreds of them go
    // to a memory-backed folder instead.
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        qputenv("TMPDIR", "/dev/shm");
    m_store = initClockTest();
}

void TestSettingsFuzz::numberFromTextMatchesModel()
{
    QRandomGenerator rng(0x5eed0001);
    const QRect screenTwips(0, 0, 19200, 14400);
    int cases = 0;
    auto check = [&](const QString &text) {
        const std::optional<double> model = modelNumber(text);
        const std::optional<double> actual = compat::NumberAtStart(text);
        if (model.has_value() != actual.has_value()
            || (model && !sameNumber(*model, *actual)) || !sameNumber(model.value_or(0), compat::NumberFromText(text)))
            QFAIL(qPrintable(QStringLiteral("NumberFromText(\"%1\"): model %2, reader %3")
                                 .arg(text.left(80))
                                 .arg(model ? QString::number(*model, 'g', 17) : QStringLiteral("none"))
                                 .arg(actual ? QString::number(*actual, 'g', 17) : QStringLiteral("none"))));
        ++cases;
    };
    for (const char *h : kHostile)
        check(QString::fromUtf8(h));
    for (int i = 0; i < 200000; ++i) {
        if (i % 4 == 0) {
            // A well-formed number with noise around it.
            QString n = QString::number(rng.generateDouble() * 2e6 - 1e6, rng.bounded(2) ? 'g' : 'f',
                                        int(rng.bounded(0, 12)));
            n.insert(int(rng.bounded(n.size() + 1)), randomText(rng).left(int(rng.bounded(3))));
            check(n + randomText(rng));
        } else {
            check(i % 50 == 1 ? hostileValue(rng, screenTwips) : randomText(rng));
        }
    }
    qInfo("NumberFromText: %d cases agree with the model", cases);
}

void TestSettingsFuzz::startAndCheck(const QString &caseName, bool checkedBefore)
{
    resetClockState();
    C_Menu::instance()->p_scale->setChecked(checkedBefore);
    // What the store gives back, run through the models.
    const QString colorText = ReadSetting(kApp, "Font", "Color");
    const QString sizeText = ReadSetting(kApp, "Font", "Size");
    const QString topText = ReadSetting(kApp, "Set", "Top");
    const QString leftText = ReadSetting(kApp, "Set", "Left");
    const QString secText = ReadSetting(kApp, "Disp", "Sec");

    const qint64 wantColor = modelRound(modelNumber(colorText).value_or(0), INT32_MIN, INT32_MAX).value_or(0);
    qint64 wantSize = modelRound(modelNumber(sizeText).value_or(0), INT16_MIN, INT16_MAX).value_or(0);
    if (wantSize == 0)
        wantSize = 18;
    QString trimmed = secText;
    while (trimmed.startsWith(u' '))
        trimmed.remove(0, 1);
    while (trimmed.endsWith(u' '))
        trimmed.chop(1);
    const bool wantSec = secText == u"True";
    const bool wantChecked = trimmed.isEmpty() ? checkedBefore : wantSec;

    Form1 clock;
    QVERIFY(clock.Form_Load());
    ++m_started;
    const auto where = [&] {
        return QStringLiteral("%1: Color=\"%2\" Size=\"%3\" Top=\"%4\" Left=\"%5\" Sec=\"%6\"")
            .arg(caseName, colorText.left(40), sizeText.left(40), topText.left(40), leftText.left(40),
                 secText.left(40));
    };
    QVERIFY2(gColor == wantColor, qPrintable(where()));
    QVERIFY2(gFontSize == wantSize, qPrintable(where()));
    QVERIFY2(gShowSec == wantSec, qPrintable(where()));
    QVERIFY2(C_Menu::instance()->p_scale->isChecked() == wantChecked, qPrintable(where()));
    QVERIFY2(gAlarmTime.isEmpty(), qPrintable(where()));

    // Position: as stored when it leaves the window on a screen, else centred.
    const QSize size = clock.size();
    const QSize wantPixels(compat::twipsToPixelsX(WindowSizeTwips(int(wantSize)).width()),
                           compat::twipsToPixelsY(WindowSizeTwips(int(wantSize)).height()));
    QVERIFY2(size == wantPixels, qPrintable(where()));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double centreTop = compat::pixelsToTwipsY(screen.height()) / 2;
    const double centreLeft = compat::pixelsToTwipsX(screen.width()) / 2;
    double top = modelNumber(topText).value_or(centreTop);
    double left = modelNumber(leftText).value_or(centreLeft);
    bool onScreen = std::isfinite(top) && std::isfinite(left) && std::abs(top) < 1e8 && std::abs(left) < 1e8;
    if (onScreen) {
        const QRect r(QPoint(int(std::lround(left / compat::twipsPerPixelX())),
                             int(std::lround(top / compat::twipsPerPixelY()))),
                      size);
        onScreen = false;
        for (const QScreen *s : QGuiApplication::screens())
            onScreen = onScreen || s->geometry().intersects(r);
    }
    if (!onScreen) {
        top = centreTop;
        left = centreLeft;
    }
    QVERIFY2(gTop == top && gLeft == left, qPrintable(where() + QStringLiteral(" gTop %1 gLeft %2").arg(gTop).arg(gLeft)));
    bool visible = false;
    for (const QScreen *s : QGuiApplication::screens())
        visible = visible || s->geometry().intersects(clock.geometry());
    QVERIFY2(visible, qPrintable(where()));
    QVERIFY2(clock.windowTitle() == TimeText(compat::now(), gShowSec)
                 || clock.windowTitle() == TimeText(compat::now().addSecs(-1), gShowSec),
             qPrintable(where()));
}

void TestSettingsFuzz::hostileStoreStartsClock()
{
    QRandomGenerator rng(0x5eed0002);
    const QRect screenTwips(0, 0, int(compat::screenWidthTwips()), int(compat::screenHeightTwips()));
    const char *const sections[] = {"Font", "Font", "Set", "Set", "Disp"};
    const char *const keys[] = {"Color", "Size", "Top", "Left", "Sec"};
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 58)));
    const int rounds = 600;
    for (int round = 0; round < rounds; ++round) {
        m_store->clear();
        const int mode = int(rng.bounded(10));
        if (mode == 0) {
            // Binary junk as the whole file.
            QByteArray junk(int(rng.bounded(1, 4096)), '\0');
            for (char &c : junk)
                c = char(rng.bounded(256));
            m_store->writeRaw(junk);
        } else if (mode == 1) {
            // The right layout with raw, unescaped junk as values.
            QByteArray file;
            for (int k = 0; k < 5; ++k) {
                QByteArray v(int(rng.bounded(0, 64)), '\0');
                for (char &c : v)
                    c = char(rng.bounded(1, 256));
                v.replace('\n', ' ');
                file += "[" + QByteArray(sections[k]) + "]\n" + keys[k] + "=" + v + "\n";
            }
            m_store->writeRaw(file);
        } else {
            // Hostile texts through the store itself; each entry may be absent.
            compat::SettingsStore store(kApp);
            for (int k = 0; k < 5; ++k)
                if (rng.bounded(6) != 0)
                    store.write(QLatin1String(sections[k]), QLatin1String(keys[k]),
                                k == 4 && rng.bounded(3) == 0
                                    ? QString::fromLatin1(kHostile[rng.bounded(8)])
                                    : hostileValue(rng, screenTwips));
            QVERIFY(store.commit());
        }
        now.advanceMs(rng.bounded(3000));
        startAndCheck(QStringLiteral("round %1").arg(round), rng.bounded(2));
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("hostile stores: %d starts, all on screen, all values by the rules", m_started);
}

void TestSettingsFuzz::everyEntryMissingInTurn()
{
    const char *const lines[] = {"[Font]\nColor=255\n", "[Font]\nSize=36\n", "[Set]\nTop=-150\n",
                                 "[Set]\nLeft=300\n", "[Disp]\nSec=True\n"};
    for (int missing = -1; missing < 5; ++missing) {
        QByteArray file;
        for (int k = 0; k < 5; ++k)
            if (k != missing)
                file += lines[k];
        m_store->writeRaw(file);
        startAndCheck(QStringLiteral("missing entry %1").arg(missing), true);
        if (QTest::currentTestFailed())
            return;
    }
    m_store->clear();
    startAndCheck(QStringLiteral("no store"), false);
}

QTEST_MAIN(TestSettingsFuzz)
#include "tst_settings_fuzz.moc"
