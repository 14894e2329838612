// SPDX-License-Identifier: MIT
#include "windowsystem/WindowSystem.h"
#include "x11/X11WindowSystem.h"
#ifdef TAVISK_LAYER_SHELL
#include "wayland/LayerShellWindowSystem.h"
#include "wayland/Registry.h"
#endif

#include <QByteArray>
#include <QGuiApplication>
#include <QList>

namespace windowsystem {
namespace {

// What choosePlatform() set, to be taken back once Qt has read it.
QList<QByteArray> &setForQt()
{
    static QList<QByteArray> names;
    return names;
}

// Sets `name` for Qt unless the user has set it.
void setForQt(const char *name, const QByteArray &value)
{
    if (qEnvironmentVariableIsSet(name))
        return;
    qputenv(name, value);
    setForQt().append(name);
}

} // namespace

bool choosePlatform()
{
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#ifdef TAVISK_LAYER_SHELL
    // A WAYLAND_SOCKET is a connection made for this program: the one there
    // is, and Qt's (the window system is then chosen from Qt's registry).
    const bool handedSocket = !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET");
#else
    const bool handedSocket = false;
#endif
    // With no display at all (a login over ssh) Qt's platform plugin aborts
    // with a core dump.
    if (!display && !waylandDisplay && !handedSocket && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return false;
#ifdef TAVISK_LAYER_SHELL
    if (handedSocket)
        setForQt("QT_QPA_PLATFORM", "wayland");
    if (!handedSocket && !waylandDisplay)
        return true;
    // Qt's Wayland platform takes every top-level window to be at its
    // screen's corner, as it cannot know where the compositor put it. The
    // clock's layer surface is where the program put it: told so, Qt reports
    // the pointer where it is on the screen and turns the clock's menu at the
    // screen's edges, as on X11.
    //
    // Qt also checks 100 ms after each new picture of a window whether the
    // compositor still answers, which wakes the program once more for
    // nothing. Without the check, a clock the compositor does not show goes
    // on handing it a picture a second, as a shown one does. Qt reads this
    // for each window it makes (the menu, the dialogs, the picture that
    // follows a drag), so it stays for the whole run; the program starts no
    // other process that would inherit it.
    if (handedSocket || wayland::layerShellBeforeStart()) {
        setForQt("QT_WAYLAND_DISABLE_FIXED_POSITIONS", "1");
        if (!qEnvironmentVariableIsSet("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"))
            qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
    }
    if (handedSocket || qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    if (wayland::layerShellBeforeStart()) {
        // Through XWayland after all where Qt's Wayland platform is missing.
        setForQt("QT_QPA_PLATFORM", display ? "wayland;xcb" : "wayland");
        return true;
    }
#endif
    // Placement, shaping and staying on top need X11 where the compositor
    // has no layer shell (GNOME): the clock runs through XWayland then.
    if (waylandDisplay && display && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        setForQt("QT_QPA_PLATFORM", "xcb");
    return true;
}

void restoreEnvironment()
{
    for (const QByteArray &name : std::as_const(setForQt()))
        qunsetenv(name.constData());
    setForQt().clear();
}

namespace {
// Any of Qt's Wayland platforms (wayland, wayland-egl...).
bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

#ifdef TAVISK_LAYER_SHELL
bool layerShellOffered()
{
    static const bool offered = onWayland() && wayland::qtDisplay()
        && wayland::offeredVersion(wayland::qtDisplay(), "zwlr_layer_shell_v1") > 0;
    return offered;
}
#endif
} // namespace

bool canPlaceWindows()
{
#ifdef TAVISK_LAYER_SHELL
    if (layerShellOffered())
        return true;
#endif
    return !onWayland();
}

WindowSystem &current()
{
#ifdef TAVISK_LAYER_SHELL
    if (layerShellOffered()) {
        static wayland::LayerShellWindowSystem layerShellSystem;
        return layerShellSystem;
    }
#endif
    static x11::X11WindowSystem x11;
    return x11;
}

} // namespace windowsystem
