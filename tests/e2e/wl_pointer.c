/* SPDX-License-Identifier: MIT */
/* Moves and clicks a pointer through a wlroots compositor (sway), as a mouse
 * plugged into it would: the compositor routes the events to the window under
 * the pointer, X11 or native.
 *   wl_pointer WIDTH HEIGHT < COMMAND LINES
 * WIDTH HEIGHT: the size of the compositor's screen, so that "move" lands on
 * whole pixels. Each line of standard input holds commands: move X Y,
 * press B, release B, click B (B: 1 left, 2 middle, 3 right), wait MS; "ok"
 * is printed once the compositor has had them all. One pointer serves the
 * whole run, as a mouse stays plugged in: sway 1.7 crashes when a pointer goes
 * while Xwayland sets the cursor. */
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct wl_seat *seat;
static struct zwlr_virtual_pointer_manager_v1 *manager;

static void on_global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                      uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void on_global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {on_global, on_global_remove};

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static uint32_t button_code(const char *b)
{
    return atoi(b) == 3 ? BTN_RIGHT : atoi(b) == 2 ? BTN_MIDDLE : BTN_LEFT;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: wl_pointer WIDTH HEIGHT < COMMAND LINES\n");
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "wl_pointer: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!seat || !manager) {
        fprintf(stderr, "wl_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1 *pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    const uint32_t width = (uint32_t)atoi(argv[1]), height = (uint32_t)atoi(argv[2]);
    char line[4096];
    while (fgets(line, sizeof line, stdin)) {
        char *save = NULL;
        for (char *command = strtok_r(line, " \t\n", &save); command; command = strtok_r(NULL, " \t\n", &save)) {
            const char *a = strtok_r(NULL, " \t\n", &save);
            const char *b = strcmp(command, "move") == 0 && a ? strtok_r(NULL, " \t\n", &save) : "";
            if (!a || !b) {
                fprintf(stderr, "wl_pointer: %s lacks its argument\n", command);
                return 2;
            }
            if (strcmp(command, "move") == 0) {
                /* A pixel short first, then there: a mouse that enters a
                 * window moves on within it, and Xwayland puts a press where
                 * the last motion was, not where the pointer entered. */
                const uint32_t x = (uint32_t)atoi(a), y = (uint32_t)atoi(b);
                zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x > 0 ? x - 1 : x + 1, y, width, height);
                zwlr_virtual_pointer_v1_frame(pointer);
                wl_display_roundtrip(display);
                zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x, y, width, height);
            } else if (strcmp(command, "press") == 0 || strcmp(command, "release") == 0) {
                zwlr_virtual_pointer_v1_button(pointer, now_ms(), button_code(a),
                                               command[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED
                                                                 : WL_POINTER_BUTTON_STATE_RELEASED);
            } else if (strcmp(command, "click") == 0) {
                zwlr_virtual_pointer_v1_button(pointer, now_ms(), button_code(a), WL_POINTER_BUTTON_STATE_PRESSED);
                zwlr_virtual_pointer_v1_frame(pointer);
                wl_display_roundtrip(display);
                nanosleep(&(struct timespec){0, 50 * 1000000}, NULL);
                zwlr_virtual_pointer_v1_button(pointer, now_ms(), button_code(a), WL_POINTER_BUTTON_STATE_RELEASED);
            } else if (strcmp(command, "wait") == 0) {
                const long ms = atol(a);
                nanosleep(&(struct timespec){ms / 1000, (ms % 1000) * 1000000}, NULL);
                continue;
            } else {
                fprintf(stderr, "wl_pointer: unknown command %s\n", command);
                return 2;
            }
            zwlr_virtual_pointer_v1_frame(pointer);
            if (wl_display_roundtrip(display) < 0) {
                fprintf(stderr, "wl_pointer: the compositor has gone\n");
                return 1;
            }
        }
        printf("ok\n");
        fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
