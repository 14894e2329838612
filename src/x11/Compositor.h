// SPDX-License-Identifier: MIT
#pragma once
class QWidget;

namespace x11 {

// Whether a compositing manager runs on the display's default screen, that
// is whether the screen's _NET_WM_CM_S<n> selection has an owner. Only then
// can a window be partly transparent: without one, the transparent parts of
// a window with an alpha channel show black.
//
// The answer is kept up to date from the selection-owner notices that the X
// server sends when a compositor starts or ends (Qt's X11 platform asks for
// them, for the same question), so asking costs nothing: no request, and no
// wakeup while nothing changes. False on other platforms.
bool compositorRunning();

// Asks compositing managers not to draw a shadow for the window: picom draws
// one under the whole window rectangle, which would show through every gap
// between the digits. picom reads the request from the outermost window, the
// window manager's frame once there is one, so it is repeated on each frame
// the window is put into. (Mutter, KWin and xfwm4 draw no shadow for a
// frameless window with an alpha channel, nor xfwm4 for a shaped one.)
void keepShadowOff(QWidget *window);

} // namespace x11
