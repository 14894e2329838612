#!/bin/bash
# SPDX-License-Identifier: MIT
# The clock leaves the painting of its digits to the X server: exactly the
# stored colour after every new outline and after another window has covered
# it. Meanwhile the clock's X event thread sleeps through the ticks: the
# clock does not listen for the echoes of its own title and outline, not even
# after always-on-top has been switched on and off.
source "$(dirname "$0")/lib.sh" "$1"
start_x 1280x1024
xsetroot -solid white

# 14716960 is &HE09020: red 20, green 90, blue E0, so a channel mix-up shows.
write_settings <<'INI'
[Font]
Color=14716960
Size=36
[Set]
Top=1500
Left=3000
[Disp]
Sec=True
INI
start_clock
sleep 2.5 # a few new outlines

# only_digits_and_desktop: the window's rectangle holds digit pixels in the
# stored colour and the white desktop, nothing else.
only_digits_and_desktop() {
    import -window root "$E2E_TMP/shot.png"
    convert "$E2E_TMP/shot.png" -crop 177x53+200+100 +repage -format %c histogram:info:- >"$E2E_TMP/hist"
    local digits
    digits=$(awk '/#2090E0/ {gsub(":", "", $1); print $1}' "$E2E_TMP/hist")
    [ "${digits:-0}" -gt 500 ] && ! grep -qv -e '#2090E0' -e '#FFFFFF' "$E2E_TMP/hist"
}
xsetroot -solid white # again: a window manager starting up may paint the root
wait_for only_digits_and_desktop || fail "after new outlines: $(cat "$E2E_TMP/hist")"
pass "digits in exactly #2090E0 after new outlines"

# A black window over the clock, then gone.
xclock -geometry 400x200+150+60 -bg black -fg black -hd black -hl black &
cover=$!
PIDS+=($cover)
covering() { xdotool search --onlyvisible --pid "$cover" >/dev/null 2>&1; }
wait_for covering || fail "the covering window did not appear"
sleep 0.5
kill "$cover"
wait "$cover" 2>/dev/null || true
wait_for only_digits_and_desktop || fail "after being uncovered: $(cat "$E2E_TMP/hist")"
pass "digits repainted in #2090E0 after being uncovered"

# reader_wakeups: how often the clock's X event thread has gone to sleep.
reader_wakeups() {
    local t
    for t in /proc/"$CLOCK_PID"/task/*; do
        if [ "$(cat "$t/comm")" = QXcbEventQueue ]; then
            awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status"
        fi
    done
}
# quiet_for LABEL: over 4 s of ticks (five new titles and outlines), the X
# event thread wakes at most twice.
quiet_for() {
    xdotool mousemove 20 20 # no pointer events from the clock either
    sleep 1
    local w0 w1
    w0=$(reader_wakeups)
    [ -n "$w0" ] || fail "no X event thread in the clock"
    sleep 4
    w1=$(reader_wakeups)
    [ $((w1 - w0)) -le 2 ] || fail "$1: the X event thread woke $((w1 - w0)) times in 4 s"
    pass "$1: the X event thread woke $((w1 - w0)) times in 4 s of ticking"
}
quiet_for "ticking"

read -r px py < <(digit_pixel "$CLOCK_WIN" 2090E0)
[ -n "$px" ] || fail "no digit pixel to click"
is_above() { xprop -id "$CLOCK_WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
is_not_above() { ! is_above; }
open_menu_at "$px" "$py"
menu_key l
wait_for is_above || fail "not above after AlwaysTop"
quiet_for "on top"
open_menu_at "$px" "$py"
menu_key l
wait_for is_not_above || fail "still above after the second AlwaysTop"
quiet_for "back among the others"
stop_clock
