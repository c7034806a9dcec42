"""Runs snack-order in a pseudo-terminal and reads its screen back through a
terminal emulator, as the person at the counter would see it.

usage: /usr/bin/python3 screen_test.py PROGRAM SCENARIO LOCALE [NAME=VALUE | -NAME]...

The program runs with LC_ALL=LOCALE and TERM=xterm, and no other locale
variable; each NAME=VALUE then sets a variable and each -NAME unsets one.
LOCALE also says what character set the terminal decodes and which
decimal separator the total has.

Every wait polls for an event (the screen showing what is expected, the
program seen asleep reading its terminal, its end) until a deadline
generous enough for a busy machine; no check rests on a pause, but for a
Windows program's wait under Wine, which is watched for a while. On failure
the screen as it stood is printed with the command that reproduces the run.
"""

import os
import resource
import shlex
import sys
import tempfile
import termios
import time
import unicodedata

import pexpect
import pyte

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from events import Failure, wait_until  # noqa: E402

COLUMNS, LINES = 80, 24
DEADLINE_SECONDS = 30
# How long a Windows program that must still be waiting is watched: Wine's
# own waits look alike from outside, whatever the program waits for, so a
# program that took a key typed earlier for its Enter ends well within it.
STILL_WAITING_SECONDS = 1.5
# A scenario shows a few screens of about 2 KiB each: a program that writes
# more has looped, and fails at once rather than filling memory or the disk
# (the order file of output_to_a_file is cut there too).
MAX_OUTPUT_BYTES = 256 * 1024

BEFORE = "WHAT THE TERMINAL SHOWED BEFORE"
CLOSING_PROMPT = "PRESSIONE ENTER PARA FECHAR"


def screens(case, separator="."):
    """The screens of a transcript's output (tools/update-transcripts writes it
    from the program), split at its clearings, each as the lines a terminal
    keeps (no trailing blanks); the total's decimal separator as given, where
    the transcript has the C locale's."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e", "cases", f"{case}.out"),
              "rb") as transcript:
        *shown_first, summary = transcript.read().decode("cp1252").split("\f")
    return [[line.rstrip() for line in screen.rstrip("\n").split("\n")]
            for screen in shown_first + [summary.replace(".", separator)]]  # only the total has a "."


*MENU, PROMPT = screens("empty_input")[0]
TWO_THEN_ZERO = "two_choices_on_one_line"  # the answer to 2, X-SALADA, then the summary

# Set for the C and POSIX locales, whose character set is plain ASCII: the
# program then writes its letters without their accents.
ascii_only = False


def shown(lines):
    """The lines as the program writes them in the locale under test."""
    if not ascii_only:
        return lines
    return [unicodedata.normalize("NFD", line).encode("ascii", "ignore").decode() for line in lines]


# How the program is started on its terminal, as a shell command line with
# the program as $0 and a file as $1. The shell (pexpect makes it the
# leader of the terminal's session) stands for an interactive one, which
# stays after the program ends: a person typing snack-order at a prompt.
FROM_A_SHELL = '"$0"; exit $?'
# Alone on its terminal, leading its session: a desktop menu entry with
# Terminal=true, xterm -e, a tmux window or a getty, whose terminal goes
# when the program ends.
ALONE = 'exec "$0"'


class Terminal:
    """The program in a pseudo-terminal, with an emulated screen."""

    def __init__(self, program, locale, charset, settings=(), start=FROM_A_SHELL, file=""):
        self.screen = pyte.Screen(COLUMNS, LINES)
        self.stream = pyte.ByteStream(self.screen)
        self.raw = bytearray()
        self.charset = charset
        # The line printed first stands for whatever the terminal showed
        # before the program started; nothing may clear it away.
        command = f"printf '%s\\n' '{BEFORE}'; {start}"
        self.file = file
        self.start = shlex.join(["sh", "-c", command, program, file])
        env = {name: value for name, value in os.environ.items() if name != "LANG" and not name.startswith("LC_")}
        env.update(LC_ALL=locale, TERM="xterm")
        for setting in settings:
            if setting.startswith("-"):
                env.pop(setting[1:], None)
            else:
                name, value = setting.split("=", 1)
                env[name] = value
        self.env = env
        self.program, self.ended = program, False
        with open(program, "rb") as start:  # a Linux build, else a script that runs the program under Wine
            self.wine = start.read(4) != b"\x7fELF"
        self.child = pexpect.spawn("/bin/sh", ["-c", command, program, file], env=env,
                                   dimensions=(LINES, COLUMNS), preexec_fn=lambda: resource.setrlimit(
                                       resource.RLIMIT_FSIZE, (MAX_OUTPUT_BYTES, MAX_OUTPUT_BYTES)))

    def pump(self, wait):
        if self.child.ptyproc.fileobj.closed:  # hung up: nothing more to read
            time.sleep(wait)
            return
        try:
            chunk = self.child.read_nonblocking(65536, timeout=wait)
        except pexpect.TIMEOUT:
            return
        except pexpect.EOF:
            self.ended = True  # the last process holding the terminal closed it
            time.sleep(wait)
            return
        self.raw.extend(chunk)
        if len(self.raw) > MAX_OUTPUT_BYTES:
            raise Failure(f"the program wrote over {MAX_OUTPUT_BYTES} bytes to the terminal")
        self.stream.feed(chunk.decode(self.charset, "replace").encode("utf-8"))

    def lines(self):
        return [line.rstrip() for line in self.screen.display]

    def wait_for(self, what, predicate, seconds=DEADLINE_SECONDS):
        """Reads the terminal until predicate(lines) holds."""
        wait_until(what, lambda: self.pump(0.05) or predicate(self.lines()), seconds, pause=0)

    def type(self, text):
        """Types the text; under Wine, once its console has taken the terminal
        raw, as it does at the program's first read, a while after the prompt
        shows on a busy machine: before that the terminal cooks the keys and
        turns each Enter's CR into an LF, which the console does not take for
        Enter."""
        try:
            if self.wine:
                self.wait_for("Wine's console to take the terminal for keys",
                              lambda _: not termios.tcgetattr(self.child.child_fd)[3] & termios.ICANON)
        except (OSError, termios.error):  # it ended meanwhile
            pass
        self.child.send(text)

    def ends_within(self, seconds):
        try:
            self.wait_for("the program to end", lambda _: not self.child.isalive(), seconds)
        except Failure:
            return False
        return True

    def waits_for_a_key(self):
        """True once the program is seen asleep reading its terminal (where
        the kernel's tty read sleeps), False once it has ended; under Wine,
        unless it ends within a watch."""
        if self.wine:
            return not self.ends_within(STILL_WAITING_SECONDS)
        asleep = lambda: open(f"/proc/{self.child.pid}/wchan").read() in ("wait_woken", "n_tty_read")  # noqa: E731
        try:
            self.wait_for("the program to wait for a key, or to end", lambda _: not self.child.isalive() or asleep())
        except OSError:  # it ended meanwhile
            pass
        return self.child.isalive()

    def expect_success(self):
        """The program ends within the deadline, with exit status 0."""
        if not self.ends_within(DEADLINE_SECONDS):
            raise Failure("the program did not end")
        # All it wrote is read: up to the end of the terminal, which comes
        # once the kernel has passed on every byte written before it.
        self.wait_for("the terminal to close after the program ended",
                      lambda _: self.ended or self.child.ptyproc.fileobj.closed)
        self.child.close()
        if self.child.exitstatus != 0:
            raise Failure(f"exit status {self.child.exitstatus}, expected 0")


def top(lines, expected):
    return lines[: len(expected)] == expected


def first_screen():
    return shown([BEFORE] + MENU + [PROMPT])


def summary(case, separator):
    return shown(screens(case, separator)[-1])


def menu_below_what_was_shown(terminal, separator):
    # The prompt has no line end: it must show before anything is typed.
    terminal.wait_for("the first menu below the earlier line", lambda s: top(s, first_screen()))
    terminal.type("0\r")
    expected = summary("empty_input", separator)
    terminal.wait_for("the summary", lambda s: top(s, expected))
    terminal.expect_success()


def screen_after_a_choice(terminal, separator):
    terminal.wait_for("the first menu", lambda s: top(s, first_screen()))
    terminal.type("2\r")
    expected = shown(screens(TWO_THEN_ZERO)[1]) + [""] * 11
    terminal.wait_for("the answer at the top of a cleared screen", lambda s: s == expected)
    terminal.type("0\r")
    expected = summary(TWO_THEN_ZERO, separator)
    terminal.wait_for("the summary", lambda s: top(s, expected))
    terminal.expect_success()


def two_turns_from_one_line(terminal, separator):
    terminal.wait_for("the first menu", lambda s: top(s, first_screen()))
    shown_screens = [shown(lines) for lines in screens("invalid_code_then_agua", separator)]
    terminal.type("9 6\r")
    terminal.wait_for("the second turn's answer without another keystroke", lambda s: top(s, shown_screens[2]))
    terminal.type("0\r")
    expected = shown_screens[-1]
    # Cleared first: the summary starts on the top line and nothing follows it.
    terminal.wait_for("the summary on a cleared screen", lambda s: s == expected + [""] * (LINES - len(expected)))
    if terminal.screen.cursor.y != len(expected) - 1 or terminal.screen.cursor.x != len(expected[-1]):
        raise Failure("the cursor is not right after the total")
    terminal.expect_success()


def order_until_enter(terminal, separator, also_typed=""):
    """The terminal goes with the program (on Windows, a console of its own;
    on POSIX, one whose session it leads): the amount due stays, with a line
    below it asking for Enter. Keys typed with the 0 do not end that wait."""
    terminal.wait_for("the first menu", lambda s: top(s, first_screen()))
    terminal.type("2\r0\r" + also_typed)
    expected = summary(TWO_THEN_ZERO, separator) + [CLOSING_PROMPT]
    terminal.wait_for("the summary, then the line asking for Enter",
                      lambda s: s == expected + [""] * (LINES - len(expected)))
    if not terminal.waits_for_a_key():
        raise Failure(f"the program ended without a fresh Enter, after {also_typed!r} typed with the 0")


def summary_until_enter(terminal, separator):
    order_until_enter(terminal, separator, also_typed="\r")
    terminal.type("\r")
    terminal.expect_success()


def end_of_input_during_wait(terminal, separator):
    order_until_enter(terminal, separator)
    terminal.type("\x04")  # Ctrl+D
    terminal.expect_success()


def hangup_during_wait(terminal, separator):
    # The window is closed: the terminal hangs up, and the program ends at once.
    order_until_enter(terminal, separator)
    terminal.child.ptyproc.fileobj.close()
    if not terminal.ends_within(DEADLINE_SECONDS):
        raise Failure("the program still ran after its terminal hung up")


def ends_with_summary(lines, separator):
    """The output ends right after the amount due, with nothing below it."""
    while lines and not lines[-1]:
        lines.pop()
    expected = summary(TWO_THEN_ZERO, separator)
    if lines[-len(expected):] != expected:
        raise Failure("the output does not end with the summary, the amount due last")


def input_from_a_file(terminal, separator):
    # The file holds the order; the terminal stays with no one to type on it.
    terminal.expect_success()
    ends_with_summary(terminal.lines(), separator)


def output_to_a_file(terminal, separator):
    # Nothing shows when the program is ready for keys, so they may come
    # first. The terminal keeps a CR as typed, and the order ends in CR LF:
    # a POSIX program's line ends at the LF; Wine's console, which takes
    # the terminal raw only as the program first reads, finds its Enter in
    # the CR, which the terminal would otherwise have turned into an LF.
    attributes = termios.tcgetattr(terminal.child.child_fd)
    attributes[0] &= ~termios.ICRNL
    termios.tcsetattr(terminal.child.child_fd, termios.TCSANOW, attributes)
    terminal.child.send("2 0\r\n")
    terminal.expect_success()
    with open(terminal.file, "rb") as output:
        written = output.read().decode("cp1252").replace("\r\n", "\n")  # Windows ends its lines with CR LF
    ends_with_summary(written.replace("\f", "\n").split("\n"), separator)


# What clears each terminal type: as clear(1) sends it from Debian's
# terminfo entries, clear then E3 where the entry has it, without padding
# (vt100's clear ends in $<50>); as before for a type without an entry;
# nothing where the type cannot take it, or TERM is empty or (None) unset.
CLEARINGS = {
    "xterm": b"\x1b[H\x1b[2J\x1b[3J",
    "vt100": b"\x1b[H\x1b[J",
    "no-such-terminal": b"\x1b[H\x1b[2J\x1b[3J",
    "dumb": b"",
    "": b"",
    None: b"",
}


def clearing_as_the_terminal_type_says(terminal, separator):
    clearing = CLEARINGS[terminal.env.get("TERM")]
    terminal.wait_for("the first menu", lambda s: top(s, first_screen()))
    terminal.type("2\r0\r")
    expected = summary(TWO_THEN_ZERO, separator)
    on_screen = (lambda s: top(s, expected)) if clearing else (lambda s: s[-len(expected):] == expected)
    terminal.wait_for("the summary, on top only if the screen was cleared", on_screen)
    terminal.expect_success()
    # Two turns and the summary: three clearings, and no other escape byte.
    rest = terminal.raw.replace(clearing, b"") if clearing else terminal.raw
    if (clearing and terminal.raw.count(clearing) != 3) or b"\x1b" in rest:
        raise Failure(f"expected three clearings {clearing!r} and no other escape byte")


# Each scenario with the start it stands for: typed at a shell's prompt, or
# alone on a terminal that goes with it, its input or output in a file ($1,
# which holds the order "2 0" beforehand).
SCENARIOS = {
    "menu_below_what_was_shown": (menu_below_what_was_shown, FROM_A_SHELL),
    "screen_after_a_choice": (screen_after_a_choice, FROM_A_SHELL),
    "two_turns_from_one_line": (two_turns_from_one_line, FROM_A_SHELL),
    "clearing_as_the_terminal_type_says": (clearing_as_the_terminal_type_says, FROM_A_SHELL),
    "summary_until_enter": (summary_until_enter, ALONE),
    "end_of_input_during_wait": (end_of_input_during_wait, ALONE),
    "hangup_during_wait": (hangup_during_wait, ALONE),
    "input_from_a_file": (input_from_a_file, 'exec "$0" < "$1"'),
    "output_to_a_file": (output_to_a_file, 'exec "$0" > "$1"'),
}


def main():
    program, scenario, locale, *settings = sys.argv[1:]
    global ascii_only
    ascii_only = locale in ("C", "POSIX")
    # What the terminal decodes: UTF-8 for UTF-8 locales; in the C locale a
    # byte past ASCII shows as a Latin letter, where no letter is expected.
    charset = "utf-8" if "UTF-8" in locale.upper() else "latin-1"
    separator = "," if locale.startswith("pt_BR") else "."
    run, start = SCENARIOS[scenario]
    work = tempfile.TemporaryDirectory()
    file = os.path.join(work.name, "order")
    with open(file, "w") as order:
        order.write("2\n0\n")
    terminal = Terminal(program, locale, charset, settings, start, file)
    try:
        run(terminal, separator)
        if ascii_only and any(byte >= 0x80 for byte in terminal.raw):
            raise Failure("a byte past ASCII reached a terminal whose character set is ASCII")
    except Failure as failure:
        print(f"FAILED: {failure}")
        print("screen:")
        for number, line in enumerate(terminal.lines()):
            print(f"{number:2} |{line}")
        given = " ".join(f"{name}={value}" for name, value in sorted(terminal.env.items())
                         if name in ("LANG", "TERM") or name.startswith("LC_"))
        print(f"reproduce: env -u LANG -u LC_ALL -u TERM {given} {terminal.start}   (in a {COLUMNS}x{LINES} UTF-8 terminal; "
              f"test: /usr/bin/python3 {' '.join(sys.argv)})")
        terminal.child.close(force=True)
        return 1
    terminal.child.close(force=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
