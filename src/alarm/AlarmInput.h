// SPDX-License-Identifier: MIT
#pragma once
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <variant>

// What the alarm dialog makes of its three number fields, apart from the
// widgets: the alarm they ask for, or the reason they are refused.

// The alarm dialog's messages, and the title of their boxes.
namespace AlarmText {
inline const QString kTitle = QStringLiteral("アラームセット");
inline const QString kSet = QStringLiteral("セットされました");
inline const QString kCleared = QStringLiteral("解除されました");
inline const QString kBoth = QStringLiteral("どちらか一方を指定してください\r\nセット方法は、何分後、または何時何分");
inline const QString kHourRange = QStringLiteral("時間の指定は0時～23時までです");
inline const QString kMinuteRange = QStringLiteral("分の指定は0分～59分までです");
inline const QString kNotANumber = QStringLiteral("何分後の指定は数字で入力してください");
inline const QString kOffsetRange = QStringLiteral("何分後の指定は0分～546分までです");
} // namespace AlarmText

enum class AlarmField { None, MinutesFromNow, Hour, Minute };

// Input that cannot make an alarm: the message for the user and the field at
// fault (None when no single field is).
struct AlarmRefusal {
    QString message;
    AlarmField field = AlarmField::None;
};

struct AlarmRequest {
    QString time;           // "hh:nn:ss"
    bool byClock = false;   // set as a time of day, not as minutes from now
    qint16 minutes = 0;     // the minutes from now, rounded, in that mode
    QString minuteField;    // what the minute field then shows, when it changes
};

// Nothing typed in any number field.
struct NoAlarm {};

using AlarmAnswer = std::variant<NoAlarm, AlarmRequest, AlarmRefusal>;

// The alarm that the fields ask for at `now`. The minutes-from-now field
// decides first, whichever mode is shown; full-width digits count as digits.
AlarmAnswer AlarmFromInput(const QString &minutesFromNow, const QString &hour, const QString &minute,
                           const QDateTime &now);
