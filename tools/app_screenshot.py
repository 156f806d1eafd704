#!/usr/bin/python3
"""Saves the page as an app's window shows it: the hosted folder served from loopback and
opened by Chromium as an app (no tabs, no address bar), on the virtual screen this runs on
(xvfb-run), once the window has made itself the form's size. The picture is that window.

usage: xvfb-run app_screenshot.py build-web/kestramo-web OUT.png
"""
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
import engines  # noqa: E402  the tests' waiting
from test_hosted import Server  # noqa: E402  the tests' server


def main(folder, output):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    folder = pathlib.Path(folder).resolve()
    server = Server(folder.parent)
    url = server.url.replace("/kestramo/", "/%s/" % folder.name)
    with tempfile.TemporaryDirectory() as profile:
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        # Without the bar that says a program drives the browser: the window as a pupil sees it.
        options.add_experimental_option("excludeSwitches", ["enable-automation"])
        for argument in ("--no-sandbox", "--disable-gpu", "--no-first-run",
                         "--user-data-dir=" + profile, "--app=" + url):
            options.add_argument(argument)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            place = lambda: driver.execute_script(
                "const form = document.getElementById('form');"
                "return [innerWidth, innerHeight, form.offsetWidth, form.offsetHeight,"
                " screenX, screenY, outerWidth, outerHeight]")
            engines.wait_until(lambda: place()[:2] == place()[2:4], 10, "the app's window")
            x, y, width, height = place()[4:]
            subprocess.run(["import", "-window", "root", "-crop",
                            "%dx%d+%d+%d" % (width, height, x, y), "+repage", output],
                           check=True)
        finally:
            driver.quit()
            server.stop()
    print("screenshot: %s" % output)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
