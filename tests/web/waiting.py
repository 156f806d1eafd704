"""Waiting in the browser tests: a condition polled until it holds, or a failure that says
what was awaited."""
import time


def wait_until(condition, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.02)
    raise AssertionError("timed out waiting for " + what)
