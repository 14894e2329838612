#!/bin/bash
# SPDX-License-Identifier: MIT
# wm_matrix.sh TAVISK WM [SCALE]: a new user's first minute with the clock
# under one window manager. No saved settings, another window open and
# focused; the clock must appear above it at the screen's centre, shaped and
# off the taskbar; the menu must open at the pointer and Save must store the
# real position, both right after start and after a drag; always on top must
# come and go; a click in a gap must reach the window below. SCALE 2 runs the
# same on a 192 dpi screen with QT_SCALE_FACTOR=2.
source "$(dirname "$0")/lib.sh" "$@"
export TAVISK_WM=${2:?window manager}
SCALE=${3:-1}
W=$((1280 * SCALE)) H=$((1024 * SCALE))
start_x ${W}x$H $((96 * SCALE))
[ "$SCALE" = 1 ] || export QT_SCALE_FACTOR=$SCALE
xsetroot -solid grey
say() { pass "$TAVISK_WM${QT_SCALE_FACTOR:+ x$SCALE}: $*"; }

# The window the user was working in: white, covering the screen's centre,
# focused, and logging the clicks it receives.
xev -geometry $((600 * SCALE))x$((500 * SCALE))+$((400 * SCALE))+$((300 * SCALE)) -event button >"$E2E_TMP/xev.log" 2>&1 &
PIDS+=($!)
wait_until 10 xdotool search --onlyvisible --name "^Event Tester$" >/dev/null || fail "no window to work in: $(head -c 300 "$E2E_TMP/xev.log"); $(xwininfo -root -tree | grep -i event); $(xwininfo -id "$(xdotool search --name '^Event Tester$' | head -1)" | grep 'Map State'); window manager $(ps -o stat=,wchan= -p "$WM_PID" || echo gone): $(tail -3 "$E2E_TMP/wm.log")"
# The client itself, not a frame around it: since Mutter 44 the frame is a
# window of its own (of mutter-x11-frames) with the client's name.
client_list() { xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'; }
BELOW=$(xdotool search --onlyvisible --name '^Event Tester$' | while read -r w; do
    client_list | grep -qix "$(printf '0x%x' "$w")" && echo "$w"; done | head -1)
[ -n "$BELOW" ] || fail "the window to work in is no client of the window manager: $(client_list | tr '\n' ' ')"
xdotool windowactivate --sync "$BELOW" 2>/dev/null || true
active() { xprop -root _NET_ACTIVE_WINDOW | grep -qi "$(printf '0x%x' "$BELOW")"; }
wait_until 10 active || fail "could not focus the window below"

start_clock
sleep 0.5
read -r x y w h < <(window_geometry "$CLOCK_WIN")
[ "$x $y" = "$((W / 2)) $((H / 2))" ] || fail "fresh clock at $x $y, want the screen's centre $((W / 2)) $((H / 2))"
extents=$(xwininfo -shape -id "$CLOCK_WIN" | sed -n 's/.*Window shape extents: *//p')
[ -n "$extents" ] && [ "$extents" != "${w}x$h+0+0" ] || fail "not shaped (extents '$extents')"
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep 0x)
ib=$(grep -nix "$(printf '0x%x' "$BELOW")" <<<"$stacking" | cut -d: -f1)
ic=$(grep -nix "$(printf '0x%x' "$CLOCK_WIN")" <<<"$stacking" | cut -d: -f1)
[ -n "$ic" ] && [ -n "$ib" ] && [ "$ic" -gt "$ib" ] || fail "clock (#$ic) not stacked above the focused window (#$ib)"
state=$(xprop -id "$CLOCK_WIN" _NET_WM_STATE)
grep -q DEMANDS_ATTENTION <<<"$state" && fail "the clock demands attention instead of showing: $state"
grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$state" \
    || fail "the clock would show in taskbars or pagers: $state"
for win in $(client_list); do
    [ $((win)) = "$CLOCK_WIN" ] && continue
    xprop -id "$win" _NET_WM_PID | grep -q "= $CLOCK_PID\$" && fail "another window of the clock is a client: $(xprop -id "$win" WM_NAME)"
done
say "fresh clock at the centre ($x $y ${w}x$h), shaped ($extents), above the focused window, off taskbar and pager"

grey_shot() { import -window root "$E2E_TMP/shot.png" && convert "$E2E_TMP/shot.png" -colorspace gray pgm:-; }
pick() { read -r x y w h < <(window_geometry "$CLOCK_WIN"); grey_shot | python3 "$E2E_DIR/pick.py" "$1" "$x" "$y" "$w" "$h"; }
# The clock's digits are black on the white window below: seen, so on top
# (compositing window managers may fade a new window in). The white must show
# between them too: a compositor that has not drawn its first frames yet (a
# loaded machine, a first start) shows the screen black; KWin, started with
# the user's caches removed and two busy loops beside it, once drew none in 20 s.
seen() {
    read -r px py < <(pick digit) && [ -n "$px" ] && read -r gx gy < <(pick gap) && [ -n "$gx" ]
}
wait_until 60 seen || fail "no digit of the clock to be seen, with the window below between them" \
    "(at $(window_geometry "$BELOW")); X server: $(tail -3 "$E2E_TMP/xvfb.log" | tr '\n' ' ') window manager: $(tail -5 "$E2E_TMP/wm.log" | tr '\n' ' ')"
# No shadow or haze: away from the digits, the white window below shows
# exactly as it is, between the digits and around the clock.
read -r hazy looked < <(grey_shot | python3 "$E2E_DIR/pick.py" haze $(window_geometry "$CLOCK_WIN"))
[ "$hazy" = 0 ] || fail "$hazy of $looked pixels between and around the digits are not the white window below"
# Every pixel the user sees of a digit takes a click. The picture and the
# shape are read one after the other, and may straddle a change of the
# seconds (or a compositor's frame): only a mismatch that stays is a fault.
all_clickable() {
    read -r missed painted < <(grey_shot | python3 "$E2E_DIR/pick.py" unclickable $(window_geometry "$CLOCK_WIN") "$CLOCK_WIN")
    [ "$missed" = 0 ]
}
wait_until 10 all_clickable || fail "$missed of the $painted pixels painted as digits do not take a click"
say "digits seen, all $painted of their pixels take a click; $looked pixels between and around them are exactly the window below"

# The menu's top-left corner at the pointer (on a scaled screen, within the
# scale's grid: windows sit on whole logical pixels), then Save: the real
# position, in twips.
within_scale() { [ $(($1 - $2)) -gt $((-SCALE)) ] && [ $(($1 - $2)) -lt "$SCALE" ]; }
check_menu_and_save() {
    local when=$1 mx my mw mh left top
    open_menu_at "$px" "$py"
    read -r mx my mw mh < <(window_geometry "$MENU_WIN")
    within_scale "$px" "$mx" && within_scale "$py" "$my" || fail "$when: menu at $mx $my, pointer at $px $py"
    menu_key p
    read -r x y w h < <(window_geometry "$CLOCK_WIN")
    saved() { grep -qx "Left=$((x * 15 / SCALE))" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" 2>/dev/null \
        && grep -qx "Top=$((y * 15 / SCALE))" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf"; }
    wait_until 10 saved || fail "$when: clock at $x $y but saved $(grep -E '^(Left|Top)=' "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" | tr '\n' ' ')"
    say "$when: menu at the pointer ($mx $my), saved position $x $y"
}
check_menu_and_save "right after start"

# Left-drag by (+150, +90) logical pixels.
xdotool mousemove "$px" "$py"; sleep 0.05
xdotool mousedown 1; sleep 0.05
for i in 1 2 3 4 5; do xdotool mousemove $((px + 30 * SCALE * i)) $((py + 18 * SCALE * i)); sleep 0.05; done
xdotool mouseup 1
wait_until 10 clock_at $((x + 150 * SCALE)) $((y + 90 * SCALE)) \
    || fail "dragged to $CLOCK_X $CLOCK_Y, want $((x + 150 * SCALE)) $((y + 90 * SCALE))"
read -r px py < <(pick digit) || true
check_menu_and_save "after a drag"

open_menu_at "$px" "$py"
menu_key l
is_above() { xprop -id "$CLOCK_WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
wait_until 10 is_above || fail "not above after AlwaysTop"
open_menu_at "$px" "$py"
menu_key l
wait_until 10 eval '! is_above' || fail "still above after the second AlwaysTop"
say "always on top on and off"

# A click in a gap of the clock reaches the window below.
read -r gx gy < <(pick gap) || true
[ -n "$gx" ] || fail "no gap in the clock to click"
xdotool mousemove "$gx" "$gy"; sleep 0.05
xdotool click 1
reached() { grep -q "root:($gx,$gy)" "$E2E_TMP/xev.log"; }
wait_until 10 reached || fail "a click in the gap at $gx $gy did not reach the window below"
say "a click in a gap ($gx $gy) reached the window below"
stop_clock
