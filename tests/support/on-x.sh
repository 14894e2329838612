#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs a test program as on a desktop, with a private Xvfb display (no window
# manager) and a private session bus: for tests that need the real X11
# platform rather than offscreen. (Without a session bus, Qt's attempt to
# reach one leaks inside libdbus.)
set -euo pipefail
fd=$(mktemp)
Xvfb -displayfd 1 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$fd" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$fd"' EXIT
for _ in $(seq 100); do [ -s "$fd" ] && break; sleep 0.05; done
[ -s "$fd" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -1 "$fd") QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
dbus-run-session -- "$@"
