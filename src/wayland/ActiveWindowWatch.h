// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <memory>

namespace wayland {

class PlasmaWindowList;
class WlrToplevelList;

// Tells when the user activates a window that is not one of the program's
// own, as a taskbar learns it: from the wlr foreign toplevel list (sway,
// labwc and the other wlroots compositors, newer KWin) or from Plasma's
// window management (KWin, which offers it to the programs whose desktop
// entry asks for it). Both are bound through Qt's Wayland client classes, on
// Qt's own connection and queue: their events come on the main thread
// between the program's other events, only when a window changes, and they
// are bound again when Qt connects anew to a compositor that restarted.
class ActiveWindowWatch : public QObject
{
    Q_OBJECT
public:
    // The program's one watch, made on first use. It goes when the event
    // loop ends, while Qt's connection is still there to be told.
    static ActiveWindowWatch &instance();

Q_SIGNALS:
    // Another program's window became the active one: not one of the
    // windows that were already there when the list was first told, nor
    // one coming back with its program after the compositor restarted.
    void otherActivated();

private:
    ActiveWindowWatch();
    ~ActiveWindowWatch() override;

    std::unique_ptr<WlrToplevelList> m_wlr;
    std::unique_ptr<PlasmaWindowList> m_plasma;
};

} // namespace wayland
