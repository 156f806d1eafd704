#!/usr/bin/python3
"""The page in headless Chromium where only its DevTools reach: a site's policy and another
site's frame, failed loads, a frozen or hidden tab, touch, a device-pixel ratio of two, forced
colours, the accessibility tree, print, and the requests the page makes.

usage: test_chromium.py build-web/kestramo.html [unittest arguments]
"""
import base64
import json
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image, ImageOps

sys.argv[2:2] = ["chromium"]  # the shared suite's engine, for what is taken from it
import engines  # noqa: E402
from engines import Host, LAVENDER, PEACH, RED, START_GREEN  # noqa: E402
from test_page import PAGE, TEST_PAGE, K_THRICE_THEN_A, PageTest  # noqa: E402

DEPLOY_GUIDE = pathlib.Path(__file__).resolve().parents[2] / "docs" / "deploy.md"


class ChromiumTest(PageTest):
    def cdp(self, command, **given):
        return self.engine.cdp(command, **given)

    def tree(self):
        """The accessibility tree's nodes that a screen reader meets: role, name,
        description and properties."""
        self.cdp("Accessibility.enable")
        found = []
        for node in self.cdp("Accessibility.getFullAXTree")["nodes"]:
            if node.get("ignored"):
                continue
            field = lambda key: (node.get(key) or {}).get("value")
            properties = {p["name"]: (p.get("value") or {}).get("value")
                          for p in node.get("properties", [])}
            found.append((field("role"), field("name"), field("description"), properties))
        return found

    def touch(self, kind, fingers=()):
        """Fingers on a touch screen, [(id, x, y)]: a start or a move lists every finger
        down, an end the fingers lifted (none: all of them)."""
        self.cdp("Input.dispatchTouchEvent", type=kind,
                 touchPoints=[{"x": x, "y": y, "id": finger} for finger, x, y in fingers])

    def tap(self, selector):
        x, y = self.page.centre(selector)
        self.touch("touchStart", [(0, x, y)])
        self.touch("touchEnd")

    def ticks(self):
        """Notes in window.changes when the counter changes."""
        self.page.script("""
            window.changes = [];
            new MutationObserver(() => changes.push(performance.now())).observe(%s,
                {childList: true, characterData: true, subtree: true});"""
                         % self.page.query("Label1(3)"))


class Hosted(ChromiumTest):
    """The page on a web server, under a site's Content-Security-Policy or in another
    site's frame; and when the site or the browser cannot run it."""

    def test_the_documented_content_security_policy_is_enough(self):
        policy = re.search(r"^Content-Security-Policy: (.+)$", DEPLOY_GUIDE.read_text(),
                           re.M).group(1)
        with Host({"/kestramo.html": (PAGE.read_bytes(),
                                      {"Content-Security-Policy": policy})}) as host:
            page = self.open(url=host.origin + "/kestramo.html")
            self.assertEqual(page.text("Label1(1)"), "Честота на въздействие")
            page.click(page.control("Command1(0)"))
            page.wait(lambda: page.text("Label1(3)") == "1", timeout=3, what="a tick")
            # The policy's own word: a blocked inline script, style, font, fetch or compile
            # shows as a console error, which tearDown fails on.

    def test_inside_another_sites_frame_it_waits_for_the_user(self):
        # A learning platform's page with its own search box and the program in a frame
        # from another origin: the program must not take the focus from the platform.
        from selenium.webdriver.common.by import By
        driver = self.engine.driver
        with Host({"/kestramo.html": (PAGE.read_bytes(), {})}) as program:
            outer = ('<!DOCTYPE html><meta charset="utf-8"><link rel="icon" href="data:,">'
                     '<input id="search" autofocus>'
                     '<iframe src="%s/kestramo.html" width="600" height="450"></iframe>'
                     % program.origin).encode()
            with Host({"/lesson.html": (outer, {})}) as platform:
                self.engine.goto(platform.origin + "/lesson.html")
                frame = driver.find_element(By.TAG_NAME, "iframe")
                inside = driver.execute_script("const f = arguments[0], r = f.getBoundingClientRect();"
                                               " return [r.x + f.clientLeft, r.y + f.clientTop]",
                                               frame)
                driver.switch_to.frame(frame)
                page = engines.Page.already_open(self.engine)
                time.sleep(0.3)  # and whatever the program does right after showing
                driver.switch_to.default_content()
                self.assertEqual(driver.execute_script("return document.activeElement.id"),
                                 "search")
                # The user's own click goes into the frame and works there.
                driver.switch_to.frame(frame)
                x, y = page.centre(page.control("Command1(0)"))
                self.engine.mouse("click", inside[0] + x, inside[1] + y)
                page.wait(lambda: page.text("Label1(3)") == "1", timeout=3, what="a tick")
                self.assertEqual(self.engine.errors(), [])
                driver.switch_to.default_content()

    def test_a_site_policy_that_refuses_it(self):
        # A policy that forbids its script or its style, or its WebAssembly: the page says
        # so, in Bulgarian, with what to do, and shows no lifeless form.
        wasm = ("default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
                "connect-src data:; font-src data:; img-src data:")
        for policy, expected in (("script-src 'self'", "Content-Security-Policy"),
                                 ("default-src 'self'", "Content-Security-Policy"),
                                 (wasm, "при стартирането")):
            with Host({"/kestramo.html": (PAGE.read_bytes(),
                                          {"Content-Security-Policy": policy})}) as host:
                self.engine.goto(host.origin + "/kestramo.html")
                engines.wait_until(lambda: self.engine.script("""
                    const f = document.getElementById('failure');
                    return !f.hidden && getComputedStyle(f).visibility === 'visible'"""),
                    5, "the failure")
                text = self.engine.script("return document.getElementById('failure').innerText")
                self.assertIn(expected, text, policy)
                self.assertIn("'wasm-unsafe-eval'", text, policy)
                self.assertFalse(self.engine.script(
                    "const f = document.getElementById('form'); return f.offsetWidth > 0"
                    " && !f.hidden"), policy)

    def test_no_request_leaves_the_file(self):
        page = self.open()
        time.sleep(0.5)  # whatever it might fetch once it runs
        urls = [json.loads(entry["message"])["message"]["params"]["request"]["url"]
                for entry in self.engine.driver.get_log("performance")
                if '"Network.requestWillBeSent"' in entry["message"]]
        self.assertEqual([u for u in urls if not u.startswith(("file:", "data:"))], [])
        self.assertFalse(page.script("return typeof SharedArrayBuffer !== 'undefined' "
                                     "&& crossOriginIsolated"))
        self.assertLessEqual(PAGE.stat().st_size, 512 * 1024)


class Tabs(ChromiumTest):
    def test_a_frozen_page_gives_no_burst(self):
        page = self.open()
        page.click(page.control("Command1(0)"))
        page.focus("HScroll1")
        page.key("End")
        self.ticks()
        page.wait(lambda: len(page.script("return changes")) >= 3, what="ticks")
        self.cdp("Page.setWebLifecycleState", state="frozen")
        time.sleep(1.0)  # frozen: nothing runs, whatever the condition
        self.cdp("Page.setWebLifecycleState", state="active")
        frozen = len(page.script("return changes"))
        page.wait(lambda: len(page.script("return changes")) >= frozen + 4, what="ticks again")
        changes = page.script("return changes")
        gaps = [b - a for a, b in zip(changes, changes[1:])]
        self.assertTrue(any(g > 800 for g in gaps), gaps)  # the freeze is there
        self.assertGreaterEqual(min(gaps), 50, gaps)      # and nothing bursts after it

    def test_a_hidden_page_keeps_its_timetable_when_shown_again(self):
        # A hidden tab's timers come late (a second and more in Chromium's own throttling,
        # which headless Chromium leaves out): here they are held back by hand while the
        # page is hidden, so only the page's return can bring the tick that is due.
        page = self.open()
        page.click(page.control("Command1(0)"))
        self.ticks()
        page.script("""
            const later = window.setTimeout;
            window.setTimeout = (f, wait, ...rest) =>
                later(f, document.hidden ? Math.max(wait, 5000) : wait, ...rest);
            window.shown = [];
            // Heard first (capturing, on the window), before the page's own listener keeps
            // the tick that fell due.
            window.addEventListener('visibilitychange', () => {
                if (!document.hidden) shown.push(performance.now()); }, true);""")
        page.wait(lambda: len(page.script("return changes")) >= 1, what="a tick")
        driver = self.engine.driver
        page_tab = driver.current_window_handle
        driver.switch_to.new_window("tab")
        time.sleep(1.2)  # hidden for longer than two intervals
        driver.close()
        driver.switch_to.window(page_tab)
        page.wait(lambda: page.script("return shown.length") > 0, what="the page shown again")
        page.wait(lambda: page.script("return changes.some(t => t >= shown[0])"),
                  what="the tick that fell due")
        time.sleep(0.1)  # less than an interval: no second tick may come in it
        shown, changes = page.script("return [shown[0], changes]")
        after = [t for t in changes if t >= shown]
        # The tick that fell due while hidden comes as the page shows, and only that one.
        self.assertLess(after[0] - shown, 200, (shown, changes))
        self.assertEqual(len(after), 1, (shown, changes))


class Touch(ChromiumTest):
    def at_fifty(self):
        self.page.focus("HScroll1")
        self.page.key("Home", *["ArrowRight"] * 50)
        self.assertEqual(self.page.value(), 50)
        return [self.page.control("HScroll1", part) for part in (".left", ".thumb", ".right")]

    def still(self, seconds=1.2):
        """The value, once it has held still for `seconds`."""
        before = self.page.value()
        time.sleep(seconds)
        self.assertEqual(self.page.value(), before, "the slider moved by itself")
        return before

    def test_taps_are_clicks(self):
        page = self.open(mobile=True)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
        try:
            self.tap(page.control("Option1(1)"))
            self.assertEqual(len(page.options("List1(1)")), 26)
            self.tap(page.control("Command1(0)"))
            self.assertFalse(page.hidden("List1(1)"))
            page.wait(lambda: page.text("Label1(3)") == "1", timeout=3, what="a tick")
            self.tap(page.control("Command1(1)"))
            self.assertEqual(page.text("Label1(3)"), "0")
            self.tap(page.control("HScroll1", ".right"))
            self.assertEqual(page.value(), 1)
        finally:
            self.cdp("Emulation.setTouchEmulationEnabled", enabled=False)

    def test_two_fingers_each_hold_their_own_arrow(self):
        page = self.open()
        left, _, right = self.at_fifty()
        one, two = (1,) + page.centre(right), (2,) + page.centre(left)
        # Both down, the first lifted first, both before the repeat begins: one step each.
        self.touch("touchStart", [one])
        self.assertEqual(page.value(), 51)
        self.touch("touchStart", [one, two])
        self.assertEqual(page.value(), 50)
        self.touch("touchEnd", [one])
        self.touch("touchEnd", [two])
        self.assertEqual(self.still(), 50)
        # The first finger held on: its repeat outlives the second finger's lift, and ends
        # with its own.
        self.touch("touchStart", [one])
        self.touch("touchStart", [one, two])
        self.touch("touchEnd", [two])
        page.wait(lambda: page.value() > 52, what="the repeat")
        self.touch("touchEnd")
        self.assertGreater(self.still(), 52)

    def test_cancelled_or_lost_drags_change_nothing(self):
        page = self.open()
        _, thumb, _ = self.at_fifty()
        home = page.box(thumb)[0]
        x, y = page.centre(thumb)
        # A touch drag that the browser cancels.
        self.touch("touchStart", [(1, x, y)])
        self.touch("touchMove", [(1, x + 30, y)])
        self.touch("touchMove", [(1, x + 60, y)])
        self.assertNotEqual(page.box(thumb)[0], home)  # the thumb follows the finger
        self.touch("touchCancel")
        self.assertEqual(self.still(0.3), 50)
        self.assertEqual(page.box(thumb)[0], home)
        # A mouse drag whose capture goes without a release: the thumb no longer follows
        # the mouse, and the later release changes nothing.
        page.script("window.pointers = []; %s.addEventListener('pointerdown',"
                    " e => window.pointers.push(e.pointerId))" % page.query("HScroll1"))
        self.engine.mouse("down", x, y)
        self.engine.mouse("move", x + 40, y)
        page.script("%s.releasePointerCapture(window.pointers[0])" % page.query("HScroll1"))
        self.engine.mouse("move", x + 80, y)
        self.assertEqual(page.box(thumb)[0], home)
        self.engine.mouse("up", x + 80, y)
        self.assertEqual(self.still(0.3), 50)
        # A middle click, or a click with Shift, on the thumb itself does nothing.
        for kind in ("mousePressed", "mouseReleased"):
            self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="middle",
                     clickCount=1)
        self.engine.key("down", "Shift")
        self.engine.mouse("click", x, y)
        self.engine.key("up", "Shift")
        self.assertEqual(self.still(0.3), 50)
        self.assertEqual(page.box(thumb)[0], home)


class Screens(ChromiumTest):
    def test_device_pixel_ratio_of_two(self):
        page = self.open(ratio=2)
        canvas = page.script("const c = document.querySelector('.picture canvas');"
                             "return [c.width, c.height, c.getBoundingClientRect().width]")
        self.assertEqual(canvas, [2 * 253, 2 * 61, 253])
        image = page.screenshot()
        self.assertEqual(image.size, (1600, 1200))
        for tx, ty, expected in ((1300, 330, PEACH), (3000, 1560, START_GREEN),
                                 (220, 2500, (128, 255, 128))):
            self.assertEqual(page.colour(tx, ty, image), expected)
        # Edges on device pixels: the title's bottom edge and the bar's are sharp, with no
        # row blended between the two colours.
        for tx, ty, above, below in ((1300, 375, PEACH, LAVENDER),
                                     (3000, 2055 - 30, START_GREEN, (255, 255, 255))):
            x, y = page.point(tx, ty)
            column = [image.getpixel((int(x * 2), int(y * 2) + dy)) for dy in range(-4, 5)]
            self.assertTrue(all(c in (above, below) for c in column), column)
            self.assertEqual((column[0], column[-1]), (above, below))

    def test_a_phone_screen_shows_the_whole_form(self):
        page = self.open(width=360, height=640, ratio=2, mobile=True)
        x, _, width, height = page.box("#form")
        self.assertGreaterEqual(x, 0)
        self.assertAlmostEqual(width, 360, delta=1)
        self.assertAlmostEqual(height, 345 * 360 / 476, delta=1)

    def test_forced_colours_keep_every_state_visible(self):
        # Windows' contrast themes force the page's colours to a few system ones: every
        # state must still show, by shape or by the colours kept where they mean something.
        for scheme in ("light", "dark"):
            page = self.open()
            self.cdp("Emulation.setEmulatedMedia", features=[
                {"name": "forced-colors", "value": "active"},
                {"name": "prefers-color-scheme", "value": scheme}])
            try:
                self.assertTrue(page.script("return matchMedia('(forced-colors: active)')"
                                            ".matches"))
                dots = [page.control("Option1(%d)" % i, "input") for i in (0, 1)]
                # The middle of each option's box: the dot, or nothing.
                middles = lambda image: [image.getpixel(page.centre(d)) for d in dots]
                chosen, other = middles(page.screenshot())
                self.assertNotEqual(chosen, other, scheme + ": both options look the same")
                page.click(dots[1])
                self.assertEqual(middles(page.screenshot()), [other, chosen],
                                 scheme + ": «Знак» chosen does not look chosen")
                # The arrows point each its own way, not two squares.
                image = page.screenshot()
                for side, points_left in ((".left", True), (".right", False)):
                    x, y, width, height = page.box(page.control("HScroll1", side))
                    arrow = image.crop((int(x) + 3, int(y) + 3, int(x + width) - 2,
                                        int(y + height) - 2))
                    ground = arrow.getpixel((0, 0))
                    columns = [sum(arrow.getpixel((i, j)) != ground for j in range(arrow.height))
                               for i in range(arrow.width)]
                    drawn = [count for count in columns if count]
                    self.assertTrue(drawn, scheme + side)
                    # A triangle: its point is a shorter column than its base.
                    point, base = (drawn[0], drawn[-1]) if points_left else (drawn[-1], drawn[0])
                    self.assertLess(point, base, "%s%s: %s" % (scheme, side, columns))
                # The speed bar keeps its red up to the pace.
                page.focus("HScroll1")
                page.key("End")
                self.assertEqual(self.bar(3000), RED, scheme)
            finally:
                self.cdp("Emulation.setEmulatedMedia", features=[])

    def test_printed_whole_in_the_middle_of_one_page(self):
        for width in (800, 1920, 2560):
            self.open(width=width, height=1080 if width > 800 else 600)
            # The form placed for that window; then the window as a browser prints it, not
            # as a device that the test emulates (that would scale the print to its width).
            self.cdp("Emulation.clearDeviceMetricsOverride")
            pdf = base64.b64decode(self.cdp("Page.printToPDF", paperWidth=8.27,
                                            paperHeight=11.69, printBackground=False)["data"])
            with tempfile.TemporaryDirectory() as folder:
                path = pathlib.Path(folder, "print.pdf")
                path.write_bytes(pdf)
                info = subprocess.run(["pdfinfo", path], capture_output=True, text=True).stdout
                self.assertRegex(info, r"Pages:\s+1\n", width)
                text = subprocess.run(["pdftotext", "-layout", path, "-"],
                                      capture_output=True, text=True).stdout
                subprocess.run(["pdftoppm", "-r", "48", "-png", "-singlefile", path,
                                pathlib.Path(folder, "print")], check=True)
                image = Image.open(pathlib.Path(folder, "print.png")).convert("RGB")
            # The controls from the left edge to the right one, in their own colours.
            for word in ("Почни", "Чисти", "Текст", "Знак", "Вид"):
                self.assertIn(word, text, width)
            self.assertIn(LAVENDER, [colour for _, colour in image.getcolors(1 << 16)])
            # Everything printed is the form: at its own size (476 x 345 CSS pixels, half
            # that at 48 dots an inch, with its outline), in the middle of the A4 page.
            left, top, right, bottom = ImageOps.invert(image).getbbox()
            self.assertAlmostEqual(right - left, 476 / 2, delta=3, msg=width)
            self.assertAlmostEqual(bottom - top, 345 / 2, delta=3, msg=width)
            self.assertAlmostEqual((left + right) / 2, image.width / 2, delta=4, msg=width)
            self.assertAlmostEqual((top + bottom) / 2, image.height / 2, delta=4, msg=width)


class ScreenReaders(ChromiumTest):
    def test_names_and_descriptions(self):
        page = self.open()
        tree = [(role, name, description) for role, name, description, _ in self.tree()]
        for node in [
            ("button", "Почни", "Започва ново упражнение"),
            ("button", "Чисти", "Спира и изчиства упражнението"),
            ("radio", "Текст", "Тестът с постепенно изписване на текст"),
            ("radio", "Знак", "Тестът с преброяване на букви"),
            ("radiogroup", "Вид", "Изберете теста"),
            ("slider", "Скорост", "От 400 до 100 милисекунди между две стъпки"),
            ("image", "Лента на скоростта: 400 мс",
             "Червена до избраната скорост, зелена след нея"),
            ("textbox", "Описание", "Какво представлява упражнението"),
            ("main", "www.kestramo.bg Физическа култура и спорт - реакция", None),
        ]:
            self.assertIn(node, tree)
        names = [name for _, name, _ in tree]
        for text in ("Физическо възпитание - време за реакция", "Брояч"):
            self.assertIn(text, names)
        # Hidden controls are not read, nor the message kept for a failed start, nor the
        # prompt under the cover; nothing in the form announces on its own: what the page
        # tells a screen reader has one polite place of its own, outside the form.
        for unread in ("Честота на въздействие", "Поговорки", "Kestramo не можа да се отвори"):
            self.assertNotIn(unread, names)
        self.assertEqual(page.script(
            "return document.querySelectorAll('#form [aria-live], #form [role=status], "
            "#form [role=alert]').length"), 0)
        self.assertIn("status", [role for role, _, _ in tree])

    def test_labels_read_what_shows(self):
        page = self.open()
        page.click(page.control("Command1(0)"))
        page.wait(lambda: page.text("Label1(3)") == "1", timeout=3)
        names = [name for _, name, _, _ in self.tree()]
        self.assertIn("1", names)
        # The proverb is under the cover: not read until the cover has gone.
        self.assertNotIn(page.text("Label1(1)"), names)

    def test_the_chosen_letter_is_selected_in_a_list_that_takes_input(self):
        page = self.open(TEST_PAGE)
        page.letter_test(K_THRICE_THEN_A)
        page.focus("List1(1)")
        page.key("k")
        option = [p for role, name, _, p in self.tree() if (role, name) == ("option", "K")][0]
        self.assertTrue(option["selected"])
        self.assertNotIn("disabled", option)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
