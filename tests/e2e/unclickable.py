#!/usr/bin/python3
"""unclickable.py WIN X Y W H < grey PGM of the screen

Prints how many pixels of the window's painted digits (darker than the
middle grey, over a white desktop) lie outside the window's input shape,
so that a click on them would miss the clock, and how many there are.
"""
import ctypes
import sys

win, x0, y0, w, h = (int(a, 0) for a in sys.argv[1:6])

xlib = ctypes.CDLL("libX11.so.6")
xext = ctypes.CDLL("libXext.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]


class Rect(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("w", ctypes.c_ushort), ("h", ctypes.c_ushort)]


xext.XShapeGetRectangles.restype = ctypes.POINTER(Rect)
xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                     ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
SHAPE_INPUT = 2
count, ordering = ctypes.c_int(), ctypes.c_int()
rects = xext.XShapeGetRectangles(display, win, SHAPE_INPUT, ctypes.byref(count), ctypes.byref(ordering))
clickable = set()
for i in range(count.value):
    r = rects[i]
    clickable.update((x, y) for y in range(r.y, r.y + r.h) for x in range(r.x, r.x + r.w))

data = sys.stdin.buffer.read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
width = int(fields[1])
pixels = data[pos + 1:]
painted = [(x, y) for y in range(h) for x in range(w) if pixels[(y0 + y) * width + x0 + x] < 128]
print(sum((x, y) not in clickable for x, y in painted), len(painted))
