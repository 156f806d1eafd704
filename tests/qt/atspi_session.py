#!/usr/bin/python3
"""Through the accessibility tree alone: find the window's controls, press «Почни» and
hear the counter advance. Run inside a D-Bus session on an X display:
dbus-run-session -- xvfb-run -a python3 tests/qt/atspi_session.py build/kestramo
"""
import os
import subprocess
import sys
import time

import pyatspi


def find(node, role, name=None, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
        for i in range(node.childCount):
            hit = find(node.getChildAtIndex(i), role, name, depth + 1)
            if hit is not None:
                return hit
    except Exception:
        return None
    return None


def application(timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == "kestramo":
                return app
        time.sleep(0.2)
    return None


def main():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)
    program = subprocess.Popen([sys.argv[1]], env=env)
    try:
        app = application()
        assert app is not None, "Kestramo is not in the accessibility tree"
        start = find(app, "push button", "Почни")
        clear = find(app, "push button", "Чисти")
        letters = find(app, "radio button", "Знак")
        slider = find(app, "scroll bar", "Скорост")
        assert start and clear and letters and slider, "controls missing from the tree"
        assert start.description, "«Почни» has no description"
        counter = find(app, "label", "0")
        assert counter is not None, "no counter reading 0"
        action = start.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)
        seen = []
        end = time.time() + 5
        while time.time() < end and len(set(seen)) < 4:
            seen.append(counter.name)
            time.sleep(0.1)
        print("counter as read:", " ".join(dict.fromkeys(seen)))
        values = [int(v) for v in dict.fromkeys(seen)]
        assert len(values) >= 3 and values == sorted(values), "the counter did not advance"
        print("accessibility: 1 passed, 0 failed")
    finally:
        program.terminate()
        program.wait(5)


if __name__ == "__main__":
    main()
