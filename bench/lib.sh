# SPDX-License-Identifier: MIT
# Shared set-up for the bench scripts, sourced from the repository's root:
# a build in $BUILD, a private temporary folder with private settings and
# runtime folder, and Xvfb displays that go away with the script.
#
#   bench_setup NAME FONT_SIZE TARGET...   builds TARGETs, sets TMP
#   start_xvfb NAME                         sets NAME_DISPLAY and NAME_XPID
BUILD=${BENCH_BUILD:-build-bench}
PIDS=()

cleanup() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$TMP"
}

bench_setup() {
    local name=$1 size=$2
    shift 2
    scripts/deps.sh test # xvfb, picom, xclock and the X utilities
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j"$(nproc)" --target "$@" >/dev/null
    TMP=$(mktemp -d "/tmp/tavisk-$name.XXXXXX")
    trap cleanup EXIT
    # Private settings (seconds on, the given size) and lock folder.
    export XDG_CONFIG_HOME=$TMP/config XDG_RUNTIME_DIR=$TMP/runtime
    mkdir -p "$XDG_CONFIG_HOME/Tavisk" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    printf '[Disp]\nSec=True\n[Font]\nSize=%s\n' "$size" >"$XDG_CONFIG_HOME/Tavisk/Tavisk.conf"
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}

start_xvfb() {
    local fd=$TMP/$1.display
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$fd" 2>/dev/null &
    local pid=$!
    PIDS+=($pid)
    for _ in $(seq 100); do [ -s "$fd" ] && break; sleep 0.05; done
    local d=:$(head -1 "$fd")
    for _ in $(seq 50); do DISPLAY=$d xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    printf -v "${1}_DISPLAY" '%s' "$d"
    printf -v "${1}_XPID" '%s' "$pid"
}
