// SPDX-License-Identifier: MIT
#include "clock/BasTavisk.h"
#include "compat/SettingsStore.h"


namespace BasTavisk {

QString ReadSetting(const QString &application, const QString &section, const QString &key)
{
    return compat::SettingsStore(application).read(section, key);
}

bool WriteSetting(const QString &application, const QString &section, const QString &key,
                  const QString &text)
{
    compat::SettingsStore store(application);
    store.write(section, key, text);
    return store.commit();
}

SecondsSetting SecondsFromText(const QString &text)
{
    QStringView v(text);
    while (!v.isEmpty() && v.front() == u' ')
        v = v.mid(1);
    while (!v.isEmpty() && v.back() == u' ')
        v.chop(1);
    if (v.isEmpty())
        return SecondsSetting::Blank;
    return text == u"True" ? SecondsSetting::On : SecondsSetting::Off;
}

QString TimeText(const QDateTime &time, bool showSeconds)
{
    // Written out digit by digit: a format string would go through the
    // locale machinery on every tick.
    const QTime t = time.time();
    if (!t.isValid())
        return QString();
    QChar text[8];
    const auto put = [&text](int at, int value) {
        text[at] = QChar(u'0' + value / 10);
        text[at + 1] = QChar(u'0' + value % 10);
    };
    put(0, t.hour());
    text[2] = u':';
    put(3, t.minute());
    if (!showSeconds)
        return QString(text, 5);
    text[5] = u':';
    put(6, t.second());
    return QString(text, 8);
}

QString ComparisonText(const QDateTime &time) { return TimeText(time, true); }

QSize WindowSizeTwips(int fontSize)
{
    switch (fontSize) {
    case 12:
    case 13: return {1035, 375};
    case 14: return {1315, 375};
    case 16: return {1475, 375};
    case 18: return {1700, 375};
    case 20: return {1700, 615};
    case 22: return {1750, 615};
    case 24: return {1815, 615};
    case 26: return {1980, 615};
    case 28: return {2050, 615};
    default: return {2650, 800};
    }
}

namespace {
// Seconds of the day of an "hh:nn:ss" text, or -1 for anything else.
int secondOfDay(const QString &hhnnss)
{
    if (hhnnss.size() != 8 || hhnnss[2] != u':' || hhnnss[5] != u':')
        return -1;
    auto two = [&hhnnss](int i) {
        const QChar a = hhnnss[i], b = hhnnss[i + 1];
        if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
            return -1;
        return (a.unicode() - '0') * 10 + (b.unicode() - '0');
    };
    const int h = two(0), m = two(3), s = two(6);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return -1;
    return h * 3600 + m * 60 + s;
}

// Whole seconds of local wall-clock time since a fixed day. Working on the
// wall clock's own fields keeps every tick clear of time-zone look-ups (each
// one stats /etc/localtime), and a daylight-saving change is then simply a
// step of the clock, forward or back, like a user's.
qint64 wallSeconds(const QDateTime &t)
{
    return t.date().toJulianDay() * 86400 + t.time().msecsSinceStartOfDay() / 1000;
}
} // namespace

bool AlarmDue(const QString &target, const QDateTime &previousTick, const QDateTime &now)
{
    if (target.isEmpty())
        return false;
    if (target == ComparisonText(now))
        return true;
    const int at = secondOfDay(target);
    if (at < 0 || !previousTick.isValid())
        return false;
    // Whole seconds: the alarm's second counts as seen by the tick in it.
    const qint64 prev = wallSeconds(previousTick);
    const qint64 cur = wallSeconds(now);
    if (cur <= prev)
        return false; // same second, or the clock stepped back
    qint64 next = prev - prev % 86400 + at; // the target on the previous tick's day
    if (next <= prev)
        next += 86400;
    return next <= cur;
}

} // namespace BasTavisk
