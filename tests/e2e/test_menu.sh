#!/bin/bash
# SPDX-License-Identifier: MIT
# Dragging, the context menu, always on top, save and exit with the real
# clock under a real window manager.
source "$(dirname "$0")/lib.sh" "$1"
start_x 1280x1024
xsetroot -solid white

write_settings <<'INI'
[Font]
Color=255
Size=36
[Set]
Top=4500
Left=6000
INI
start_clock
sleep 1
read -r x0 y0 w h < <(window_geometry "$CLOCK_WIN")
[ "$x0 $y0" = "400 300" ] || fail "start position $x0 $y0"

# Right after start, before any drag: the menu opens at the pointer and Save
# stores where the clock really is (the window manager has not reported a
# move yet, so a position remembered by the program would still be 0,0).
read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000)
[ -n "$px" ] || fail "no digit pixel found"
open_menu_at "$px" "$py"
read -r mx my mw mh < <(window_geometry "$MENU_WIN")
[ "$mx $my" = "$px $py" ] || fail "fresh clock: menu at $mx $my, pointer at $px $py"
menu_key p
saved_at() { grep -qx "Left=$1" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" && grep -qx "Top=$2" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf"; }
wait_for saved_at 6000 4500 || fail "fresh clock saved $(grep -E '^(Left|Top)=' "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" | tr '\n' ' ')"
pass "fresh clock: menu at the pointer, Save stores its real position"

# Left-drag a digit by (+150, +90).
xdotool mousemove "$px" "$py"; sleep 0.05
xdotool mousedown 1; sleep 0.05
for i in 1 2 3 4 5; do xdotool mousemove $((px + 30 * i)) $((py + 18 * i)); sleep 0.05; done
xdotool mouseup 1
wait_until 5 clock_at $((x0 + 150)) $((y0 + 90)) \
    || fail "after the drag the clock is at $CLOCK_X $CLOCK_Y, want $((x0 + 150)) $((y0 + 90))"
read -r x1 y1 w h < <(window_geometry "$CLOCK_WIN")
pass "left-drag moved the clock by the drag distance"

# Right-click: the menu's top-left corner at the pointer.
read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000)
open_menu_at "$px" "$py"
read -r mx my mw mh < <(window_geometry "$MENU_WIN")
[ "$mx $my" = "$px $py" ] || fail "menu at $mx $my, pointer at $px $py"
pass "menu opened at the pointer ($mx $my, ${mw}x${mh})"

# Always on top through its access key: the same X window gains and loses
# _NET_WM_STATE_ABOVE.
menu_key l
is_above() { xprop -id "$CLOCK_WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
is_not_above() { ! is_above; }
wait_for is_above || fail "not above after AlwaysTop"
[ "$(xdotool search --onlyvisible --pid "$CLOCK_PID" | head -1)" = "$CLOCK_WIN" ] || fail "window was recreated"
open_menu_at "$px" "$py"
menu_key l
wait_for is_not_above || fail "still above after the second AlwaysTop"
pass "AlwaysTop sets and clears _NET_WM_STATE_ABOVE on the same window"

# Seconds on, save, exit.
open_menu_at "$px" "$py"
menu_key s
shows_seconds() { xprop -id "$CLOCK_WIN" WM_NAME | grep -Eq '"[0-9]{2}:[0-9]{2}:[0-9]{2}"'; }
wait_for shows_seconds || fail "seconds not shown"
open_menu_at "$px" "$py"
menu_key p
saved() { grep -q '^Sec=True' "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" 2>/dev/null; }
wait_for saved || fail "settings not saved: $(cat "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf")"
open_menu_at "$px" "$py"
menu_key e
ended() { ! kill -0 "$CLOCK_PID" 2>/dev/null; }
wait_for ended || fail "Exit did not end the clock"
rc=0
wait "$CLOCK_PID" || rc=$?
[ "$rc" -eq 0 ] || fail "Exit ended the clock with status $rc: $(tail -20 "$E2E_TMP/clock.log")"
pass "seconds on, saved, exited with status 0"

start_clock
sleep 1
read -r x2 y2 w2 h2 < <(window_geometry "$CLOCK_WIN")
[ "$x2 $y2 $w2 $h2" = "$x1 $y1 $w $h" ] || fail "restart at $x2 $y2 ${w2}x$h2, saved $x1 $y1 ${w}x$h"
xprop -id "$CLOCK_WIN" WM_NAME | grep -Eq '"[0-9]{2}:[0-9]{2}:[0-9]{2}"' || fail "seconds lost over the restart"
xprop -id "$CLOCK_WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && fail "restarted on top"
[ -n "$(digit_pixel "$CLOCK_WIN" FF0000)" ] || fail "colour lost over the restart"
pass "restart restores position, size, seconds and colour, not on top"

# Seconds off and exit without saving: the next start still shows seconds.
read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000)
open_menu_at "$px" "$py"
menu_key s
open_menu_at "$px" "$py"
menu_key e
wait_for ended || fail "Exit did not end the clock"
start_clock
sleep 1
xprop -id "$CLOCK_WIN" WM_NAME | grep -Eq '"[0-9]{2}:[0-9]{2}:[0-9]{2}"' || fail "unsaved change survived exit"
pass "exit without saving keeps the saved settings"

# Near the bottom-right corner the menu is shifted onto the screen.
stop_clock
write_settings <<'INI'
[Font]
Color=255
Size=36
[Set]
Top=14700
Left=17400
INI
start_clock
sleep 1
read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000)
open_menu_at "$px" "$py"
read -r mx my mw mh < <(window_geometry "$MENU_WIN")
[ $((mx + mw)) -le 1280 ] && [ $((my + mh)) -le 1024 ] || fail "menu ${mw}x${mh} at $mx $my runs off the screen"
pass "menu near the corner shifted inside the screen ($mx $my)"
xdotool key Escape
stop_clock
