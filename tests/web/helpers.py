"""What the browser suites share: waiting for a condition, and the probes they put into a
page before its own script runs."""
import time


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
