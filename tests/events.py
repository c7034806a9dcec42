"""The one wait of the Python tests: a condition polled until it holds, under
a deadline generous enough for a busy machine. No check rests on a pause."""

import time


class Failure(Exception):
    pass


def wait_until(what, condition, seconds=30, pause=0.05):
    """Seconds until condition() holds, polled every pause seconds; a Failure
    saying what was awaited once the deadline has passed."""
    start = time.monotonic()
    while not condition():
        if time.monotonic() - start > seconds:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(pause)
    return time.monotonic() - start
