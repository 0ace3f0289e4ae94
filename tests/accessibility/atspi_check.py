#!/usr/bin/python3
"""Reads the running window through AT-SPI, as a screen reader does, and checks what it hears.

Started by run-atspi-check.sh inside a private D-Bus session and an X server, with the window
already open. Clicks go through xdotool at the places AT-SPI reports, as a user's would. Exits 0
when every check holds; otherwise prints each failure and exits 1.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "Kelm's Bitwatch Demo"
failures = []
heard = []  # (role, new name) of every accessible-name change
announced = []  # the name of every notification that appeared


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def pump(seconds):
    """Lets AT-SPI deliver events and the window answer, for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def find_frame():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for child in app:
                if child is not None and child.name == TITLE:
                    return child
        time.sleep(0.1)
    return None


def walk(node, found):
    for child in node:
        if child is None:
            continue
        found.append(child)
        walk(child, found)
    return found


def named(frame, name, role=None):
    for node in walk(frame, []):
        if node.name == name and (role is None or node.getRoleName() == role):
            return node
    return None


def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = box.x + box.width // 2, box.y + min(box.height // 2, 20)
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    pump(0.5)


def on_name_change(event):
    heard.append((event.source.getRoleName(), event.source.name))


def on_showing(event):
    if event.detail1 and event.source.getRoleName() == "notification":
        announced.append(event.source.name)


def main():
    frame = find_frame()
    if frame is None:
        print("FAIL: no frame named", TITLE)
        return 1
    check(frame.getRoleName() == "frame", "the window's role is %r" % frame.getRoleName())
    pyatspi.Registry.registerEventListener(on_name_change, "object:property-change:accessible-name")
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")

    # Every cell says where it is, what it holds and, when it is damaged, that it differs.
    cell = named(frame, "Received data bit 0 of byte 0")
    check(cell is not None, "a cell named 'Received data bit 0 of byte 0'")
    if cell is not None:
        check(cell.description == "0", "the undamaged cell reads %r" % cell.description)
        click(cell)
        check(cell.description == "1, differs from transmitted",
              "the damaged cell reads %r" % cell.description)
        actions = cell.queryAction()
        check("press" in [actions.getName(i).lower() for i in range(actions.nActions)],
              "a received cell offers the press action")
    cells = [n for n in walk(frame, []) if " bit " in n.name and n.getRoleName() == "label"]
    check(len(cells) == 208 - 96 - 16 or len(cells) >= 96,
          "the shown cells are labels (found %d)" % len(cells))

    # The verdict and the rate are read by their text, and a new verdict is announced.
    verdict = named(frame, "Undetected Errors", "label")
    check(verdict is not None, "the verdict reads 'Undetected Errors' after the click")
    check(("label", "Undetected Errors") in heard, "the new verdict was announced (heard %r)" % heard)
    check(named(frame, "0.00", "label") is not None, "the rate label reads '0.00'")

    # The boxes have names and labels of their own; the run button reads as its caption.
    labels = {}
    for node in walk(frame, []):
        if node.getRoleName() == "combo box":
            for relation in node.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                    for i in range(relation.getNTargets()):
                        labels[relation.getTarget(i).name] = node
    check("Bit Error Rate" in labels, "'Bit Error Rate' labels a combo box (%r)" % labels)
    check("Code mode" in labels, "'Code mode' labels a combo box (%r)" % labels)
    check(named(frame, "Code mode", "text") is not None, "the mode box's field is named 'Code mode'")
    start = named(frame, "Start", "push button")
    check(start is not None, "the run button reads 'Start'")
    if start is not None:
        del heard[:]
        click(start)
        check(start.name == "Fast", "after one press the run button reads %r" % start.name)
        check(("push button", "Fast") in heard, "the new caption was announced")
        click(named(frame, "Reset", "push button"))
        check(start.name == "Start", "after Reset the run button reads %r" % start.name)

    # "One" is followed by a notification with the new verdict, which screen readers speak
    # although the focus stays on the button.
    one = named(frame, "One: send one frame", "push button")
    check(one is not None, "a button named 'One: send one frame'")
    if one is not None:
        del announced[:]
        click(one)
        verdict = [n for n in walk(frame, []) if n.description == "Verdict"]
        check(len(verdict) == 1 and announced == [verdict[0].name],
              "'One' announced the verdict (announced %r)" % announced)

    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
