#!/usr/bin/python3
"""pick.py digit|gap X Y W H < grey PGM of the screen

Prints the screen position of a pixel inside the rectangle that is well
inside a dark digit (digit) or well away from any dark pixel (gap), so that a
click there lands on the digit or in the gap whatever the edges look like.
The middle candidate is taken; nothing is printed when there is none.
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


R = 2
candidates = []
for y in range(y0 + R, y0 + h - R):
    for x in range(x0 + R, x0 + w - R):
        around = [dark(x + dx, y + dy) for dx in range(-R, R + 1) for dy in range(-R, R + 1)]
        if (kind == "digit" and all(around)) or (kind == "gap" and not any(around)):
            candidates.append((x, y))
if candidates:
    print(*candidates[len(candidates) // 2])
