#!/bin/bash
# SPDX-License-Identifier: MIT
# wl_kwin.sh TAVISK: the clock in a KWin Wayland session (one 1280x1024
# screen), through its Xwayland; see wl_desktop_checks.sh. KWin shows its
# screen as a window on a private X server: our picture of that window is
# what KWin drew.
source "$(dirname "$0")/lib.sh" "$@"
source "$E2E_DIR/wayland_lib.sh"
KWIN_INPUT=${TAVISK_KWIN_INPUT:?path to kwin_input (TAVISK_KWIN_INPUT)}
SCREEN_W=1280 SCREEN_H=1024
# The clock through Xwayland, as a user who chooses it gets it: where the
# build has the native mode, the clock would otherwise choose that (its
# checks are wl_native.sh's).
WL_CLOCK_PLATFORM=xcb

wl_start_kwin "$SCREEN_W" "$SCREEN_H"
wl_wait_display 20
# Announced is not yet working: a window mapped too early stays unseen.
python3 "$E2E_DIR/wm_ready.py" 20 || fail "KWin shows no X11 window"

wl_input() { bounded "$KWIN_INPUT" "$@" || fail "kwin_input $*"; }
wl_key() {
    case $1 in
        Escape) wl_input key 1 ;;
        l) wl_input key 38 ;;
    esac
}
wl_shot() { DISPLAY=$KWIN_SHOW import -window root "$1"; }

# The window list: the windows the task manager or the window switcher
# (Alt+Tab) shows.
wl_listed() { kwin_windows | awk -F'\t' '$4 == "false" || $8 == "false" { print $7 "\t" $2 "\t" $6 }'; }
wl_focused() { kwin_windows | awk -F'\t' '$5 == "true" { print $6 }'; }
# The clock kept above, and above the native window in KWin's stacking order.
wl_stacking_above() {
    local order clock native
    order=$(kwin_windows)
    clock=$(awk -F'\t' -v pid="$CLOCK_PID" '$7 == pid { print $1 "\t" $3 }' <<<"$order")
    native=$(awk -F'\t' '$6 == "Tavisk native below" { print $1 }' <<<"$order")
    [ "${clock#*	}" = true ] || fail "KWin does not keep the clock above: $order"
    [ -n "$native" ] && [ "${clock%	*}" -gt "$native" ] || fail "KWin stacks the clock (${clock%	*}) below the native window ($native): $order"
}

source "$E2E_DIR/wl_desktop_checks.sh"
