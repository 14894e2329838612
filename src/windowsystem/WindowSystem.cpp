// SPDX-License-Identifier: MIT
#include "windowsystem/WindowSystem.h"
#include "x11/X11WindowSystem.h"
#ifdef TAVISK_LAYER_SHELL
#include "wayland/LayerShellWindowSystem.h"
#include "wayland/Registry.h"
#endif

#include <QGuiApplication>

namespace windowsystem {

void choosePlatform()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
#ifdef TAVISK_LAYER_SHELL
    // Qt's Wayland platform takes every top-level window to be at its
    // screen's corner, as it cannot know where the compositor put it. The
    // clock's layer surface is where the program put it: told so, Qt reports
    // the pointer where it is on the screen and turns the clock's menu at the
    // screen's edges, as on X11.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_FIXED_POSITIONS") && wayland::offersLayerShell())
        qputenv("QT_WAYLAND_DISABLE_FIXED_POSITIONS", "1");
    // Qt checks 100 ms after each new picture whether the compositor still
    // answers, which wakes the clock once more a second for nothing. Without
    // the check, a clock the compositor does not show goes on handing it a
    // picture a second, as a shown one does. (The clock starts no programs
    // that could inherit this.)
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT") && wayland::offersLayerShell())
        qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
#endif
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
#ifdef TAVISK_LAYER_SHELL
    if (wayland::offersLayerShell()) {
        // Through XWayland after all where Qt's Wayland platform is missing.
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "wayland" : "wayland;xcb");
        return;
    }
#endif
    // Placement, shaping and staying on top need X11 where the compositor
    // has no layer shell (GNOME): the clock runs through XWayland then.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

WindowSystem &current()
{
#ifdef TAVISK_LAYER_SHELL
    if (QGuiApplication::platformName() == QLatin1String("wayland") && wayland::offersLayerShell()) {
        static wayland::LayerShellWindowSystem layerShell;
        return layerShell;
    }
#endif
    static x11::X11WindowSystem x11;
    return x11;
}

} // namespace windowsystem
