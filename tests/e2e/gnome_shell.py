#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""gnome_shell.py: drives a running GNOME Shell as a remote desktop client.

Reads one command a line on stdin and answers each with one line on stdout,
"ok ..." or "error ...":

  move X Y         the pointer to X Y (screen pixels)
  press B, release B   mouse button B (1 left, 2 middle, 3 right)
  key KEYSYM       press and release a key (X keysym, e.g. 0xff1b Escape)
  shot FILE        the shell's own screenshot of the screen, as PNG
  windows          the shell's window list (its switcher and dash): one
                   "title<TAB>wm-class<TAB>focused" per window, after "ok N"

Input goes through Mutter's remote desktop interface, so the compositor
routes it exactly as it routes a real pointer. The screenshot and window
list answer only to the names of GNOME's own tools, which this connection
takes first.
"""
import sys

from gi.repository import Gio, GLib

BUTTONS = {1: 0x110, 2: 0x112, 3: 0x111}  # BTN_LEFT, BTN_MIDDLE, BTN_RIGHT

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(name, path, iface, method, args=None, reply=None):
    return bus.call_sync(name, path, iface, method, args, GLib.VariantType(reply) if reply else None,
                         Gio.DBusCallFlags.NONE, 10000, None)


def own(name):
    # 4: do not queue; the name is free on the test's private bus.
    call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
         GLib.Variant("(su)", (name, 4)), "(u)")


def main():
    for name in ("org.gnome.Screenshot", "org.freedesktop.impl.portal.desktop.gtk"):
        own(name)
    (monitors,) = call("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                       "org.gnome.Mutter.DisplayConfig", "GetCurrentState").unpack()[1:2]
    connector = monitors[0][0][0]
    (rd_path,) = call("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                      "org.gnome.Mutter.RemoteDesktop", "CreateSession", None, "(o)").unpack()
    rd_id = bus.call_sync("org.gnome.Mutter.RemoteDesktop", rd_path, "org.freedesktop.DBus.Properties", "Get",
                          GLib.Variant("(ss)", ("org.gnome.Mutter.RemoteDesktop.Session", "SessionId")),
                          None, Gio.DBusCallFlags.NONE, 10000, None).unpack()[0]
    (sc_path,) = call("org.gnome.Mutter.ScreenCast", "/org/gnome/Mutter/ScreenCast",
                      "org.gnome.Mutter.ScreenCast", "CreateSession",
                      GLib.Variant("(a{sv})", ({"remote-desktop-session-id": GLib.Variant("s", rd_id)},)),
                      "(o)").unpack()
    (stream,) = call("org.gnome.Mutter.ScreenCast", sc_path, "org.gnome.Mutter.ScreenCast.Session",
                     "RecordMonitor", GLib.Variant("(sa{sv})", (connector, {})), "(o)").unpack()
    session = "org.gnome.Mutter.RemoteDesktop.Session"
    call("org.gnome.Mutter.RemoteDesktop", rd_path, session, "Start")
    print("ok", connector, flush=True)

    def rd(method, fmt, *args):
        call("org.gnome.Mutter.RemoteDesktop", rd_path, session, method, GLib.Variant(fmt, args))

    for line in sys.stdin:
        cmd, *args = line.split()
        try:
            if cmd == "move":
                rd("NotifyPointerMotionAbsolute", "(sdd)", stream, float(args[0]), float(args[1]))
                print("ok", flush=True)
            elif cmd in ("press", "release"):
                rd("NotifyPointerButton", "(ib)", BUTTONS[int(args[0])], cmd == "press")
                print("ok", flush=True)
            elif cmd == "key":
                for down in (True, False):
                    rd("NotifyKeyboardKeysym", "(ub)", int(args[0], 0), down)
                print("ok", flush=True)
            elif cmd == "shot":
                ok, used = call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                                "org.gnome.Shell.Screenshot", "Screenshot",
                                GLib.Variant("(bbs)", (False, False, args[0])), "(bs)").unpack()
                print("ok" if ok else "error", used, flush=True)
            elif cmd == "windows":
                (windows,) = call("org.gnome.Shell", "/org/gnome/Shell/Introspect", "org.gnome.Shell.Introspect",
                                  "GetWindows", None, "(a{ta{sv}})").unpack()
                print("ok", len(windows))
                for props in windows.values():
                    print(props.get("title", ""), props.get("wm-class", ""), props["has-focus"], sep="\t")
                sys.stdout.flush()
            else:
                print("error unknown command", cmd, flush=True)
        except GLib.Error as e:
            print("error", e.message.replace("\n", " "), flush=True)


main()
