"""The three engines a school meets, behind one set of calls, and the page open in one of them
as a user reaches it: Chromium (chromedriver, with DevTools), WebKit (WebKitGTK, the engine of
Safari on iPads and Macs, through WebKitWebDriver) and Gecko (Debian's Firefox ESR, through
puppeteer-core over WebDriver BiDi; firefox_bridge.mjs). WebKit needs a display."""
import base64
import http.server
import io
import json
import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

from PIL import Image

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parents[1]

# The program's own form, once it has taken over the first look the page shows before.
LIVE_FORM = "#form:not([hidden]):not([data-first-look])"
FIRST_LOOK = "#form[data-first-look]"
LAVENDER, PEACH, VIOLET = (192, 192, 255), (255, 192, 128), (128, 128, 255)
START_GREEN, GREEN, RED = (30, 230, 30), (100, 230, 30), (230, 30, 30)


def wait_until(condition, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.02)
    raise AssertionError("timed out waiting for " + what)


def proverbs():
    """The proverbs of the text test, as the form description lists them."""
    text = (ROOT / "ui" / "form_description.cpp").read_text(encoding="utf-8")
    return re.findall(r'u"([^"]+)"', re.search(r"proverbs\(\) \{(.*?)\};", text, re.S).group(1))


class Selenium:
    """What chromedriver and WebKitWebDriver share: W3C actions and scripts."""

    def goto(self, url):
        self.driver.get(url)

    def script(self, body, *args):
        return self.driver.execute_script(body, *args)

    def screenshot(self):
        return Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert("RGB")

    def mouse(self, action, x, y):
        from selenium.webdriver.common.actions.action_builder import ActionBuilder
        builder = ActionBuilder(self.driver)
        builder.pointer_action.move_to_location(int(x), int(y))
        if action in ("click", "down"):
            builder.pointer_action.pointer_down()
        if action in ("click", "up"):
            builder.pointer_action.pointer_up()
        builder.perform()

    def key(self, action, key):
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys
        value = key if len(key) == 1 or action == "type" else getattr(Keys, {
            "ArrowDown": "ARROW_DOWN", "ArrowUp": "ARROW_UP", "ArrowLeft": "ARROW_LEFT",
            "ArrowRight": "ARROW_RIGHT", "PageUp": "PAGE_UP", "PageDown": "PAGE_DOWN",
        }.get(key, key.upper()))
        chain = ActionChains(self.driver)
        {"press": chain.send_keys, "down": chain.key_down, "up": chain.key_up,
         "type": chain.send_keys}[action](value)
        chain.perform()

    def close(self):
        self.driver.quit()


class Chromium(Selenium):
    name = "Chromium"

    def __init__(self, rate=1, app=None, bar=True):
        """`app`: the address to open as an app, in a window of its own on the display, with
        no tabs or address bar; with `bar`, a bar inside it says a program drives it."""
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        self.profile = tempfile.mkdtemp(prefix="kestramo-chromium-")
        if not bar:
            options.add_experimental_option("excludeSwitches", ["enable-automation"])
        for argument in (
            "--app=" + app if app else "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--disable-dev-shm-usage", "--user-data-dir=" + self.profile,
            "--window-size=800,600",
            # A tile is drawn whole each time, so that a picture of the page does not
            # depend on which of its parts were painted again before.
            "--disable-partial-raster",
        ):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"),
                                       options=options)
        self.before_next = []
        self.buttons = 0  # the mouse's buttons held
        if rate != 1:
            self.cdp("Emulation.setCPUThrottlingRate", rate=rate)
            self.name = "Chromium, CPU %dx slower" % rate

    def cdp(self, command, **given):
        return self.driver.execute_cdp_cmd(command, given)

    def mouse(self, action, x, y):
        # Straight to the browser's input: chromedriver forgets a held button between two
        # action sequences, and a drag of a captured thumb then loses its capture.
        if action in ("click", "down"):
            self.cdp("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y,
                     buttons=self.buttons)
            self.cdp("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y,
                     button="left", buttons=1, clickCount=1)
            self.buttons = 1
        if action == "move":
            self.cdp("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y,
                     button="left" if self.buttons else "none", buttons=self.buttons)
        if action in ("click", "up"):
            self.cdp("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y,
                     button="left", buttons=0, clickCount=1)
            self.buttons = 0

    def size(self, width, height, ratio=1, mobile=False):
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=ratio, mobile=mobile)

    def goto(self, url):
        # What an earlier page wrote or asked for is not this one's.
        self.driver.get_log("browser")
        self.driver.get_log("performance")
        self.driver.get(url)
        for identifier in self.before_next:
            self.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=identifier)
        self.before_next = []

    def errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser")
                if entry["level"] in ("SEVERE", "ERROR")]

    def before_load(self, source):
        """A script for the next page only, run before the page's own."""
        self.before_next.append(
            self.cdp("Page.addScriptToEvaluateOnNewDocument", source=source)["identifier"])

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


class WebKit(Selenium):
    name = "WebKitGTK"

    def __init__(self, ratio=1):
        from selenium import webdriver
        from selenium.webdriver.webkitgtk.options import Options
        options = Options()
        options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
        options.add_argument("--automation")
        # WebKitWebDriver emulates no device: a ratio is the display's, as GTK scales it,
        # and the browser it starts takes it from its environment.
        self.ratio = ratio
        before = os.environ.get("GDK_SCALE")
        os.environ["GDK_SCALE"] = str(ratio)
        try:
            self.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver",
                                              options=options)
        finally:
            if before is None:
                del os.environ["GDK_SCALE"]
            else:
                os.environ["GDK_SCALE"] = before

    def size(self, width, height, ratio=1, mobile=False):
        if ratio != self.ratio:
            raise unittest.SkipTest("WebKitGTK takes its ratio from the display it starts on")
        # The window's own frame and bar are outside the page: size it so the page gets
        # what is asked.
        self.driver.set_window_size(width, height)
        inner = self.script("return [innerWidth, innerHeight]")
        self.driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])

    def errors(self):
        return []  # WebKitWebDriver keeps no console log; Page reads window.onerror

    def before_load(self, source):
        raise unittest.SkipTest("WebKitWebDriver cannot run a script before the page's own")


class Firefox:
    name = "Firefox ESR"

    def __init__(self):
        self.bridge = subprocess.Popen(["node", str(HERE / "firefox_bridge.mjs")], cwd=HERE,
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.call("launch", width=800, height=600)

    def call(self, op, **given):
        self.bridge.stdin.write(json.dumps(dict(op=op, **given)) + "\n")
        self.bridge.stdin.flush()
        answer = json.loads(self.bridge.stdout.readline())
        if "error" in answer:
            raise RuntimeError("%s: %s" % (op, answer["error"]))
        return answer["value"]

    def size(self, width, height, ratio=1, mobile=False):
        self.call("viewport", width=width, height=height, ratio=ratio)

    def goto(self, url):
        self.call("goto", url=url)

    def script(self, body, *args):
        return self.call("script", body=body, args=list(args))

    def screenshot(self):
        png = base64.b64decode(self.call("screenshot"))
        return Image.open(io.BytesIO(png)).convert("RGB")

    def mouse(self, action, x, y):
        self.call("mouse", action=action, x=x, y=y)

    def key(self, action, key):
        self.call("key", action=action, key=key)

    def errors(self):
        return self.call("errors")

    def before_load(self, source):
        self.call("beforeLoad", source=source)

    def close(self):
        try:
            self.call("close")
        finally:
            self.bridge.stdin.close()
            self.bridge.wait(timeout=30)
            self.bridge.stdout.close()


ENGINES = {"chromium": Chromium, "webkit": WebKit, "firefox": Firefox}


class Host:
    """Pages served from this machine's loopback, each path with its body and headers:
    `pages` is a dict of them, or anything with the same `get` (a Folder)."""

    def __init__(self, pages):
        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                body, headers, status = (*pages.get(self.path, (None, {})), 200)[:3]
                if body is None:
                    self.send_error(404)
                    return
                self.send_response(status)
                for name, value in {"Content-Type": "text/html; charset=utf-8",
                                    **headers}.items():
                    self.send_header(name, value)
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        # Threads: a browser may open a second connection and send nothing on it.
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.origin = "http://127.0.0.1:%d" % self.server.server_port

    def stop(self):
        """As a network goes: whatever asks next finds nobody there."""
        if self.server:
            self.server.shutdown()
            self.server.server_close()
            self.server = None

    def __enter__(self):
        return self

    def __exit__(self, *args):
        self.stop()


class Folder:
    """A folder's files as a Host's pages under `prefix`, each with its type and `headers`;
    `root` may be changed, as a server given a new build. `quirks` are those of servers met
    in schools: "redirect" sends the folder's address on to its index.html, "no manifest
    type" answers the manifest with 404, as IIS does until it is told its type, and "a page
    beside" keeps a school's news.html in the folder too."""
    TYPES = {".html": "text/html; charset=utf-8", ".js": "text/javascript",
             ".webmanifest": "application/manifest+json", ".png": "image/png"}

    def __init__(self, root, prefix, headers, quirks=()):
        self.root, self.prefix, self.headers = pathlib.Path(root), prefix, headers
        self.quirks = quirks

    def get(self, path, missing):
        name = path.split("?")[0]
        if not name.startswith(self.prefix):
            return missing
        if "redirect" in self.quirks and name == self.prefix:
            return b"", {**self.headers, "Location": self.prefix + "index.html"}, 302
        if "a page beside" in self.quirks and name == self.prefix + "news.html":
            return "<!DOCTYPE html><title>Новини</title>".encode(), self.headers
        file = (self.root / (name[len(self.prefix):] or "index.html")).resolve()
        if self.root.resolve() not in file.parents or not file.is_file() or (
                "no manifest type" in self.quirks and file.suffix == ".webmanifest"):
            return missing
        return file.read_bytes(), {**self.headers, "Content-Type": self.TYPES[file.suffix]}


class Page:
    """The page open in one engine, reached as a user reaches it: controls by their names on
    the form, points in twips, real pointer and key events."""

    def __init__(self, engine, path, width=800, height=600, ratio=1, mobile=False,
                 url=None, wait_for=LIVE_FORM):
        self.engine, self.ratio = engine, ratio
        engine.size(width, height, ratio, mobile)
        engine.goto(url or path.as_uri())
        if wait_for:
            self.wait_for(wait_for)
        # Errors thrown on the page, for the engines whose driver reads no console.
        engine.script("window.pageErrors = window.pageErrors || [];"
                      " addEventListener('error', e => pageErrors.push(String(e.message)))")

    @classmethod
    def already_open(cls, engine):
        """The page the engine is on now (in a frame, say), once its form shows."""
        page = cls.__new__(cls)
        page.engine, page.ratio = engine, 1
        page.wait_for(LIVE_FORM)
        return page

    def wait(self, condition, timeout=10.0, what="the page"):
        wait_until(condition, timeout, "%s in %s" % (what, self.engine.name))

    def wait_for(self, selector, timeout=10.0):
        self.wait(lambda: self.script("return !!document.querySelector(arguments[0])", selector),
                  timeout, selector)

    def script(self, body, *args):
        return self.engine.script(body, *args)

    def control(self, name, part=""):
        return ('[data-control="%s"] %s' % (name, part)).strip()

    def query(self, name, part=""):
        return "document.querySelector('%s')" % self.control(name, part).replace("'", "\\'")

    def text(self, name):
        return self.script("return %s.textContent" % self.query(name))

    def hidden(self, name):
        return self.script("return %s.hidden" % self.query(name))

    def value(self, name="HScroll1"):
        return int(self.script("return %s.getAttribute('aria-valuenow')" % self.query(name)))

    def options(self, name):
        return self.script("return [...%s.querySelectorAll('[role=option]')]"
                           ".map(o => o.textContent)" % self.query(name))

    def greyed(self, name):
        return self.script("return %s.getAttribute('aria-disabled') === 'true'"
                           % self.query(name))

    def box(self, selector):
        return self.script("const r = document.querySelector(arguments[0])"
                           ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]",
                           selector)

    def centre(self, selector):
        x, y, width, height = self.box(selector)
        return x + width / 2, y + height / 2

    def point(self, twips_x, twips_y):
        """A point of the form given in twips, in page pixels."""
        x, y, _, _ = self.box("#form")
        return x + twips_x / 15, y + twips_y / 15

    def click(self, selector, dx=0, dy=0):
        x, y = self.centre(selector)
        self.engine.mouse("click", x + dx, y + dy)

    def key(self, *keys):
        """Keys pressed one after another, by their names ("Tab", "ArrowDown", "k")."""
        for key in keys:
            self.engine.key("press", key)

    def chord(self, modifier, key):
        self.engine.key("down", modifier)
        self.engine.key("press", key)
        self.engine.key("up", modifier)

    def type(self, text):
        self.engine.key("type", text)

    def focus(self, name):
        self.script("%s.focus()" % self.query(name))

    def focused(self):
        return self.script("""
            const e = document.activeElement;
            const owner = e && e.closest('[data-control]');
            return owner ? owner.dataset.control : (e ? e.tagName : null);""")

    def screenshot(self):
        # Two frames on, what the page last changed is on the screen.
        self.script("return new Promise(done => requestAnimationFrame("
                    "() => requestAnimationFrame(() => done(true))))")
        return self.engine.screenshot()

    def colour(self, twips_x, twips_y, image):
        x, y = self.point(twips_x, twips_y)
        scale = image.width / self.script("return innerWidth")
        return image.getpixel((int(x * scale), int(y * scale)))

    def form_image(self):
        """The form alone, cut out of a screenshot at the screen's pixels."""
        image = self.screenshot()
        scale = image.width / self.script("return innerWidth")
        x, y, width, height = self.box("#form")
        return image.crop(tuple(round(v * scale) for v in (x, y, x + width, y + height)))

    def errors(self):
        return self.engine.errors() + (self.script("return window.pageErrors || []") or [])

    def scripted_draws(self, draws):
        """The test page's draws, in order, for the next run."""
        for n in draws:
            self.script("Module._kestramo_test_draw(arguments[0])", n)

    def letter_test(self, draws=None, timeout=40):
        """«Знак», «Почни», the slider to its end, and the run to its end."""
        if draws:
            self.scripted_draws(draws)
        self.click(self.control("Option1(1)", "input"))
        self.click(self.control("Command1(0)"))
        self.focus("HScroll1")
        self.key("End")
        self.wait(lambda: not self.greyed("List1(1)"), timeout, "the end of the letter test")


def pixels_apart(a, b, tolerance=48):
    """The share of two same-sized pictures' pixels that differ by more than a letter's
    smoothing."""
    far = sum(1 for p, q in zip(a.getdata(), b.getdata())
              if max(abs(x - y) for x, y in zip(p, q)) > tolerance)
    return far / (a.width * a.height)


def held_at_its_first_look(page, folder):
    """A copy of the page, written into `folder`, whose program never runs: it stays at the
    first look the page shows while its program starts."""
    html = page.read_text(encoding="utf-8")
    start = html.index('id="program-script">') + len('id="program-script">')
    end = html.index("</script>", start)
    held = pathlib.Path(folder, "held-" + page.name)
    held.write_text(html[:start] + html[end:], encoding="utf-8")
    return held
