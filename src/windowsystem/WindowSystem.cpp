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

void choosePlatform()
{
#ifdef TAVISK_LAYER_SHELL
    // A WAYLAND_SOCKET is a connection made for this program: the one there
    // is, and Qt's (the window system is then chosen from Qt's registry).
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) {
        setForQt("QT_QPA_PLATFORM", "wayland");
        setForQt("QT_WAYLAND_DISABLE_FIXED_POSITIONS", "1");
        return;
    }
#endif
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
#ifdef TAVISK_LAYER_SHELL
    // Qt's Wayland platform takes every top-level window to be at its
    // screen's corner, as it cannot know where the compositor put it. The
    // clock's layer surface is where the program put it: told so, Qt reports
    // the pointer where it is on the screen and turns the clock's menu at the
    // screen's edges, as on X11.
    //
    // Qt also checks 100 ms after each new picture whether the compositor
    // still answers, which wakes the clock once more a second for nothing.
    // Without the check, a clock the compositor does not show goes on handing
    // it a picture a second, as a shown one does.
    if (wayland::layerShellBeforeStart()) {
        setForQt("QT_WAYLAND_DISABLE_FIXED_POSITIONS", "1");
        setForQt("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
    }
#endif
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
#ifdef TAVISK_LAYER_SHELL
    if (wayland::layerShellBeforeStart()) {
        // Through XWayland after all where Qt's Wayland platform is missing.
        setForQt("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland" : "wayland;xcb");
        return;
    }
#endif
    // Placement, shaping and staying on top need X11 where the compositor
    // has no layer shell (GNOME): the clock runs through XWayland then.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        setForQt("QT_QPA_PLATFORM", "xcb");
}

void restoreEnvironment()
{
    for (const QByteArray &name : std::as_const(setForQt()))
        qunsetenv(name.constData());
    setForQt().clear();
}

WindowSystem &current()
{
#ifdef TAVISK_LAYER_SHELL
    // Any of Qt's Wayland platforms (wayland, wayland-egl...), on a
    // compositor whose registry offers the layer shell.
    static const bool layerShell = QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        && wayland::qtDisplay() && wayland::offeredVersion(wayland::qtDisplay(), "zwlr_layer_shell_v1") > 0;
    if (layerShell) {
        static wayland::LayerShellWindowSystem layerShellSystem;
        return layerShellSystem;
    }
#endif
    static x11::X11WindowSystem x11;
    return x11;
}

} // namespace windowsystem
