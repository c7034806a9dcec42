"""Prints the screen of snack-order in an 80x24 pseudo-terminal after the
given keys were typed, once it has settled: how the README's screen was made.

usage: /usr/bin/python3 capture.py PROGRAM LOCALE KEYS...   (each KEYS is one typed line)
"""

import sys
import time

from screen_test import Terminal


def main():
    program, locale, *typed = sys.argv[1:]
    terminal = Terminal(program, locale, "utf-8")
    for line in typed:
        terminal.wait_for("the prompt", lambda s: any(l.startswith("OPÇÃO:") for l in s))
        terminal.type(line + "\r")
        # The prompt is still on screen from before: wait for the redraw.
        terminal.pump(0.5)
    settled = time.monotonic() + 0.5
    while time.monotonic() < settled:
        terminal.pump(0.1)
    lines = terminal.lines()
    while lines and not lines[-1]:
        lines.pop()
    print("\n".join(lines))
    terminal.child.close(force=True)


if __name__ == "__main__":
    main()
