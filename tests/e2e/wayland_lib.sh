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
    CLOCK_WIN=""
    for _ in $(seq 150); do
        CLOCK_WIN=$(xdotool search --onlyvisible --pid "$CLOCK_PID" 2>/dev/null | head -1 || true)
        [ -n "$CLOCK_WIN" ] && break
        sleep 0.1
    done
    [ -n "$CLOCK_WIN" ] || fail "the clock window did not appear on $DISPLAY: $(head -c 500 "$E2E_TMP/clock.log")"
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
drag() { pointer "$(drag_steps "$@")"; }

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
