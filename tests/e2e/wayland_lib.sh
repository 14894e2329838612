# SPDX-License-Identifier: MIT
# Shared set-up for the clock under a Wayland compositor, through its
# Xwayland: sourced after lib.sh, whose folders, PIDS and clean-up it uses.
# The compositor's own start and input belong to each compositor's script.

# A new user: an empty home and no settings (lib.sh's XDG_CONFIG_HOME is
# fresh and empty).
export HOME=$E2E_TMP/home
mkdir -p "$HOME"
WL_WINDOW=${TAVISK_WL_WINDOW:?path to wl_window (TAVISK_WL_WINDOW)}

# wl_wait_display SECONDS: waits until the X server in DISPLAY (the
# compositor's Xwayland) answers and has a window manager.
wl_wait_display() {
    wait_until "$1" xdotool_root_wm || fail "no window manager on Xwayland $DISPLAY"
}
xdotool_root_wm() { xprop_has -root _NET_SUPPORTING_WM_CHECK "window id #"; }

# wl_use_xwayland DISPLAY [XAUTHORITY]: the compositor's Xwayland, for the
# X clients of the check and for the services its session bus starts.
wl_use_xwayland() {
    export DISPLAY=$1
    if [ -n "${2:-}" ]; then export XAUTHORITY=$2; else unset XAUTHORITY; fi
    dbus-update-activation-environment DISPLAY ${2:+XAUTHORITY}
}

# wl_xwm_name: the name the X window manager gives itself ("wlroots wm",
# "GNOME Shell", "KWin").
wl_xwm_name() {
    local wm
    wm=$(xprop -root _NET_SUPPORTING_WM_CHECK | grep -o '0x[0-9a-f]*')
    xprop -id "$wm" _NET_WM_NAME | sed -n 's/.*= "\(.*\)"$/\1/p'
}

# wl_start_clock: the clock as a desktop session starts it, with both
# WAYLAND_DISPLAY and DISPLAY set and no platform chosen; CLOCK_PID and
# CLOCK_WIN (its X window) as lib.sh's start_clock sets them.
wl_start_clock() {
    [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || fail "wl_start_clock needs WAYLAND_DISPLAY and DISPLAY"
    env -u QT_QPA_PLATFORM "$TAVISK" >"$E2E_TMP/clock.log" 2>&1 &
    CLOCK_PID=$!
    PIDS+=($CLOCK_PID)
    wait_until 15 clock_shown || fail "the clock window did not appear on $DISPLAY: $(head -c 500 "$E2E_TMP/clock.log")"
}

# wl_clock_geometry: "X Y W H" of the clock's X window, as Xwayland has it.
wl_clock_geometry() { window_geometry "$CLOCK_WIN"; }

# wl_clock_depth: the depth of the clock's X window (32: it has an alpha
# channel, so the compositor blends the digits' edges with what is below).
wl_clock_depth() { xwininfo -id "$CLOCK_WIN" | awk '/Depth:/ { print $2 }'; }

# wl_save_position LEFT TOP: saved settings that place the clock's top-left
# corner at LEFT,TOP (logical pixels; stored in twips, 15 to a pixel).
wl_save_position() {
    write_settings <<INI
[Set]
Left=$(($1 * 15))
Top=$(($2 * 15))
INI
}

# wl_start_window NAME TITLE [maximized|normal]: a native Wayland window that
# logs its clicks to $E2E_TMP/NAME.log; waits until it is shown.
wl_start_window() {
    local log=$E2E_TMP/$1.log
    : >"$log"
    env -u DISPLAY "$WL_WINDOW" "$log" "$2" "${3:-maximized}" >"$E2E_TMP/$1.out" 2>&1 &
    PIDS+=($!)
    wait_until 10 grep -q '^ready' "$log" || fail "native window $2 not shown: $(head -c 300 "$E2E_TMP/$1.out")"
}

# wl_presses NAME: how many presses the native window NAME has logged.
wl_presses() { grep -c '^press' "$E2E_TMP/$1.log" || true; }

# wl_start_xev X Y W H: an X11 window there that logs its clicks to
# $E2E_TMP/xev.log; sets XEV_WIN.
wl_start_xev() {
    xev -geometry "$3x$4+$1+$2" -event button >"$E2E_TMP/xev.log" 2>&1 &
    PIDS+=($!)
    XEV_WIN=""
    wait_until 10 eval 'XEV_WIN=$(xdotool search --onlyvisible --name "^Event Tester$" | head -1) && [ -n "$XEV_WIN" ]' \
        || fail "no X11 window to click: $(head -c 300 "$E2E_TMP/xev.log")"
}

# wl_xev_presses: how many presses the X11 window has logged.
wl_xev_presses() { grep -c '^ButtonPress' "$E2E_TMP/xev.log" || true; }

# wl_xwayland_version: the running Xwayland's version (24.1.6).
wl_xwayland_version() {
    local have
    have=$(xdpyinfo | sed -n 's/^X.Org version: //p')
    echo "${have#1.}" # xdpyinfo may read 24.1.6 as 1.24.1.6
}

# wl_xwayland_at_least VERSION: the running Xwayland is that version or newer
# (24.1 and later hand an X window's input shape on to the compositor).
wl_xwayland_at_least() {
    local have
    have=$(wl_xwayland_version)
    [ -n "$have" ] && [ "$(printf '%s\n%s\n' "$1" "$have" | sort -V | head -1)" = "$1" ]
}

# wl_grey_shot PNG: a grey PGM of the compositor's screenshot PNG, for pick.py.
wl_grey_pgm() { convert "$1" -colorspace gray pgm:-; }
