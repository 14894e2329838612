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

start_xvfb ${SCREEN_W}x$SCREEN_H || fail "no X server to show KWin's screen on"
SHOW_DISPLAY=$DISPLAY
# kwin_wayland carries a file capability (to raise its limits) that a
# container may refuse to grant, and then it cannot start: a plain copy runs
# the same.
cp /usr/bin/kwin_wayland "$E2E_TMP/kwin_wayland"
DESKTOP="KWin $("$E2E_TMP/kwin_wayland" --version | awk '{ print $NF }')"
# Frames around the windows come from plugins a system may lack (Breeze) or
# have broken (Aurorae without Plasma's QML): none, the same everywhere.
cat >"$XDG_CONFIG_HOME/kwinrc" <<INI
[org.kde.kdecoration2]
NoPlugin=true
INI
# KWin starts the programs named after its options in the session it made:
# one that tells us the session's displays.
export WAYLAND_DISPLAY=tavisk-kwin-$$
dbus-update-activation-environment WAYLAND_DISPLAY
export KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 # let kwin_input give input
env -u QT_QPA_PLATFORM KWIN_COMPOSE=Q QT_LOGGING_RULES="kwin_scripting.debug=true" \
    "$E2E_TMP/kwin_wayland" --x11-display "$SHOW_DISPLAY" --xwayland --width $SCREEN_W --height $SCREEN_H \
    --socket "$WAYLAND_DISPLAY" --no-lockscreen --no-global-shortcuts \
    "sh -c 'env >$E2E_TMP/session.env'" >"$E2E_TMP/kwin.log" 2>&1 &
KWIN_PID=$!
PIDS+=($KWIN_PID)
kwin_up() {
    kill -0 "$KWIN_PID" 2>/dev/null || fail "KWin ended: $(grep -v '^$' "$E2E_TMP/kwin.log" | tail -5)"
    grep -q '^DISPLAY=' "$E2E_TMP/session.env" 2>/dev/null
}
wait_until 30 kwin_up || fail "KWin started no session: $(tail -5 "$E2E_TMP/kwin.log")"
wl_use_xwayland "$(sed -n 's/^DISPLAY=//p' "$E2E_TMP/session.env")" "$(sed -n 's/^XAUTHORITY=//p' "$E2E_TMP/session.env")"
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
wl_shot() { DISPLAY=$SHOW_DISPLAY import -window root "$1"; }

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
