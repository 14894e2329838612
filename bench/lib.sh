# SPDX-License-Identifier: MIT
# Shared set-up for the bench scripts, sourced from the repository's root:
# a build in $BUILD, a private temporary folder with private settings and
# runtime folder, and Xvfb displays that go away with the script.
#
#   bench_setup NAME FONT_SIZE TARGET...   builds TARGETs, sets TMP
#   start_xvfb NAME                         sets NAME_DISPLAY and NAME_XPID
# and what a process costs over the scripts' SECONDS_RUN: count_all 0 PID...
# before, count_all 1 PID... after, then cpu_of, wake_of, main_wake_of PID.
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

# CPU time in nanoseconds, all threads, from the scheduler's counters (the
# utime/stime of /proc/PID/stat count in 10 ms ticks: too coarse here).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f", s}'; }
ctx_switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s + 0}'; }
# The main thread's alone: the one that runs the tick (its id is the process's).
main_switches() { awk '/ctxt_switches/ {s += $2} END {print s + 0}' "/proc/$1/task/$1/status" 2>/dev/null || echo 0; }
peak_rss_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }

# count_all N PID...: each one's CPU time and context switches now, into the
# arrays cN, wN (all threads) and mN (main thread).
declare -A c0 w0 m0 c1 w1 m1
count_all() {
    local n=$1 p
    shift
    for p; do
        printf -v "c$n[$p]" '%s' "$(cpu_ns "$p")"
        printf -v "w$n[$p]" '%s' "$(ctx_switches "$p")"
        printf -v "m$n[$p]" '%s' "$(main_switches "$p")"
    done
}
per_min() { awk -v t="$1" -v s="$SECONDS_RUN" 'BEGIN {printf "%.3f", t / 1e9 * 60 / s}'; }
cpu_of() { per_min $((c1[$1] - c0[$1])); }
rate() { awk -v n="$1" -v s="$SECONDS_RUN" 'BEGIN {printf "%.2f", n / s}'; }
wake_of() { rate $((w1[$1] - w0[$1])); }
main_wake_of() { rate $((m1[$1] - m0[$1])); }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
sum() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a + b}'; }
# row LABEL A B C: A and B side by side, A's ratio to B, then C for reference.
row() { printf '%-36s %10s %10s %8s %10s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4"; }
