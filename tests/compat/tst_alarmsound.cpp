// SPDX-License-Identifier: MIT
// The alarm's sound: one request for the desktop's "alarm-clock-elapsed"
// sound per firing, played for real through libcanberra into ALSA's null
// device, and the bell when no sound can be played.
#include "TestSupport.h"
#include "alarm/C_AlamF.h"
#include "clock/BasTavisk.h"
#include "clock/Form1.h"
#include "compat/Beep.h"
#include "compat/SoundEvents.h"

#include <QApplication>
#include <QtTest>

using namespace BasTavisk;

class TestAlarmSound : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void themeHasTheAlarmSound();
    void oneSoundRequestPerFiring();
    void bellWhenTheSoundCannotBePlayed();
    void realSoundFallsBackToBell();

private:
    // Sets an alarm for 07:30:00 and ticks from 07:29:59 to 07:30:01 of `day`.
    void tickThroughAlarm(Form1 &clock, FakeNow &now, QDate day);

    std::unique_ptr<IsolatedStore> m_store;
    QStringList m_requests;
    int m_bells = 0;
};

void TestAlarmSound::initTestCase()
{
    m_store = initClockTest();
    // Only the beep's own default player reads this: it must find no driver.
    qputenv("CANBERRA_DRIVER", "no-such-driver");
}

void TestAlarmSound::init()
{
    resetClockState();
    m_requests.clear();
    m_bells = 0;
    compat::setBellSink([this] { ++m_bells; });
}

void TestAlarmSound::cleanup()
{
    compat::setSoundPlayer({});
    compat::setBellSink({});
    if (C_AlamF::exists())
        delete C_AlamF::instance();
}

void TestAlarmSound::tickThroughAlarm(Form1 &clock, FakeNow &now, QDate day)
{
    gAlarmTime = QStringLiteral("07:30:00");
    gAlarmMsg = QStringLiteral("起きて");
    now.set(QDateTime(day, QTime(7, 29, 59, 300)));
    clock.on_Timer1_timeout();
    for (int i = 0; i < 3; ++i) { // 07:30:00.100, 07:30:00.900, 07:30:01.700
        now.advanceMs(800);
        clock.on_Timer1_timeout();
    }
}

void TestAlarmSound::themeHasTheAlarmSound()
{
    // ALSA's null device takes the samples and drops them, so playing only
    // succeeds when the sound theme has a sound for the event.
    compat::SoundEvents discard("alsa", "null");
    QVERIFY2(discard.play(compat::kAlarmSoundEvent, "test"), discard.lastError());
    QVERIFY(!discard.play("no-such-sound-event", "test"));
}

void TestAlarmSound::oneSoundRequestPerFiring()
{
    compat::SoundEvents discard("alsa", "null");
    compat::setSoundPlayer([&](const char *eventId) {
        m_requests << QString::fromLatin1(eventId);
        return discard.play(eventId, "test");
    });
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(7, 0)));
    Form1 clock;
    QVERIFY(clock.Form_Load());

    tickThroughAlarm(clock, now, QDate(2026, 12, 7));
    QCOMPARE(m_requests, QStringList{QStringLiteral("alarm-clock-elapsed")});
    QCOMPARE(m_bells, 0); // the sound played, so no bell on top of it
    QVERIFY(C_AlamF::exists());

    tickThroughAlarm(clock, now, QDate(2026, 12, 8)); // the next day's alarm: one more request
    QCOMPARE(m_requests.size(), 2);
    QCOMPARE(m_bells, 0);
}

void TestAlarmSound::bellWhenTheSoundCannotBePlayed()
{
    compat::SoundEvents noDriver("no-such-driver");
    QVERIFY(!noDriver.play(compat::kAlarmSoundEvent, "test"));
    compat::setSoundPlayer([&](const char *eventId) {
        m_requests << QString::fromLatin1(eventId);
        return noDriver.play(eventId, "test");
    });
    FakeNow now(QDateTime(QDate(2026, 12, 7), QTime(7, 0)));
    Form1 clock;
    QVERIFY(clock.Form_Load());

    tickThroughAlarm(clock, now, QDate(2026, 12, 7));
    QCOMPARE(m_requests.size(), 1);
    QCOMPARE(m_bells, 1);
    // The notice opens all the same.
    QVERIFY(C_AlamF::exists());
    QCOMPARE(C_AlamF::instance()->txt->toPlainText(), QStringLiteral("起きて"));
}

void TestAlarmSound::realSoundFallsBackToBell()
{
    // No player installed: the beep's own libcanberra context, which finds
    // no driver here (CANBERRA_DRIVER above), so the bell rings.
    compat::beep();
    QCOMPARE(m_bells, 1);
    compat::beep();
    QCOMPARE(m_bells, 2);
}

QTEST_MAIN(TestAlarmSound)
#include "tst_alarmsound.moc"
