#!/usr/bin/python3
"""Saves the page as an app's window shows it: the hosted folder served from loopback and
opened by Chromium as an app (no tabs, no address bar), on the virtual screen this runs on
(xvfb-run), once the window has made itself the form's size. The picture is the window.

usage: xvfb-run app_screenshot.py build-web/kestramo-web OUT.png
"""
import pathlib
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
import engines  # noqa: E402  the tests' browser and server


def main(folder, output):
    server = engines.Host(engines.Folder(folder, "/kestramo/", {}))
    engine = engines.Chromium(app=server.origin + "/kestramo/", bar=False)
    try:
        place = lambda: engine.script(
            "const form = document.getElementById('form');"
            "return [innerWidth, innerHeight, form.offsetWidth, form.offsetHeight,"
            " screenX + outerWidth - innerWidth, screenY + outerHeight - innerHeight]")
        engines.wait_until(lambda: place()[:2] == place()[2:4], 10, "the app's window")
        width, height, _, _, x, y = place()
        subprocess.run(["import", "-window", "root", "-crop",
                        "%dx%d+%d+%d" % (width, height, x, y), "+repage", output], check=True)
    finally:
        engine.close()
        server.stop()
    print("screenshot: %s" % output)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
