"""What the browser suites share: waiting for a condition, the probes they put into a page
before its own script runs, and the page held at its first look."""
import pathlib
import time

# The program's own form, once shown: the page shows a lifeless first look of it before.
LIVE_FORM = "#form:not([hidden]):not([data-first-look])"
FIRST_LOOK = "#form[data-first-look]:not([hidden])"


def wait_until(condition, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.02)
    raise AssertionError("timed out waiting for " + what)


# Notes, in window.fontAtShow, whether the form's font was ready when the form first showed:
# a form without its texts, or in a stand-in font that reflows, is not to be seen.
FONT_AT_SHOW = """
window.fontAtShow = null;
new MutationObserver(() => {
    const form = document.getElementById('form');
    if (form && !form.hidden && window.fontAtShow === null) {
        window.fontAtShow = [...document.fonts].map(f => f.status).join() || 'none';
    }
}).observe(document, {attributes: true, subtree: true, attributeFilter: ['hidden']});
"""


def page_held_at_its_first_look(page, folder):
    """A copy of the page, written into `folder`, whose program never runs: it stays at the
    first look the page shows while its program starts."""
    html = page.read_text(encoding="utf-8")
    start = html.index('id="program-script">') + len('id="program-script">')
    end = html.index("</script>", start)
    held = pathlib.Path(folder, "held-" + page.name)
    held.write_text(html[:start] + html[end:], encoding="utf-8")
    return held


def form_pixels_apart(a, b, box):
    """The share of the form's pixels (box in image pixels) that differ between two
    screenshots by more than a letter's smoothing."""
    left, top, right, bottom = (int(v) for v in box)
    first, second = a.crop((left, top, right, bottom)), b.crop((left, top, right, bottom))
    far = sum(1 for p, q in zip(first.getdata(), second.getdata())
              if max(abs(x - y) for x, y in zip(p, q)) > 48)
    return far / ((right - left) * (bottom - top))

