#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""wm_ready.py [SECONDS]: waits until the window manager on $DISPLAY shows a
new window. A small probe window is mapped and looked at until it is
viewable; the map is asked for again every second, since a window manager
that has just announced itself can drop map requests that come in while it
is still starting up (openbox does, in about one start of five). Exits 0 once
the probe was shown, 1 when the window manager never showed it.

The probe is then destroyed, and the connection held until the window
manager has let it go (its frame is gone): the next client to connect gets
the same window ids, and a window manager still busy with the probe takes
that client's first window for it (KWin, under load, gave the window after
it the probe's place and size).
"""
import ctypes
import sys
import time


class WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


IS_VIEWABLE = 2
xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
xlib.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
for name in ("XMapWindow", "XDestroyWindow"):
    getattr(xlib, name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(WindowAttributes)]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p),
                            ctypes.POINTER(ctypes.c_uint)]
xlib.XFree.argtypes = [ctypes.c_void_p]
# A frame that has gone answers with an error: that is what is waited for.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, event: 0)
xlib.XSetErrorHandler(ERROR_HANDLER)


def parent_of(window):
    """The window's parent, or 0 when the window is gone."""
    root, parent, children, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p(), ctypes.c_uint()
    if not xlib.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent),
                           ctypes.byref(children), ctypes.byref(count)):
        return 0
    if children:
        xlib.XFree(children)
    return parent.value


display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
probe = xlib.XCreateSimpleWindow(display, xlib.XDefaultRootWindow(display), 0, 0, 40, 40, 0, 0, 0)
xlib.XStoreName(display, probe, b"window manager probe")
attributes = WindowAttributes()
shown = False
deadline = time.monotonic() + float(sys.argv[1] if len(sys.argv) > 1 else 10)
while not shown and time.monotonic() < deadline:
    xlib.XMapWindow(display, probe)
    xlib.XSync(display, 0)
    asked = time.monotonic()
    while time.monotonic() - asked < 1 and not shown:
        time.sleep(0.02)
        shown = bool(xlib.XGetWindowAttributes(display, probe, ctypes.byref(attributes))) \
            and attributes.map_state == IS_VIEWABLE
frame = parent_of(probe) if shown else 0
xlib.XDestroyWindow(display, probe)
xlib.XSync(display, 0)
if frame != xlib.XDefaultRootWindow(display):
    let_go = time.monotonic() + 5
    while frame and parent_of(frame) and time.monotonic() < let_go:
        time.sleep(0.02)
xlib.XCloseDisplay(display)
sys.exit(0 if shown else 1)
