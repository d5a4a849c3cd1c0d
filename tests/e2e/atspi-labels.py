#!/usr/bin/python3
"""What a screen reader finds in one window of a running program, through the accessibility bus
(AT-SPI): one line for each label, text, link or push button, "X Y NAME", X and Y its top-left
corner in the window, in pixels, in the order the window lists them; a link's or a button's NAME
is followed by its role and its first action in brackets ("[link: Press]"). With a ROLE ("alert"
for a message box, "dialog", "frame"...), only a window of that role counts. With PRESS=NAME in
the environment, the link or button named NAME is pressed, as a screen reader does, through its
first action.

usage: atspi-labels.py APPLICATION WINDOW_TITLE [ROLE]

Exit status 0 when the window was found, 1 when not (yet), 2 when the bus cannot be reached.
"""
import os
import sys

try:
    import pyatspi
except ImportError:
    print("pyatspi is missing (Debian package python3-pyatspi)", file=sys.stderr)
    sys.exit(2)


ACTING = (pyatspi.ROLE_LINK, pyatspi.ROLE_PUSH_BUTTON)


def labels(node, origin, out, depth=0):
    # Controls of these windows sit one or two levels under the window; a bound keeps a
    # misbehaving tree from running on.
    if depth > 8:
        return
    for child in node:
        if child is None:
            continue
        # The amounts are text fields: what they read is their text, not a name.
        role = child.getRole()
        if role in (pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT) + ACTING:
            x, y = child.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
            shown = child.name
            if role == pyatspi.ROLE_TEXT:
                text = child.queryText()
                shown = text.getText(0, text.characterCount)
            if role in ACTING:
                action = child.queryAction()
                shown += " [%s: %s]" % (child.getRoleName(),
                                        action.getName(0) if action.nActions else "none")
                if os.environ.get("PRESS") == child.name:
                    action.doAction(0)
            out.append("%d %d %s" % (x - origin[0], y - origin[1], shown))
        labels(child, origin, out, depth + 1)


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    application, title = sys.argv[1:3]
    role = sys.argv[3] if len(sys.argv) == 4 else None
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None or app.name != application:
                continue
            for window in app:
                if window is None or window.name != title:
                    continue
                if role is not None and window.getRoleName() != role:
                    continue
                if not window.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                origin = window.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
                out = []
                labels(window, origin, out)
                print("\n".join(out))
                return 0
    except Exception as error:  # the bus, or a program that went away while being read
        print("AT-SPI: %s" % error, file=sys.stderr)
        return 2
    return 1


if __name__ == "__main__":
    sys.exit(main())
