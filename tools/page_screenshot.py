#!/usr/bin/python3
"""Saves the page as headless Chromium shows it in a viewport the size of the form, so the
picture is the form: at start-up, or after a letter test with one letter looked up.

usage: page_screenshot.py build-web/kestramo.html OUT.png [SCALE] [lookup]
"""
import pathlib
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
import test_page  # noqa: E402  the tests' browser and page helpers
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402


def main(page_file, output, scale="1", state="start-up"):
    driver = test_page.start_browser()
    try:
        path = pathlib.Path(page_file).resolve()
        if state == "lookup":
            # Scripted draws: K three times, then A ten times ends the run; K looked up.
            page = test_page.Page(driver, path=path.with_name("kestramo-test.html"), width=476,
                                  height=345, scale=float(scale))
            for n in [7] + [10, 10, 10] + [0] * 10:
                page.script("Module._kestramo_test_draw(arguments[0])", n)
            page.click(page.element("Option1(1)"))
            page.click(page.element("Command1(0)"))
            page.element("HScroll1").send_keys(Keys.END)
            page.wait(lambda: page.text("Label1(3)") == "13", timeout=10)
            time.sleep(0.3)
            row = page.script("return arguments[0].options[10]", page.element("List1(1)"))
            ActionChains(driver).move_to_element(row).click().perform()
        else:
            page = test_page.Page(driver, width=476, height=345, scale=float(scale))
        time.sleep(0.3)
        page.screenshot().save(output)
    finally:
        test_page.stop_browser(driver)
    print("screenshot: %s" % output)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
