#!/bin/bash
# SPDX-License-Identifier: MIT
# Real ticks on a real X server: runs the clock (seconds shown, 36 pt) on its
# own Xvfb for SOAK_SECONDS (600) and samples, once a minute, the X server's
# resident memory and what the server holds for the clock (windows, pixmaps,
# GCs, pictures, bytes; xrestop). Leaked regions or pixmaps would show as
# steady growth. Exits non-zero when the server grew by 1 MB or more, or the
# clock's server resources grew from the first sample to the last.
set -euo pipefail
cd "$(dirname "$0")/.."
DURATION=${SOAK_SECONDS:-600}
EVERY=${SOAK_EVERY:-60}
source bench/lib.sh
bench_setup soak 36 tavisk
start_xvfb X
export DISPLAY=$X_DISPLAY
XPID=$X_XPID
"$PWD/$BUILD/tavisk" >/dev/null 2>&1 &
CLOCK=$!
PIDS+=($CLOCK)
sleep 5

# sample: elapsed, server RSS kB, then the clock's windows pixmaps GCs pictures total-bytes
sample() {
    local rss res
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$XPID/status")
    # Qt names its client after the first window it makes ("Qt Selection
    # Owner for tavisk"), without a PID: it is found by that name.
    res=$(xrestop -b -m 1 2>/dev/null | awk '
        /PID:/ { mine = ($0 ~ /tavisk/) }
        mine && /windows/ {w = $3} mine && /pixmaps/ && !/bytes/ {p = $3} mine && /GCs/ {g = $3}
        mine && /pictures/ {pi = $3} mine && /total bytes/ {sub(/~/, "", $4); t = $4}
        END {printf "%s %s %s %s %s", w, p, g, pi, t}')
    echo "$1 $rss $res"
}
printf '%8s %12s %8s %8s %5s %9s %12s\n' seconds "server kB" windows pixmaps GCs pictures "res. bytes"
start=$SECONDS
first=""
last=""
while :; do
    elapsed=$((SECONDS - start))
    line=$(sample "$elapsed")
    printf '%8s %12s %8s %8s %5s %9s %12s\n' $line
    [ -n "$first" ] || first=$line
    last=$line
    [ "$elapsed" -ge "$DURATION" ] && break
    sleep "$EVERY"
done
kill -0 "$CLOCK" || { echo "FAIL: the clock died"; exit 1; }
read -r _ rss0 w0 p0 g0 pi0 b0 <<<"$first"
read -r _ rss1 w1 p1 g1 pi1 b1 <<<"$last"
echo "X server resident memory: $rss0 kB -> $rss1 kB ($((rss1 - rss0)) kB); clock's server resources: $b0 -> $b1 bytes"
if [ $((rss1 - rss0)) -ge 1024 ] || [ "$w1" -gt "$w0" ] || [ "$p1" -gt "$p0" ] || [ "$g1" -gt "$g0" ] \
    || [ "$pi1" -gt "$pi0" ] || [ "$b1" -gt "$b0" ]; then
    echo "FAIL: the X server or the clock's resources grew"
    exit 1
fi
echo "ok: no growth over $DURATION s of real ticks"
