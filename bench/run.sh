#!/bin/bash
# SPDX-License-Identifier: MIT
# Measures the clock against `xclock -digital -update 1` on Xvfb and prints
# the figures side by side:
#   - client and X server CPU seconds over the same BENCH_SECONDS (60), after
#     BENCH_WARMUP (65) s of running, each client on its own Xvfb so that the
#     server's share is attributable;
#   - context switches per second (wakeups), all threads of the client, and
#     those of its main thread alone;
#   - peak RSS of the client, and what the clock's resident memory is made of;
#   - exec to the first mapped window (and whether it was already shaped at
#     MapNotify), median of BENCH_STARTS (10) starts each;
#   - the tick's own cost at 18 and 36 pt (bench/tick_bench);
#   - for reference, the same for bench/qt_floor: a Qt program that shows a
#     bold 36 pt time text and does nothing on an 800 ms timer, the least any
#     Qt program ticking like the clock can cost.
#   - the same for both clocks under a compositing manager (picom, xrender
#     backend), where the clock paints antialiased digits on a transparent
#     window: client, X server and compositor CPU side by side, next to
#     `qt_floor --translucent`, a Qt program that paints a time text on a
#     transparent window each second and does nothing else.
# Both clocks show seconds. No window manager runs, so the X servers do
# nothing but serve the clocks (and picom, where it runs).
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_RUN=${BENCH_SECONDS:-60}
# The clock caches each digit's outline at each place it has been drawn; in
# its first minute it still draws new ones. Measured after that: it runs all day.
WARMUP=${BENCH_WARMUP:-65}
STARTS=${BENCH_STARTS:-10}
source bench/lib.sh
bench_setup bench 18 tavisk tick_bench startup_probe qt_floor
TAVISK=$PWD/$BUILD/tavisk
FLOOR=$PWD/$BUILD/bench/qt_floor

echo "== Start-up: exec to the first mapped window, median of $STARTS =="
start_xvfb S
ours_start=$(DISPLAY=$S_DISPLAY "$BUILD/bench/startup_probe" "$STARTS" "$TAVISK")
xclock_start=$(DISPLAY=$S_DISPLAY "$BUILD/bench/startup_probe" "$STARTS" xclock -d -update 1)
floor_start=$(DISPLAY=$S_DISPLAY "$BUILD/bench/startup_probe" "$STARTS" "$FLOOR")
echo "tavisk:   $ours_start"
echo "xclock:   $xclock_start"
echo "Qt floor: $floor_start"
start_xvfb SC
DISPLAY=$SC_DISPLAY picom --config /dev/null --backend xrender >/dev/null 2>&1 &
PIDS+=($!)
sleep 1
ours_cm_start=$(DISPLAY=$SC_DISPLAY "$BUILD/bench/startup_probe" "$STARTS" "$TAVISK")
xclock_cm_start=$(DISPLAY=$SC_DISPLAY "$BUILD/bench/startup_probe" "$STARTS" xclock -d -update 1)
echo "tavisk under picom: $ours_cm_start"
echo "xclock under picom: $xclock_cm_start"

echo
echo "== $SECONDS_RUN s side by side, seconds shown =="
start_xvfb A
start_xvfb B
start_xvfb C
DISPLAY=$A_DISPLAY "$TAVISK" >/dev/null 2>&1 &
OURS=$!
PIDS+=($OURS)
DISPLAY=$B_DISPLAY xclock -d -update 1 >/dev/null 2>&1 &
THEIRS=$!
PIDS+=($THEIRS)
DISPLAY=$C_DISPLAY "$FLOOR" >/dev/null 2>&1 &
FLOORPID=$!
PIDS+=($FLOORPID)
# Under picom: D the clock, E xclock, F the translucent Qt floor, each with a
# compositor of its own.
start_xvfb D
start_xvfb E
start_xvfb F
DISPLAY=$D_DISPLAY picom --config /dev/null --backend xrender >/dev/null 2>&1 &
D_CM=$!
DISPLAY=$E_DISPLAY picom --config /dev/null --backend xrender >/dev/null 2>&1 &
E_CM=$!
DISPLAY=$F_DISPLAY picom --config /dev/null --backend xrender >/dev/null 2>&1 &
F_CM=$!
PIDS+=($D_CM $E_CM $F_CM)
sleep 1
# (A runtime folder of its own: one clock per user and runtime folder.)
mkdir -p -m 700 "$TMP/runtime-cm"
DISPLAY=$D_DISPLAY XDG_RUNTIME_DIR=$TMP/runtime-cm "$TAVISK" >/dev/null 2>&1 &
OURS_CM=$!
DISPLAY=$E_DISPLAY xclock -d -update 1 >/dev/null 2>&1 &
THEIRS_CM=$!
DISPLAY=$F_DISPLAY "$FLOOR" --translucent >/dev/null 2>&1 &
FLOOR_CM=$!
PIDS+=($OURS_CM $THEIRS_CM $FLOOR_CM)
ALL="$OURS $THEIRS $FLOORPID $A_XPID $B_XPID $C_XPID $OURS_CM $THEIRS_CM $FLOOR_CM $D_XPID $E_XPID $F_XPID"
ALL="$ALL $D_CM $E_CM $F_CM"
sleep "$WARMUP" # past start-up: steady state only
count_all 0 $ALL
sleep "$SECONDS_RUN"
count_all 1 $ALL
# The clock's window depth under picom: 32 is the antialiased mode.
cm_depth=$(DISPLAY=$D_DISPLAY xwininfo -root -tree | awk '/"[0-9][0-9]:[0-9][0-9]:[0-9][0-9]"/ {print $1; exit}' \
    | xargs -r -I{} env DISPLAY="$D_DISPLAY" xwininfo -id {} | awk '/Depth:/ {print $2}' || true)

# What the clock's resident memory is made of, by mapping.
awk '
    /^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "") ? "[anonymous]" : $6; sub(/.*\//, "", name); next }
    /^Rss:/ { rss[name] += $2 }
    END { for (n in rss) if (rss[n] >= 256) printf "%8d kB  %s\n", rss[n], n }
' "/proc/$OURS/smaps" | sort -rn | head -15 >"$TMP/rss-breakdown"
ours_rss=$(peak_rss_kb $OURS)
theirs_rss=$(peak_rss_kb $THEIRS)
floor_rss=$(peak_rss_kb $FLOORPID)
# File-backed pages are library code and data shared with every other
# process that maps them; anonymous pages are the process's own.
rss_kinds() { awk '/^(RssAnon|RssFile|RssShmem)/ {printf "%s %.1f MB  ", $1, $2 / 1024}' "/proc/$1/status"; }
ours_kinds=$(rss_kinds $OURS)
theirs_kinds=$(rss_kinds $THEIRS)

field() { awk -v k="$1" '{for (i = 1; i < NF; ++i) if ($i == k) print $(i + 1)}' <<<"$2"; }

# row LABEL OURS THEIRS FLOOR (lib.sh): the ratio is ours to xclock's.
printf '%-36s %10s %10s %8s %10s\n' "" tavisk xclock ratio "Qt floor"
row "client CPU s per minute" "$(cpu_of $OURS)" "$(cpu_of $THEIRS)" "$(cpu_of $FLOORPID)"
row "X server CPU s per minute" "$(cpu_of $A_XPID)" "$(cpu_of $B_XPID)" "$(cpu_of $C_XPID)"
row "client + server CPU s per minute" "$(sum "$(cpu_of $OURS)" "$(cpu_of $A_XPID)")" \
    "$(sum "$(cpu_of $THEIRS)" "$(cpu_of $B_XPID)")" "$(sum "$(cpu_of $FLOORPID)" "$(cpu_of $C_XPID)")"
row "client context switches per s" "$(wake_of $OURS)" "$(wake_of $THEIRS)" "$(wake_of $FLOORPID)"
row "  of these, the main thread's" "$(main_wake_of $OURS)" "$(main_wake_of $THEIRS)" "$(main_wake_of $FLOORPID)"
row "X server context switches per s" "$(wake_of $A_XPID)" "$(wake_of $B_XPID)" "$(wake_of $C_XPID)"
row "client peak RSS MB" "$(mb "$ours_rss")" "$(mb "$theirs_rss")" "$(mb "$floor_rss")"
row "start to mapped window ms (median)" "$(field median_ms "$ours_start")" "$(field median_ms "$xclock_start")" \
    "$(field median_ms "$floor_start")"
row "CPU used by then ms (median)" "$(field cpu_median_ms "$ours_start")" "$(field cpu_median_ms "$xclock_start")" \
    "$(field cpu_median_ms "$floor_start")"
printf '%-36s %10s %10s %8s %10s\n' "shaped at MapNotify" "$(field shaped_at_map "$ours_start")" \
    "$(field shaped_at_map "$xclock_start")" "" "$(field shaped_at_map "$floor_start")"

echo
echo "== The same $SECONDS_RUN s under picom (xrender backend), seconds shown; clock window depth ${cm_depth:-?} =="
printf '%-36s %10s %10s %8s %10s %8s\n' "" tavisk xclock ratio "Qt floor" ratio
# row3 LABEL OURS THEIRS FLOOR: the ratios are ours and the floor's to xclock's.
row3() { printf '%-36s %10s %10s %8s %10s %8s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")" "$4" "$(ratio "$4" "$3")"; }
total3() { sum "$(sum "$(cpu_of "$1")" "$(cpu_of "$2")")" "$(cpu_of "$3")"; }
row3 "client CPU s per minute" "$(cpu_of $OURS_CM)" "$(cpu_of $THEIRS_CM)" "$(cpu_of $FLOOR_CM)"
row3 "X server CPU s per minute" "$(cpu_of $D_XPID)" "$(cpu_of $E_XPID)" "$(cpu_of $F_XPID)"
row3 "compositor CPU s per minute" "$(cpu_of $D_CM)" "$(cpu_of $E_CM)" "$(cpu_of $F_CM)"
row3 "client + server + compositor" "$(total3 $OURS_CM $D_XPID $D_CM)" "$(total3 $THEIRS_CM $E_XPID $E_CM)" \
    "$(total3 $FLOOR_CM $F_XPID $F_CM)"
row3 "client context switches per s" "$(wake_of $OURS_CM)" "$(wake_of $THEIRS_CM)" "$(wake_of $FLOOR_CM)"
row3 "  of these, the main thread's" "$(main_wake_of $OURS_CM)" "$(main_wake_of $THEIRS_CM)" "$(main_wake_of $FLOOR_CM)"
printf '%-36s %10s %10s %8s\n' "start to mapped window ms (median)" "$(field median_ms "$ours_cm_start")" \
    "$(field median_ms "$xclock_cm_start")" "$(ratio "$(field median_ms "$ours_cm_start")" "$(field median_ms "$xclock_cm_start")")"
echo
echo "Resident memory now: tavisk: $ours_kinds"
echo "                     xclock: $theirs_kinds"
echo "The clock's resident memory by mapping (kB, largest first):"
cat "$TMP/rss-breakdown"

echo
echo "== The tick's own cost (Xvfb, seconds on) =="
DISPLAY=$S_DISPLAY "$BUILD/bench/tick_bench" --ticks 3000 --sizes 18,36 2>/dev/null
