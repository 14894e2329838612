// SPDX-License-Identifier: MIT
#pragma once
#include <functional>

// The alarm's sound. The X bell alone is silent on most desktops, so the
// alarm plays the desktop's "alarm-clock-elapsed" sound and rings the bell
// only when that sound cannot be played.
namespace compat {

inline constexpr char kAlarmSoundEvent[] = "alarm-clock-elapsed";

void beep();

// Tests replace the whole sound with their own sink, to count the requests.
void setBeepSink(std::function<void()> sink); // empty: the real sound

// The two layers under the real sound, replaceable so that tests can watch
// the sound request and the fallback. A player returns false when the sound
// could not be played.
using SoundPlayer = std::function<bool(const char *eventId)>;
void setSoundPlayer(SoundPlayer player);    // empty: the desktop's sound theme
void setBellSink(std::function<void()> bell); // empty: the system bell

} // namespace compat
