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
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
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
