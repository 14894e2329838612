#!/bin/bash
# SPDX-License-Identifier: MIT
# wl_gnome.sh TAVISK: the clock in a GNOME Shell Wayland session (headless,
# one 1280x1024 screen), through its Xwayland; see wl_desktop_checks.sh.
source "$(dirname "$0")/lib.sh" "$@"
source "$E2E_DIR/wayland_lib.sh"
DESKTOP="GNOME Shell $(gnome-shell --version | awk '{ print $NF }')"
SCREEN_W=1280 SCREEN_H=1024

# Mutter starts Xwayland only where any user may make sockets, as on every
# desktop system (mode 1777); a machine that made the folder otherwise
# (some test setups do) gets the usual mode back when we may give it.
if [ "$(stat -c %a /tmp/.X11-unix 2>/dev/null)" != 1777 ]; then
    mkdir -p /tmp/.X11-unix
    chmod 1777 /tmp/.X11-unix 2>/dev/null || fail "Mutter starts no Xwayland: /tmp/.X11-unix is not mode 1777"
fi

# The shell asks the system bus for logins and devices and stops without
# one: a private bus stands in for it (answering no names).
dbus-daemon --session --nofork --print-address=3 3>"$E2E_TMP/system-bus" >/dev/null 2>&1 &
PIDS+=($!)
wait_until 5 test -s "$E2E_TMP/system-bus" || fail "no private system bus"
export DBUS_SYSTEM_BUS_ADDRESS=$(head -1 "$E2E_TMP/system-bus")
# Screen casting, which remote input rides on, needs PipeWire.
pipewire >"$E2E_TMP/pipewire.log" 2>&1 &
PIDS+=($!)
wait_until 5 test -S "$XDG_RUNTIME_DIR/pipewire-0" || fail "PipeWire did not start: $(tail -3 "$E2E_TMP/pipewire.log")"

unset DISPLAY
# (no session manager here; newer shells have no such option, nor need it)
no_sm=()
gnome-shell --help | grep -q -- --sm-disable && no_sm=(--sm-disable)
# The services the shell has the bus start find it by its socket.
export WAYLAND_DISPLAY=tavisk-gnome-$$
dbus-update-activation-environment WAYLAND_DISPLAY
env -u QT_QPA_PLATFORM gnome-shell --wayland --headless --virtual-monitor ${SCREEN_W}x$SCREEN_H \
    --wayland-display "$WAYLAND_DISPLAY" "${no_sm[@]}" >"$E2E_TMP/gnome-shell.log" 2>&1 &
SHELL_PID=$!
PIDS+=($SHELL_PID)
shell_up() {
    kill -0 "$SHELL_PID" 2>/dev/null || fail "GNOME Shell ended: $(grep -v '^$' "$E2E_TMP/gnome-shell.log" | tail -5)"
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.gnome.Shell.Introspect 2>/dev/null | grep -q 'boolean true'
}
wait_until 30 shell_up || fail "GNOME Shell did not start: $(tail -5 "$E2E_TMP/gnome-shell.log")"
# Mutter chooses a free display for its Xwayland and writes its own process
# number in the display's lock file; X clients need the key it gave Xwayland.
xwayland_display() {
    local lock
    for lock in /tmp/.X*-lock; do
        [ "$(tr -d ' \0' <"$lock" 2>/dev/null)" = "$SHELL_PID" ] || continue
        lock=${lock#/tmp/.X}
        echo ":${lock%-lock}"
        return 0
    done
    return 1
}
wait_until 10 xwayland_display >/dev/null || fail "GNOME Shell made no X display"
wl_use_xwayland "$(xwayland_display)" "$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -1)"
# Under load its Xwayland once left an X client without an answer for 30 s:
# room for a second try.
wl_wait_display 60
# Announced is not yet working: a window mapped too early stays unseen.
python3 "$E2E_DIR/wm_ready.py" 20 || fail "GNOME Shell shows no X11 window"

# The shell's remote desktop, screenshot and window list, through one
# connection that stays for the whole check.
coproc SHELL_CTL { exec /usr/bin/python3 "$E2E_DIR/gnome_shell.py" 2>&1; }
PIDS+=($SHELL_CTL_PID)
# (copies of its pipes: a coprocess's own are closed in subshells)
exec {CTL_TO}>&"${SHELL_CTL[1]}" {CTL_FROM}<&"${SHELL_CTL[0]}"
shell_ctl() {
    local reply
    echo "$*" >&$CTL_TO
    read -r -t 20 reply <&$CTL_FROM || fail "GNOME Shell does not answer '$*'"
    [[ $reply == ok* ]] || fail "GNOME Shell: '$*': $reply"
    REPLY=$reply
}
read -r -t 20 REPLY <&$CTL_FROM && [[ $REPLY == ok* ]] || fail "no remote desktop session: $REPLY"

# Mutter 48 drops the first motion of a new remote pointer: until Xwayland
# has seen the pointer arrive, the motion is given again. (Over a native
# window Xwayland cannot see it, and the repeated motions change nothing.)
pointer_at() { [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:$1 y:$2" ]; }
move_to() {
    local i
    for i in 1 2 3 4 5; do
        shell_ctl move "$1" "$2"
        sleep 0.05
        ! pointer_at "$1" "$2" || break
    done
}
wl_input() {
    while [ $# -gt 0 ]; do
        case $1 in
            move) move_to "$2" "$3"; shift 3 ;;
            press | release) shell_ctl "$1" "$2"; shift 2 ;;
            click) shell_ctl press "$2"; sleep 0.05; shell_ctl release "$2"; shift 2 ;;
            wait) sleep "$(($2 / 1000)).$(printf %03d $(($2 % 1000)))"; shift 2 ;;
            *) fail "wl_input: $1?" ;;
        esac
    done
}
wl_key() {
    case $1 in
        Escape) shell_ctl key 0xff1b ;;
        l) shell_ctl key 0x6c ;;
    esac
}
wl_shot() { shell_ctl shot "$1"; }
# The window list: the windows the shell tracks as its applications' for the
# dash, the overview and the switcher (Alt+Tab); it leaves out windows that
# skip the taskbar.
windows() {
    local n
    echo windows >&$CTL_TO
    read -r -t 20 _ n <&$CTL_FROM || fail "GNOME Shell lists no windows"
    for ((; n > 0; n--)); do IFS= read -r -t 5 line <&$CTL_FROM; echo "$line"; done
}
wl_listed() { windows | awk -F'\t' '{ print "-\t" $2 "\t" $1 }'; }
wl_focused() { windows | awk -F'\t' '$3 == "True" { print $1 }'; }

# Handed a connection to the shell alone, the clock cannot place itself
# there (no layer shell) and has no X server: it says so in one line.
status=0
(wl_socket_only "$TAVISK") >"$E2E_TMP/socket-only.out" 2>&1 || status=$?
[ "$status" = 1 ] && [ "$(wc -l <"$E2E_TMP/socket-only.out")" = 1 ] \
    || fail "handed a connection to the shell alone: status $status, said: $(head -c 300 "$E2E_TMP/socket-only.out")"
pass "$DESKTOP: handed a connection alone, the clock said why it cannot run: $(cat "$E2E_TMP/socket-only.out")"

# The shell starts in the overview: leave it, as a user would.
wl_key Escape
sleep 0.5
source "$E2E_DIR/wl_desktop_checks.sh"
