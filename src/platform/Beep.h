#pragma once
#include <functional>

// The alarm's sound. Tests install their own sink to count the requests.
namespace platform {

void beep();
void setBeepSink(std::function<void()> sink); // empty: the real sound

} // namespace platform
