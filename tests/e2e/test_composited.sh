#!/bin/bash
# SPDX-License-Identifier: MIT
# Under a compositing manager (picom, with shadows on) the clock's digits are
# antialiased over the desktop: edge pixels blend the digit colour with the
# desktop, digit cores are exactly the digit colour, and everything more than
# two pixels away from the digits is exactly the desktop (no shadow, no haze).
# A click between the digits reaches the window below. When picom ends, the
# clock is back to its 1-bit outline within 2 s, never a black box; when it
# starts again, the clock is antialiased again.
source "$(dirname "$0")/lib.sh" "$1"
start_x 640x240
xsetroot -solid white
find_faketime

# The window below: it logs the clicks it receives. White, like the desktop.
stdbuf -oL xev -geometry 630x230+0+0 -event button -event structure >"$E2E_TMP/xev.log" 2>&1 &
PIDS+=($!)
below_up() { grep -q "^MapNotify\|Outer window" "$E2E_TMP/xev.log"; }
wait_for below_up || fail "no window below: $(cat "$E2E_TMP/xev.log")"
sleep 0.3

start_picom() {
    picom --config /dev/null --backend xrender --shadow >>"$E2E_TMP/picom.log" 2>&1 &
    PICOM=$!
    PIDS+=($PICOM)
}
start_picom

# &HE09020: #2090E0; 36 pt, no seconds, at (200, 100). The time stands at
# 10:08 for a minute (holes in 0 and 8), so both modes show the same text.
write_settings <<'INI'
[Font]
Color=14716960
Size=36
[Set]
Top=1500
Left=3000
[Disp]
Sec=False
INI
LD_PRELOAD=$FAKETIME_LIB FAKETIME="@2026-05-04 10:08:00" FAKETIME_DONT_FAKE_MONOTONIC=1 start_clock

clock_window() { xdotool search --onlyvisible --pid "$CLOCK_PID" 2>/dev/null | head -1; }
# (No window while the clock makes its window anew: xwininfo without an id
# would wait for a click on some window.)
depth_is() {
    local win
    win=$(clock_window)
    [ -n "$win" ] && xwininfo -id "$win" 2>/dev/null | grep -q "Depth: $1\$"
}
# shot NAME: the clock's rectangle, as text pixels (x,y: ... #RRGGBB).
shot() {
    local win x y w h
    win=$(clock_window)
    read -r x y w h < <(window_geometry "$win")
    echo "$x $y $w $h" >"$E2E_TMP/$1.geo"
    import -window root "$E2E_TMP/$1.png"
    convert "$E2E_TMP/$1.png" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_TMP/$1.crop.png"
}
pixels() { convert "$1" -depth 8 txt:- | awk 'NR > 1 {print $3}'; }

wait_for depth_is 32 || fail "no 32-bit window under picom: $(xdotool search --pid "$CLOCK_PID" 2>/dev/null \
    | xargs -r -n1 xwininfo -id | grep Depth)"
sleep 1 # painted, and picom has drawn it
shot aa
read -r X Y W H <"$E2E_TMP/aa.geo"

# --- picom ends: the 1-bit outline within 2 s, only digit colour and desktop.
kill "$PICOM"
start=$(date +%s%N)
for _ in $(seq 20); do kill -0 "$PICOM" 2>/dev/null || break; sleep 0.1; done
kill -9 "$PICOM" 2>/dev/null || true
solid_and_clean() {
    depth_is 24 || return 1
    shot solid
    [ "$(pixels "$E2E_TMP/solid.crop.png" | sort -u | tr '\n' ' ')" = "#2090E0 #FFFFFF " ]
}
for _ in $(seq 20); do solid_and_clean && break; sleep 0.1; done
solid_and_clean || fail "2 s after picom ended: $(pixels "$E2E_TMP/solid.crop.png" | sort | uniq -c | sort -rn | head -5 | tr '\n' ' ')"
elapsed=$((($(date +%s%N) - start) / 1000000))
[ "$(cat "$E2E_TMP/solid.geo")" = "$X $Y $W $H" ] || fail "moved from $X $Y $W $H to $(cat "$E2E_TMP/solid.geo")"
pass "1-bit outline, digit colour and desktop only, ${elapsed} ms after picom ended, same place"

# --- The antialiased picture against the 1-bit outline of the same text
# (the 1-bit and the antialiased glyphs are hinted apart by up to two
# pixels): everything beyond two pixels around that outline must be the
# desktop. Cores: pixels two or more pixels inside the painted ink, all but
# the few where two glyphs nearly touch.
m=$E2E_TMP/mask.png
convert "$E2E_TMP/solid.crop.png" -fill black +opaque '#2090E0' -fill white -opaque '#2090E0' "$m"
convert "$m" -morphology Dilate Square:2 "$E2E_TMP/near.png"
convert "$E2E_TMP/aa.crop.png" -fill black -opaque white -fill white +opaque black -morphology Erode Square:2 "$E2E_TMP/core.png"
paste <(pixels "$E2E_TMP/aa.crop.png") <(pixels "$E2E_TMP/near.png") <(pixels "$E2E_TMP/core.png") | awk '
    function hex(s) { return index("0123456789ABCDEF", substr(s, 1, 1)) * 16 + index("0123456789ABCDEF", substr(s, 2, 1)) - 17 }
    {
        aa = $1; near = ($2 == "#FFFFFF"); core = ($3 == "#FFFFFF")
        if (!near) { far++; if (aa != "#FFFFFF") farbad++ }
        if (core) { cores++; if (aa != "#2090E0") corebad++ }
        if (aa != "#FFFFFF" && aa != "#2090E0") {
            edge++
            # A blend of white and #2090E0 moves red and green by the same share.
            r = hex(substr(aa, 2, 2)); g = hex(substr(aa, 4, 2)); b = hex(substr(aa, 6, 2))
            d = (255 - r) / 223 - (255 - g) / 111
            if (d > 0.06 || d < -0.06 || b < 220) { notblend++; sample = aa }
        }
    }
    END {
        printf "far %d (not desktop %d), core %d (not digit colour %d), edge %d (not a blend %d %s)\n", far, farbad, cores, corebad, edge, notblend, sample
        exit !(far > 2000 && farbad == 0 && cores > 2000 && corebad * 20 < cores && edge > 300 && notblend == 0)
    }' >"$E2E_TMP/aa.verdict" || fail "antialiased picture: $(cat "$E2E_TMP/aa.verdict")"
pass "antialiased under picom: $(cat "$E2E_TMP/aa.verdict")"

# --- picom again: antialiased again, within 2 s.
start_picom
wait_for depth_is 32 || fail "not back to a 32-bit window after picom started again"
sleep 1
shot aa2
edges=$(pixels "$E2E_TMP/aa2.crop.png" | grep -vc -e '#FFFFFF' -e '#2090E0' || true)
[ "$edges" -gt 300 ] || fail "after picom started again: $edges blended edge pixels"
[ "$(cat "$E2E_TMP/aa2.geo")" = "$X $Y $W $H" ] || fail "moved to $(cat "$E2E_TMP/aa2.geo")"
pass "antialiased again after picom started again ($edges edge pixels), same place"

# --- Clicks: a hole in a digit or a gap between digits goes to the window
# below; a digit core does not. (Pixels in the middle row, far from digits,
# with digit pixels on both sides.)
read -r gx cx < <(paste <(pixels "$E2E_TMP/near.png") <(pixels "$E2E_TMP/core.png") | awk -v w="$W" -v h="$H" '
    NR > int(h / 2) * w && NR <= (int(h / 2) + 1) * w { x = (NR - 1) % w; near[x] = ($1 == "#FFFFFF"); core[x] = ($2 == "#FFFFFF") }
    END {
        first = -1
        for (x = 0; x < w; x++) if (near[x]) { if (first < 0) first = x; last = x }
        for (x = first; x <= last; x++) if (!near[x]) { gap = x; break }
        for (x = 0; x < w; x++) if (core[x]) { c = x; break }
        print gap, c
    }')
[ -n "$gx" ] && [ -n "$cx" ] || fail "no gap or core pixel in the middle row"
clicks() { grep -c ButtonPress "$E2E_TMP/xev.log" || true; }
# (The digit first: the window below comes to the front when clicked.)
before=$(clicks)
xdotool mousemove $((X + cx)) $((Y + H / 2)) sleep 0.05 click 1 sleep 0.3
[ "$(clicks)" -eq "$before" ] || fail "a click on a digit ($cx, $((H / 2))) went through to the window below"
xdotool mousemove $((X + gx)) $((Y + H / 2)) sleep 0.05 click 1 sleep 0.3
[ "$(clicks)" -gt "$before" ] || fail "a click in a gap ($gx, $((H / 2))) did not reach the window below"
pass "a click in a gap reaches the window below, one on a digit does not"
stop_clock
