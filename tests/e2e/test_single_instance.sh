# SPDX-License-Identifier: MIT
# Single instance under a crowd: ten clocks started at once leave exactly one
# (the others exit 0 without a window), twenty rounds; each round's survivor
# is killed with SIGKILL, so every next round also proves that a start after
# kill -9 works.
source "$(dirname "$0")/lib.sh" "$1"
start_x

ROUNDS=20
STARTS=10
visible_clocks() { xdotool search --onlyvisible --name '^[0-2][0-9]:[0-5][0-9]' 2>/dev/null | wc -l; }

for round in $(seq $ROUNDS); do
    pids=()
    for _ in $(seq $STARTS); do
        "$TAVISK" >/dev/null 2>&1 &
        pids+=($!)
    done
    PIDS+=("${pids[@]}")
    # The losers leave on their own; the winner stays.
    alive=()
    for _ in $(seq 100); do
        alive=()
        for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive+=("$p"); done
        [ ${#alive[@]} -le 1 ] && break
        sleep 0.1
    done
    [ ${#alive[@]} -eq 1 ] || fail "round $round: ${#alive[@]} clocks still running after 10 s"
    survivor=${alive[0]}
    for p in "${pids[@]}"; do
        [ "$p" = "$survivor" ] && continue
        status=0
        wait "$p" || status=$?
        [ $status -eq 0 ] || fail "round $round: a second start exited with status $status"
    done
    for _ in $(seq 200); do [ "$(visible_clocks)" -ge 1 ] && break; sleep 0.1; done
    if [ "$(visible_clocks)" -ne 1 ]; then
        # What the survivor has, to tell a slow start from a missing window.
        state=$(awk '/^State/ {print $2}' "/proc/$survivor/status" 2>/dev/null || echo gone)
        wins=$(for w in $(xdotool search --pid "$survivor" 2>/dev/null); do
            printf '%s(%s) ' "$w" "$(xprop -id "$w" WM_NAME 2>/dev/null | sed 's/.*= //')"; done)
        fail "round $round: $(visible_clocks) clock windows instead of one; survivor $survivor state $state, windows: ${wins:-none}"
    fi
    kill -9 "$survivor"
    wait "$survivor" 2>/dev/null || true
    for _ in $(seq 50); do [ "$(visible_clocks)" -eq 0 ] && break; sleep 0.1; done
done
pass "$ROUNDS rounds of $STARTS simultaneous starts: one clock each time, $((ROUNDS * (STARTS - 1))) starts turned away with status 0, $ROUNDS restarts after kill -9"

# And a lone start after kill -9.
start_clock
kill -9 "$CLOCK_PID"
wait "$CLOCK_PID" 2>/dev/null || true
start_clock
pass "a start after kill -9 shows the clock"
stop_clock

# A lock path that cannot hold a lock (here a directory in its place) is not
# a running clock: the lock moves to the cache folder, which still keeps to
# one clock; with no usable place at all the clock starts and says why.
export XDG_CACHE_HOME=$E2E_TMP/cache
rm -f "$XDG_RUNTIME_DIR/tavisk.lock"
mkdir "$XDG_RUNTIME_DIR/tavisk.lock"
start_clock
timeout 5 "$TAVISK" >"$E2E_TMP/second.log" 2>&1 || fail "a second start beside a fallback lock failed"
[ "$(visible_clocks)" -eq 1 ] || fail "two clocks with the lock in the cache folder"
[ -s "$XDG_CACHE_HOME/tavisk/tavisk.lock" ] || fail "no lock in the cache folder"
pass "a directory at the lock's path: the clock starts, with its lock in the cache folder"
stop_clock
mkdir -p "$XDG_CACHE_HOME/tavisk" && rm -f "$XDG_CACHE_HOME/tavisk/tavisk.lock"
mkdir "$XDG_CACHE_HOME/tavisk/tavisk.lock"
start_clock
grep -q "cannot take the lock" "$E2E_TMP/clock.log" || fail "no word on stderr about the missing lock: $(cat "$E2E_TMP/clock.log")"
pass "no usable lock anywhere: the clock starts and says why"
stop_clock
