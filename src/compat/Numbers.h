// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <optional>

// Numbers as the settings file and the alarm's minutes field have always been
// read: leniently, from the start of a text, and rounded to 16 or 32 bits.
namespace compat {

// The number at the start of `text`, read leniently (blanks skipped anywhere,
// &H/&O prefixes, sign, decimals, exponent; stops at the first misfit), or
// nothing when no digit was read at all.
std::optional<double> NumberAtStart(const QString &text);
// As NumberAtStart, with 0 when no digit was read.
double NumberFromText(const QString &text);

// Nearest integer, an exact half to the even neighbour; nothing when the
// result does not fit (overflow) or the value is not a number.
std::optional<qint16> RoundToInt16(double value);
std::optional<qint32> RoundToInt32(double value);

} // namespace compat
