#!/bin/bash
# SPDX-License-Identifier: MIT
# An alarm set entirely over AT-SPI, as a screen reader user would: the
# context menu's alarm item, the dialog's fields found by their accessible
# names, "セット", the confirmation box, and the notice with the message.
source "$(dirname "$0")/lib.sh" "$1"
start_x 1280x1024
xsetroot -solid white

start_a11y_bus

write_settings <<'INI'
[Font]
Color=255
Size=18
INI
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_clock
digit_seen() { read -r px py < <(digit_pixel "$CLOCK_WIN" FF0000) && [ -n "$px" ]; }
wait_until 5 digit_seen || fail "no digit pixel found"

/usr/bin/python3 "$(dirname "$0")/atspi_walk.py" "$CLOCK_PID" "$px" "$py" || fail "AT-SPI walk"
kill -0 "$CLOCK_PID" 2>/dev/null || fail "the clock ended"
stop_clock
