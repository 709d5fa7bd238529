#!/usr/bin/env python3
"""What a screen reader reads of Tapewren, through the accessibility bus.

  a11y.py active    the tree of the active window, one object a line:
                    depth, role, name, description, value, states
  a11y.py focused   the role and name of the object with the keyboard focus
"""
import sys

import pyatspi


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and (a.name or "").lower() == "tapewren":
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


def main():
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


main()
