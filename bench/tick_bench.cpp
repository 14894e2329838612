// SPDX-License-Identifier: MIT
// What one clock tick costs: the tick as a whole and its parts (time texts,
// alarm check, outline build), median over many ticks, at the sizes given.
// Runs on whatever display Qt is given (bench/run.sh uses Xvfb); settings and
// the single-instance lock go to a private temporary folder.
#include "clock/BasTavisk.h"
#include "clock/ClockFont.h"
#include "clock/Form1.h"
#include "clock/TextShape.h"
#include "compat/Now.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace BasTavisk;
using Clock = std::chrono::steady_clock;

namespace {
struct Stats {
    double median, p90;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[v.size() * 9 / 10]};
}

template <typename F>
double micros(F &&f)
{
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

QDateTime fakeTime;
} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QDir(home.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(home.path() + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (home.path() + QStringLiteral("/run")).toLocal8Bit());

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    installImpactStandIn();

    int ticks = 3000;
    bool showSeconds = true;
    std::vector<int> sizes{18, 36};
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--ticks") && i + 1 < args.size())
            ticks = std::max(10, args[++i].toInt());
        else if (args[i] == QLatin1String("--no-seconds"))
            showSeconds = false;
        else if (args[i] == QLatin1String("--sizes") && i + 1 < args.size()) {
            sizes.clear();
            for (const QString &s : args[++i].split(QLatin1Char(',')))
                sizes.push_back(s.toInt());
        }
    }

    fakeTime = QDateTime(QDate(2026, 1, 1), QTime(11, 0, 0));
    compat::setNowSource([] { return fakeTime; });

    Form1 clock;
    if (!clock.Form_Load()) {
        std::fprintf(stderr, "tick_bench: could not take the clock lock\n");
        return 1;
    }
    clock.Timer1->stop(); // the ticks below are driven by hand
    clock.show();
    if (!QTest::qWaitForWindowExposed(&clock))
        std::fprintf(stderr, "tick_bench: window not exposed, figures exclude painting\n");

    std::printf("platform %s, %d ticks per size, seconds %s, 800 ms of simulated time per tick\n",
                qPrintable(QGuiApplication::platformName()), ticks, showSeconds ? "on" : "off");
    std::printf("%-5s %-22s %10s %10s\n", "size", "part", "median us", "p90 us");

    for (int size : sizes) {
        gFontSize = qint16(size);
        gShowSec = showSeconds;
        gColor = 0x0000FF;
        // Settle: the first tick at a new size does real work once.
        for (int i = 0; i < 5; ++i) {
            fakeTime = fakeTime.addMSecs(800);
            clock.on_Timer1_timeout();
            QCoreApplication::processEvents();
        }

        std::vector<double> tick, events, format, alarm, outline;
        tick.reserve(ticks);
        events.reserve(ticks);
        QDateTime previous = fakeTime;
        for (int i = 0; i < ticks; ++i) {
            fakeTime = fakeTime.addMSecs(800);
            // A pending alarm that never comes due, so the check does its whole work.
            gAlarmTime = QStringLiteral("03:00:00");
            tick.push_back(micros([&] { clock.on_Timer1_timeout(); }));
            // What the tick leaves to the event loop: repaint, flush, X replies.
            events.push_back(micros([] { QCoreApplication::processEvents(); }));

            QString text;
            format.push_back(micros([&] {
                text = TimeText(compat::now(), gShowSec);
                (void)ComparisonText(compat::now());
            }));
            bool due = false;
            alarm.push_back(micros([&] { due = AlarmDue(gAlarmTime, previous, fakeTime); }));
            if (due)
                std::fprintf(stderr, "tick_bench: unexpected alarm\n");
            previous = fakeTime;
            outline.push_back(micros([&] {
                (void)textOutlineRegion(text, clock.font(), clock.size());
            }));
        }
        gAlarmTime.clear();

        auto row = [size](const char *name, const std::vector<double> &v) {
            const Stats s = stats(v);
            std::printf("%-5d %-22s %10.1f %10.1f\n", size, name, s.median, s.p90);
        };
        row("tick (whole)", tick);
        row("events after the tick", events);
        row("time texts", format);
        row("alarm check", alarm);
        row("outline build", outline);
    }
    return 0;
}
