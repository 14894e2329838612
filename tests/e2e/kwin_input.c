/* SPDX-License-Identifier: MIT */
/* Moves and clicks the pointer and types through KWin on Wayland, as a mouse
 * and keyboard plugged into it would: KWin routes the events to the window
 * under the pointer or with the focus, X11 or native.
 *   kwin_input COMMAND...
 * Commands: move X Y (screen pixels), press B, release B, click B (B: 1 left,
 * 2 middle, 3 right), key CODE (a Linux key code, e.g. 1 Escape), wait MS.
 * KWin offers fake input only to a program whose desktop entry names it by
 * its path and asks for it (X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input);
 * wl_start_kwin writes that entry. */
#include "fake-input-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input *input;

static void on_global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                      uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void on_global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {on_global, on_global_remove};

static uint32_t button_code(const char *b)
{
    return atoi(b) == 3 ? BTN_RIGHT : atoi(b) == 2 ? BTN_MIDDLE : BTN_LEFT;
}

static void pause_ms(long ms)
{
    nanosleep(&(struct timespec){ms / 1000, (ms % 1000) * 1000000}, NULL);
}

int main(int argc, char **argv)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "kwin_input: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "kwin_input: the compositor offers no fake input (version 4)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(input, "tavisk tests", "drives the clock under test");
    for (int i = 1; i < argc; ++i) {
        const char *command = argv[i];
        if (strcmp(command, "move") == 0 && i + 2 < argc) {
            org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_int(atoi(argv[i + 1])),
                                                            wl_fixed_from_int(atoi(argv[i + 2])));
            i += 2;
        } else if ((strcmp(command, "press") == 0 || strcmp(command, "release") == 0) && i + 1 < argc) {
            org_kde_kwin_fake_input_button(input, button_code(argv[++i]),
                                           command[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED
                                                             : WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (strcmp(command, "click") == 0 && i + 1 < argc) {
            const uint32_t code = button_code(argv[++i]);
            org_kde_kwin_fake_input_button(input, code, WL_POINTER_BUTTON_STATE_PRESSED);
            wl_display_roundtrip(display);
            pause_ms(50);
            org_kde_kwin_fake_input_button(input, code, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (strcmp(command, "key") == 0 && i + 1 < argc) {
            const uint32_t code = (uint32_t)atoi(argv[++i]);
            org_kde_kwin_fake_input_keyboard_key(input, code, WL_KEYBOARD_KEY_STATE_PRESSED);
            wl_display_roundtrip(display);
            pause_ms(30);
            org_kde_kwin_fake_input_keyboard_key(input, code, WL_KEYBOARD_KEY_STATE_RELEASED);
        } else if (strcmp(command, "wait") == 0 && i + 1 < argc) {
            pause_ms(atol(argv[++i]));
            continue;
        } else {
            fprintf(stderr, "kwin_input: cannot read command %s\n", command);
            return 2;
        }
        wl_display_roundtrip(display);
    }
    /* Only the proxy: the protocol's destroy request is new in version 5,
       and the version bound here (4) must not send it. */
    wl_proxy_destroy((struct wl_proxy *)input);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
