// SPDX-License-Identifier: MIT
#include "compat/Now.h"

namespace compat {

namespace {
std::function<QDateTime()> &source()
{
    static std::function<QDateTime()> s;
    return s;
}
} // namespace

QDateTime now() { return source() ? source()() : QDateTime::currentDateTime(); }

void setNowSource(std::function<QDateTime()> s) { source() = std::move(s); }

} // namespace compat
