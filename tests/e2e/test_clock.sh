#!/bin/bash
# SPDX-License-Identifier: MIT
# The real clock on a real X server: placed, sized, coloured and shaped from
# the settings store, titled with the time, and only ever one per user.
source "$(dirname "$0")/lib.sh" "$1"
start_x 1280x1024
xsetroot -solid white

# Top 1500 and Left 3000 twips are 100 and 200 pixels at 96 dpi.
write_settings <<'INI'
[Font]
Color=255
Size=36
[Set]
Top=1500
Left=3000
[Disp]
Sec=True
INI
start_clock
sleep 1.2

read -r x y w h < <(window_geometry "$CLOCK_WIN")
[ "$x $y $w $h" = "200 100 177 53" ] || fail "geometry is '$x $y $w $h', want '200 100 177 53'"
pass "placed and sized from the store (36 pt: 2650 x 800 twips)"

title=$(xprop -id "$CLOCK_WIN" WM_NAME | sed -n 's/.*= "\(.*\)"/\1/p')
[[ "$title" =~ ^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]$ ]] || fail "title '$title' is not the time with seconds"
pass "title is the time text: $title"

# The X window is cut to the digits: its shape is smaller than the window and
# made of many rectangles.
extents=$(xwininfo -shape -id "$CLOCK_WIN" | sed -n 's/.*Window shape extents: *//p')
[ -n "$extents" ] && [ "$extents" != "177x53+0+0" ] || fail "window is not shaped (extents '$extents')"
pass "bounding shape $extents"

# Inside the window rectangle: red digits, and the white desktop showing
# through around and inside them.
xsetroot -solid white # again: a window manager starting up may paint the root
sleep 0.3
import -window root "$E2E_TMP/shot.png"
convert "$E2E_TMP/shot.png" -crop 177x53+200+100 +repage -format %c histogram:info:- >"$E2E_TMP/hist"
red=$(awk '/#FF0000/{gsub(":","",$1); print $1}' "$E2E_TMP/hist")
white=$(awk '/#FFFFFF/{gsub(":","",$1); print $1}' "$E2E_TMP/hist")
red=${red:-0}; white=${white:-0}
total=$((177 * 53))
[ "$red" -gt $((total / 10)) ] || fail "too few digit pixels in the stored colour: $red"
[ "$white" -gt $((total / 3)) ] || fail "the desktop does not show through the window: $white"
[ $((red + white)) -eq "$total" ] || fail "pixels of other colours inside the window: $(cat "$E2E_TMP/hist")"
pass "digits red ($red px), desktop through the rest ($white px)"

# A click between the digits reaches what lies below, not the clock.
corner=$(xdotool mousemove 200 152 getmouselocation --shell | sed -n 's/^WINDOW=//p')
[ "$corner" != "$CLOCK_WIN" ] || fail "the transparent corner belongs to the clock"
pass "outside the outline the pointer is over the desktop"

# A second start ends at once, silently, without a window.
start=$(date +%s%N)
timeout 5 "$TAVISK" >"$E2E_TMP/second.log" 2>&1 && rc=0 || rc=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$rc" -eq 0 ] || fail "second instance exited with $rc"
[ "$elapsed" -lt 2000 ] || fail "second instance took ${elapsed} ms"
[ ! -s "$E2E_TMP/second.log" ] || fail "second instance printed: $(cat "$E2E_TMP/second.log")"
[ "$(xdotool search --onlyvisible --name '^[0-9:]+$' | wc -l)" -eq 1 ] || fail "more than one clock window"
kill -0 "$CLOCK_PID" || fail "the first clock did not survive the second start"
pass "second instance left in ${elapsed} ms without a window"

# After kill -9 the lock is stale, and the next start works.
kill -9 "$CLOCK_PID"
wait "$CLOCK_PID" 2>/dev/null || true
start_clock
pass "a start after kill -9 shows the clock again"
stop_clock

# With no display at all (a login over ssh): one line that says what is
# missing, status 1, and no crash.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 5 "$TAVISK" >"$E2E_TMP/alone.out" 2>"$E2E_TMP/alone.err" && rc=0 || rc=$?
[ "$rc" = 1 ] && [ ! -s "$E2E_TMP/alone.out" ] && [ "$(wc -l <"$E2E_TMP/alone.err")" = 1 ] \
    && grep -q "graphical session" "$E2E_TMP/alone.err" || fail "with no display: status $rc, said: $(cat "$E2E_TMP/alone.err")"
pass "with no display it says: $(cat "$E2E_TMP/alone.err")"
