#!/usr/bin/python3
"""pick.py digit|gap|haze X Y W H < grey PGM of the screen

digit, gap: prints the screen position of a pixel inside the rectangle that
is well inside a dark digit or well away from any dark pixel, so that a click
there lands on the digit or in the gap whatever the edges look like. The
middle candidate is taken; nothing is printed when there is none.

haze: prints how many pixels well away from the dark digits, in the
rectangle and a margin around it, are not pure white (a shadow or a haze over
a white desktop), and how many were looked at.
"""
import sys

kind, x0, y0, w, h = sys.argv[1], *map(int, sys.argv[2:6])
data = sys.stdin.buffer.read()
# P5 header: magic, width, height, maxval, each followed by whitespace.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pos += 1
width, height = int(fields[1]), int(fields[2])
pixels = data[pos:]


def dark(x, y):
    return 0 <= x < width and 0 <= y < height and pixels[y * width + x] < 128


if kind == "haze":
    M = 12  # shadows reach beyond the window
    x0, y0, w, h = x0 - M, y0 - M, w + 2 * M, h + 2 * M
    darks = [(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if dark(x, y)]
    near = {(x + dx, y + dy) for x, y in darks for dx in range(-3, 4) for dy in range(-3, 4)}
    looked = [(x, y) for y in range(max(y0, 0), min(y0 + h, height)) for x in range(max(x0, 0), min(x0 + w, width))
              if (x, y) not in near]
    print(sum(pixels[y * width + x] != 255 for x, y in looked), len(looked))
    sys.exit()

R = 2
candidates = []
for y in range(y0 + R, y0 + h - R):
    for x in range(x0 + R, x0 + w - R):
        around = [dark(x + dx, y + dy) for dx in range(-R, R + 1) for dy in range(-R, R + 1)]
        if (kind == "digit" and all(around)) or (kind == "gap" and not any(around)):
            candidates.append((x, y))
if candidates:
    print(*candidates[len(candidates) // 2])
