// SPDX-License-Identifier: MIT
// A window manager that loses the first map request it is sent, as one may
// while it is starting up, and maps every later one. It passes configure
// requests through unchanged. It prints "ready" once it manages the screen,
// then "lost WINDOW" and "mapped WINDOW" as it goes.
#include <X11/Xlib.h>
#include <cstdio>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    bool lostOne = false;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapRequest) {
            const Window window = event.xmaprequest.window;
            if (!lostOne) {
                lostOne = true;
                std::printf("lost %lu\n", window);
            } else {
                XMapWindow(display, window);
                std::printf("mapped %lu\n", window);
            }
            std::fflush(stdout);
        } else if (event.type == ConfigureRequest) {
            const XConfigureRequestEvent &request = event.xconfigurerequest;
            XWindowChanges changes{};
            changes.x = request.x;
            changes.y = request.y;
            changes.width = request.width;
            changes.height = request.height;
            changes.border_width = request.border_width;
            changes.sibling = request.above;
            changes.stack_mode = request.detail;
            XConfigureWindow(display, request.window, unsigned(request.value_mask), &changes);
        }
        XFlush(display);
    }
}
