# SPDX-License-Identifier: MIT
# A new user's first minute with the clock in a Wayland desktop (GNOME Shell,
# KWin), through its Xwayland. Sourced by wl_gnome.sh and wl_kwin.sh once the
# compositor runs, DISPLAY is its Xwayland and these are defined:
#   DESKTOP            the name the checks report under
#   wl_input CMD...    pointer commands through the compositor: move X Y,
#                      press B, release B, click B, wait MS
#   wl_key NAME        press and release a key through the compositor
#                      (Escape, l)
#   wl_shot PNG        the compositor's picture of its screen
#   wl_listed          the windows in the desktop's window list (task bar,
#                      switcher), one a line: process (or -), class, title
#   wl_focused         the title of the window with the keyboard focus
#   SCREEN_W SCREEN_H  the size of its screen
say() { pass "$DESKTOP: $*"; }

# shot_pick KIND: pick.py KIND (digit, gap, haze, unclickable) on a fresh
# picture of the screen, over the clock's rectangle as Xwayland has it.
shot_pick() {
    wl_shot "$E2E_TMP/shot.png"
    wl_grey_pgm "$E2E_TMP/shot.png" | python3 "$E2E_DIR/pick.py" "$1" $(wl_clock_geometry) "$CLOCK_WIN"
}
# The clock is seen where Xwayland has it: a digit pixel in its rectangle,
# and nothing around or between the digits but the white window below.
seen() { read -r px py < <(shot_pick digit) && [ -n "$px" ]; }
clean() { read -r hazy looked < <(shot_pick haze) && [ "$hazy" = 0 ]; }
# ... to the pixel: every digit pixel in the picture lies in the clock's
# input shape, at the place Xwayland has the window. (The picture and the
# shape may straddle a change of the time: only a mismatch that stays counts.)
in_place() { read -r missed painted < <(shot_pick unclickable) && [ "$missed" = 0 ]; }
# keep_shot NAME: the last picture, and the clock zoomed 4x, for people to
# look at (in TAVISK_WL_SHOTS, when set).
keep_shot() {
    [ -n "${TAVISK_WL_SHOTS:-}" ] || return 0
    local x y w h
    read -r x y w h < <(wl_clock_geometry)
    local name=${DESKTOP// /-}-$1
    mkdir -p "$TAVISK_WL_SHOTS"
    cp "$E2E_TMP/shot.png" "$TAVISK_WL_SHOTS/$name.png"
    convert "$E2E_TMP/shot.png" -crop "$((w + 24))x$((h + 24))+$((x - 12))+$((y - 12))" +repage -scale 400% \
        "$TAVISK_WL_SHOTS/$name-zoom.png"
}
# click_at X Y [B]: a click through the compositor, as a hand would give it.
click_at() { wl_input move "$1" "$2" wait 50 click "${3:-1}" wait 50; }

# wm_class WIN: the X window's class and instance names, one a line.
wm_class() { xprop -id "$1" WM_CLASS | sed -n 's/.*= //p' | tr -d '"' | tr ',' '\n' | tr -d ' '; }
# in_list WIN: the X window is in the desktop's window list, by its process,
# class or title.
in_list() {
    local pid title
    pid=$(xprop -id "$1" _NET_WM_PID | awk '/=/ { print $NF }')
    title=$(xprop -id "$1" WM_NAME | sed -n 's/.*= "\(.*\)"$/\1/p')
    wl_listed | awk -F'\t' -v pid="${pid:-none}" -v classes="$(wm_class "$1" | tr '\n' ' ')" -v title="$title" '
        BEGIN { n = split(tolower(classes), c, " "); for (i = 1; i <= n; i++) want[c[i]] = 1 }
        $1 == pid || ($2 != "" && tolower($2) in want) || ($3 != "" && $3 == title) { found = 1 }
        END { exit !found }'
}

# The window the user was working in: an X11 one, white, under the screen's
# centre, logging its clicks.
wl_start_xev 100 100 1000 750
wait_until 10 in_list "$XEV_WIN" || fail "$DESKTOP does not show the X11 window: $(wl_listed)"

wl_start_clock
read -r x y w h < <(wl_clock_geometry)
[ "$x $y" = "$((SCREEN_W / 2)) $((SCREEN_H / 2))" ] || fail "fresh clock at $x $y, want the screen's centre"
depth=$(wl_clock_depth)
[ "$depth" = 32 ] || fail "the clock's window has depth $depth, want 32 (an alpha channel)"
wait_until 10 seen || fail "no digit of the clock to be seen in $DESKTOP's picture at $x $y ${w}x$h"
wait_until 10 clean || fail "$hazy of $looked pixels between and around the digits are not the white window below"
wait_until 10 in_place || fail "$missed of the $painted digit pixels in $DESKTOP's picture are off the clock's shape at $x $y"
keep_shot fresh
say "fresh clock at the centre ($x $y ${w}x$h), depth 32, all $painted digit pixels seen there, nothing around them ($looked pixels)"

listed=$(wl_listed)
in_list "$CLOCK_WIN" && fail "the clock ($(wm_class "$CLOCK_WIN" | tr '\n' ' ')) is in $DESKTOP's window list: $listed"
say "not in the window list ($(tr '\n' ' ' <<<"$listed"))"

# The menu's top-left corner at the pointer (Xwayland rounds the pointer's
# position: a pixel either way).
near() { [ $(($1 - $2)) -ge -1 ] && [ $(($1 - $2)) -le 1 ]; }
open_menu() {
    wl_input move "$px" "$py" wait 50 click 3
    MENU_WIN=""
    wait_until 10 eval 'MENU_WIN=$(popup_windows "$CLOCK_PID" | head -1) && [ -n "$MENU_WIN" ]' \
        || fail "no menu opened at $px $py"
}
close_menu() {
    wl_key "$1"
    wait_until 10 eval '! xwininfo -id "$MENU_WIN" 2>/dev/null | grep -q IsViewable' || fail "the menu stayed open after $1"
    sleep 0.1
}
open_menu
read -r mx my _ _ < <(window_geometry "$MENU_WIN")
near "$mx" "$px" && near "$my" "$py" || fail "menu at $mx $my, pointer at $px $py"
close_menu Escape
say "menu at the pointer ($mx $my for $px $py)"

# Left-drag by (+150, +90), given in one go: KWin 6 lets go of the buttons
# of a fake input client that disconnects. No two steps alike: Mutter 48
# sends no motion when the pointer's place on the window is the one it sent
# last, and the clock, following the pointer, brings it back there.
steps=() dx=0 dy=0
for step in "20 12" "40 24" "25 15" "35 21" "30 18"; do
    dx=$((dx + ${step% *})) dy=$((dy + ${step#* }))
    steps+=(move $((px + dx)) $((py + dy)) wait 50)
done
wl_input move "$px" "$py" wait 50 press 1 wait 50 "${steps[@]}" release 1 wait 300
wait_until 10 clock_at $((x + 150)) $((y + 90)) || fail "dragged to $CLOCK_X $CLOCK_Y, want $((x + 150)) $((y + 90))"
wait_until 10 seen || fail "after the drag no digit is seen where Xwayland has the clock ($CLOCK_X $CLOCK_Y)"
say "a drag moved it by exactly (150, 90) to $CLOCK_X $CLOCK_Y"

# AlwaysTop through the menu, before a click reaches another window: that
# window is activated and, under KWin 6, raised above a clock not on top.
open_menu
close_menu l
is_above() { xprop -id "$CLOCK_WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
wait_until 10 is_above || fail "not above after AlwaysTop"

# A click in a gap reaches the X11 window below.
read -r gx gy < <(shot_pick gap) || true
[ -n "$gx" ] || fail "no gap in the clock to click"
before=$(wl_xev_presses)
click_at "$gx" "$gy"
wait_until 10 eval '[ "$(wl_xev_presses)" -gt "$before" ]' || fail "a click in the gap at $gx $gy did not reach the X11 window below"
grep -q "root:($gx,$gy)" "$E2E_TMP/xev.log" || fail "the X11 window got the gap click elsewhere: $(grep -o 'root:([0-9,]*)' "$E2E_TMP/xev.log" | tail -1)"
say "a click in a gap ($gx $gy) reached the X11 window below"

# A native window opens, maximized, and gets the focus: the clock, always on
# top, stays above it.
wl_start_window native "Tavisk native below" maximized
# The user clicks into it, away from the clock, which raises it too (and
# shows that clicks given through the compositor reach it).
click_at $((SCREEN_W - 40)) $((SCREEN_H - 40))
wait_until 10 eval '[ "$(wl_presses native)" -ge 1 ]' || fail "a click into the native window did not reach it"
wait_until 10 eval '[ "$(wl_focused)" = "Tavisk native below" ]' || fail "the new native window did not take the focus (focused: $(wl_focused))"
wait_until 10 seen || fail "the clock is not seen over the newly focused native window"
wait_until 10 clean || fail "over the native window, $hazy of $looked pixels around the digits are not that window"
keep_shot above-native
# Where the compositor tells its stacking order, that too.
! declare -F wl_stacking_above >/dev/null || wl_stacking_above
say "always on top: seen above the newly focused native window"

# A click in a gap over the native window: Xwayland 24.1 and later give the
# compositor the clock's input shape; older ones make the whole rectangle the
# clock's, and the click stops in Xwayland.
read -r gx gy < <(shot_pick gap) || true
[ -n "$gx" ] || fail "no gap in the clock to click"
before=$(wl_presses native)
click_at "$gx" "$gy"
xwayland=$(wl_xwayland_version)
if wl_xwayland_at_least 24.1; then
    wait_until 10 eval '[ "$(wl_presses native)" -gt "$before" ]' \
        || fail "a click in the gap at $gx $gy did not reach the native window below (Xwayland $xwayland)"
    say "a click in a gap ($gx $gy) reached the native window below (Xwayland $xwayland)"
else
    sleep 1
    echo "limit: Xwayland $xwayland passes no input shape on: the native window below got $(($(wl_presses native) - before)) of 1 gap click"
fi

# A saved position, on the next start.
stop_clock
wl_save_position 200 100
wl_start_clock
read -r x y _ _ < <(wl_clock_geometry)
[ "$x $y" = "200 100" ] || fail "clock at $x $y, want the saved 200 100"
wait_until 10 seen || fail "with a saved position, no digit is seen where Xwayland has the clock ($x $y)"
wait_until 10 in_place || fail "$missed of the $painted digit pixels in $DESKTOP's picture are off the clock's shape at $x $y"
keep_shot saved
say "the saved position 200 100 honoured, and seen there to the pixel"
stop_clock
