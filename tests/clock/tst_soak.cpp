// SPDX-License-Identifier: MIT
// A day of ticks in a few seconds: 108,000 ticks of 800 ms on a simulated
// clock, seconds shown, 36 pt, an alarm and its notice every two hours. The
// process must not grow: whatever a tick builds, it lets go of.
#include "TestSupport.h"
#include "alarm/C_AlamF.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "compat/Beep.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

using namespace BasTavisk;

#if defined(__SANITIZE_ADDRESS__)
#define TAVISK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVISK_SANITIZED 1
#endif
#endif

namespace {
qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}
} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void dayOfTicks();
};

void TestSoak::dayOfTicks()
{
    const auto store = initClockTest();
    int beeps = 0;
    compat::setBeepSink([&beeps] { ++beeps; });
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)));
    resetClockState();
    Form1 clock;
    QVERIFY(clock.Form_Load());
    clock.Timer1->stop();
    gShowSec = true;
    gFontSize = 36;
    clock.show();

#ifdef TAVISK_SANITIZED
    // Memory figures mean nothing under AddressSanitizer (its quarantine
    // holds freed blocks); a shorter run still checks for leaks and misuse.
    const int ticks = 12000;
#else
    const int ticks = 108000;
#endif
    const int hour = 4500; // ticks of 800 ms
    qint64 baseline = -1;
    for (int i = 0; i < ticks; ++i) {
        if (i % (2 * hour) == hour / 2) {
            gAlarmTime = ComparisonText(now.value().addSecs(60));
            gAlarmMsg = QStringLiteral("soak %1").arg(i);
        }
        if (i % (2 * hour) == hour && C_AlamF::exists())
            C_AlamF::instance()->Command1->click(); // closed: the next alarm makes a new one
        now.advanceMs(800);
        clock.on_Timer1_timeout();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (i == hour)
            baseline = residentKb(); // after the first hour: caches are full
    }
    const qint64 end = residentKb();
    QVERIFY(beeps >= ticks / (2 * hour));
    qInfo("%d ticks (%.1f simulated hours), %d alarms: resident %lld kB after the first hour, %lld kB at the end",
          ticks, ticks * 0.8 / 3600, beeps, baseline, end);
#ifndef TAVISK_SANITIZED
    QVERIFY2(end - baseline < 1024, qPrintable(QStringLiteral("grew by %1 kB").arg(end - baseline)));
#endif
    compat::setBeepSink({});
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
