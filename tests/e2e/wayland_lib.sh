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

# wl_start_sway force|disable W H SCALE [CONFIG LINE...]: headless sway on a
# W x H (logical) screen at SCALE, with Xwayland (force) or without, and the
# lines given in its configuration; WAYLAND_DISPLAY, SWAYSOCK and, with
# Xwayland, DISPLAY set for it. sway will not run as root: it runs as
# nobody, in a runtime folder of its own (SWAY_RUNTIME); root's clients
# reach its socket, and its Xwayland once allowed to.
wl_start_sway() {
    local xwayland=$1 w=$2 h=$3 scale=$4
    shift 4
    chmod 711 "$E2E_TMP"
    SWAY_RUNTIME=$E2E_TMP/sway-runtime
    mkdir -m 700 "$SWAY_RUNTIME"
    chown 65534:65534 "$SWAY_RUNTIME"
    {
        echo "xwayland $xwayland"
        echo "output HEADLESS-1 resolution $((w * scale))x$((h * scale)) position 0 0 scale $scale"
        echo "focus_follows_mouse no"
        printf '%s\n' "$@"
        echo "exec env >$SWAY_RUNTIME/env"
    } >"$E2E_TMP/sway.conf"
    chmod 644 "$E2E_TMP/sway.conf"
    setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH="$PATH" XDG_RUNTIME_DIR="$SWAY_RUNTIME" \
        WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway --config "$E2E_TMP/sway.conf" >"$E2E_TMP/sway.log" 2>&1 &
    SWAY_PID=$!
    PIDS+=($SWAY_PID)
    local wanted=WAYLAND_DISPLAY
    [ "$xwayland" = force ] && wanted=DISPLAY
    wait_until 30 grep -q "^$wanted=" "$SWAY_RUNTIME/env" || fail "sway did not start: $(tail -5 "$E2E_TMP/sway.log")"
    export WAYLAND_DISPLAY=$SWAY_RUNTIME/$(env_of_sway WAYLAND_DISPLAY) SWAYSOCK=$(env_of_sway SWAYSOCK)
    [ "$xwayland" = force ] || return 0
    wl_use_xwayland "$(env_of_sway DISPLAY)"
    wait_until 20 as_sway xhost +si:localuser:root >/dev/null 2>&1 \
        || fail "sway's Xwayland ($DISPLAY) does not answer: $(tail -5 "$E2E_TMP/sway.log")"
}
env_of_sway() { sed -n "s/^$1=//p" "$SWAY_RUNTIME/env"; }
as_sway() { bounded setpriv --reuid=65534 --regid=65534 --clear-groups env XDG_RUNTIME_DIR="$SWAY_RUNTIME" "$@"; }

# wl_start_kwin W H: KWin with Xwayland on a W x H screen, shown as a window
# on a private X server (KWIN_SHOW: our picture of that window is what KWin
# drew); WAYLAND_DISPLAY and DISPLAY (its Xwayland) set for it, DESKTOP
# named after it. It runs as in a Plasma session: under kwin_wayland_wrapper
# (KWIN_PID), which holds the session's sockets and starts KWin again when it
# crashes (kwin_pid: the KWin running now). It checks permissions as Plasma
# does: its restricted Wayland interfaces go only to a program that a
# desktop entry names by its path and that asks for them there. It finds the
# entries through Plasma's applications menu: a private one holding every
# entry, and those of the clock under test (Plasma's window management, as
# the package's asks) and of kwin_input (fake input).
wl_start_kwin() {
    start_xvfb "$1x$2" || fail "no X server to show KWin's screen on"
    KWIN_SHOW=$DISPLAY
    # kwin_wayland carries a file capability (to raise its limits) that a
    # container may refuse to grant, and then it cannot start: a plain copy
    # runs the same, the one the wrapper finds first in its PATH.
    mkdir "$E2E_TMP/kwin-bin"
    cp /usr/bin/kwin_wayland "$E2E_TMP/kwin-bin/kwin_wayland"
    DESKTOP="KWin $("$E2E_TMP/kwin-bin/kwin_wayland" --version | awk '{ print $NF }')"
    # Frames around the windows come from plugins a system may lack (Breeze)
    # or have broken (Aurorae without Plasma's QML): none, the same everywhere.
    printf '[org.kde.kdecoration2]\nNoPlugin=true\n' >"$XDG_CONFIG_HOME/kwinrc"
    export XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache XDG_MENU_PREFIX=plasma-
    mkdir -p "$XDG_CONFIG_HOME/menus" "$XDG_DATA_HOME/applications" "$XDG_CACHE_HOME"
    cat >"$XDG_CONFIG_HOME/menus/plasma-applications.menu" <<'XML'
<!DOCTYPE Menu PUBLIC "-//freedesktop//DTD Menu 1.0//EN"
 "http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd">
<Menu>
  <Name>Applications</Name>
  <DefaultAppDirs/>
  <DefaultDirectoryDirs/>
  <Include><All/></Include>
</Menu>
XML
    wl_kwin_entry tavisk "$TAVISK" org_kde_plasma_window_management
    wl_kwin_entry kwin_input "${TAVISK_KWIN_INPUT:?path to kwin_input (TAVISK_KWIN_INPUT)}" org_kde_kwin_fake_input
    # KWin starts the programs named after its options in the session it
    # made, again after each restart: one that tells us the session's
    # displays. The wrapper names the Wayland socket (the first free
    # wayland-N in the runtime folder) and tells the session bus.
    env -u QT_QPA_PLATFORM PATH="$E2E_TMP/kwin-bin:$PATH" KWIN_COMPOSE=Q QT_LOGGING_RULES="kwin_scripting.debug=true" \
        kwin_wayland_wrapper --x11-display "$KWIN_SHOW" --xwayland --width "$1" --height "$2" \
        --no-lockscreen --no-global-shortcuts \
        "sh -c 'env >$E2E_TMP/session.env'" >"$E2E_TMP/kwin.log" 2>&1 &
    KWIN_PID=$!
    PIDS+=($KWIN_PID)
    wait_until 30 kwin_up || fail "KWin started no session: $(tail -5 "$E2E_TMP/kwin.log")"
    export WAYLAND_DISPLAY=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$E2E_TMP/session.env")
    wl_use_xwayland "$(sed -n 's/^DISPLAY=//p' "$E2E_TMP/session.env")" "$(sed -n 's/^XAUTHORITY=//p' "$E2E_TMP/session.env")"
}
# wl_kwin_entry NAME PROGRAM INTERFACES: the desktop entry NAME in the
# user's applications, running PROGRAM by its absolute path and asking KWin
# for INTERFACES (comma-separated).
wl_kwin_entry() {
    printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nX-KDE-Wayland-Interfaces=%s\n' \
        "$1" "$(readlink -f "$2")" "$3" >"$XDG_DATA_HOME/applications/$1.desktop"
}
kwin_up() {
    kill -0 "$KWIN_PID" 2>/dev/null || fail "KWin ended: $(grep -v '^$' "$E2E_TMP/kwin.log" | tail -5)"
    grep -q '^DISPLAY=' "$E2E_TMP/session.env" 2>/dev/null
}
kwin_pid() { ps -o pid=,comm= --ppid "$KWIN_PID" | awk '$2 == "kwin_wayland" { print $1 }'; }

# wl_xwm_name: the name the X window manager gives itself ("wlroots wm",
# "GNOME Shell", "KWin").
wl_xwm_name() {
    local wm
    wm=$(xprop -root _NET_SUPPORTING_WM_CHECK | grep -o '0x[0-9a-f]*')
    xprop -id "$wm" _NET_WM_NAME | sed -n 's/.*= "\(.*\)"$/\1/p'
}

# wl_start_clock: the clock as a desktop session starts it, with both
# WAYLAND_DISPLAY and DISPLAY set and no platform chosen (or the one in
# WL_CLOCK_PLATFORM, as a user may choose); CLOCK_PID and CLOCK_WIN (its X
# window) as lib.sh's start_clock sets them.
wl_start_clock() {
    [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || fail "wl_start_clock needs WAYLAND_DISPLAY and DISPLAY"
    env -u QT_QPA_PLATFORM ${WL_CLOCK_PLATFORM:+QT_QPA_PLATFORM=$WL_CLOCK_PLATFORM} "$TAVISK" >"$E2E_TMP/clock.log" 2>&1 &
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

# wl_socket_only COMMAND...: COMMAND with a connection to the compositor
# handed to it (WAYLAND_SOCKET), as a compositor or session hands one to a
# program it starts, and no display named: no WAYLAND_DISPLAY, no DISPLAY,
# no platform chosen. It becomes COMMAND: run it in a subshell or in the
# background.
wl_socket_only() {
    exec /usr/bin/python3 -c '
import os, socket, sys
path = os.path.join(os.environ.get("XDG_RUNTIME_DIR", ""), os.environ["WAYLAND_DISPLAY"])
connection = socket.socket(socket.AF_UNIX)
connection.connect(path)
fd = connection.detach()
os.set_inheritable(fd, True)
env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM")}
env["WAYLAND_SOCKET"] = str(fd)
os.execvpe(sys.argv[1], sys.argv[1:], env)' "$@"
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

# version_at_least MIN HAVE: HAVE is a version, MIN or newer.
version_at_least() { [ -n "$2" ] && [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | head -1)" = "$1" ]; }

# wl_xwayland_at_least VERSION: the running Xwayland is that version or newer
# (24.1 and later hand an X window's input shape on to the compositor).
wl_xwayland_at_least() { version_at_least "$1" "$(wl_xwayland_version)"; }

# wl_grey_shot PNG: a grey PGM of the compositor's screenshot PNG, for pick.py.
wl_grey_pgm() { convert "$1" -colorspace gray pgm:-; }

# wl_pointer_start W H LOG: the mouse of a wlroots compositor (sway, labwc)
# whose screen is W x H: one virtual pointer for the whole run (see
# wl_pointer.c), fed by `pointer` a line of commands at a time. LOG: the
# compositor's log in E2E_TMP, quoted when the pointer fails. Started again,
# it replaces the pointer (a screen that grew by an output).
wl_pointer_start() {
    POINTER=${TAVISK_WL_POINTER:?path to wl_pointer (TAVISK_WL_POINTER)}
    POINTER_LOG=$3
    if [ -n "${POINTER_PID:-}" ]; then
        exec 7>&-
        stop_pids "$POINTER_PID"
        rm -f "$E2E_TMP/pointer.in" "$E2E_TMP/pointer.out"
    fi
    mkfifo "$E2E_TMP/pointer.in"
    "$POINTER" "$1" "$2" <"$E2E_TMP/pointer.in" >"$E2E_TMP/pointer.out" 2>&1 &
    POINTER_PID=$!
    PIDS+=($POINTER_PID)
    exec 7>"$E2E_TMP/pointer.in"
    POINTER_LINES=0
}
pointer_done() { [ "$(grep -c '^ok' "$E2E_TMP/pointer.out")" -ge "$POINTER_LINES" ]; }
pointer() {
    echo "$*" >&7
    POINTER_LINES=$((POINTER_LINES + 1))
    wait_until 10 pointer_done \
        || fail "the pointer did not do '$*': $(tail -3 "$E2E_TMP/pointer.out"); compositor: $(tail -3 "$E2E_TMP/$POINTER_LOG")"
}
# drag_steps X Y DX DY [PX [MS]]: the pointer commands of a left-drag from
# X,Y by DX,DY, PX pixels (2) at a time, MS (15) apart.
drag_steps() {
    local i n=$(( (${3#-} > ${4#-} ? ${3#-} : ${4#-}) / ${5:-2} )) steps="move $1 $2 wait 50 press 1 wait 50"
    for ((i = 1; i <= n; i++)); do steps+=" move $(($1 + $3 * i / n)) $(($2 + $4 * i / n)) wait ${6:-15}"; done
    echo "$steps wait 50 release 1"
}

# kwin_windows: KWin's own view of its windows, bottom to top, one a line:
# stacking position, class, keep above, skip taskbar, active, caption,
# process, skip switcher. A script loaded into KWin prints it to KWin's log.
kwin_windows() {
    local tag=tavisk-$(date +%s%N) id
    cat >"$E2E_TMP/$tag.js" <<JS
// KWin 6 lists its windows bottom to top; KWin 5 numbers them.
const list = workspace.stackingOrder || workspace.clientList();
for (let i = 0; i < list.length; ++i) {
    const w = list[i];
    print("$tag\t" + (workspace.stackingOrder ? i : w.stackingOrder) + "\t" + w.resourceClass + "\t" + w.keepAbove + "\t" + w.skipTaskbar + "\t" + w.active + "\t" + w.caption + "\t" + w.pid + "\t" + w.skipSwitcher);
}
print("$tag\tend");
JS
    id=$(dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.loadScript \
        string:"$E2E_TMP/$tag.js" string:"$tag" | awk '/int32/ { print $2 }')
    [ -n "$id" ] || fail "KWin loads no script"
    # The script's object: /Scripting/Script<id> (KWin 6), /<id> (KWin 5).
    dbus-send --session --print-reply --dest=org.kde.KWin "/Scripting/Script$id" org.kde.kwin.Script.run >/dev/null 2>&1 \
        || dbus-send --session --print-reply --dest=org.kde.KWin "/$id" org.kde.kwin.Script.run >/dev/null \
        || fail "KWin runs no script"
    wait_until 5 grep -q "$tag	end" "$E2E_TMP/kwin.log" || fail "KWin's script printed nothing"
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.unloadScript string:"$tag" >/dev/null
    grep -a "$tag	" "$E2E_TMP/kwin.log" | grep -v "	end" | cut -f2- | sort -n
}
