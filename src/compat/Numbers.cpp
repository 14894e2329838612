// SPDX-License-Identifier: MIT
#include "compat/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace compat {

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

} // namespace compat
