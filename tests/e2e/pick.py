#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""pick.py digit|gap|haze|unclickable|rows|ink|blur X Y W H [WINDOW] < grey PGM of the screen

digit, gap: prints the screen position of a pixel inside the rectangle that
is well inside a dark digit or well away from any dark pixel, so that a click
there lands on the digit or in the gap whatever the edges look like. The
middle candidate is taken; nothing is printed when there is none. A digit
point is taken in the first glyph that has one, the hour, which stays put
while the minutes and seconds change between the picture and the click.

haze: prints how many pixels well away from the dark digits, in the
rectangle and a margin around it, are not pure white (a shadow or a haze over
a white desktop), and how many were looked at.

unclickable: prints how many pixels of the digits of WINDOW (at X Y, W x H)
lie outside its input shape, so that a click on them would miss the clock,
and how many digit pixels there are.

rows: prints the middle y (screen) of each band of rows of the rectangle
that hold dark pixels, one a line: the captions of a menu, top to bottom.

ink: prints "X Y W H" of the smallest rectangle that holds every dark pixel
of the rectangle, nothing when there is none: where the digits are; then
"X Y" of the first glyph's (the hour's, which stays put while the minutes
change) top-left corner.

blur: prints how many of the digits' edge pixels (grey, neither dark nor
light) lie in a 2x2 block of edge pixels, and how many edge pixels there are.
Digits scaled up from half the resolution have edges two pixels wide and
many edge pixels in such blocks; digits drawn at the screen's own
resolution have few, how few depending on the glyphs.
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



def input_shape(window):
    """The points of the window's input shape, relative to the window."""
    import ctypes

    class Rect(ctypes.Structure):
        _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("w", ctypes.c_ushort), ("h", ctypes.c_ushort)]

    xlib, xext = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXext.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xext.XShapeGetRectangles.restype = ctypes.POINTER(Rect)
    xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                         ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    shape_input = 2
    count, ordering = ctypes.c_int(), ctypes.c_int()
    rects = xext.XShapeGetRectangles(display, window, shape_input, ctypes.byref(count), ctypes.byref(ordering))
    return {(x, y) for r in rects[:count.value] for y in range(r.y, r.y + r.h) for x in range(r.x, r.x + r.w)}


def runs(numbers):
    """[first, last] of each run of consecutive numbers, in order."""
    found = []
    for n in numbers:
        if found and found[-1][1] == n - 1:
            found[-1][1] = n
        else:
            found.append([n, n])
    return found


if kind == "unclickable":
    clickable = input_shape(int(sys.argv[6], 0))
    painted = [(x, y) for y in range(h) for x in range(w) if dark(x0 + x, y0 + y)]
    print(sum(p not in clickable for p in painted), len(painted))
    sys.exit()

if kind == "rows":
    for top, bottom in runs(y for y in range(y0, y0 + h) if any(dark(x, y) for x in range(x0, x0 + w))):
        print((top + bottom) // 2)
    sys.exit()

if kind == "ink":
    xs = [x for x in range(x0, x0 + w) if any(dark(x, y) for y in range(y0, y0 + h))]
    ys = [y for y in range(y0, y0 + h) if any(dark(x, y) for x in range(x0, x0 + w))]
    if xs:
        first, last = runs(xs)[0]
        top = min(y for y in ys if any(dark(x, y) for x in range(first, last + 1)))
        print(xs[0], ys[0], xs[-1] - xs[0] + 1, ys[-1] - ys[0] + 1, first, top)
    sys.exit()

if kind == "blur":
    def grey(x, y):
        return 0 <= x < width and 0 <= y < height and 48 <= pixels[y * width + x] <= 208
    edges = [(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if grey(x, y)]
    blocks = sum(any(all(grey(x + a, y + b) for a in (dx, dx + 1) for b in (dy, dy + 1))
                     for dx in (-1, 0) for dy in (-1, 0)) for x, y in edges)
    print(blocks, len(edges))
    sys.exit()

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


def spots(left, right, solid):
    """Points in the columns left..right-1 whose neighbourhood is all dark
    (solid) or all light."""
    found = []
    for y in range(y0 + R, y0 + h - R):
        for x in range(max(left, x0 + R), min(right, x0 + w - R)):
            around = [dark(x + dx, y + dy) for dx in range(-R, R + 1) for dy in range(-R, R + 1)]
            if all(around) if solid else not any(around):
                found.append((x, y))
    return found


candidates = []
if kind == "digit":
    # The window is wider than its text, so a share of the window is no
    # measure of the hour: take the first glyph solid enough to click.
    for left, last in runs(x for x in range(x0, x0 + w) if any(dark(x, y) for y in range(y0, y0 + h))):
        candidates = spots(left, last + 1, True)
        if candidates:
            break
    # Antialiased edges can join the glyphs into one run: the hour's first
    # digit is the leftmost solid ink, whatever the run holds.
    if candidates:
        first = min(x for x, _ in candidates)
        candidates = [(x, y) for x, y in candidates if x <= first + 2]
else:
    candidates = spots(x0, x0 + w, False)
if candidates:
    print(*candidates[len(candidates) // 2])
