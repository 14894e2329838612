#!/bin/bash
# SPDX-License-Identifier: MIT
# A clock started together with its window manager: the manager loses the
# clock's first map request, as one may while it starts up. The clock asks
# again and appears.
source "$(dirname "$0")/lib.sh" "$1"
WM=${TAVISK_FIRST_MAP_LOST:?path to the first_map_lost helper}

# An X server with the request-losing manager instead of openbox.
start_xvfb || fail "no X server answers on ${DISPLAY:-a new display}"
"$WM" >"$E2E_TMP/wm.log" 2>&1 &
PIDS+=($!)
wm_ready() { grep -q '^ready' "$E2E_TMP/wm.log"; }
wait_for wm_ready || fail "the window manager did not start"

"$TAVISK" >"$E2E_TMP/clock.log" 2>&1 &
CLOCK_PID=$!
PIDS+=($CLOCK_PID)
lost() { grep -q '^lost' "$E2E_TMP/wm.log"; }
wait_for lost || fail "the clock sent no map request"
clock_win=$(sed -n 's/^lost //p' "$E2E_TMP/wm.log")
pass "the first map request of window $clock_win was lost"

viewable() { xwininfo -id "$clock_win" 2>/dev/null | grep -q IsViewable; }
for _ in $(seq 100); do viewable && break; sleep 0.1; done
viewable || fail "the clock never appeared: $(cat "$E2E_TMP/wm.log")"
grep -q "^mapped $clock_win" "$E2E_TMP/wm.log" || fail "mapped, but not through the manager"
[[ "$(xprop -id "$clock_win" WM_NAME)" =~ \"[0-9]{2}:[0-9]{2}\" ]] || fail "the window that appeared is not the clock"
pass "the clock asked again and appeared"
stop_clock
