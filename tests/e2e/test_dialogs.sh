#!/bin/bash
# SPDX-License-Identifier: MIT
# The alarm and font size dialogs with the real clock under a real window
# manager: an alarm set through the context menu fires with its message, and
# a new size grows the clock. The clock's time comes from libfaketime, so the
# alarm is due seconds after the start.
source "$(dirname "$0")/lib.sh" "$1"
start_x 1280x1024
xsetroot -solid white

find_faketime

start_a11y_bus

write_settings <<'INI'
[Font]
Color=255
Size=18
INI
# The clock's day starts at 07:29:35 (room for a slow machine to set the
# alarm before 07:30); the real seconds run on from there.
# Only wall-clock time is shifted: Qt's timers keep the real monotonic clock.
LD_PRELOAD=$FAKETIME_LIB FAKETIME="@2026-05-04 07:29:35" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_clock
sleep 0.5
xprop -id "$CLOCK_WIN" WM_NAME | grep -q '"07:29"' || fail "the faked time did not reach the clock: $(xprop -id "$CLOCK_WIN" WM_NAME)"

# wait_window NAME-REGEX [TENTHS]: prints the id of the visible window so titled.
wait_window() {
    local id=""
    for _ in $(seq "${2:-50}"); do
        id=$(xdotool search --all --onlyvisible --pid "$CLOCK_PID" --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    echo "$id"
}

# centred_by_frame WIN: whether the window's frame is centred on the screen,
# to the pixel.
centred_by_frame() {
    local x y w h l r t b
    read -r x y w h < <(window_geometry "$1")
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS)
    [[ "$extents" == *=* ]] || return 1 # not framed yet
    read -r l r t b < <(sed 's/.*= //; s/,//g' <<<"$extents")
    local dx=$(( (x - l) * 2 + w + l + r - 1280 )) dy=$(( (y - t) * 2 + h + t + b - 1024 ))
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}

# accessible NAME-OF-WINDOW: prints "role|name|text" for each control of that
# window of the clock, as an assistive tool sees it.
accessible() {
    /usr/bin/python3 - "$1" <<'PY'
import sys, pyatspi
def walk(node):
    for child in node:
        if child is None:
            continue
        try:
            text = child.queryText().getText(0, -1)
        except NotImplementedError:
            text = ""
        print(f"{child.getRoleName()}|{child.name}|{text}")
        walk(child)
for app in pyatspi.Registry.getDesktop(0):
    for window in app or []:
        if window is not None and window.name == sys.argv[1]:
            walk(window)
PY
}

# 1. The alarm dialog from the context menu, centred on the screen.
read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000)
[ -n "$px" ] || fail "no digit pixel found"
open_menu_at "$px" "$py"
menu_key d
ALAM=$(wait_window '^メッセージアラームセット$')
[ -n "$ALAM" ] || fail "the alarm dialog did not open"
read -r ax ay aw ah < <(window_geometry "$ALAM")
[ "$aw ${ah}" = "387 247" ] || fail "alarm dialog is ${aw}x$ah"
wait_for centred_by_frame "$ALAM" || fail "alarm dialog not centred: $(window_geometry "$ALAM"), frame $(xprop -id "$ALAM" _NET_FRAME_EXTENTS)"
names=$(accessible メッセージアラームセット)
for name in 分単位 時間単位 分後にセット アラーム時メッセージ： セット 解除 閉じる; do
    grep -q "|$name|" <<<"$names" || fail "no control named $name for assistive tools: $names"
done
pass "alarm dialog opened from the menu, centred, its controls named"

# 2. Time of day 07:30 with a message, by keyboard: Enter steps through the fields.
xdotool mousemove --window "$ALAM" 120 32 click 1 # "時間単位"
sleep 0.2
xdotool key Return; xdotool type 7
xdotool key Return; xdotool type 30
xdotool key Return; xdotool type "tea time"
xdotool key Return # on to "セット"
xdotool key Return # press it
BOX=$(wait_window '^アラームセット$')
[ -n "$BOX" ] || fail "no confirmation box"
box=$(accessible アラームセット)
grep -q '|セットされました|' <<<"$box" || fail "confirmation box says: $box"
xdotool key Return
sleep 0.3
[ -z "$(wait_window '^メッセージアラームセット$' 3)" ] || fail "the alarm dialog stayed open after setting"
xprop -id "$CLOCK_WIN" WM_NAME | grep -q '"07:29"' || fail "too slow: the alarm was set after 07:30"
pass "alarm set for 07:30 through the dialog"

# 3. At 07:30:00 of the faked clock the notice opens with the message.
NOTICE=$(wait_window '^アラーム$' 250)
[ -n "$NOTICE" ] || fail "no alarm notice by 07:30"
xprop -id "$CLOCK_WIN" WM_NAME | grep -q '"07:30"' || fail "notice came at $(xprop -id "$CLOCK_WIN" WM_NAME)"
notice=$(accessible アラーム)
grep -q '|tea time$' <<<"$notice" || fail "notice shows: $notice"
xdotool mousemove --window "$NOTICE" 148 148 click 1 # "OK"
for _ in $(seq 20); do [ -z "$(wait_window '^アラーム$' 1)" ] && break; sleep 0.1; done
[ -z "$(wait_window '^アラーム$' 1)" ] || fail "OK did not close the notice"
pass "the notice opened at 07:30 with the message"

# 4. FontSize: pick 36, O K; the clock grows to 2650 x 800 twips at the next tick.
read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000)
open_menu_at "$px" "$py"
menu_key f
FONT=$(wait_window '^FontSize指定$')
[ -n "$FONT" ] || fail "the size dialog did not open"
read -r fx fy fw fh < <(window_geometry "$FONT")
[ "$fw $fh" = "175 39" ] || fail "size dialog is ${fw}x$fh"
wait_for centred_by_frame "$FONT" || fail "size dialog not centred: $(window_geometry "$FONT")"
sizes=$(accessible FontSize指定)
grep -q '^combo box|18|' <<<"$sizes" || fail "size list does not show 18: $sizes"
xdotool key End Tab Return
grown() { [ "$(window_geometry "$CLOCK_WIN" | cut -d' ' -f3-)" = "177 53" ]; }
wait_for grown || fail "clock is $(window_geometry "$CLOCK_WIN") after choosing 36"
read -r x y w h < <(window_geometry "$CLOCK_WIN")
[ -z "$(wait_window '^FontSize指定$' 3)" ] || fail "the size dialog stayed open"
pass "size 36 chosen: clock grew to ${w}x$h"
stop_clock
