// SPDX-License-Identifier: MIT
// A tick hands the window only what changed, and time texts are shaped from
// cached glyphs. Both must leave the window exactly as a full rebuild would.
#include "TestSupport.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "clock/TextShape.h"
#include "compat/Twips.h"
#include "compat/WinColor.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QtTest>

using namespace BasTavisk;

class TestTickSkip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void composedOutlineEqualsDrawnText();
    void composedOutlineFollowsFontChanges();
    void randomStateWalkMatchesFullRebuild();
    void outlineRemovedBehindOurBackIsRestored();

private:
    std::unique_ptr<IsolatedStore> m_store;
};

namespace {
const int kSizes[] = {12, 14, 16, 18, 20, 22, 24, 26, 28, 36};

QFont clockFont(int points)
{
    QFont f(QStringLiteral("impact"));
    f.setPointSize(points);
    f.setBold(true);
    return f;
}

QSize windowPixels(int points)
{
    const QSize t = WindowSizeTwips(points);
    return {compat::twipsToPixelsX(t.width()), compat::twipsToPixelsY(t.height())};
}

QString hhnnss(int second) { return QString::asprintf("%02d:%02d:%02d", second / 3600, second / 60 % 60, second % 60); }
} // namespace

void TestTickSkip::initTestCase()
{
    m_store = initClockTest();
}

void TestTickSkip::composedOutlineEqualsDrawnText()
{
    // Every "hh:nn" and every 23rd "hh:nn:ss" of the day, at every size:
    // the same pixels as drawing the text whole.
    for (int points : kSizes) {
        const QFont font = clockFont(points);
        const QSize size = windowPixels(points);
        int compared = 0;
        for (int second = 0; second < 86400; second += 23) {
            const QString text = hhnnss(second);
            const QRegion composed = textOutlineRegion(text, font, size);
            const QRegion drawn = renderedTextRegion(text, font, size);
            if (!(composed ^ drawn).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 at %2 pt differs").arg(text).arg(points)));
            if (second % 60 < 23) {
                const QString minutes = text.left(5);
                if (!(textOutlineRegion(minutes, font, size)
                      ^ renderedTextRegion(minutes, font, size)).isEmpty())
                    QFAIL(qPrintable(QStringLiteral("%1 at %2 pt differs").arg(minutes).arg(points)));
            }
            ++compared;
        }
        QVERIFY(compared > 3700);
    }
    // Sizes only a hand-edited store can give, in the largest window. Above
    // 64 pixels Qt fills each glyph's outline instead of drawing cached glyphs,
    // and on a busy machine the same text filled twice has differed in one
    // edge pixel (2 of 80 runs); a glyph composed out of place differs in
    // hundreds.
    for (int points : {1, 5, 72, 300, 2000, 15000, 20000, 32767}) {
        const QSize size = windowPixels(36);
        for (const QString &text : {QStringLiteral("00:00:00"), QStringLiteral("18:49:11"), QStringLiteral("23:59")}) {
            const QRegion differs = textOutlineRegion(text, clockFont(points), size)
                                    ^ renderedTextRegion(text, clockFont(points), size);
            qsizetype pixels = 0;
            for (const QRect &r : differs)
                pixels += qsizetype(r.width()) * r.height();
            QVERIFY2(pixels <= (QFontInfo(clockFont(points)).pixelSize() > 64 ? 2 : 0),
                     qPrintable(QStringLiteral("%1 at %2 pt: %3 pixels differ").arg(text).arg(points).arg(pixels)));
        }
    }
    // Other text is drawn as it is.
    const QFont font = clockFont(18);
    const QRegion other = textOutlineRegion(QStringLiteral("Form1"), font, windowPixels(18));
    QVERIFY(!other.isEmpty());
    QVERIFY((other ^ renderedTextRegion(QStringLiteral("Form1"), font, windowPixels(18))).isEmpty());
}

void TestTickSkip::composedOutlineFollowsFontChanges()
{
    // Alternating sizes and heights must never reuse glyphs of another font.
    const QString text = QStringLiteral("10:08:49");
    for (int round = 0; round < 3; ++round) {
        for (int points : {36, 12, 36, 20}) {
            for (int height : {windowPixels(points).height(), 20}) {
                const QSize size(windowPixels(points).width(), height);
                QVERIFY((textOutlineRegion(text, clockFont(points), size)
                         ^ renderedTextRegion(text, clockFont(points), size)).isEmpty());
            }
        }
    }
}

void TestTickSkip::randomStateWalkMatchesFullRebuild()
{
    // The menu commands and dialogs change the state between ticks in any
    // order; after every tick the window must hold what a rebuild would give.
    resetClockState();
    FakeNow now(QDateTime(QDate(2026, 3, 1), QTime(23, 58, 30)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.Timer1->stop();
    QRandomGenerator rng(20261207);
    int changes = 0;
    for (int tick = 0; tick < 400; ++tick) {
        switch (rng.bounded(8)) {
        case 0: gColor = qint32(rng.bounded(0x1000000)); ++changes; break;
        case 1: gFontSize = qint16(kSizes[rng.bounded(10)]); ++changes; break;
        case 2: gShowSec = !gShowSec; ++changes; break;
        case 3: now.advanceMs(rng.bounded(120000)); ++changes; break; // a clock step
        default: break;
        }
        now.advanceMs(800);
        clock.on_Timer1_timeout();

        const QString text = TimeText(now.value(), gShowSec);
        const QSize size = windowPixels(gFontSize);
        QCOMPARE(clock.size(), size);
        QCOMPARE(clock.windowTitle(), text);
        QCOMPARE(clock.font().family(), QStringLiteral("impact"));
        QCOMPARE(clock.font().pointSize(), int(gFontSize));
        QVERIFY(clock.font().bold());
        QCOMPARE(clock.palette().color(QPalette::Window), compat::fromWinColor(gColor));
        if (!(clock.mask() ^ renderedTextRegion(text, clockFont(gFontSize), size)).isEmpty())
            QFAIL(qPrintable(QStringLiteral("outline of %1 at %2 pt after tick %3").arg(text).arg(gFontSize).arg(tick)));
    }
    QVERIFY(changes > 150);
}

void TestTickSkip::outlineRemovedBehindOurBackIsRestored()
{
    resetClockState();
    FakeNow now(QDateTime(QDate(2026, 3, 1), QTime(9, 0, 0)));
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.Timer1->stop();
    clock.on_Timer1_timeout();
    const QRegion shaped = clock.mask();
    QVERIFY(!shaped.isEmpty());
    clock.clearMask();
    clock.on_Timer1_timeout(); // same text, same font, same size
    QVERIFY((clock.mask() ^ shaped).isEmpty());
}

QTEST_MAIN(TestTickSkip)
#include "tst_tickskip.moc"
