#include "clock/BasTavisk.h"
#include "platform/SettingsStore.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace BasTavisk {

QString ReadSetting(const QString &application, const QString &section, const QString &key)
{
    return platform::SettingsStore(application).read(section, key);
}

bool WriteSetting(const QString &application, const QString &section, const QString &key,
                  const QString &text)
{
    platform::SettingsStore store(application);
    store.write(section, key, text);
    return store.commit();
}

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

// The text without the blanks that the reading rule skips.
std::string packed(const QString &text)
{
    std::string out;
    out.reserve(std::min<qsizetype>(text.size(), 4096));
    for (QChar c : text) {
        if (isBlank(c))
            continue;
        // Only ASCII can take part in a number; anything else ends it.
        out.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '\x7f');
    }
    return out;
}

bool isDigitOf(char c, int base)
{
    if (base == 8)
        return c >= '0' && c <= '7';
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

std::optional<double> radixNumber(const std::string &s, int base)
{
    double value = 0;
    bool any = false;
    for (size_t i = 2; i < s.size() && isDigitOf(s[i], base); ++i) {
        const char c = char(std::tolower(static_cast<unsigned char>(s[i])));
        value = value * base + (c <= '9' ? c - '0' : c - 'a' + 10);
        any = true;
    }
    if (!any)
        return std::nullopt;
    return value;
}
} // namespace

std::optional<double> NumberAtStart(const QString &text)
{
    const std::string s = packed(text);
    if (s.size() >= 2 && s[0] == '&') {
        const char p = char(std::toupper(static_cast<unsigned char>(s[1])));
        if (p == 'H')
            return radixNumber(s, 16);
        if (p == 'O')
            return radixNumber(s, 8);
    }

    // Find the longest prefix of the form [sign] digits [. digits] [E [sign] digits].
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        size_t expDigits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            end = j;
    }

    const size_t start = (s[0] == '+') ? 1 : 0; // from_chars takes no '+'
    double value = 0;
    const auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + end, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero, by the exponent.
        const size_t e = s.find_first_of("eE", start);
        const bool tiny = e != std::string::npos && e + 1 < end && s[e + 1] == '-';
        const bool negative = s[0] == '-';
        if (tiny)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return value;
}

double NumberFromText(const QString &text) { return NumberAtStart(text).value_or(0.0); }

namespace {
template <typename Int>
std::optional<Int> roundTo(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // the default rounding mode sends halves to even
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return Int(r);
}
} // namespace

std::optional<qint16> RoundToInt16(double value) { return roundTo<qint16>(value); }
std::optional<qint32> RoundToInt32(double value) { return roundTo<qint32>(value); }

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
