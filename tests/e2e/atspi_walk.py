#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Sets an alarm the way a screen reader user would, over AT-SPI alone.

Usage: atspi_walk.py PID X Y
PID is the running clock, X Y a screen point on its digits (for the right
click that opens the context menu). Checks the clock's accessible name, picks
the alarm item of the context menu, fills the alarm dialog's fields found by
their accessible names, presses "セット", confirms the box, and waits for the
notice window with the message, which it closes with its "OK" button.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

MESSAGE = "AT-SPI からのアラーム"
MINUTES = "0.05"  # three seconds from now

# The roles each control must have, by number.
MENU_ITEM = (pyatspi.ROLE_MENU_ITEM,)
RADIO = (pyatspi.ROLE_RADIO_BUTTON,)
TEXT = (pyatspi.ROLE_TEXT,)
BUTTON = (pyatspi.ROLE_PUSH_BUTTON,)
LABEL = (pyatspi.ROLE_LABEL,)
# A plain frame: Qt 6.8 calls it a panel, older Qt a frame.
FRAME = (pyatspi.ROLE_FRAME, pyatspi.ROLE_PANEL)


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def ok(message):
    print(f"ok: {message}", flush=True)


def children(node):
    return [c for c in node if c is not None] if node is not None else []


def states(node):
    return node.getState().getStates()


def find(node, roles, name):
    """The first descendant with that accessible name and one of those roles.
    Roles are compared by number: their names change between AT-SPI releases
    (role 43 was "push button", now "button")."""
    for child in children(node):
        if child.getRole() in roles and child.name == name:
            return child
        found = find(child, roles, name)
        if found is not None:
            return found
    return None


def describe(node, depth=0):
    lines = []
    for child in children(node):
        lines.append("  " * depth + f"{child.getRoleName()}|{child.name}")
        lines.extend(describe(child, depth + 1))
    return lines


def the_app(pid):
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app.get_process_id() == pid:
            return app
    return None


def window(app, name):
    """The showing top-level window of the clock with that accessible name."""
    for w in children(app):
        if w.name == name and pyatspi.STATE_SHOWING in states(w):
            return w
    return None


def wait_for(what, probe, seconds=5.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = probe()
        if result:
            return result
        time.sleep(0.1)
    fail(f"{what} (waited {seconds:g} s)")


def press(node, action="Press"):
    act = node.queryAction()
    names = [act.getName(i) for i in range(act.nActions)]
    if action not in names:
        fail(f"{node.getRoleName()} {node.name!r} has no {action} action: {names}")
    act.doAction(names.index(action))


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def open_context_menu(x, y):
    """Right-clicks the digits and returns the popup menu as AT-SPI reports it.
    A popup is no top-level child of the application, so it is caught from the
    event that announces it."""
    menus = []

    def on_showing(event):
        if event.detail1 == 1 and event.source.getRole() == pyatspi.ROLE_POPUP_MENU:
            menus.append(event.source)
            pyatspi.Registry.stop()

    def right_click():
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(0.05)
        subprocess.run(["xdotool", "click", "3"], check=True)
        return False

    def give_up():
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    GLib.timeout_add(200, right_click)
    GLib.timeout_add(5000, give_up)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_showing, "object:state-changed:showing")
    if not menus:
        fail("no popup menu announced after the right click")
    return menus[0]


def main():
    pid, x, y = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    app = wait_for("the clock on the accessibility bus", lambda: the_app(pid))

    # The clock window is named by the time it shows (seconds are off).
    before = time.strftime("%H:%M")
    clock = [w for w in children(app) if pyatspi.STATE_SHOWING in states(w)]
    after = time.strftime("%H:%M")
    if len(clock) != 1:
        fail(f"expected the clock alone to show, found: {[w.name for w in clock]}")
    if clock[0].name not in (before, after):
        fail(f"clock is named {clock[0].name!r} at {after}")
    ok(f"the clock window is named by its time {clock[0].name}")

    menu = open_context_menu(x, y)
    item = find(menu, MENU_ITEM, "アラーム(D)")
    if item is None:
        fail("no alarm item in the menu: " + ", ".join(describe(menu)))
    press(item)
    dialog = wait_for("the alarm dialog", lambda: window(app, "メッセージアラームセット"))
    # Qt triggers the item without closing the popup; a user would leave it
    # with Escape.
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    wait_for("the menu to close", lambda: pyatspi.STATE_SHOWING not in states(menu))
    ok("alarm dialog opened from the context menu")

    # Every control a user reaches has a name; unnamed frames are the lines.
    for roles, name in [(RADIO, "分単位"), (RADIO, "時間単位"),
                        (TEXT, "分後にセット"), (TEXT, "時"), (TEXT, "分にセット"),
                        (TEXT, "アラーム時メッセージ："), (BUTTON, "セット"),
                        (BUTTON, "解除"), (BUTTON, "閉じる")]:
        if find(dialog, roles, name) is None:
            fail(f"no {roles[0]} named {name!r}: " + "; ".join(describe(dialog)))

    minutes_mode = find(dialog, RADIO, "分単位")
    if pyatspi.STATE_CHECKED not in states(minutes_mode):
        press(minutes_mode, "Toggle")
        wait_for("minutes mode", lambda: pyatspi.STATE_CHECKED in states(minutes_mode))
    minutes = find(dialog, TEXT, "分後にセット")
    message = find(dialog, TEXT, "アラーム時メッセージ：")
    minutes.queryEditableText().setTextContents(MINUTES)
    message.queryEditableText().setTextContents(MESSAGE)
    if text_of(minutes) != MINUTES or text_of(message) != MESSAGE:
        fail(f"fields read back {text_of(minutes)!r} / {text_of(message)!r}")
    press(find(dialog, BUTTON, "セット"))

    box = wait_for("the confirmation box", lambda: window(app, "アラームセット"))
    if find(box, LABEL, "セットされました") is None:
        fail("the box does not say セットされました: " + "; ".join(describe(box)))
    ok_button = find(box, BUTTON, "OK")
    if ok_button is None:
        fail("no OK in the box: " + "; ".join(describe(box)))
    press(ok_button)
    wait_for("the box and the dialog to close",
             lambda: window(app, "アラームセット") is None and window(app, "メッセージアラームセット") is None)
    ok("alarm set with its message through AT-SPI; the dialog closed")

    notice = wait_for("the alarm notice", lambda: window(app, "アラーム"), seconds=15)
    frame = find(notice, FRAME, "アラーム時メッセージ")
    text = find(notice, TEXT, "アラーム")
    button = find(notice, BUTTON, "OK")
    if frame is None or text is None or button is None:
        fail("notice controls: " + "; ".join(describe(notice)))
    if text_of(text) != MESSAGE:
        fail(f"notice shows {text_of(text)!r}")
    press(button)
    wait_for("the notice to close", lambda: window(app, "アラーム") is None)
    ok("the notice showed the message and closed with its OK")


if __name__ == "__main__":
    main()
