// SPDX-License-Identifier: MIT
#pragma once
#include <QPointer>

namespace compat {

// A window of which there is at most one: made (hidden) at the first
// reference, made afresh after it has been destroyed. The window class
// derives from this and befriends it, so that only instance() constructs it.
template <typename Window>
class OneWindow
{
public:
    static Window *instance()
    {
        if (!theOne())
            theOne() = new Window;
        return theOne();
    }
    static bool exists() { return !theOne().isNull(); }

private:
    static QPointer<Window> &theOne()
    {
        static QPointer<Window> window;
        return window;
    }
};

} // namespace compat
