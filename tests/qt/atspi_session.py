#!/usr/bin/python3
"""Through the accessibility tree alone: find the window's controls, press «Почни» and
hear the counter advance; then choose «Знак» with its toggle action, start a letter test,
set the slider's value to the fastest, wait for the run to end and look up a letter by
selecting its row, as a screen reader, switch access or voice control would. Every action
must do what the matching click or key does. Run inside a D-Bus session on an X display:
dbus-run-session -- xvfb-run -a python3 tests/qt/atspi_session.py build/kestramo
"""
import os
import re
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


def do(node, *wanted):
    """Runs the first of the wanted actions the node offers."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for name in wanted:
        if name in names:
            action.doAction(names.index(name))
            return name
    raise AssertionError(f"{node.name}: none of {wanted} in {names}")


def wait_for(what, timeout):
    end = time.time() + timeout
    while time.time() < end:
        value = what()
        if value:
            return value
        time.sleep(0.1)
    return None


def letter_test(app, start, letters_option, slider):
    assert do(letters_option, "Toggle") == "Toggle"
    assert wait_for(lambda: letters_option.getState().contains(pyatspi.STATE_CHECKED), 2), \
        "«Знак» not checked after its toggle"
    do(start, "Press")
    # The letters list shows only once a letter test has started; the press is a click,
    # which comes a moment later.
    letters = wait_for(lambda: next((n for n in [find(app, "list", "Букви")]
                                     if n is not None and n.getState().contains(pyatspi.STATE_SHOWING)),
                                    None), 3)
    assert letters is not None, "no letters list shown: the toggle did not choose the letter test"
    assert wait_for(lambda: letters.childCount == 26, 3), "the letters list has no 26 rows"
    slider.queryValue().currentValue = 100.0
    assert wait_for(lambda: slider.queryValue().currentValue == 100.0, 2), "slider not moved"
    # At 100 ms a tick, a letter test ends within 235 ticks: the list then takes input.
    assert wait_for(lambda: letters.getState().contains(pyatspi.STATE_ENABLED), 40), \
        "the letter test did not end"
    # Qt offers a list's rows through the table interface: a screen reader selects a row so.
    assert letters.queryTable().addRowSelection(10), "row K could not be selected"
    lookup = wait_for(lambda: next((n for n in labels(app) if re.fullmatch(r"K = \d+", n)), None), 3)
    assert lookup is not None, "selecting K showed no count"
    print("letter lookup as read:", lookup)


def labels(node, depth=0):
    if node is None or depth > 12:
        return []
    found = []
    try:
        if node.getRoleName() == "label":
            found.append(node.name)
        for i in range(node.childCount):
            found += labels(node.getChildAtIndex(i), depth + 1)
    except Exception:
        pass
    return found


def main():
    # What a screen reader is told: the notifications that show, in order.
    told = []

    def shown(event):
        if event.source.getRoleName() == "notification" and event.detail1:
            told.append(event.source.name)
    pyatspi.Registry.registerEventListener(shown, "object:state-changed:showing")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORM", None)
    program = subprocess.Popen([sys.argv[1]], env=env)
    try:
        app = application()
        assert app is not None, "Kestramo is not in the accessibility tree"
        start = find(app, "push button", "Почни")
        clear = find(app, "push button", "Чисти")
        letters = find(app, "radio button", "Знак")
        slider = find(app, "slider", "Скорост")
        assert start and clear and letters and slider, "controls missing from the tree"
        assert start.description, "«Почни» has no description"
        assert slider.description.startswith("400 мс"), slider.description
        assert find(app, "frame") is not None, "the window is not a frame"
        counter = find(app, "label", "Брояч")
        assert counter is not None, "no counter named Брояч"
        assert counter.queryValue().currentValue == 0, "the counter does not read 0"
        # The prompt lies under the cover at start: it is not showing, and has no name.
        assert "Честота на въздействие" not in labels(app), "the covered prompt is read"
        action = start.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)
        seen = []
        end = time.time() + 5
        while time.time() < end and len(set(seen)) < 4:
            seen.append(int(counter.queryValue().currentValue))
            time.sleep(0.1)
        print("counter as read:", " ".join(map(str, dict.fromkeys(seen))))
        values = [int(v) for v in dict.fromkeys(seen)]
        assert len(values) >= 3 and values == sorted(values), "the counter did not advance"
        letter_test(app, start, letters, slider)
        # Events come through the registry's own loop: let it hand over what has arrived.
        end = time.time() + 3
        while time.time() < end and not any(re.fullmatch(r"K = \d+", t) for t in told):
            pyatspi.Registry.pumpQueuedEvents()
            time.sleep(0.1)
        print("told:", told)
        assert told[:2] == ["Тестът „Текст“ започна, 400 мс на стъпка.",
                            "Тестът „Знак“ започна, 400 мс на стъпка."], told
        assert any(t.startswith("Тестът „Знак“ свърши след") for t in told), told
        assert re.fullmatch(r"K = \d+", told[-1]), told
        print("accessibility: 3 passed, 0 failed")
    finally:
        program.terminate()
        program.wait(5)


if __name__ == "__main__":
    main()
