#!/bin/bash
# SPDX-License-Identifier: MIT
# Measures the clock as a native Wayland program (a layer surface, through
# Qt's wayland platform) against the same clock through XWayland (Qt's xcb
# platform), under headless sway, and prints the figures side by side:
#   - client CPU seconds over the same BENCH_SECONDS (60), after BENCH_WARMUP
#     (65) s of running;
#   - context switches per second (wakeups), all threads of the client, and
#     those of its main thread alone;
#   - peak RSS of the client;
#   - sway's and its Xwayland's CPU and wakeups over the same seconds: each
#     clock has a sway of its own (the same configuration, Xwayland running
#     in both, as in a desktop session), so that their shares are
#     attributable;
#   - for reference, the same for bench/qt_wayland_floor in a third such
#     sway: a layer surface showing a time text that changes once a second,
#     the least a Qt program showing the time natively costs; and for a
#     fourth sway with no client: what the session costs by itself.
# Both clocks show seconds, at 18 pt, each with settings, home and runtime
# folder of its own. Nothing else runs in the sessions.
# Only a build with the native mode (layer-shell-qt for Qt 6: Debian 13 and
# later) has something to measure; on Debian 13 sharing the tree with a
# Debian 12 build, give it a build folder of its own: BENCH_BUILD=build13.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_RUN=${BENCH_SECONDS:-60}
# As in run.sh: in its first minute the clock still draws digits at places
# it has not drawn them before.
WARMUP=${BENCH_WARMUP:-65}
source bench/lib.sh
bench_setup wayland 18 tavisk
TAVISK=$PWD/$BUILD/tavisk
if ! ldd "$TAVISK" | grep -q libLayerShellQtInterface; then
    echo "$TAVISK has no native Wayland mode (built without layer-shell-qt for Qt 6, as on Debian 12): nothing to measure"
    exit 0
fi
cmake --build "$BUILD" -j"$(nproc)" --target qt_wayland_floor >/dev/null
FLOOR=$PWD/$BUILD/bench/qt_wayland_floor

# sway will not run as root: it runs as nobody, in a runtime folder of its
# own inside TMP.
chmod 711 "$TMP"
# start_sway NAME: sets NAME_SWAY, NAME_XW (the PIDs of sway and its
# Xwayland), NAME_WAYLAND and NAME_DISPLAY.
start_sway() {
    local dir=$TMP/$1-sway
    mkdir -m 700 "$dir"
    chown 65534:65534 "$dir"
    cat >"$dir.conf" <<CONF
xwayland force
output HEADLESS-1 resolution 1280x1024 position 0 0
exec env >$dir/env
CONF
    chmod 644 "$dir.conf"
    setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH="$PATH" XDG_RUNTIME_DIR="$dir" \
        WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway --config "$dir.conf" >"$dir.log" 2>&1 &
    local pid=$!
    PIDS+=($pid)
    for _ in $(seq 300); do grep -q '^DISPLAY=' "$dir/env" 2>/dev/null && break; sleep 0.1; done
    grep -q '^DISPLAY=' "$dir/env" 2>/dev/null || { echo "sway did not start: $(tail -5 "$dir.log")" >&2; exit 1; }
    local display wayland
    display=$(sed -n 's/^DISPLAY=//p' "$dir/env")
    wayland=$dir/$(sed -n 's/^WAYLAND_DISPLAY=//p' "$dir/env")
    # Its Xwayland lets root's clients in once its user says so.
    for _ in $(seq 100); do
        setpriv --reuid=65534 --regid=65534 --clear-groups env XDG_RUNTIME_DIR="$dir" DISPLAY="$display" \
            xhost +si:localuser:root >/dev/null 2>&1 && break
        sleep 0.1
    done
    # sway starts Xwayland through a double fork, so it is not sway's child:
    # it is the Xwayland that inherited this runtime folder.
    local xw="" p
    for p in /proc/[0-9]*; do
        [ "$(cat "$p/comm" 2>/dev/null)" = Xwayland ] || continue
        { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$dir" && xw=${p#/proc/}
    done
    [ -n "$xw" ] || { echo "no Xwayland found for sway $pid" >&2; exit 1; }
    PIDS+=($xw)
    printf -v "${1}_SWAY" '%s' "$pid"
    printf -v "${1}_XW" '%s' "$xw"
    printf -v "${1}_WAYLAND" '%s' "$wayland"
    printf -v "${1}_DISPLAY" '%s' "$display"
}

# start_clock NAME PLATFORM: the clock in sway NAME, as a session starts it
# (WAYLAND_DISPLAY and DISPLAY set), with QT_QPA_PLATFORM=PLATFORM unless
# empty (then it picks the native mode itself); sets NAME_CLOCK. Settings,
# home and runtime folder (where its one-clock lock lives) are its own.
start_clock() {
    local home=$TMP/$1-home wayland=${1}_WAYLAND display=${1}_DISPLAY
    mkdir -p -m 700 "$home/runtime"
    cp -r "$XDG_CONFIG_HOME" "$home/config"
    env -u QT_QPA_PLATFORM ${2:+QT_QPA_PLATFORM=$2} HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home/runtime" WAYLAND_DISPLAY="${!wayland}" DISPLAY="${!display}" \
        "$TAVISK" >"$home/clock.log" 2>&1 &
    PIDS+=($!)
    printf -v "${1}_CLOCK" '%s' "$!"
}
# start_floor NAME: bench/qt_wayland_floor in sway NAME, natively; sets
# NAME_CLOCK.
start_floor() {
    local home=$TMP/$1-home wayland=${1}_WAYLAND
    mkdir -p -m 700 "$home/runtime"
    env QT_QPA_PLATFORM=wayland HOME="$home" XDG_RUNTIME_DIR="$home/runtime" WAYLAND_DISPLAY="${!wayland}" \
        "$FLOOR" >"$home/clock.log" 2>&1 &
    PIDS+=($!)
    printf -v "${1}_CLOCK" '%s' "$!"
}
# platform_of PID: the Qt platform plugin the clock has loaded.
platform_of() { grep -o 'libq\(wayland\|xcb\)[^/]*\.so' "/proc/$1/maps" 2>/dev/null | sort -u | paste -sd ' '; }

start_sway N
start_sway X
start_sway F
start_sway I
start_clock N ""
start_clock X xcb
start_floor F
ALL="$N_CLOCK $X_CLOCK $F_CLOCK $N_SWAY $X_SWAY $F_SWAY $I_SWAY $N_XW $X_XW $F_XW $I_XW"
sleep "$WARMUP" # past start-up: steady state only
for c in N X F; do
    clock=${c}_CLOCK
    kill -0 "${!clock}" 2>/dev/null || { echo "the clock in sway $c exited: $(head -c 500 "$TMP/$c-home/clock.log")" >&2; exit 1; }
done
native_platform=$(platform_of "$N_CLOCK")
xwayland_platform=$(platform_of "$X_CLOCK")
[[ $native_platform == libqwayland* ]] || { echo "the native clock runs on: ${native_platform:-?}" >&2; exit 1; }
[[ $xwayland_platform == libqxcb* ]] || { echo "the XWayland clock runs on: ${xwayland_platform:-?}" >&2; exit 1; }
[[ $(platform_of "$F_CLOCK") == libqwayland* ]] || { echo "the floor program runs on: $(platform_of "$F_CLOCK")" >&2; exit 1; }
count_all 0 $ALL
sleep "$SECONDS_RUN"
count_all 1 $ALL
total() { sum "$(sum "$(cpu_of "$1")" "$(cpu_of "$2")")" "$(cpu_of "$3")"; }
wakes() { awk -v a="$(wake_of "$1")" -v b="$(wake_of "$2")" -v c="${3:+$(wake_of "$3")}" 'BEGIN {printf "%.2f", a + b + c}'; }
# line LABEL NATIVE XWAYLAND FLOOR [NO-CLIENT]: the first two side by side,
# the native one's ratio to the other, then the two for reference.
line() { printf '%-36s %10s %10s %8s %10s %10s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4" "${5:-}"; }

echo "== $SECONDS_RUN s side by side after $WARMUP s, seconds shown, each in a headless sway of its own =="
echo "$(sway --version), Xwayland $(Xwayland -version 2>&1 | sed -n 's/.*Xwayland Version \([^ ]*\).*/\1/p'); Qt platform: native $native_platform, XWayland $xwayland_platform"
printf '%-36s %10s %10s %8s %10s %10s\n' "" native XWayland ratio "Qt floor" "no client"
line "client CPU s per minute" "$(cpu_of "$N_CLOCK")" "$(cpu_of "$X_CLOCK")" "$(cpu_of "$F_CLOCK")"
line "sway CPU s per minute" "$(cpu_of "$N_SWAY")" "$(cpu_of "$X_SWAY")" "$(cpu_of "$F_SWAY")" "$(cpu_of "$I_SWAY")"
line "Xwayland CPU s per minute" "$(cpu_of "$N_XW")" "$(cpu_of "$X_XW")" "$(cpu_of "$F_XW")" "$(cpu_of "$I_XW")"
line "client + sway + Xwayland" "$(total "$N_CLOCK" "$N_SWAY" "$N_XW")" "$(total "$X_CLOCK" "$X_SWAY" "$X_XW")" \
    "$(total "$F_CLOCK" "$F_SWAY" "$F_XW")" "$(sum "$(cpu_of "$I_SWAY")" "$(cpu_of "$I_XW")")"
line "client context switches per s" "$(wake_of "$N_CLOCK")" "$(wake_of "$X_CLOCK")" "$(wake_of "$F_CLOCK")"
line "  of these, the main thread's" "$(main_wake_of "$N_CLOCK")" "$(main_wake_of "$X_CLOCK")" "$(main_wake_of "$F_CLOCK")"
line "sway context switches per s" "$(wake_of "$N_SWAY")" "$(wake_of "$X_SWAY")" "$(wake_of "$F_SWAY")" "$(wake_of "$I_SWAY")"
line "Xwayland context switches per s" "$(wake_of "$N_XW")" "$(wake_of "$X_XW")" "$(wake_of "$F_XW")" "$(wake_of "$I_XW")"
line "client + sway + Xwayland switches" "$(wakes "$N_CLOCK" "$N_SWAY" "$N_XW")" "$(wakes "$X_CLOCK" "$X_SWAY" "$X_XW")" \
    "$(wakes "$F_CLOCK" "$F_SWAY" "$F_XW")" "$(wakes "$I_SWAY" "$I_XW")"
line "client peak RSS MB" "$(mb "$(peak_rss_kb "$N_CLOCK")")" "$(mb "$(peak_rss_kb "$X_CLOCK")")" \
    "$(mb "$(peak_rss_kb "$F_CLOCK")")"
