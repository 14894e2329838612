// SPDX-License-Identifier: MIT
#pragma once
#include <QDateTime>
#include <functional>

// The one place the program asks what time it is. Tests replace the source
// so that midnight, late ticks and clock steps can be played out at once.
namespace compat {

QDateTime now();
void setNowSource(std::function<QDateTime()> source); // empty: the system clock

} // namespace compat
