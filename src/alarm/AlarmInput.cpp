// SPDX-License-Identifier: MIT
#include "alarm/AlarmInput.h"
#include "clock/BasTavisk.h"
#include "compat/Numbers.h"

#include <QRegularExpression>

using namespace AlarmText;

namespace {
// A whole text that reads as a number: blanks around it, an optional sign,
// digits with an optional decimal point, an optional exponent; or a &H / &O
// integer. Trailing letters, inner blanks and separators make it no number.
bool isNumeric(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(
        R"(^[ \t]*(?:[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?|&[hH][0-9a-fA-F]+|&[oO][0-7]+)[ \t]*$)"));
    return number.match(text).hasMatch();
}

// An hour or minutes field as the target text needs it: one or two digits.
bool isPlainTwoDigits(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
    return digits.match(text).hasMatch();
}

QString twoDigits(const QString &text) { return text.size() == 1 ? QStringLiteral("0") + text : text; }

// Japanese input methods type full-width digits (０-９); in the number fields
// they are the digits 0-9. Nothing else is converted.
QString halfWidthDigits(QString text)
{
    for (QChar &c : text)
        if (c >= u'０' && c <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
    return text;
}
} // namespace

AlarmAnswer AlarmFromInput(const QString &minutesFromNowField, const QString &hourField,
                           const QString &minuteField, const QDateTime &now)
{
    const QString minutesFromNow = halfWidthDigits(minutesFromNowField);
    const QString hour = halfWidthDigits(hourField);
    QString minute = halfWidthDigits(minuteField);
    if (!minutesFromNow.isEmpty()) {
        if (!hour.isEmpty())
            return AlarmRefusal{kBoth, AlarmField::None};
        if (!isNumeric(minutesFromNow))
            return AlarmRefusal{kNotANumber, AlarmField::MinutesFromNow};
        const double minutes = compat::NumberFromText(minutesFromNow);
        // The offset is whole seconds in 16 bits; a negative one would point
        // into the past and ring only a day later.
        const std::optional<qint16> seconds = compat::RoundToInt16(minutes * 60.0);
        if (!seconds || *seconds < 0)
            return AlarmRefusal{kOffsetRange, AlarmField::MinutesFromNow};
        // The minutes fit: |minutes| < |seconds|.
        return AlarmRequest{BasTavisk::ComparisonText(now.addSecs(*seconds)), false,
                            compat::RoundToInt16(minutes).value_or(0), QString()};
    }
    if (hour.isEmpty()) {
        // Minutes without an hour would be dropped without a word.
        if (!minute.isEmpty())
            return AlarmRefusal{kHourRange, AlarmField::Hour};
        return NoAlarm{};
    }
    // Anything but one or two plain digits (" 7", "7.", "+1") would make a
    // target that never equals the clock's "hh:nn:ss".
    if (!isPlainTwoDigits(hour) || hour.toInt() >= 24)
        return AlarmRefusal{kHourRange, AlarmField::Hour};
    if (!minute.isEmpty() && (!isPlainTwoDigits(minute) || minute.toInt() >= 60))
        return AlarmRefusal{kMinuteRange, AlarmField::Minute};
    QString shown;
    if (minute.isEmpty() || minute == u"0")
        minute = shown = QStringLiteral("00");
    return AlarmRequest{twoDigits(hour) + u':' + twoDigits(minute) + QStringLiteral(":00"), true, 0, shown};
}
