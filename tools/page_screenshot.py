#!/usr/bin/python3
"""Saves the page as headless Chromium shows it in a viewport the size of the form, so the
picture is the form: at start-up, or after a letter test with one letter looked up.

usage: page_screenshot.py build-web/kestramo.html OUT.png [SCALE] [lookup]
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
import engines  # noqa: E402  the tests' browsers and page


def main(page_file, output, scale="1", state="start-up"):
    engine = engines.Chromium()
    try:
        path = pathlib.Path(page_file).resolve()
        if state == "lookup":
            # Scripted draws: K three times, then A ten times ends the run; K looked up.
            page = engines.Page(engine, path.with_name("kestramo-test.html"), 476, 345,
                                float(scale))
            page.letter_test([7] + [10, 10, 10] + [0] * 10)
            page.focus("List1(1)")
            page.key("k")
        else:
            page = engines.Page(engine, path, 476, 345, float(scale))
        page.screenshot().save(output)
    finally:
        engine.close()
    print("screenshot: %s" % output)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
