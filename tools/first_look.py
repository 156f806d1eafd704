#!/usr/bin/python3
"""Takes the form's first look from the program itself: opens the page, made without one, in
headless Chromium, waits for the program's form to show, and writes that form out as HTML for
make_page.py to put into the page, so that a browser can show it before the program runs.
What lives in properties rather than in the markup (a text box's text, a chosen option, a
picture's pixels) is written into it; the copy is inert and hidden from screen readers,
and shows from the markup where the program can run (page.css).

usage: first_look.py PAGE OUTPUT
"""
import pathlib
import shutil
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# Large enough that the form stands at its own size, unscaled; one pixel to one CSS pixel.
VIEWPORT = {"width": 1600, "height": 1200, "deviceScaleFactor": 1, "mobile": False}

COPY = """
const live = document.getElementById('form');
const copy = live.cloneNode(true);
const pairs = sel => [...live.querySelectorAll(sel)].map((e, i) => [e, copy.querySelectorAll(sel)[i]]);
for (const [from, to] of pairs('textarea')) to.textContent = from.value;
for (const [from, to] of pairs('input')) to.toggleAttribute('checked', from.checked);
for (const [from, to] of pairs('canvas')) {
    const image = document.createElement('img');
    image.src = from.toDataURL('image/png');
    image.alt = '';
    image.setAttribute('style', to.getAttribute('style') || '');
    to.replaceWith(image);
}
for (const element of [copy, ...copy.querySelectorAll('[style]')]) {
    element.style.letterSpacing = '';  // measured again in the browser that shows it
}
copy.style.transform = '';
copy.removeAttribute('aria-label');
copy.setAttribute('data-first-look', '');
copy.setAttribute('aria-hidden', 'true');
copy.inert = true;
copy.hidden = true;
return copy.outerHTML;
"""


def main(page, output):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    profile = tempfile.mkdtemp(prefix="kestramo-first-look-")
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-dev-shm-usage", "--user-data-dir=" + profile):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", VIEWPORT)
        driver.get(pathlib.Path(page).resolve().as_uri())
        end = time.monotonic() + 60
        while not driver.execute_script(
                "const f = document.getElementById('form');"
                " return !!f && !f.hidden && document.fonts.status === 'loaded'"):
            if time.monotonic() > end:
                sys.exit("first_look.py: the form did not show in %s" % page)
            time.sleep(0.05)
        # Two frames on, every thumb and scroll bar is laid out.
        driver.execute_async_script(
            "const done = arguments[0];"
            " requestAnimationFrame(() => requestAnimationFrame(() => done()));")
        errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
        if errors:
            sys.exit("first_look.py: the page reported %s" % errors)
        html = driver.execute_script(COPY)
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    pathlib.Path(output).write_text(html + "\n", encoding="utf-8")
    print("%s: %d bytes" % (output, len(html.encode("utf-8"))))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
