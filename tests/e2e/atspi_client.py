#!/usr/bin/python3
"""A screen reader's view of one running program, for the end-to-end tests.

Walks the program's accessible tree as an assistive client does (through the
AT-SPI registry, with pyatspi) and acts on it. One command per run; the answer
is one line of JSON on stdout.

  atspi_client.py PID tree            the program's windows and everything in them
  atspi_client.py PID do NAME         the first action of the first object named NAME
  atspi_client.py PID wait            returns once the program is on the registry
"""
import json
import sys
import time

import pyatspi


def app_of(pid, deadline):
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:  # an application leaving while it is asked
                pass
        if time.monotonic() > deadline:
            raise SystemExit(json.dumps({"error": "program not on the registry"}))
        time.sleep(0.05)


def state_name(state):
    nick = getattr(state, "value_nick", None)
    if nick:
        return nick.replace("-", "_")
    return str(state)[len("STATE_"):].lower()


def state_names(acc):
    return sorted(state_name(s) for s in acc.getState().getStates())


def node(acc):
    out = {
        "role": acc.getRoleName(),
        "name": acc.name,
        "description": acc.description,
        "states": state_names(acc),
        "children": [],
    }
    try:
        action = acc.queryAction()
        out["actions"] = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        out["actions"] = []
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            out["children"].append(node(child))
    return out


def find_in_windows(app, name):
    """The main window first: a dialog may use a command's name for something else."""
    windows = [app.getChildAtIndex(i) for i in range(app.childCount)]
    windows = [w for w in windows if w is not None]
    windows.sort(key=lambda w: w.getRoleName() != "frame")
    for window in windows:
        found = find(window, name)
        if found is not None:
            return found
    return None


def find(acc, name):
    if acc.name == name:
        return acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            found = find(child, name)
            if found is not None:
                return found
    return None


def main():
    pid = int(sys.argv[1])
    command = sys.argv[2]
    app = app_of(pid, time.monotonic() + 20)
    if command == "wait":
        print(json.dumps({"ok": True}))
    elif command == "tree":
        print(json.dumps(node(app)))
    elif command == "do":
        target = find_in_windows(app, sys.argv[3])
        if target is None:
            print(json.dumps({"error": "nothing named " + sys.argv[3]}))
            return
        start = time.monotonic()
        target.queryAction().doAction(0)
        print(json.dumps({"ms": round((time.monotonic() - start) * 1000)}))
    else:
        raise SystemExit("unknown command " + command)


if __name__ == "__main__":
    main()
