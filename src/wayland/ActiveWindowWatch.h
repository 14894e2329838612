// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

union wl_argument;
struct wl_display;
struct wl_message;
struct wl_proxy;

namespace wayland {

// Tells when the user activates a window that is not one of the program's
// own, as a taskbar learns it: from the wlr foreign toplevel list (sway,
// labwc and the other wlroots compositors) or from Plasma's window management
// (KWin, which offers it to the programs whose desktop file asks for it).
// It listens on Qt's own connection, so its events come on the main thread
// between the program's other events, and only when a window changes.
class ActiveWindowWatch
{
public:
    // Null when the compositor tells no program which window is active.
    static std::unique_ptr<ActiveWindowWatch> start(std::function<void()> otherActivated);
    ~ActiveWindowWatch();

    ActiveWindowWatch(const ActiveWindowWatch &) = delete;
    ActiveWindowWatch &operator=(const ActiveWindowWatch &) = delete;

private:
    enum class Protocol { Wlr, Plasma };
    struct Window {
        bool active = false;
        bool ours = false;
        bool described = false; // its first state has come in full
    };

    ActiveWindowWatch(wl_display *display, Protocol protocol, std::function<void()> otherActivated);
    static int dispatch(const void *watch, void *target, std::uint32_t opcode, const wl_message *message,
                        wl_argument *args);
    void onManagerEvent(const char *event, wl_argument *args);
    void onWindowEvent(wl_proxy *proxy, const char *event, wl_argument *args);
    void addWindow(wl_proxy *proxy);
    void removeWindow(wl_proxy *proxy);
    // A window's state as it now stands: told when another window than the
    // one active before is now, once the windows there were at the start
    // are known (they are not the user's doing).
    void settle(wl_proxy *proxy);

    wl_display *m_display;
    Protocol m_protocol;
    std::function<void()> m_otherActivated;
    wl_proxy *m_manager = nullptr;
    std::map<wl_proxy *, Window> m_windows;
    wl_proxy *m_active = nullptr;
    bool m_started = false;
};

} // namespace wayland
