#!/usr/bin/env python3
"""What a screen reader reads of Tapewren, through the accessibility bus.

  a11y.py active    the tree of the active window, one object a line:
                    depth, role, name, description, value, states
  a11y.py focused   the role and name of the object with the keyboard focus
  a11y.py windows   each window's role, name and states, one a line
  a11y.py press NAME          presses the button of that name in a shown window
  a11y.py follow NAME         follows the link of that name in a shown window
  a11y.py type FIELD TEXT     puts TEXT into the text field of that name
  a11y.py alerts SECONDS      "listening", then each alert as it shows: role,
                              name, description, one a line, for that long
Where no window can be given the focus (GNOME, which hands it on only to a
user's input), the last two act as a screen reader would.
"""
import sys

import pyatspi


def app():
    for a in pyatspi.Registry.getDesktop(0):
        # On GNOME, Qt's GTK theme registers the process a second time, as
        # GTK, with no windows.
        if a is not None and (a.name or "").lower() == "tapewren" and a.childCount:
            return a
    return None


def states(o):
    s = o.getState()
    return ",".join(n for n, st in (("focusable", pyatspi.STATE_FOCUSABLE),
                                    ("focused", pyatspi.STATE_FOCUSED),
                                    ("showing", pyatspi.STATE_SHOWING),
                                    ("active", pyatspi.STATE_ACTIVE)) if s.contains(st))


def value(o):
    try:
        return str(o.queryValue().currentValue)
    except NotImplementedError:
        return ""


def line(o, depth):
    name = (o.name or "").replace("\n", " ")
    desc = (o.description or "").replace("\n", " ")
    return "\t".join([str(depth), o.getRoleName(), name, desc, value(o), states(o)])


def walk(o, depth=0):
    print(line(o, depth))
    for child in o:
        if child is not None:
            walk(child, depth + 1)


def shown(o, role, name):
    """The first object below o that is shown with that role and name."""
    if o.getRoleName() == role and o.name == name:
        return o
    for c in o:
        if c is not None and c.getState().contains(pyatspi.STATE_SHOWING):
            f = shown(c, role, name)
            if f:
                return f
    return None


def act(windows, role, name):
    for w in windows:
        if w.getState().contains(pyatspi.STATE_SHOWING):
            o = shown(w, role, name)
            if o:
                return o
    sys.exit("no %s %s shown" % (role, name))


def listen_for_alerts(seconds):
    from gi.repository import GLib

    def showing(event):
        try:
            if event.detail1 and event.source.getRoleName() == "alert":
                print(line(event.source, 0).split("\t", 1)[1].rsplit("\t", 2)[0], flush=True)
        except Exception:  # gone before it could be read
            pass
    pyatspi.Registry.registerEventListener(showing, "object:state-changed:showing")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()


def main():
    if sys.argv[1] == "alerts":  # before the program, whose first balloon comes at once
        listen_for_alerts(float(sys.argv[2]))
        return
    a = app()
    if a is None:
        sys.exit("no tapewren on the accessibility bus")
    windows = [w for w in a if w is not None]
    if sys.argv[1] == "active":
        active = [w for w in windows if w.getState().contains(pyatspi.STATE_ACTIVE)]
        if not active:
            sys.exit("no active window")
        walk(active[0])
    elif sys.argv[1] == "focused":
        def find(o):
            if o.getState().contains(pyatspi.STATE_FOCUSED):
                return o
            for c in o:
                f = c is not None and find(c)
                if f:
                    return f
            return None
        for w in windows:
            f = find(w)
            if f:
                print(f.getRoleName() + "\t" + (f.name or ""))
                return
        sys.exit("nothing focused")
    elif sys.argv[1] == "windows":
        for w in windows:
            print("\t".join([w.getRoleName(), w.name or "", states(w)]))
    elif sys.argv[1] == "press":
        act(windows, "push button", sys.argv[2]).queryAction().doAction(0)
    elif sys.argv[1] == "follow":
        act(windows, "link", sys.argv[2]).queryAction().doAction(0)
    elif sys.argv[1] == "type":
        if not act(windows, "text", sys.argv[2]).queryEditableText().setTextContents(sys.argv[3]):
            sys.exit("the field took no text")


main()
