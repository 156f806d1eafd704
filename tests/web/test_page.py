#!/usr/bin/python3
"""The page in one engine, driven from outside as a user drives it: real pointer and key
events at page coordinates, the pixels of screenshots. Opened from file://, as from a USB
stick. The same cases run in Chromium, WebKitGTK and Firefox ESR; what only DevTools can
reach is in test_chromium.py. WebKitGTK needs a display: run this under xvfb-run.

usage: test_page.py build-web/kestramo.html chromium|webkit|firefox [unittest arguments]
"""
import pathlib
import sys
import tempfile
import time
import unittest

from PIL import Image

import engines
from engines import GREEN, LAVENDER, PEACH, RED, START_GREEN, VIOLET

PAGE = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build-web/kestramo.html").resolve()
# The same page with scripted draws and a way to break a run (tests/web/test_main.cpp).
TEST_PAGE = PAGE.with_name("kestramo-test.html")
ENGINE = engines.ENGINES[sys.argv[2] if len(sys.argv) > 2 else "chromium"]
# The Linux window at rest, as `./build.sh screenshot` takes it.
LINUX_WINDOW = pathlib.Path(__file__).resolve().parent / "linux_window.png"
# Scripted draws for a letter test: K three times, then A ten times ends the run.
K_THRICE_THEN_A = [7] + [10, 10, 10] + [0] * 10
# Where a colour shows on the form at start-up, in twips.
COLOURS = [
    ("form", (2, 30), LAVENDER), ("title", (1300, 330), PEACH), ("cover", (1875, 1020), PEACH),
    ("counter", (2950, 2850), PEACH), ("frame", (180, 1700), LAVENDER),
    ("option Текст", (1160, 1020), VIOLET), ("option Знак", (1160, 1380), VIOLET),
    ("Почни", (220, 2500), (128, 255, 128)), ("Чисти", (5860, 2500), (255, 0, 0)),
] + [("bar at %d" % x, (x, 1560), START_GREEN) for x in range(1860, 5600, 250)]


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.engine = ENGINE()

    @classmethod
    def tearDownClass(cls):
        cls.engine.close()

    def open(self, path=PAGE, **given):
        self.page = engines.Page(self.engine, path, **given)
        return self.page

    def tearDown(self):
        # No page may report an error, whatever the test did.
        if hasattr(self, "page"):
            self.assertEqual(self.page.errors(), [], self.engine.name)

    def bar(self, twips_x):
        """The speed bar's colour that far from its left end."""
        return self.page.colour(1830 + twips_x, 1560, self.page.screenshot())

    def scroll_top(self, name):
        return self.page.script("return %s.scrollTop" % self.page.query(name))


class StartUp(PageTest):
    def test_state_and_colours(self):
        page = self.open()
        self.assertEqual(page.script("return document.querySelector('title').textContent"),
                         "www.kestramo.bg  Физическа култура и спорт - реакция")
        self.assertEqual(page.script("return document.documentElement.lang"), "bg")
        for name, text in (("Label1(0)", "Физическо възпитание - време за реакция"),
                           ("Label1(1)", "Честота на въздействие"), ("Label1(2)", " "),
                           ("Label1(3)", "0")):
            self.assertEqual(page.text(name), text)
        for name in ("List2", "List1(0)", "List1(1)", "Text1(1)"):
            self.assertTrue(page.hidden(name), name)
        self.assertEqual(page.focused(), "Text1(0)")
        self.assertTrue(page.script("return %s.checked" % page.query("Option1(0)", "input")))
        self.assertEqual(page.value(), 0)
        # The form's size and place: 476 x 345 in the middle of the page.
        x, y, width, height = page.box("#form")
        self.assertEqual((width, height), (476, 345))
        self.assertAlmostEqual(x + width / 2, 400, delta=1)
        self.assertAlmostEqual(y + height / 2, 300, delta=1)
        image = page.screenshot()
        for what, (tx, ty), expected in COLOURS:
            self.assertEqual(page.colour(tx, ty, image), expected, what)

    def test_it_matches_the_linux_window(self):
        # The whole form beside the Linux window, pixel for pixel: the same colours at the
        # same places, but for the edges of the letters, which each engine smooths its way.
        # WebKitGTK draws its glyphs thinner (unhinted) than the others: with every line in
        # its place, 6.1 % of the form's pixels still differ there (Firefox: 1.5 %).
        page = self.open()
        form = page.form_image()
        linux = Image.open(LINUX_WINDOW).convert("RGB").resize(form.size)
        far = 0.075 if self.engine.name == "WebKitGTK" else 0.06
        self.assertLess(engines.pixels_apart(form, linux, tolerance=96), far)

    def test_the_first_look_is_the_form_the_program_then_shows(self):
        # The page shows its form from the markup while the program starts; the program
        # then takes over those elements. Held at that first look, the page shows the same
        # pixels as the running program, and nothing in it answers yet.
        page = self.open()
        page.script("document.activeElement.blur()")
        live = page.form_image()
        with tempfile.TemporaryDirectory() as folder:
            held = engines.held_at_its_first_look(PAGE, folder)
            first = engines.Page(self.engine, held, wait_for=engines.FIRST_LOOK)
            first.wait(lambda: first.script("return document.fonts.status") == "loaded")
            self.assertEqual(first.script("""
                const form = document.getElementById('form');
                return [form.inert, form.getAttribute('aria-hidden'),
                        document.activeElement === document.body,
                        document.querySelector('[data-control="Text1(0)"]').value.length > 0,
                        document.querySelector('input[type=radio]').checked]"""),
                [True, "true", True, True, True])
            self.assertLess(engines.pixels_apart(live, first.form_image()), 0.001)

    def test_the_description_breaks_its_lines_as_the_desktop(self):
        # The description's lines, word by word in a copy of the box (its width, font and
        # spacing), break where they break in the Linux window: WebKitGTK places glyphs on
        # whole pixels and, uncorrected, moved "връзки" to the next line.
        page = self.open()
        lines = page.script("""
            const box = %s, style = getComputedStyle(box);
            const copy = document.createElement('div');
            for (const p of ['fontFamily', 'fontSize', 'fontWeight', 'fontStyle',
                             'letterSpacing', 'wordSpacing', 'lineHeight', 'whiteSpace'])
                copy.style[p] = style[p];
            copy.style.width = box.clientWidth - parseFloat(style.paddingLeft)
                               - parseFloat(style.paddingRight) + 'px';
            copy.style.position = 'absolute';
            document.getElementById('form').appendChild(copy);
            const lines = [];
            for (const paragraph of box.value.split('\\n')) {
                copy.textContent = '';
                const words = paragraph.split(' ').map(word => {
                    const span = document.createElement('span');
                    span.textContent = word;
                    copy.append(span, ' ');
                    return span;
                });
                let top = null;
                for (const span of words) {
                    if (span.offsetTop !== top) lines.push(span.textContent);
                    else lines[lines.length - 1] += ' ' + span.textContent;
                    top = span.offsetTop;
                }
            }
            copy.remove();
            return lines;""" % page.query("Text1(0)"))
        desktop = ["Умението за справянето с кризисна ситуация е свързано с:",
                   "Наличие на характер.",
                   "Необходимост от малко време за визуална реакция и",
                   "осъзнаване на ситуацията.",
                   "Добра физическа и психическа подготовка.",
                   "Да се реализира проект, представящ междупредметни връзки",
                   "Физическо възпитание и Информатика."]
        self.assertEqual(lines[:len(desktop)], desktop)

    def test_texts(self):
        page = self.open()
        text = page.query("Text1(0)")
        description = page.script("return %s.value" % text)
        self.assertEqual(description.count("\n"), 11)  # every line end, the last one too
        self.assertTrue(description.startswith("Умението за справянето с кризисна ситуация"))
        # Read only: no key, cut, paste or drop changes it.
        page.click(page.control("Text1(0)"))
        page.type("абв")
        page.key("Backspace", "Delete", "Enter")
        for key in ("a", "x", "v"):
            page.chord("Control", key)
        page.script("""
            const t = %s, data = new DataTransfer();
            data.setData('text/plain', 'вмъкнато');
            t.dispatchEvent(new ClipboardEvent('paste', {clipboardData: data, bubbles: true,
                                                         cancelable: true}));
            t.dispatchEvent(new InputEvent('input', {bubbles: true}));""" % text)
        self.assertEqual(page.script("return %s.value" % text), description)
        self.assertEqual(page.options("List2"), engines.proverbs())
        self.assertEqual(page.script("return %s.textContent" % page.query("Frame1", ".caption")),
                         "Вид")

    def test_a_normal_start_never_shows_the_failure(self):
        page = self.open()
        time.sleep(2)  # the failure would show after 1.5 s of a start that never came
        self.assertFalse(page.script("""const f = document.getElementById('failure');
            return !f.hidden && getComputedStyle(f).visibility === 'visible'"""))

    def test_a_browser_that_cannot_run_it(self):
        # No WebAssembly at all, or an engine that finds the program's WebAssembly invalid
        # (one from before 2021 lacks its exceptions): each is told apart from a site's
        # policy that refuses it, and no lifeless form shows.
        cases = [
            ("no WebAssembly", "delete window.WebAssembly;", "няма WebAssembly"),
            ("too old", "WebAssembly.validate = () => false; WebAssembly.instantiate = () =>"
                        " Promise.reject(new WebAssembly.CompileError('invalid opcode'));",
             "твърде стар"),
        ]
        for what, source, expected in cases:
            self.engine.before_load(source)
            page = engines.Page(self.engine, PAGE, wait_for="#failure.now:not([hidden])")
            text = page.script("return document.getElementById('failure').innerText")
            self.assertIn(expected, text, what)
            self.assertNotIn("Content-Security-Policy", text, what)
            self.assertFalse(page.script("const f = document.getElementById('form');"
                                         " return f.offsetWidth > 0 && !f.hidden"), what)


class Runs(PageTest):
    def test_whole_text_test_at_the_fastest_pace(self):
        page = self.open()
        page.click(page.control("Command1(0)"))
        page.focus("HScroll1")
        page.key("End")
        self.assertEqual(page.value(), 100)
        started = time.monotonic()
        page.wait(lambda: page.text("Label1(3)") == "43", timeout=20, what="43 ticks")
        took = time.monotonic() - started
        time.sleep(0.4)  # four more intervals, in which nothing may tick
        self.assertEqual(page.text("Label1(3)"), "43")  # it stopped by itself
        # 43 ticks at 100 ms: never early, so not much under 4.3 s; late on a loaded
        # machine, but by a bounded share of the interval, not without end.
        self.assertGreater(took, 0.9 * 43 * 0.1)
        self.assertLess(took, 3 * 43 * 0.1)
        self.assertIn(page.text("Label1(1)"), engines.proverbs())
        # The cover, 75 twips, is 5 pixels high; the proverb shows beneath it.
        self.assertEqual(page.box(page.control("Label1(2)"))[3], 5)

    def test_whole_letter_test_and_the_lookup(self):
        page = self.open()
        page.click(page.control("Option1(1)", "input"))
        page.click(page.control("Command1(0)"))
        self.assertFalse(page.hidden("List1(1)"))
        self.assertTrue(page.greyed("List1(1)"))
        self.assertEqual(page.options("List1(0)"), ["0"] * 26)
        page.focus("HScroll1")
        page.key("End")
        page.wait(lambda: not page.greyed("List1(1)"), timeout=40, what="the end of the run")
        counts = [int(c) for c in page.options("List1(0)")]
        self.assertEqual(sum(counts), int(page.text("Label1(3)")))
        self.assertEqual(max(counts), 10)
        self.assertEqual(counts.count(10), 1)
        self.assertEqual(page.options("List1(1)"), [chr(65 + k) for k in range(26)])
        # The lookup by a click on the row of a letter, then by the keys down to the one
        # that ended the run.
        for k in (3, 0):
            page.click(page.control("List1(1)", "[role=option]:nth-child(%d)" % (k + 1)))
            self.assertEqual(page.text("Label1(2)"), "%s = %d" % (chr(65 + k), counts[k]))
        last = counts.index(10)
        page.key(*["ArrowDown"] * last)
        self.assertEqual(page.text("Label1(2)"), "%s = 10" % chr(65 + last))

    def test_the_run_and_the_lookup_are_told_once_each(self):
        page = self.open(TEST_PAGE)
        page.script("""
            window.told = [];
            new MutationObserver(() => {
                const text = document.getElementById('status').textContent;
                if (text) told.push(text);
            }).observe(document.getElementById('status'),
                       {childList: true, characterData: true, subtree: true});""")
        page.letter_test(K_THRICE_THEN_A)
        self.assertEqual(page.script("return %s.getAttribute('aria-valuetext')"
                                     % page.query("HScroll1")), "100 мс")
        # The same answer again is told again.
        page.focus("List1(1)")
        for count, key in ((3, "k"), (4, "Home"), (5, "k")):
            page.key(key)
            page.wait(lambda: len(page.script("return told")) >= count, 2, "the lookup")
        told = page.script("return told")
        self.assertEqual(told[0], "Тестът „Знак“ започна, 400 мс на стъпка.")
        self.assertTrue(told[1].startswith("Тестът „Знак“ свърши след 13 стъпки."), told)
        self.assertEqual(told[2:], ["K = 3", "A = 10", "K = 3"])
        # The last answer is found again on the list itself.
        page.wait(lambda: (page.script("return %s.getAttribute('aria-description')"
                                       % page.query("List1(1)")) or "").startswith("K = 3. "),
                  timeout=2, what="the answer on the list")

    def test_one_modal_report_then_the_page_goes_on(self):
        page = self.open(TEST_PAGE)
        page.script("Module._kestramo_test_break()")
        page.click(page.control("Command1(0)"))
        self.assertTrue(page.script("return document.getElementById('report').open"))
        self.assertEqual(page.script("return document.querySelector('#report p').textContent"),
                         "Грешка при изпълнение 11: Деление на нула")
        self.assertEqual(page.script("return document.querySelector('#report button')"
                                     ".textContent"), "Добре")
        # Modal: the form takes no click while it is open.
        x, y = page.centre(page.control("Command1(1)"))
        self.assertFalse(page.script("return document.elementFromPoint(arguments[0],"
                                     " arguments[1]).closest('[data-control]')", x, y))
        time.sleep(0.6)
        self.assertEqual(page.text("Label1(3)"), "0")  # the failed run does not tick
        page.click("#report button")
        self.assertFalse(page.script("return document.getElementById('report').open"))
        self.assertEqual(page.focused(), "Command1(0)")
        page.click(page.control("Option1(1)", "input"))
        self.assertEqual(len(page.options("List1(1)")), 26)


class Boxes(PageTest):
    """The description and the letters list: drawn scroll bars and a list of the page's own."""

    def test_the_description_scrolls_by_its_own_bar(self):
        page = self.open()
        bar = page.control("Text1(0)") + " + .bar.vertical"
        # The engine's own bar takes no room: the box is its border and the drawn bar.
        self.assertEqual(page.script("const t = %s; return t.offsetWidth - t.clientWidth"
                                     % page.query("Text1(0)")), 2)
        # Both arrows are drawn, in every engine (Firefox drew none, or a thin overlay).
        image = page.screenshot()
        scale = image.width / page.script("return innerWidth")
        for arrow in ("up", "down"):
            x, y, width, height = page.box(bar + " ." + arrow)
            crop = image.crop(tuple(int(v * scale) for v in (x, y, x + width, y + height)))
            self.assertGreater(sum(1 for p in crop.getdata() if max(p) < 128), 6, arrow)
        client = page.script("return %s.clientHeight" % page.query("Text1(0)"))
        end = page.script("const t = %s; return t.scrollHeight - t.clientHeight"
                          % page.query("Text1(0)"))
        for part, dy, expected in ((".down", 0, 19), (".up", 0, 0), (".track", 40, client)):
            page.click(bar + " " + part, dy=dy)  # a line each way, then a page below the thumb
            self.assertEqual(self.scroll_top("Text1(0)"), expected, part)
        # The thumb, once it has followed, dragged to the bottom shows the end.
        page.wait(lambda: page.script("return document.querySelector(arguments[0]).offsetTop",
                                      bar + " .thumb") > 0, what="the thumb moved down")
        x, y = page.centre(bar + " .thumb")
        for action, to in (("down", y), ("move", y + 60), ("move", y + 120), ("up", y + 120)):
            self.engine.mouse(action, x, to)
        self.assertEqual(self.scroll_top("Text1(0)"), end)
        # Scrolled by other means, the thumb follows.
        page.script("%s.scrollTop = 0" % page.query("Text1(0)"))
        page.wait(lambda: page.script("return document.querySelector(arguments[0]).offsetTop",
                                      bar + " .thumb") == 0, what="the thumb back at the top")
        # The focus stays where it was: a click on the bar is not a click in the box.
        self.assertEqual(page.focused(), "Text1(0)")
        page.focus("HScroll1")
        page.click(bar + " .down")
        self.assertEqual(page.focused(), "HScroll1")

    def rows(self):
        return self.page.script("return [...%s.querySelectorAll('[role=option]')]"
                                ".map(o => [o.textContent, o.getAttribute('aria-selected')])"
                                % self.page.query("List1(1)"))

    def test_the_letters_list_while_greyed_and_after_a_run(self):
        page = self.open(TEST_PAGE)
        page.scripted_draws(K_THRICE_THEN_A)
        page.click(page.control("Option1(1)", "input"))
        page.click(page.control("Command1(0)"))
        letters, bar = page.query("List1(1)"), page.control("List1(1)") + " + .bar.vertical"
        # During the run the list is greyed: out of the tab order, deaf to clicks and keys.
        self.assertTrue(page.greyed("List1(1)"))
        self.assertEqual(page.script("return %s.tabIndex" % letters), -1)
        self.assertTrue(page.script("return document.querySelector(arguments[0])"
                                    ".classList.contains('idle')", bar))
        page.click(page.control("List1(1)", "[role=option]"))
        self.assertNotIn("=", page.text("Label1(2)"))  # it shows the run's letters alone
        self.assertTrue(all(selected == "false" for _, selected in self.rows()))
        page.focus("HScroll1")
        page.key("End")
        page.wait(lambda: not page.greyed("List1(1)"), timeout=10, what="the end of the run")
        self.assertEqual(page.text("Label1(3)"), "13")
        self.assertEqual(page.script("return %s.tabIndex" % letters), 0)
        page.wait(lambda: page.script("const b = document.querySelector(arguments[0]);"
                                      " return !b.hidden && !b.classList.contains('idle')", bar))
        # Keys, and a row's first letter, choose; the chosen row alone says it is selected,
        # and is the list's active one for a screen reader; the keyboard goes on from it.
        page.focus("List1(1)")
        for key, letter, shown in (("Home", "A", "A = 10"), ("k", "K", "K = 3"),
                                   ("ArrowDown", "L", "L = 0"), ("End", "Z", "Z = 0"),
                                   ("PageUp", None, None)):
            page.key(key)
            chosen = [text for text, selected in self.rows() if selected == "true"]
            self.assertEqual(len(chosen), 1, key)
            if letter:
                self.assertEqual((chosen[0], page.text("Label1(2)")), (letter, shown))
                self.assertEqual(page.script(
                    "return document.getElementById(%s.getAttribute('aria-activedescendant'))"
                    ".textContent" % letters), letter)
        # The chosen row is scrolled into view: Z at the end, then a page up from it.
        self.assertLess(chosen[0], "Z")
        self.assertGreater(self.scroll_top("List1(1)"), 0)
        # A click on a row chooses it; «Чисти» empties the list and its choice.
        page.script("%s.scrollTop = 0" % letters)
        page.click(page.control("List1(1)", "[role=option]:nth-child(3)"))
        self.assertEqual(page.text("Label1(2)"), "C = 0")
        page.click(page.control("Command1(1)"))
        self.assertEqual(self.rows(), [])
        self.assertIsNone(page.script("return %s.getAttribute('aria-activedescendant')"
                                      % letters))


class Slider(PageTest):
    def test_arrows_track_drag_and_keys(self):
        page = self.open()
        bar = page.control("HScroll1")
        page.click(bar + " .right")
        self.assertEqual(page.value(), 1)
        self.assertEqual(self.bar(3), RED)  # floor(3855 * 0.01) = 38 twips of red
        self.assertEqual(self.bar(400), GREEN)
        page.click(bar + " .left")
        self.assertEqual(page.value(), 0)
        self.assertEqual(self.bar(3), GREEN)
        page.click(bar + " .track", dx=100)  # right of the thumb: one step
        self.assertEqual(page.value(), 1)
        page.key("End")
        page.click(bar + " .track", dx=-100)  # left of it: one step back
        self.assertEqual(page.value(), 99)
        page.key("Home")
        # A dragged thumb changes nothing until it is let go.
        x, y = page.centre(bar + " .thumb")
        for action, dx in (("down", 0), ("move", 60), ("move", 120)):
            self.engine.mouse(action, x + dx, y)
        self.assertEqual(page.value(), 0)
        self.assertEqual(self.bar(1000), GREEN)
        self.engine.mouse("up", x + 120, y)
        dragged = page.value()
        self.assertGreater(dragged, 30)
        self.assertEqual(self.bar(int(3855 * dragged / 100) - 30), RED)
        self.assertEqual(self.bar(int(3855 * dragged / 100) + 60), GREEN)
        page.key("Home")
        for key, expected in (("ArrowRight", 1), ("ArrowDown", 2), ("ArrowLeft", 1),
                              ("PageDown", 2), ("PageUp", 1), ("End", 100), ("ArrowRight", 100)):
            page.key(key)
            self.assertEqual(page.value(), expected, key)
        self.assertEqual(self.bar(3700), RED)

    def test_a_start_puts_the_pace_back(self):
        page = self.open()
        page.focus("HScroll1")
        page.key("End")
        page.click(page.control("Command1(0)"))
        self.assertEqual(page.value(), 0)
        self.assertEqual(self.bar(3), GREEN)


class Keyboard(PageTest):
    def test_tab_order_and_keys(self):
        page = self.open()
        self.assertEqual(page.focused(), "Text1(0)")
        for expected in ("HScroll1", "Option1(0)", "Command1(0)", "Command1(1)"):
            page.key("Tab")
            self.assertEqual(page.focused(), expected)
        for expected in ("Command1(0)", "Option1(0)"):
            page.chord("Shift", "Tab")
            self.assertEqual(page.focused(), expected)
        # An arrow chooses the other test, and that is a click: the letters are filled.
        for key, expected in (("ArrowDown", "Option1(1)"), ("ArrowUp", "Option1(0)"),
                              ("ArrowRight", "Option1(1)")):
            page.key(key)
            self.assertEqual(page.focused(), expected, key)
        self.assertEqual(len(page.options("List1(1)")), 26)
        # Enter presses «Почни»: a letter test starts and its list comes into the order.
        page.key("Tab")
        self.assertEqual(page.focused(), "Command1(0)")
        page.key("Enter")
        page.wait(lambda: page.text("Label1(3)") == "1", timeout=3, what="the first tick")
        self.assertFalse(page.hidden("List1(1)"))
        # Space presses «Чисти».
        page.key("Tab", " ")
        self.assertEqual(page.text("Label1(3)"), "0")
        self.assertTrue(page.hidden("List1(1)"))

    def test_letters_by_keyboard_after_a_run(self):
        page = self.open(TEST_PAGE)
        page.letter_test(K_THRICE_THEN_A)
        page.focus("List1(1)")
        page.key("Home")
        self.assertEqual(page.text("Label1(2)"), "A = 10")
        page.key(*["ArrowDown"] * 10)
        self.assertEqual(page.text("Label1(2)"), "K = 3")
        page.key("ArrowDown")
        self.assertEqual(page.text("Label1(2)"), "L = 0")


class Screens(PageTest):
    def test_a_phone_width_shows_the_whole_form(self):
        page = self.open(width=360, height=640)
        x, y, width, height = page.box("#form")
        self.assertGreaterEqual(x, 0)
        self.assertLessEqual(x + width, page.script("return innerWidth") + 0.5)
        self.assertAlmostEqual(height / width, 345 / 476, delta=0.01)
        # Scaled, not reflowed: the title still holds one line.
        self.assertEqual(page.script("return %s.getClientRects().length"
                                     % page.query("Label1(0)")), 1)
        page.click(page.control("Command1(0)"))
        page.wait(lambda: page.text("Label1(3)") == "1", timeout=3, what="a tick")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
