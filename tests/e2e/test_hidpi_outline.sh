#!/bin/bash
# SPDX-License-Identifier: MIT
# On a 192 dpi screen at a scale factor of 2 the outline is drawn at device
# pixels: its edges fall on odd device pixels too, not only on every second
# one as an outline drawn at logical size and doubled would. At each of the
# ten sizes the time text fits the window: no digit is cut off.
source "$(dirname "$0")/lib.sh" "$1"
start_x 1400x500 192
xsetroot -solid white
find_faketime
export QT_SCALE_FACTOR=2

for size in 12 14 16 18 20 22 24 26 28 36; do
    # 08:08:08, the widest digits, with seconds; &HFF: red.
    printf '[Font]\nColor=255\nSize=%s\n[Set]\nTop=300\nLeft=300\n[Disp]\nSec=True\n' "$size" | write_settings
    LD_PRELOAD=$FAKETIME_LIB FAKETIME="@2026-05-04 08:08:08" FAKETIME_DONT_FAKE_MONOTONIC=1 start_clock
    sleep 0.3
    read -r x y w h < <(window_geometry "$CLOCK_WIN")
    import -window root "$E2E_TMP/shot.png"
    # Digit pixels in window coordinates; their left and top edges.
    convert "$E2E_TMP/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 txt:- | awk -v w="$w" -v h="$h" -v size="$size" '
        NR > 1 { split($1, p, /[,:]/); ink[p[1], p[2]] = ($3 == "#FF0000"); if (ink[p[1], p[2]]) n++ }
        END {
            for (yy = 0; yy < h; yy++) for (xx = 0; xx < w; xx++) if (ink[xx, yy]) {
                if (xx > maxx) maxx = xx
                if (yy > maxy) maxy = yy
                if (!ink[xx - 1, yy] && xx % 2) oddx++
                if (!ink[xx, yy - 1] && yy % 2) oddy++
            }
            printf "%d pt: window %dx%d, %d digit pixels up to (%d, %d), edges on odd x %d, odd y %d\n", size, w, h, n, maxx, maxy, oddx, oddy
            exit !(n > 100 && maxx < w - 1 && maxy < h - 1 && oddx > 0 && oddy > 0)
        }' >"$E2E_TMP/verdict" || fail "$(cat "$E2E_TMP/verdict")"
    echo "  $(cat "$E2E_TMP/verdict")"
    stop_clock
done
pass "device-pixel outlines, no digit cut off, at all ten sizes"
