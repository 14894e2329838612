// SPDX-License-Identifier: MIT
#pragma once
#include <QDateTime>
#include <QSize>
#include <QString>

// The clock state shared by every window, and the helpers more than one
// window uses. Everything runs on the one GUI thread: no locking.
namespace BasTavisk {

inline qint32 gColor = 0;         // digit colour, Windows colour value
inline qint16 gFontSize = 0;      // digit size in points
inline bool gShowSec = false;     // "hh:nn:ss" rather than "hh:nn"
inline double gLeft = 0;          // start-up position, twips
inline double gTop = 0;
inline QString gAlarmTime;        // "hh:nn:ss" of the pending alarm, or empty
inline QString gAlarmMsg;         // message of the pending alarm, trimmed
inline qint16 gAlarmByClock = 0;  // 1: set as a time of day, 0: as minutes from now
inline qint16 gAlarmMin = 0;      // minutes of the last minutes-mode alarm

inline const QString kApp = QStringLiteral("Tavisk");

// Per-user settings store. Absent entries read as empty text.
QString ReadSetting(const QString &application, const QString &section, const QString &key);
// False when the store could not be written; the file is then unchanged.
bool WriteSetting(const QString &application, const QString &section, const QString &key,
                  const QString &text);

// How a stored "Disp"/"Sec" text sets the seconds flag: only "True" turns it
// on; blank text leaves the menu's check mark as it is.
enum class SecondsSetting { Blank, On, Off };
SecondsSetting SecondsFromText(const QString &text);

// The present time as the clock shows it, and as the alarm compares it.
QString TimeText(const QDateTime &time, bool showSeconds);
QString ComparisonText(const QDateTime &time);

// Clock window size in twips for a font size (width, height).
QSize WindowSizeTwips(int fontSize);

// True when the alarm `target` ("hh:nn:ss") is due at the tick at `now`,
// given that the previous tick ran at `previousTick`: when its second is the
// present second, or when it came after the previous tick and no later than
// now (a late or stalled tick, a clock stepped forward).
bool AlarmDue(const QString &target, const QDateTime &previousTick, const QDateTime &now);

} // namespace BasTavisk
