// SPDX-License-Identifier: MIT
#include "compat/Beep.h"
#include "compat/SoundEvents.h"

#include <QApplication>

namespace compat {

namespace {
std::function<void()> &sink()
{
    static std::function<void()> s;
    return s;
}

SoundPlayer &player()
{
    static SoundPlayer p;
    return p;
}

std::function<void()> &bell()
{
    static std::function<void()> b;
    return b;
}

bool playFromTheme(const char *eventId)
{
    // One context for the whole run: a sound keeps playing after play()
    // returns, as long as its context lives.
    static SoundEvents sounds;
    return sounds.play(eventId, "アラーム");
}
} // namespace

void beep()
{
    if (sink()) {
        sink()();
        return;
    }
    const bool played = player() ? player()(kAlarmSoundEvent) : playFromTheme(kAlarmSoundEvent);
    if (played)
        return;
    if (bell())
        bell()();
    else
        QApplication::beep();
}

void setBeepSink(std::function<void()> s) { sink() = std::move(s); }
void setSoundPlayer(SoundPlayer p) { player() = std::move(p); }
void setBellSink(std::function<void()> b) { bell() = std::move(b); }

} // namespace compat
