# SPDX-License-Identifier: MIT
# Shared set-up for end-to-end checks: a private Xvfb display with openbox,
# and private settings and runtime folders.
set -euo pipefail

# Every check runs as on a desktop, with a session bus of its own: without
# one, Qt's attempt to reach it leaks inside libdbus, which the sanitizer
# build reports when the clock exits.
# A check also has a time of its own, TAVISK_E2E_LIMIT seconds (CTest gives
# it a minute more): then it is told (USR1), and once the program it is
# running has ended (see bounded below) it fails naming the step it was in
# and cleans up; one that has not ended 45 s later is killed.
export TAVISK_E2E_LIMIT=${TAVISK_E2E_LIMIT:-120}
if [ -z "${TAVISK_E2E_BUS:-}" ]; then
    TAVISK_E2E_BUS=1 exec dbus-run-session -- \
        timeout --foreground --signal=USR1 --kill-after=45 "$TAVISK_E2E_LIMIT" bash "$0" "$@"
fi

TAVISK=${1:?path to the tavisk binary}
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_TMP=$(mktemp -d /tmp/tavisk-e2e.XXXXXX)
export XDG_CONFIG_HOME=$E2E_TMP/config
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Services the session bus starts (xfwm4's settings daemon) keep their
# settings in our folders too, not in the user's.
dbus-update-activation-environment XDG_CONFIG_HOME XDG_RUNTIME_DIR
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
PIDS=()

# bus_service_pids: the processes connected to this script's private session
# bus, that is the services it started for the window manager (xfconfd, the
# accessibility bus).
bus_service_pids() {
    local name
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.ListNames 2>/dev/null | grep -o '":1\.[0-9]*"' | tr -d '"' |
        while read -r name; do
            dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
                org.freedesktop.DBus.GetConnectionUnixProcessID string:"$name" 2>/dev/null | awk '/uint32/ { print $2 }'
        done | grep -vx "$$" | sort -u || true
}

# running PID: the process is there and has not ended (services whose
# parent has gone may stay as zombies where nothing reaps them).
running() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $state != Z* ]]
}

# stop_pids PID...: asks each in turn to end, and kills one that has not
# ended after 3 s: a program that hangs on its way out must not hang the
# check (xfwm4 did, once).
stop_pids() {
    local p
    for p; do
        kill "$p" 2>/dev/null || continue
        for _ in $(seq 30); do running "$p" || break; sleep 0.1; done
        ! running "$p" || kill -9 "$p" 2>/dev/null || true
    done
}

cleanup() {
    local i
    # The last started first: clients before their window manager and X server.
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do stop_pids "${PIDS[i]}"; done
    wait 2>/dev/null || true
    # The bus's services write their settings into our folders as they end:
    # end them first, or they write after the folders are gone and leave
    # them behind (or make the removal fail).
    stop_pids $(bus_service_pids)
    rm -rf "$E2E_TMP"
}
trap cleanup EXIT

# fail MESSAGE: fails the check, with the programs that gave no answer on
# the way (see bounded).
fail() {
    echo "FAIL: $*" >&2
    # TAVISK_E2E_KEEP=DIR keeps a failed check's folder (logs, pictures) there.
    [ -z "${TAVISK_E2E_KEEP:-}" ] || cp -a "$E2E_TMP" "$TAVISK_E2E_KEEP" 2>/dev/null || true
    [ ! -s "$E2E_TMP/no-answer" ] || cat "$E2E_TMP/no-answer" >&2
    exit 1
}
pass() { echo "ok: $*"; LAST_PASS=$*; }

# out_of_time COMMAND: the check ran out of its time while running COMMAND:
# fails naming the script's line it was at, the helpers it was in and the
# last check that passed.
out_of_time() {
    local i=1 frame line file steps=""
    while frame=$(caller $i); do
        read -r line _ file <<<"$frame"
        steps="${file##*/}:$line: $(sed -n "${line}s/^ *//p" "$file")${steps:+ > $steps}"
        i=$((i + 1))
    done
    fail "out of time ($TAVISK_E2E_LIMIT s) at $steps -- running: $1 -- last passed: ${LAST_PASS:-nothing}"
}
trap 'out_of_time "$BASH_COMMAND"' USR1

# Programs that talk to an X server, a compositor or a bus wait as long as
# these do not answer: each gets COMMAND_LIMIT seconds, then ends with status
# 124, noted for fail (callers' redirections would swallow a word on
# stderr), so a wait that retries it goes on and one that gives up says what
# it was waiting for.
COMMAND_LIMIT=30
bounded() {
    local rc=0
    timeout --foreground --kill-after=2 "$COMMAND_LIMIT" "$@" || rc=$?
    [ "$rc" != 124 ] || echo "no answer from '$*' within $COMMAND_LIMIT s" >>"$E2E_TMP/no-answer"
    return "$rc"
}
for program in convert dbus-send dbus-update-activation-environment gdbus grim import python3 swaymsg \
    xdotool xdpyinfo xprop xsetroot xwininfo; do
    eval "$program() { bounded $program \"\$@\"; }"
done

# start_xvfb [WxH] [DPI]: an X server on a free display (-displayfd lets it
# pick one, so checks may run side by side), as DISPLAY, its process as
# XVFB_PID; fails when it does not answer. A server that ends before it
# names its display is started again, up to 3 times; its log says why.
# -noreset: otherwise the server resets when its last client (the xdpyinfo
# that asks whether it is up) leaves, and drops a client that connects in that
# moment, such as the window manager on a busy machine.
start_xvfb() {
    local attempt
    xvfb_named() { test -s "$E2E_TMP/display" || ! kill -0 "$XVFB_PID" 2>/dev/null; }
    for attempt in 1 2 3; do
        : >"$E2E_TMP/display"
        Xvfb -displayfd 1 -screen 0 "${1:-1280x1024}x24" -dpi "${2:-96}" -nolisten tcp -noreset \
            >"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
        XVFB_PID=$!
        PIDS+=($XVFB_PID)
        # The display is named once the keyboard map is compiled: on a fresh,
        # busy machine (two cores, checks side by side) that can take seconds.
        wait_until 15 xvfb_named || true
        test -s "$E2E_TMP/display" && break
        echo "Xvfb named no display (attempt $attempt): $(tail -3 "$E2E_TMP/xvfb.log")" >&2
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    done
    test -s "$E2E_TMP/display" || return 1
    export DISPLAY=:$(head -1 "$E2E_TMP/display")
    # Services the window manager has the bus start (KDE's global shortcuts)
    # need the display; without it they end at once and are started again,
    # and again.
    dbus-update-activation-environment DISPLAY
    wait_until 5 xdpyinfo_quiet
}

# start_x [WxH] [DPI]: an X server (start_xvfb), then the window manager
# named by TAVISK_WM (default openbox; see start_wm). Both are started
# again, up to 3 times, when either fails.
start_x() {
    local attempt
    for attempt in 1 2 3; do
        if start_xvfb "$@"; then
            start_wm "${TAVISK_WM:-openbox}" && return 0
            echo "${TAVISK_WM:-openbox} did not start on $DISPLAY (attempt $attempt): $(tail -5 "$E2E_TMP/wm.log"); X server: $(tail -5 "$E2E_TMP/xvfb.log")" >&2
        else
            echo "no X server answers on ${DISPLAY:-a new display} (attempt $attempt)" >&2
        fi
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    done
    fail "no X server with ${TAVISK_WM:-openbox} after 3 attempts"
}

# start_wm NAME: openbox, openbox+picom, xfwm4 (its compositor off),
# xfwm4+compositor, kwin (kwin_x11) or mutter (as an X11 window manager).
# Returns once the window manager has taken the screen and shows new windows
# (and, with a compositor, once that owns the screen's compositing selection).
start_wm() {
    local wm=$1 pid cm=""
    case $wm in
        openbox | openbox+picom) openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1 & ;;
        xfwm4) xfwm4 --compositor=off --sm-client-disable >"$E2E_TMP/wm.log" 2>&1 & ;;
        xfwm4+compositor) xfwm4 --compositor=on --sm-client-disable >"$E2E_TMP/wm.log" 2>&1 & cm=1 ;;
        kwin) kwin_x11 >"$E2E_TMP/wm.log" 2>&1 & ;;
        mutter) mutter --x11 --sm-disable >"$E2E_TMP/wm.log" 2>&1 & cm=1 ;;
        *) fail "unknown window manager $wm" ;;
    esac
    pid=$!
    WM_PID=$pid
    PIDS+=($pid)
    # ("window id #": the answer when the property is missing also says "window")
    wm_up() { kill -0 "$pid" 2>/dev/null && xprop_has -root _NET_SUPPORTING_WM_CHECK "window id #"; }
    wm_gone() { ! kill -0 "$pid" 2>/dev/null; }
    wait_until 20 eval 'wm_up || wm_gone' && wm_up || { kill "$pid" 2>/dev/null; return 1; }
    # Announced is not yet working: wait until it shows a window.
    python3 "$E2E_DIR/wm_ready.py" 10 || { echo "$wm shows no window" >&2; kill "$pid" 2>/dev/null; return 1; }
    if [ "$wm" = openbox+picom ]; then
        picom --config /dev/null --backend xrender --shadow >"$E2E_TMP/picom.log" 2>&1 &
        PICOM_PID=$!
        PIDS+=($PICOM_PID)
        cm=1
    fi
    if [ -n "$cm" ]; then
        wait_until 20 compositor_running || { echo "no compositor: $(cat "$E2E_TMP/picom.log" 2>/dev/null)" >&2; return 1; }
    fi
    return 0
}

# compositor_running: the screen's compositing selection has an owner.
compositor_running() { [ "$(python3 "$E2E_DIR/xsel_owner.py" _NET_WM_CM_S0)" != 0 ]; }

xdpyinfo_quiet() { xdpyinfo >/dev/null 2>&1; }
xprop_has() { xprop "${@:1:$#-1}" 2>/dev/null | grep -q -- "${!#}"; }

# wait_until SECONDS CMD...: retries CMD every 0.1 s for up to SECONDS (of
# the clock: tries that take long, on a loaded machine, do not stretch it).
wait_until() {
    local end=$((${EPOCHREALTIME/./} + $1 * 1000000))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# find_faketime: FAKETIME_LIB, libfaketime's library for threaded programs,
# for a clock that starts at a chosen time (LD_PRELOAD=$FAKETIME_LIB
# FAKETIME="@DATE TIME" FAKETIME_DONT_FAKE_MONOTONIC=1) and runs on from it.
find_faketime() {
    FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -1)
    [ -n "$FAKETIME_LIB" ] || fail "libfaketime is not installed"
}

# start_clock: starts the clock and sets CLOCK_PID and CLOCK_WIN.
start_clock() {
    "$TAVISK" >"$E2E_TMP/clock.log" 2>&1 &
    CLOCK_PID=$!
    PIDS+=($CLOCK_PID)
    wait_until 10 clock_shown || fail "the clock window did not appear"
}

# clock_shown: the clock (CLOCK_PID) shows a window, then CLOCK_WIN.
clock_shown() {
    CLOCK_WIN=$(xdotool search --onlyvisible --pid "$CLOCK_PID" 2>/dev/null | head -1 || true)
    [ -n "$CLOCK_WIN" ]
}

# clock_at X Y: the clock's window is at X Y; where it is, in CLOCK_X CLOCK_Y.
# (A clock being dragged follows the motions as it gets to them: on a loaded
# machine, a while after the button is let go.)
clock_at() {
    read -r CLOCK_X CLOCK_Y _ _ < <(window_geometry "$CLOCK_WIN")
    [ "$CLOCK_X $CLOCK_Y" = "$1 $2" ]
}

stop_clock() {
    kill "$CLOCK_PID" 2>/dev/null || true
    wait "$CLOCK_PID" 2>/dev/null || true
}

# window_geometry WIN: prints "X Y W H" (absolute, outer).
window_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF}/Absolute upper-left Y/{y=$NF}/Width:/{w=$NF}/Height:/{h=$NF}END{print x, y, w, h}'
}

write_settings() {
    mkdir -p "$XDG_CONFIG_HOME/Tavisk"
    cat >"$XDG_CONFIG_HOME/Tavisk/Tavisk.conf"
}

# digit_pixel WIN COLOUR: prints "X Y" (screen) of a pixel of the window in
# that colour (e.g. FF0000): the middle one of those in the first glyph (the
# first run of columns holding the colour), the hour, which stays put while
# the minutes and seconds change.
digit_pixel() {
    local x y w h
    read -r x y w h < <(window_geometry "$1")
    import -window root "$E2E_TMP/pick.png"
    convert "$E2E_TMP/pick.png" -crop "${w}x${h}+${x}+${y}" +repage txt:- \
        | awk -v c="#$2" -v ox="$x" -v oy="$y" '
              index($0, c) { split($1, p, /[,:]/); px[n] = p[1]; py[n] = p[2]; inked[p[1]] = 1; n++ }
              END {
                  if (!n) exit
                  for (first = 0; !(first in inked); first++);
                  for (last = first; (last + 1) in inked; last++);
                  for (i = 0; i < n; i++) if (px[i] <= last) { gx[m] = px[i]; gy[m] = py[i]; m++ }
                  print gx[int(m/2)] + ox, gy[int(m/2)] + oy
              }'
}

# popup_windows PID: visible windows of the process other than the clock.
popup_windows() {
    xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -vx "$CLOCK_WIN" || true
}

# open_menu_at X Y: right-click there and wait for the menu; sets MENU_WIN.
open_menu_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.05
    xdotool click 3
    wait_until 10 menu_shown || fail "no menu opened at $1 $2 ($(xdotool getmouselocation); the clock is $CLOCK_WIN)"
}

# menu_shown: a menu of the clock is shown, then MENU_WIN.
menu_shown() {
    MENU_WIN=$(popup_windows "$CLOCK_PID" | head -1)
    [ -n "$MENU_WIN" ]
}

# menu_key KEY: choose a menu item by its access key, and wait until the
# menu has gone.
menu_key() {
    sleep 0.1
    xdotool key "$1"
    wait_until 10 eval '! xwininfo -id "$MENU_WIN" 2>/dev/null | grep -q IsViewable' || true
    sleep 0.1
}

# wait_for CMD...: retries CMD for up to 5 s; its status is the last try's.
wait_for() { wait_until 5 "$@"; }

# start_a11y_bus: the accessibility bus on this script's session bus (see
# dbus-run-session above), with its socket in our runtime folder and
# its address on our display. Qt joins it only if it is up when the program
# starts.
start_a11y_bus() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null \
        || fail "no accessibility bus"
}
