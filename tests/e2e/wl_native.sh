#!/bin/bash
# SPDX-License-Identifier: MIT
# wl_native.sh TAVISK SESSION: a user's day with the clock as a native
# Wayland program, a layer surface, in a compositor that offers the wlr layer
# shell, headless, with clicks given through the compositor as by a mouse
# plugged into it and pictures the compositor took. SESSION:
#   sway        sway with Xwayland (an X11 window below takes gap clicks too)
#   sway_no_x   sway with Xwayland disabled: no X server at all; then a
#               second output at scale 2, which then goes away, and the only
#               output replaced by another
#   sway_hidpi  sway at scale 2: digits drawn at the screen's own resolution
#   kwin        KWin with Xwayland
#   labwc       labwc (the Raspberry Pi desktop)
# The desktop and the user's windows are white, the clock black. The user's
# window is open, maximized and focused when the clock starts. The clock must
# start at the screen's centre, in front of that window, and at its saved
# position; stay in front until the user activates another window (under
# KWin, one that no desktop entry names stays in front even then), and above
# every window with AlwaysTop; stay out of the window list and take no
# keyboard focus; let gap clicks through to the windows below; open its menu
# at the pointer; follow a drag exactly, fast or slow; end a drag that a
# right-click cut short and still answer its menu, and Exit cleanly; save
# where it is; come back where it was when its output goes and comes (sway);
# and show nothing but its digits.
source "$(dirname "$0")/lib.sh" "$@"
source "$E2E_DIR/wayland_lib.sh"
SESSION=${2:?session: sway, sway_no_x, sway_hidpi, kwin or labwc}
say() { pass "$SESSION native: $*"; }
# The pictures are in the screen's device pixels, S to a logical one.
S=1
unset DISPLAY

start_sway() { # start_sway force|disable SCALE
    W=1280 H=1024 S=$2
    wl_start_sway "$1" "$W" "$H" "$S" "default_border none" "default_floating_border none" \
        "for_window [title=\"^Event Tester\$\"] floating enable, move position 450 380" \
        "no_focus [title=\"^blink\$\"]"
    wl_pointer_start "$W" "$H" sway.log
    wl_shot() { grim "$1"; }
    wl_input() { pointer "$*"; }
    # in sway's tree: the windows it lists; the focused one
    wl_listed() { swaymsg -t get_tree | grep -o '"pid": [0-9]*' | awk '{ print $2 }'; }
    wl_focused() { swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("focused"): print(n.get("name"))
    for c in n.get("nodes", []) + n.get("floating_nodes", []): walk(c)
walk(json.load(sys.stdin))'; }
    DESKTOP="sway $(sway --version | awk '{ print $3 }')"
}

start_kwin() {
    W=1280 H=1024
    wl_start_kwin "$W" "$H"
    wl_shot() { DISPLAY=$KWIN_SHOW import -window root "$1"; }
    wl_input() { "${TAVISK_KWIN_INPUT:?path to kwin_input}" "$@" || fail "kwin_input $*"; }
    # KWin's window list: the windows a task bar or switcher shows.
    wl_listed() { kwin_windows | awk -F'\t' '$4 == "false" || $8 == "false" { print $7 }'; }
    wl_focused() { kwin_windows | awk -F'\t' '$5 == "true" { print $6 }'; }
}

start_labwc() {
    mkdir -p "$XDG_CONFIG_HOME/labwc"
    echo "env >$E2E_TMP/session.env" >"$XDG_CONFIG_HOME/labwc/autostart"
    env -u DISPLAY WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        labwc -C "$XDG_CONFIG_HOME/labwc" >"$E2E_TMP/labwc.log" 2>&1 &
    PIDS+=($!)
    wait_until 30 grep -q '^WAYLAND_DISPLAY=' "$E2E_TMP/session.env" 2>/dev/null \
        || fail "labwc did not start: $(tail -5 "$E2E_TMP/labwc.log")"
    export WAYLAND_DISPLAY=$(sed -n 's/^WAYLAND_DISPLAY=//p' "$E2E_TMP/session.env")
    grim "$E2E_TMP/size.png" || fail "labwc takes no picture"
    read -r W H <<<"$(identify -format '%w %h' "$E2E_TMP/size.png")"
    wl_pointer_start "$W" "$H" labwc.log
    wl_shot() { grim "$1"; }
    wl_input() { pointer "$*"; }
    DESKTOP="labwc $(labwc --version | awk '{ print $2 }')"
}

case $SESSION in
    sway) start_sway force 1 ;;
    sway_no_x) start_sway disable 1 ;;
    sway_hidpi) start_sway disable 2 ;;
    kwin) start_kwin ;;
    labwc) start_labwc ;;
    *) fail "unknown session $SESSION" ;;
esac
# The desktop: white. (A wallpaper, not swaybg's colour: labwc does not show
# the one-pixel buffer that swaybg scales up for a colour.)
convert -size 64x64 xc:white "$E2E_TMP/white.png"
swaybg -i "$E2E_TMP/white.png" -m tile >"$E2E_TMP/swaybg.log" 2>&1 &
PIDS+=($!)
white() { wl_shot "$E2E_TMP/shot.png" && [ "$(convert "$E2E_TMP/shot.png" -crop 8x8+0+0 -format '%[fx:minima.r]' info:)" = 1 ]; }
wait_until 10 white || fail "the desktop did not turn white: $(tail -3 "$E2E_TMP/swaybg.log")"
say "up: $DESKTOP${DISPLAY:+, Xwayland $(wl_xwayland_version)}, ${W}x$H at scale $S"

# shot_pick KIND X Y W H: pick.py KIND over that rectangle (logical pixels)
# of a fresh picture; positions it prints come back in logical pixels.
shot_pick() {
    wl_shot "$E2E_TMP/shot.png"
    pick_shot "$@"
}
# pick_shot KIND X Y W H: the same on the last picture taken.
pick_shot() {
    local kind=$1
    shift
    wl_grey_pgm "$E2E_TMP/shot.png" | python3 "$E2E_DIR/pick.py" "$kind" $(for v; do echo $((v * S)); done) |
        if [ "$kind" = digit ] || [ "$kind" = gap ]; then awk -v s="$S" '{ print int($1 / s), int($2 / s) }'; else cat; fi
}
# The clock's window, as the saved settings and the default size put it.
CW=113 CH=25
# seen_at X Y: the clock's digits are in the picture, in the window whose
# top-left is at X,Y (logical); sets INK (pick.py ink: the digits' rectangle
# and the hour's corner, in device pixels) and PX PY (a digit pixel).
seen_at() {
    INK=$(shot_pick ink $(($1 - 20)) $(($2 - 20)) $((CW + 40)) $((CH + 40)))
    [ -n "$INK" ] || return 1
    local ix iy iw ih
    read -r ix iy iw ih _ <<<"$INK"
    [ "$ix" -ge $(($1 * S)) ] && [ "$iy" -ge $(($2 * S)) ] && [ $((ix + iw)) -le $((($1 + CW) * S)) ] \
        && [ $((iy + ih)) -le $((($2 + CH) * S)) ] || return 1
    read -r PX PY < <(shot_pick digit "$1" "$2" "$CW" "$CH")
    [ -n "$PX" ]
}
hidden_at() { [ -z "$(shot_pick ink "$1" "$2" "$CW" "$CH")" ]; }
clean_at() { read -r hazy looked < <(shot_pick haze "$1" "$2" "$CW" "$CH") && [ "$hazy" = 0 ]; }
# keep_shot NAME: the picture, and the clock zoomed 4x, in TAVISK_WL_SHOTS
# when set, for people to look at.
keep_shot() {
    [ -n "${TAVISK_WL_SHOTS:-}" ] || return 0
    mkdir -p "$TAVISK_WL_SHOTS"
    cp "$E2E_TMP/shot.png" "$TAVISK_WL_SHOTS/native-$SESSION-$1.png"
    convert "$E2E_TMP/shot.png" -crop "$(((CW + 24) * S))x$(((CH + 24) * S))+$(((X - 12) * S))+$(((Y - 12) * S))" \
        +repage -scale 400% "$TAVISK_WL_SHOTS/native-$SESSION-$1-zoom.png"
}

# start_native_clock [VAR=VALUE...]: as the session starts it, no platform
# chosen, with these in its environment. Native: the clock has no X window
# even where an X server runs.
start_native_clock() {
    env -u QT_QPA_PLATFORM "$@" "$TAVISK" >"$E2E_TMP/clock.log" 2>&1 &
    CLOCK_PID=$!
    PIDS+=($CLOCK_PID)
}
stop_native_clock() { stop_pids "$CLOCK_PID"; }
# The starts whose sharpness is measured show a known text, 14:44 from
# 14:44:08 on: how many edge pixels of sharp digits lie in 2x2 blocks
# depends on the glyphs (3 % of them for 14:44, 17 % for 05:15, none for
# 11:11), and scaled-up ones of 14:44 have 42 % there.
find_faketime
AT_1444=(LD_PRELOAD="$FAKETIME_LIB" "FAKETIME=@2026-05-04 14:44:08" FAKETIME_DONT_FAKE_MONOTONIC=1)

# The user's window, maximized and focused, then a fresh clock: at the
# centre, in front of that window, nothing but its digits.
wl_start_window cover cover
COVER_PID=${PIDS[-1]}
if declare -F wl_focused >/dev/null; then
    wait_until 5 eval '[ "$(wl_focused)" = cover ]' || fail "the user's window did not take the focus (focused: $(wl_focused))"
fi
X=$((W / 2)) Y=$((H / 2))
start_native_clock "${AT_1444[@]}"
wait_until 10 seen_at $X $Y || fail "no clock at the centre $X $Y over the focused window (digits at '${INK:-none}'): $(head -c 300 "$E2E_TMP/clock.log")"
[ -z "${DISPLAY:-}" ] || [ -z "$(xdotool search --pid "$CLOCK_PID" 2>/dev/null)" ] \
    || fail "the clock made an X window: it runs through Xwayland, not natively"
clean_at $X $Y || fail "$hazy of $looked pixels around the digits are not the white desktop"
keep_shot fresh
say "fresh clock at the centre $X $Y (digits at $INK), native, in front of the focused window, only its digits ($looked pixels around them white)"
if [ "$SESSION" = sway_hidpi ]; then
    # Digits scaled up from half the resolution have edges two pixels wide,
    # drawn at the screen's resolution one.
    read -r blocks edges < <(shot_pick blur $X $Y $CW $CH)
    [ "$edges" -gt 0 ] && [ $((blocks * 10)) -le "$edges" ] || fail "blurred digits: $blocks of $edges edge pixels in 2x2 blocks"
    say "digits drawn at scale 2: $blocks of $edges edge pixels in 2x2 blocks"
fi
if declare -F wl_listed >/dev/null; then
    wl_listed | grep -qx "$CLOCK_PID" && fail "the clock is in the window list: $(wl_listed | tr '\n' ' ')"
    say "not in the window list"
fi

# The menu at the pointer: its first caption just right of and below it.
menu_rows() { MENU_ROWS=$(shot_pick rows $((PX + 25)) "$PY" 120 260) && [ "$(wc -l <<<"$MENU_ROWS")" -ge 8 ]; }
open_menu() {
    [ -z "$(shot_pick rows $((PX + 25)) $((PY + 30)) 120 200)" ] || fail "something dark where the menu is to open"
    wl_input move "$PX" "$PY" wait 50 click 3 wait 50 move $((PX - 40)) $((PY + 40))
    MENU_ROWS=""
    wait_until 5 menu_rows || fail "no menu opened at $PX $PY (caption rows: '$MENU_ROWS')"
    local first=$(($(head -1 <<<"$MENU_ROWS") / S - PY))
    [ "$first" -ge 3 ] && [ "$first" -le 20 ] || fail "the menu's first caption is $first px below the pointer at $PX $PY"
}
# choose N: clicks the N-th caption, and waits until the menu has gone.
choose() {
    local y=$(($(sed -n "$1p" <<<"$MENU_ROWS") / S))
    # (The pointer, which some compositors paint into their pictures, then
    # goes out of the way.)
    wl_input move $((PX + 60)) "$y" wait 100 click 1 wait 50 move $((W - 3)) $((H - 3))
    wait_until 5 eval '[ "$(shot_pick rows $((PX + 25)) $((PY + 30)) 120 200)" = "" ]' || fail "the menu stayed open"
}
open_menu
say "menu with its corner at the pointer ($PX $PY)"
choose 4 # AlwaysTop(&L)
# The user goes back to the window (the menu may have taken the focus, as
# a click on an ordinary window does); the clock, on top, stays in front.
before=$(wl_presses cover)
wl_input move $((W - 20)) $((H - 20)) wait 50 click 1 wait 50 move $((W - 3)) $((H - 3))
wait_until 3 eval '[ "$(wl_presses cover)" -gt "$before" ]' || fail "a click into the user's window did not reach it"
if declare -F wl_focused >/dev/null; then
    wait_until 5 eval '[ "$(wl_focused)" = cover ]' || fail "a click into the user's window did not focus it (focused: $(wl_focused))"
fi
wait_until 3 seen_at $X $Y || fail "AlwaysTop: the clock went behind the window the user clicked into"
say "AlwaysTop: in front of the window the user clicked into"

# A click on a digit neither focuses the clock nor reaches the window.
before=$(wl_presses cover)
wl_input move "$PX" "$PY" wait 50 click 1 wait 100
[ "$(wl_presses cover)" = "$before" ] || fail "a click on a digit at $PX $PY reached the window below"
if declare -F wl_focused >/dev/null; then
    [ "$(wl_focused)" = cover ] || fail "a click on the clock took the focus from the user's window (focused: $(wl_focused))"
    say "a click on a digit stays with the clock, and the focus with the user's window"
fi
read -r gx gy < <(shot_pick gap $X $Y $CW $CH)
[ -n "$gx" ] || fail "no gap in the clock to click"
wl_input move "$gx" "$gy" wait 50 click 1
wait_until 3 eval '[ "$(wl_presses cover)" -gt "$before" ]' || fail "a click in the gap at $gx $gy did not reach the native window below"
say "a click in a gap ($gx $gy) reached the native window below"
if [ -n "${DISPLAY:-}" ]; then
    wl_start_xev 450 380 400 300
    XEV_PID=${PIDS[-1]}
    sleep 0.5
    read -r gx gy < <(shot_pick gap $X $Y $CW $CH)
    wl_input move "$gx" "$gy" wait 50 click 1
    wait_until 3 grep -q "ButtonPress" "$E2E_TMP/xev.log" || fail "a click in the gap at $gx $gy did not reach the X11 window below"
    say "a click in a gap ($gx $gy) reached the X11 window below"
fi

# A left-drag by (+150, +90), slow as a hand, then back fast, in three
# jumps that leave the digits behind: both exact, to the pixel.
read -r _ _ _ _ ix iy <<<"$INK"
drag_exact() { # DX DY PX-PER-STEP MS
    wl_input $(drag_steps "$PX" "$PY" "$@") wait 50 move $((W - 3)) $((H - 3))
    X=$((X + $1)) Y=$((Y + $2))
    wait_until 3 seen_at $X $Y || fail "dragged by $1 $2 in steps of $3: the digits are at '$INK', want the window at $X $Y"
    local nx ny
    read -r _ _ _ _ nx ny <<<"$INK"
    [ "$nx $ny" = "$((ix + $1 * S)) $((iy + $2 * S))" ] || fail "dragged by $1 $2: the hour moved from $ix $iy to $nx $ny"
    ix=$nx iy=$ny
}
drag_exact 150 90 2 15
drag_exact -150 -90 50 0
drag_exact 150 90 2 15
say "a slow drag by 150,90 and a fast one back moved it exactly, to $X $Y"

open_menu
choose 6 # SaveSetting(&P)
grep -qx "Left=$((X * 15))" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" && grep -qx "Top=$((Y * 15))" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" \
    || fail "saved $(grep -E 'Left|Top' "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" | tr '\n' ' '), want Left=$((X * 15)) Top=$((Y * 15))"
say "SaveSetting wrote where it is ($X $Y, in twips)"
# AlwaysTop off leaves the clock where it is, in front, until the user
# activates another window: then that window's side of the screen, and the
# maximized one, cover it.
open_menu
choose 4 # AlwaysTop(&L) off
sleep 1
seen_at $X $Y || fail "AlwaysTop off: the clock went behind the window at once (digits at '${INK:-none}')"
wl_start_window other other normal
OTHER_PID=${PIDS[-1]}
wait_until 5 hidden_at $X $Y || fail "another window activated: the clock still shows over the windows"
say "AlwaysTop off: in front until another window was activated, then behind the windows"
stop_native_clock
stop_pids "$OTHER_PID"

# A drag that a right-click cuts short: the clock ends the move where it
# was, and the menu that opened answers (showing the seconds); then the
# clock answers a right-click with its menu again, and Exit ends it cleanly.
start_native_clock
wait_until 10 seen_at $X $Y || fail "the clock saved at $X $Y is not there in front of the window (digits at '${INK:-none}')"
wl_input move "$PX" "$PY" wait 50 press 1 wait 50 move $((PX + 30)) $((PY + 20)) wait 30 move $((PX + 60)) $((PY + 40)) \
    wait 100 click 3 wait 300 release 1
PX=$((PX + 60)) PY=$((PY + 40))
wait_until 5 menu_rows || fail "no menu opened at the right-click in the drag, at $PX $PY (caption rows: '$MENU_ROWS')"
choose 3 # 秒表示(&S)
X=$((X + 60)) Y=$((Y + 40))
wait_until 5 seen_at $X $Y || fail "a drag cut short by a right-click: the digits are at '${INK:-none}', want the window at $X $Y"
open_menu
choose 9 # Exit(&E)
status=0
wait_until 5 eval '! kill -0 $CLOCK_PID 2>/dev/null' || fail "Exit did not end the clock"
wait "$CLOCK_PID" || status=$?
[ "$status" = 0 ] || fail "after a drag cut short by a right-click, Exit ended the clock with status $status: $(tail -c 300 "$E2E_TMP/clock.log")"
say "a drag cut short by a right-click ended at $X $Y; the menu answered again, and Exit ended the clock with status 0"

# The saved position at the next start, and one off every screen, with the
# windows gone.
stop_pids "$COVER_PID" ${XEV_PID:-}
# What the clock sends the compositor (its requests, as WAYLAND_DEBUG logs
# them): commits [bare] in what it logged after line FROM, skipping the
# first commit, whose picture may have come before FROM; bare ones carried
# no new picture.
commits_after() {
    tail -n +"$1" "$E2E_TMP/clock.log" | sed -n 's/.*-> wl_surface#\([0-9]*\)\.\(attach\|commit\)(.*/\1 \2/p' |
        awk '$2 == "attach" { pic[$1] = 1 }
             $2 == "commit" { if (seen++) { n++; if (!pic[$1]) bare++ } pic[$1] = 0 }
             END { print n + 0, bare + 0 }'
}
wl_save_position 200 100
echo $'[Disp]\nSec=True' >>"$XDG_CONFIG_HOME/Tavisk/Tavisk.conf"
start_native_clock WAYLAND_DEBUG=1
wait_until 10 seen_at 200 100 || fail "the clock saved at 200 100 is not there (digits at '${INK:-none}')"
say "saved position 200 100 honoured"
# With seconds shown the text changes once a second, on four ticks of five:
# each change is one commit, its input region and its picture together.
from=$(($(wc -l <"$E2E_TMP/clock.log") + 1))
sleep 5
read -r commits bare < <(commits_after "$from")
[ "$commits" -ge 2 ] && [ "$commits" -le 6 ] && [ "$bare" = 0 ] \
    || fail "in 5 s with seconds shown the clock committed $commits times ($bare without a picture), want a picture a second"
say "seconds shown: $commits commits in 5 s, each with its picture"
stop_native_clock
# Without seconds the text stays for a minute: the ticks between send
# nothing (at most one commit, for a minute that turns meanwhile).
wl_save_position $((W * 3)) $((H * 3))
start_native_clock WAYLAND_DEBUG=1
wait_until 10 seen_at $((W / 2)) $((H / 2)) || fail "the clock saved off the screen is not at the centre (digits at '${INK:-none}')"
say "a position off every screen starts it at the centre"
from=$(($(wc -l <"$E2E_TMP/clock.log") + 1))
sleep 4
read -r commits bare < <(commits_after "$from")
[ "$commits" -le 1 ] || fail "the clock committed $commits times in 4 s of ticks that left its text as it was"
say "ticks that leave the text as it was send nothing ($commits commits in 4 s)"
stop_native_clock

# At the screen's bottom edge the menu opens upwards, its corner still at
# the pointer, as on X11: not past the edge, where sway would leave it.
wl_save_position $((W / 2)) $((H - 30))
start_native_clock
wait_until 10 seen_at $((W / 2)) $((H - 30)) || fail "the clock saved at the bottom edge is not there (digits at '${INK:-none}')"
wl_input move "$PX" "$PY" wait 50 click 3 wait 50 move $((PX - 40)) $((PY - 40))
menu_above() { MENU_ROWS=$(shot_pick rows $((PX + 25)) $((PY - 260)) 120 257) && [ "$(wc -l <<<"$MENU_ROWS")" -ge 8 ]; }
wait_until 5 menu_above || fail "no menu opened above the pointer at $PX $PY (caption rows: '$MENU_ROWS')"
last=$((PY - $(tail -1 <<<"$MENU_ROWS") / S))
[ "$last" -ge 3 ] && [ "$last" -le 20 ] || fail "the menu's last caption is $last px above the pointer at $PX $PY"
say "at the bottom edge the menu opened upwards from the pointer ($PX $PY)"
stop_native_clock

# KWin tells the clock which window is active only when a desktop entry
# names the clock by its path and asks for Plasma's window management, as
# the package's does (wl_start_kwin wrote one for the clock under test).
# Then a fresh clock, in front of the user's window at start, goes behind it
# once the user has opened another window and clicked back into theirs. A
# copy of the clock that no entry names is told nothing, and stays in front.
if [ "$SESSION" = kwin ]; then
    switch_windows() { # another window opened, then a click back into the user's
        wl_start_window other other normal
        OTHER_PID=${PIDS[-1]}
        wait_until 5 eval '[ "$(wl_focused)" = other ]' || fail "the new window did not take the focus (focused: $(wl_focused))"
        before=$(wl_presses cover)
        wl_input move $((W - 20)) $((H - 20)) wait 50 click 1 wait 50 move $((W - 3)) $((H - 3))
        wait_until 3 eval '[ "$(wl_presses cover)" -gt "$before" ]' || fail "a click into the user's window did not reach it"
        wait_until 5 eval '[ "$(wl_focused)" = cover ]' || fail "a click into the user's window did not focus it (focused: $(wl_focused))"
    }
    rm "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf"
    X=$((W / 2)) Y=$((H / 2))
    wl_start_window cover cover
    COVER_PID=${PIDS[-1]}
    wait_until 5 eval '[ "$(wl_focused)" = cover ]' || fail "the user's window did not take the focus (focused: $(wl_focused))"
    start_native_clock
    wait_until 10 seen_at $X $Y || fail "no fresh clock at the centre $X $Y in front of the user's window (digits at '${INK:-none}')"
    switch_windows
    wait_until 5 hidden_at $X $Y \
        || fail "the clock a desktop entry names stayed in front after the user activated another window and clicked back into theirs"
    say "named by a desktop entry: in front at start, behind the user's window once they activated another and came back"
    stop_native_clock
    stop_pids "$OTHER_PID"
    cp "$TAVISK" "$E2E_TMP/tavisk-unnamed"
    TAVISK=$E2E_TMP/tavisk-unnamed start_native_clock
    wait_until 10 seen_at $X $Y || fail "no copy of the clock at the centre $X $Y (digits at '${INK:-none}')"
    switch_windows
    sleep 1
    seen_at $X $Y || fail "a copy of the clock that no desktop entry names went behind the user's window (digits at '${INK:-none}')"
    say "named by no desktop entry: still in front after the user activated another window and came back"
    stop_native_clock
fi

# The only output off and on again (a monitor that sleeps, a laptop docked
# with its lid closed): the clock comes back where it was, drawn as at any
# start, at the output's own scale.
if [[ $SESSION == sway* ]]; then
    wl_save_position 200 100
    start_native_clock "${AT_1444[@]}"
    wait_until 10 seen_at 200 100 || fail "the clock saved at 200 100 is not there (digits at '${INK:-none}')"
    swaymsg output HEADLESS-1 disable >/dev/null || fail "sway did not turn its output off"
    sleep 3
    swaymsg output HEADLESS-1 enable >/dev/null || fail "sway did not turn its output on"
    wait_until 3 seen_at 200 100 || fail "the output came back, the clock did not (digits at '${INK:-none}')"
    clean_at 200 100 || fail "the clock came back with $hazy of $looked pixels around its digits not the white desktop"
    X=200 Y=100
    keep_shot output-back
    sharp() { read -r blocks edges < <(shot_pick blur $X $Y $CW $CH) && [ "$edges" -gt 0 ] && [ $((blocks * 10)) -le "$edges" ]; }
    [ "$SESSION" != sway_hidpi ] || wait_until 2 sharp || fail "back on its output, blurred digits: $blocks of $edges edge pixels in 2x2 blocks"
    say "the only output off for 3 s and on again: the clock came back at 200 100, only its digits"
    stop_native_clock
fi

# The output's scale changed under the clock: its digits are drawn for the
# new pixels at once, in the first picture that shows them at the new size,
# not scaled up from the old ones until a tick.
if [ "$SESSION" = sway_no_x ]; then
    X=200 Y=100
    wl_save_position $X $Y
    start_native_clock "${AT_1444[@]}"
    wait_until 10 seen_at $X $Y || fail "the clock saved at $X $Y is not there (digits at '${INK:-none}')"
    read -r _ _ width _ <<<"$INK"
    swaymsg output HEADLESS-1 scale 2 >/dev/null || fail "sway did not scale its output"
    S=2
    rescaled() {
        wl_shot "$E2E_TMP/shot.png"
        INK=$(pick_shot ink $((X - 20)) $((Y - 20)) $((CW + 40)) $((CH + 40)))
        [ -n "$INK" ] && [ "$(cut -d' ' -f3 <<<"$INK")" -gt $((width * 3 / 2)) ]
    }
    wait_until 3 rescaled || fail "the output at scale 2: the digits are not drawn twice as large ('${INK:-none}', $width pixels wide before)"
    read -r blocks edges < <(pick_shot blur $X $Y $CW $CH)
    keep_shot rescaled
    [ "$edges" -gt 0 ] && [ $((blocks * 10)) -le "$edges" ] \
        || fail "the output at scale 2: the first picture of the digits at that scale is blurred: $blocks of $edges edge pixels in 2x2 blocks"
    say "the output set to scale 2: its digits drawn for it at once ($blocks of $edges edge pixels in 2x2 blocks)"
    swaymsg output HEADLESS-1 scale 1 >/dev/null || fail "sway did not set its output back to scale 1"
    S=1
    stop_native_clock
fi

# Started while another program opens and closes a window every 50 ms (as
# at login, with programs that start with the session): at each start the
# window list is read while it changes. Each start is in front; none ends.
if [ "$SESSION" = sway_no_x ]; then
    # (sway focuses the only window of a workspace whatever its rules say:
    # with one more there, the windows that come and go never take the
    # focus, and the clock has no reason to go behind.)
    wl_start_window keep keep normal
    KEEP_PID=${PIDS[-1]}
    : >"$E2E_TMP/blink.log"
    "$WL_WINDOW" "$E2E_TMP/blink.log" blink blink >"$E2E_TMP/blink.out" 2>&1 &
    BLINK_PID=$!
    PIDS+=($BLINK_PID)
    wait_until 5 grep -q '^blink' "$E2E_TMP/blink.log" || fail "no window opens and closes: $(head -c 300 "$E2E_TMP/blink.out")"
    for start in $(seq 30); do
        start_native_clock
        wait_until 10 seen_at 200 100 \
            || fail "start $start of 30, windows coming and going: no clock in front at 200 100 (digits at '${INK:-none}'): $(tail -c 300 "$E2E_TMP/clock.log")"
        sleep 0.2
        kill -0 "$CLOCK_PID" 2>/dev/null || fail "start $start of 30, windows coming and going: the clock ended: $(tail -c 300 "$E2E_TMP/clock.log")"
        stop_native_clock
    done
    blinks=$(sed -n 's/^blink //p' "$E2E_TMP/blink.log" | tail -1)
    stop_pids "$BLINK_PID" "$KEEP_PID"
    say "30 starts while a window opened and closed every 50 ms ($blinks times): each in front, none ended"

    # Handed a connection alone, as a compositor hands one to a program it
    # starts: the clock runs natively on it.
    wl_socket_only "$TAVISK" >"$E2E_TMP/clock.log" 2>&1 &
    CLOCK_PID=$!
    PIDS+=($CLOCK_PID)
    wait_until 10 seen_at 200 100 || fail "handed a connection alone: no clock at 200 100 (digits at '${INK:-none}'): $(head -c 300 "$E2E_TMP/clock.log")"
    say "handed a connection alone (WAYLAND_SOCKET), the clock runs natively on it"
    stop_native_clock
fi

# A second output at scale 2: a drag carries the clock onto it, where its
# digits are drawn at that scale. That output unplugged with the clock on
# it, the clock comes back at the centre of the one left (its place is on no
# output), and stays at its place when that one is replaced by another.
if [ "$SESSION" = sway_no_x ]; then
    swaymsg create_output >/dev/null && swaymsg output HEADLESS-2 resolution $((W * 2))x$((H * 2)) position $W 0 scale 2 >/dev/null \
        || fail "sway made no second output"
    wl_pointer_start $((W * 2)) "$H" sway.log
    S=2 # grim takes both at the larger scale
    X=220 Y=100
    wl_save_position $X $Y
    start_native_clock "${AT_1444[@]}"
    wait_until 10 seen_at $X $Y || fail "the clock saved at $X $Y is not there (digits at '${INK:-none}')"
    wl_input $(drag_steps "$PX" "$PY" "$W" 200 8 15) wait 50 move $((W - 3)) $((H - 3))
    X=$((X + W)) Y=$((Y + 200))
    wait_until 3 seen_at $X $Y || fail "dragged by $W 200 onto the scale-2 output: the digits are at '$INK', want the window at $X $Y"
    sleep 1 # the next tick draws the digits at the output's scale
    read -r blocks edges < <(shot_pick blur $X $Y $CW $CH)
    keep_shot scale2
    [ "$edges" -gt 0 ] && [ $((blocks * 10)) -le "$edges" ] || fail "dragged onto the scale-2 output, blurred digits: $blocks of $edges edge pixels in 2x2 blocks"
    say "dragged onto the scale-2 output, to $X $Y: $blocks of $edges edge pixels in 2x2 blocks"
    swaymsg output HEADLESS-2 disable >/dev/null || fail "sway did not take the second output away"
    S=1
    wait_until 3 seen_at $((W / 2)) $((H / 2)) || fail "the clock was lost with its output (digits on the first at '${INK:-none}')"
    say "its output taken away, the clock came back at the centre of the one left"
    swaymsg create_output >/dev/null && swaymsg output HEADLESS-3 resolution 1024x768 position 0 0 >/dev/null \
        && swaymsg output HEADLESS-1 disable >/dev/null || fail "sway did not replace its output"
    wait_until 3 seen_at $((W / 2)) $((H / 2)) || fail "its output replaced by another, the clock is not at $((W / 2)) $((H / 2)) (digits at '${INK:-none}')"
    clean_at $((W / 2)) $((H / 2)) || fail "on the new output $hazy of $looked pixels around the digits are not the white desktop"
    say "its output replaced by a 1024x768 one, the clock stayed at its place $((W / 2)) $((H / 2))"

    # Docked: a monitor placed to the left of the clock's. The clock stays
    # where it is on its screen, at a new place on the desktop: it saves
    # that place, opens its menu at the pointer and follows a drag exactly.
    swaymsg create_output >/dev/null && swaymsg output HEADLESS-4 resolution 1280x1024 position 0 0 >/dev/null \
        && swaymsg output HEADLESS-3 position 1280 0 >/dev/null || fail "sway did not put a new output left of the clock's"
    X=$((1280 + W / 2)) Y=$((H / 2))
    W=$((1280 + 1024)) H=1024
    wl_pointer_start "$W" "$H" sway.log
    wait_until 3 seen_at $X $Y || fail "its output moved right by 1280, the clock is not at $X $Y on it (digits at '${INK:-none}')"
    keep_shot docked
    open_menu
    choose 6 # SaveSetting(&P)
    grep -qx "Left=$((X * 15))" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" && grep -qx "Top=$((Y * 15))" "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" \
        || fail "its output moved: saved $(grep -E 'Left|Top' "$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" | tr '\n' ' '), want Left=$((X * 15)) Top=$((Y * 15))"
    read -r _ _ _ _ ix iy <<<"$INK"
    drag_exact -150 -90 2 15
    say "its output moved right by 1280: the clock stayed on it, saved its new place, opened its menu at the pointer, and followed a drag exactly, to $X $Y"

    # The compositor ends under the clock: the clock ends too, saying so in
    # one line, with status 1.
    lines=$(wc -l <"$E2E_TMP/clock.log")
    stop_pids "$SWAY_PID"
    wait_until 5 eval '! kill -0 $CLOCK_PID 2>/dev/null' || fail "sway ended, the clock did not: $(tail -c 300 "$E2E_TMP/clock.log")"
    status=0
    wait "$CLOCK_PID" || status=$?
    said=$(tail -n +$((lines + 1)) "$E2E_TMP/clock.log")
    [ "$status" = 1 ] && [ "$(wc -l <<<"$said")" = 1 ] && [ -n "$said" ] \
        || fail "sway ended: the clock ended with status $status, saying: $said"
    say "sway ended: the clock ended with status 1, saying: $said"
fi

# KWin crashes and comes back, as in Plasma: its wrapper keeps the session's
# sockets and starts KWin anew, and every program, started with
# QT_WAYLAND_RECONNECT=1 as Plasma starts them, connects to the new KWin.
# The clock comes back where it was, drawn as it was (its colour, its size,
# the seconds), and goes behind the user's window again once the user has
# opened another and clicked back into theirs.
# Without QT_WAYLAND_RECONNECT, or with no KWin to come back, it ends with
# one line and status 1. The session ends here: its KWin goes for good.
if [ "$SESSION" = kwin ]; then
    export QT_WAYLAND_RECONNECT=1
    stop_pids "$COVER_PID"
    wl_start_window cover cover
    COVER_PID=${PIDS[-1]}
    wait_until 5 eval '[ "$(wl_focused)" = cover ]' || fail "the user's window did not take the focus (focused: $(wl_focused))"
    X=200 Y=100 CW=121 CH=41 # the window at 24 points
    wl_save_position $X $Y
    printf '[Font]\nColor=16711680\nSize=24\n[Disp]\nSec=True\n' >>"$XDG_CONFIG_HOME/Tavisk/Tavisk.conf" # blue
    # Before and after, the same hour and minute: the hour's corner stays put.
    start_native_clock "${AT_1444[@]}"
    wait_until 10 seen_at $X $Y || fail "the clock saved at $X $Y is not there (digits at '${INK:-none}')"
    colour_at() { convert "$E2E_TMP/shot.png" -format "%[hex:p{$PX,$PY}]" info:; }
    read -r ix iy iw ih hx hy <<<"$INK"
    colour=$(colour_at)
    crash_kwin() { # the KWin running now killed; waits until the wrapper has started the next
        rm "$E2E_TMP/session.env"
        kill -KILL "$(kwin_pid)" || fail "no KWin under its wrapper"
        wait_until 10 kwin_up || fail "KWin was not started again"
    }
    crash_kwin
    wait_until 3 seen_at $X $Y || fail "KWin restarted: the clock is not back at $X $Y within 3 s (digits at '${INK:-none}')"
    keep_shot kwin-restart
    read -r _ niy niw nih nhx nhy <<<"$INK"
    [ "$niy $nih $nhx $nhy $(colour_at)" = "$iy $ih $hx $hy $colour" ] && [ $((niw - iw)) -le 8 ] && [ $((iw - niw)) -le 8 ] \
        || fail "KWin restarted: digits at $INK in $(colour_at), were at $ix $iy $iw $ih $hx $hy in $colour"
    say "KWin killed and started again: the clock back at $X $Y within 3 s, as it was (hour at $hx $hy, $ih px high, $niw wide, $colour)"
    switch_windows
    wait_until 5 hidden_at $X $Y \
        || fail "KWin restarted: the clock stayed in front after the user activated another window and clicked back into theirs"
    say "after the restart, behind the user's window once they activated another and came back"
    stop_pids "$OTHER_PID"
    stop_native_clock

    # ended_alone HOW: the clock ended within 3 s of KWin's end, with one
    # line on stderr and status 1.
    ended_alone() {
        wait_until 3 eval '! running "$CLOCK_PID"' || fail "$1: the clock still runs 3 s later"
        local status=0
        wait "$CLOCK_PID" || status=$?
        [ "$status" = 1 ] && [ "$(wc -l <"$E2E_TMP/clock.log")" = 1 ] \
            || fail "$1: the clock ended with status $status, saying: $(head -c 300 "$E2E_TMP/clock.log")"
        say "$1: the clock ended with status 1, saying: $(cat "$E2E_TMP/clock.log")"
    }
    start_native_clock -u QT_WAYLAND_RECONNECT
    wait_until 10 seen_at $X $Y || fail "the clock without QT_WAYLAND_RECONNECT is not at $X $Y (digits at '${INK:-none}')"
    crash_kwin
    ended_alone "without QT_WAYLAND_RECONNECT, KWin killed"
    start_native_clock
    wait_until 10 seen_at $X $Y || fail "the clock is not at $X $Y (digits at '${INK:-none}')"
    kill "$KWIN_PID"
    ended_alone "KWin gone with its wrapper"
fi
