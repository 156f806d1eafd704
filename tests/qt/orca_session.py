#!/usr/bin/python3
"""The window with a real screen reader: Orca with speech-dispatcher (espeak-ng into a
silent sound card) on a virtual screen, the program driven by keys alone, and what Orca
said read back from its debug log, step by step. Run inside a D-Bus session:
dbus-run-session -- python3 tests/qt/orca_session.py build/kestramo
and, with a page as its second argument, the page in a headed Chromium instead.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
# The proverbs the cover may hide, as the form's description lists them.
PROVERBS = re.findall(r'u"([^"]+)"', re.search(
    r"proverbs\(\) \{(.*?)\};", (ROOT / "ui/form_description.cpp").read_text(), re.S).group(1))
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'(?:\{|\[|$)")


class Session:
    def __init__(self, command, home, **extra):
        self.home = home
        self.log = home / "orca-debug.out"
        self.env = dict(os.environ, HOME=str(home), LANG="C.UTF-8",
                        SPEECHD_ADDRESS="unix_socket:%s" % (home / "speechd.sock"))
        self.processes = []
        self.read = 0
        self.start_display()
        self.start_speech()
        self.start_orca()
        self.program = self.spawn(command, **extra)
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                                 str(self.program.pid)], env=self.env, capture_output=True,
                                text=True, timeout=20).stdout.split()[0]
        # No window manager: the window is given the keyboard, as a click on it would.
        subprocess.run(["xdotool", "windowfocus", "--sync", window], env=self.env, timeout=10)

    def spawn(self, command, **extra):
        process = subprocess.Popen(command, env=dict(self.env, **extra),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def start_display(self):
        for number in range(90, 130):
            if not pathlib.Path("/tmp/.X11-unix/X%d" % number).exists():
                break
        self.env["DISPLAY"] = ":%d" % number
        self.spawn(["Xvfb", ":%d" % number, "-screen", "0", "1024x768x24", "-nolisten", "tcp"])
        for _ in range(100):
            if pathlib.Path("/tmp/.X11-unix/X%d" % number).exists():
                break
            time.sleep(0.05)
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        time.sleep(0.5)

    def start_speech(self):
        # espeak-ng speaks into ALSA's null device: real speech, no sound card needed.
        (self.home / ".asoundrc").write_text("pcm.!default { type null }\n")
        config = self.home / "speech-dispatcher"
        shutil.copytree("/etc/speech-dispatcher", config)
        with open(config / "speechd.conf", "a") as f:
            f.write('AudioOutputMethod "alsa"\nDefaultModule espeak-ng\nDefaultLanguage "bg"\n')
        subprocess.run(["speech-dispatcher", "-d", "-t", "0", "-C", str(config),
                        "-S", str(self.home / "speechd.sock"),
                        "-P", str(self.home / "speechd.pid")], env=self.env, check=True,
                       timeout=20)

    def start_orca(self):
        prefs = self.home / "orca"
        prefs.mkdir()
        # Orca gives up on itself after 10 s in one step, which a loaded CI machine may take;
        # and its log is written line by line, so that each step can be read as it happens.
        (prefs / "orca-customizations.py").write_text(
            "from orca import debug, settings\n"
            "settings.timeoutTime = 0\n"
            "if debug.debugFile:\n"
            "    debug.debugFile.reconfigure(line_buffering=True)\n")
        self.orca = self.spawn(["orca", "--replace", "-d", "braille", "-u", str(prefs),
                                "--debug-file", str(self.log)])
        self.wait_for("Screen reader on", 30)

    def said(self):
        """Everything Orca has said since the last call."""
        lines = self.log.read_text(errors="replace").splitlines() if self.log.exists() else []
        spoken = [m.group(1) for m in map(SPOKEN.search, lines) if m]
        new, self.read = spoken[self.read:], len(spoken)
        return new

    def wait_for(self, pattern, timeout=10):
        """What Orca said up to and including an utterance matching the pattern."""
        heard, end = [], time.time() + timeout
        while time.time() < end:
            heard += self.said()
            if any(re.search(pattern, h) for h in heard):
                return heard
            time.sleep(0.1)
        raise AssertionError("Orca never said /%s/; it said %r" % (pattern, heard))

    def keys(self, *keys, settle=0.8):
        for key in keys:
            command = key.split() if " " in key else ["key", key]  # "keydown Insert"
            subprocess.run(["xdotool"] + command, env=self.env, timeout=10)
            time.sleep(0.15)
        time.sleep(settle)

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
        for process in reversed(self.processes):
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
        pid = self.home / "speechd.pid"
        if pid.exists():
            subprocess.run(["kill", pid.read_text().strip()])


def desktop(program):
    home = pathlib.Path(tempfile.mkdtemp(prefix="kestramo-orca."))
    # Qt talks to the accessibility bus whether or not a screen reader says so first.
    session = Session([program], home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                      QT_QPA_PLATFORM="xcb")
    return home, session


def page(path):
    """The page in a headed Chromium, its accessibility on, with Orca reading it."""
    home = pathlib.Path(tempfile.mkdtemp(prefix="kestramo-orca."))
    session = Session(["chromium", "--no-sandbox", "--user-data-dir=%s" % (home / "profile"),
                       "--no-first-run", "--force-renderer-accessibility", "--disable-gpu",
                       "--lang=bg", "--disable-features=Translate", "--window-size=900,700",
                       "--window-position=0,0",
                       pathlib.Path(path).resolve().as_uri()], home)
    return home, session


def letter_test_at_the_fastest_pace(session, step):
    """From the chosen option: Tab to «Почни», start the letter test, back to the slider,
    End, and the run to its end. What was heard from End to the end."""
    session.keys("Tab")
    step("Tab to «Почни»", session.wait_for(r"Почни"))
    session.keys("space")
    step("Space starts a letter test", session.wait_for(r"Тестът „Знак“ започна, 400 мс"))
    session.keys("shift+Tab", "shift+Tab")
    step("back to the slider", session.wait_for(r"Скорост"))
    # The slider's own keys move it at once: no switch to focus mode first.
    session.keys("End", settle=0.2)
    heard = session.wait_for(r"Тестът „Знак“ свърши след \d+ стъпки", 60)
    step("End: the fastest pace, then the run to its end", heard)
    return heard


def read_the_page(session, step):
    # Orca says it has the page, or, as it did once in four runs, hears the focus the page
    # gives its first control first and its "Finished loading" never comes.
    heard = session.wait_for(r"Finished loading|^Описание read only", 30)
    # The page has loaded while it still shows its inert first look: the form is live once
    # the page has given its first control the focus. A Tab before that leaves the page.
    live = r"^Focus mode$|^Описание read only"
    if not any(re.search(live, h) for h in heard):
        heard += session.wait_for(live, 30)
    step("the page opens", heard)
    # The focus the page took at load may be heard before Orca has the page in hand: Tab on
    # until the slider, whatever had the focus.
    heard = []
    for _ in range(3):
        session.keys("Tab")
        heard += session.wait_for(r"Описание|Скорост")
        if any("Скорост" in h for h in heard):
            break
    if not any("400 мс" in h for h in heard):
        heard += session.wait_for(r"400 мс")
    step("Tab to the slider", heard)
    assert any(re.search(r"Скорост .*slider 400 мс", h) for h in heard), heard
    # The description reads line by line in focus mode, as on the desktop.
    session.keys("shift+Tab")
    step("back to the description", session.wait_for(r"Описание"))
    session.keys("Down")
    step("Down in it", session.wait_for(r"^Наличие на характер\.$"))
    session.keys("Down")
    step("Down again", session.wait_for(r"^Необходимост от малко време за визуална реакция и"))
    session.keys("Tab")
    step("on to the slider", session.wait_for(r"400 мс"))
    session.keys("Tab")
    step("Tab to the options", session.wait_for(r"Текст"))
    session.keys("Down", "space")
    step("Down and Space choose «Знак»", session.wait_for(r"selected"))
    heard = letter_test_at_the_fastest_pace(session, step)
    assert heard[0] == "100 мс" and len(heard) == 2, heard  # nothing on any tick
    session.keys("Tab", "Tab", "Tab", "Tab")
    step("Tab to the letters", session.wait_for(r"Букви"))
    session.keys("Down")
    heard = session.wait_for(r"^[A-Z] = \d+$")
    time.sleep(0.5)
    heard += session.said()
    step("Down looks up a letter", heard)
    assert not any("not selected" in h or "неизбран" in h for h in heard), heard
    assert sum(bool(re.search(r"\b[A-Z] = \d+", h)) for h in heard) == 1, heard  # once


def read_the_window(session, step):
    step("the window opens", session.wait_for(r"Описание"))
    session.keys("Tab")
    heard = session.wait_for(r"400 мс")
    step("Tab to the slider", heard)
    assert any(h.startswith("Скорост slider") for h in heard), heard
    # Every move is heard by its pace, once, and never as the slider's bare step.
    for key, pace in (("Right", 397), ("Left", 400), ("Next", 397), ("End", 100), ("Home", 400)):
        session.keys(key, settle=0.3)
        heard = session.wait_for(r"^%d мс" % pace)
        time.sleep(0.3)
        heard += session.said()
        step("%s on the slider" % key, heard)
        assert len(heard) == 1, heard
    session.keys("Tab")
    step("Tab to the options", session.wait_for(r"Текст"))
    session.keys("Right")
    step("Right chooses «Знак»", session.wait_for(r"Знак"))
    heard = letter_test_at_the_fastest_pace(session, step)
    # Nothing in between: no tick was spoken, only the new pace and the end.
    assert heard[0].startswith("100 мс") and len(heard) == 2, heard
    session.keys("Tab", "shift+Tab")
    step("the slider met again", session.wait_for(r"100 мс"))
    session.keys("Tab", "Tab", "Tab", "Tab")
    step("Tab to the letters", session.wait_for(r"Букви"))
    session.keys("Down")
    heard = session.wait_for(r"\b[A-Z] = \d+")
    step("Down looks up a letter", heard)
    assert sum(bool(re.search(r"\b[A-Z] = \d+", h)) for h in heard) == 1, heard
    # Flat review, line by line: up to the top of the window (KP_7), then down (KP_9):
    # whatever the screen shows is read, and the proverb under the cover is not.
    session.keys("KP_Home", "KP_Home", "KP_Home")
    lines = session.wait_for(r"Физическо възпитание")
    for _ in range(14):
        session.keys("KP_Page_Up", settle=0.4)
        lines += session.said()
    step("flat review, from the top", lines)
    assert any("Брояч" in line for line in lines), lines
    hidden = [p for p in PROVERBS if any(p in line for line in lines)]
    assert not hidden, "the covered proverb was read: %s" % hidden
    session.keys("shift+Tab")
    step("back to «Чисти»", session.wait_for(r"Чисти"))
    session.keys("space", "shift+Tab", "shift+Tab", "Left")
    step("«Чисти», then «Текст»", session.wait_for(r"Текст"))
    session.keys("Tab", "space")
    step("a text test starts", session.wait_for(r"Тестът „Текст“ започна, 400 мс"))
    heard = session.wait_for(r"Тестът „Текст“ свърши след 43 стъпки", 40)
    step("and ends, 43 ticks later", heard)
    assert len(heard) == 1, heard  # nothing on any of the 43 ticks


def main():
    # The window, or with a page as the second argument, the page.
    page_given = len(sys.argv) > 2
    home, session = page(sys.argv[2]) if page_given else desktop(sys.argv[1])
    steps = 0

    def step(what, heard):
        nonlocal steps
        steps += 1
        print("%s:" % what)
        for utterance in heard:
            print("    %s" % utterance)

    try:
        (read_the_page if page_given else read_the_window)(session, step)
        print("screen reader%s: %d steps heard as expected"
              % (", the page" if page_given else "", steps))
    finally:
        session.close()
        if not os.environ.get("KESTRAMO_KEEP_ORCA_LOG"):
            shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
