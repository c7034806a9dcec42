#!/usr/bin/python3
"""Turns what bench/run recorded into the figures of its table.

usage:
  measure.py medians HYPERFINE_JSON
      One line per distinct command, in first-seen order: the median of all
      its timed runs pooled (a command may be listed several times, in
      rounds, so that load changes hit every command alike), in seconds,
      then the number of runs. Fails if any run exited non-zero.
  measure.py trace STRACE_OUTPUT
      Reads an `strace -f` log that starts with the program's execve and
      prints: write calls to standard output, bytes they wrote, read calls
      on standard input, and processes started after the execve.
  measure.py median NUMBER...
      The median of the numbers given.
"""
import json
import re
import statistics
import sys


def medians(path):
    with open(path, encoding="utf-8") as f:
        results = json.load(f)["results"]
    pooled = {}
    for result in results:
        if any(code != 0 for code in result["exit_codes"]):
            sys.exit(f"a run of {result['command']!r} exited with {result['exit_codes']}")
        pooled.setdefault(result["command"], []).extend(result["times"])
    for command, times in pooled.items():
        print(f"{statistics.median(times):.9f}\t{len(times)}")


CALL = re.compile(r"^(\d+)\s+(\w+)\((.*)")
SPAWNING = {"clone", "clone3", "fork", "vfork", "execve", "execveat"}
WRITING = {"write", "writev", "pwrite64", "pwritev", "pwritev2"}


def returned(line):
    # The value follows the last " = "; quoted data before it may hold one.
    value = line.rsplit(" = ", 1)[1].split()[0] if " = " in line else "?"
    return int(value) if re.fullmatch(r"-?\d+", value) else None


def trace(path):
    writes = written = reads = spawned = 0
    started = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            call = CALL.match(line)
            if call is None:
                continue
            name, arguments = call.group(2), call.group(3)
            if not started:
                # Everything before the program's own execve is strace's.
                started = name == "execve" and returned(line) == 0
                continue
            fd = arguments.split(",", 1)[0]
            if name in SPAWNING:
                spawned += 1
            elif name in WRITING and fd == "1":
                writes += 1
                written += max(returned(line) or 0, 0)
            elif name == "read" and fd == "0":
                reads += 1
    if not started:
        sys.exit(f"{path}: the program's execve is not in the trace")
    print(writes, written, reads, spawned)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "medians":
        medians(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == "trace":
        trace(sys.argv[2])
    elif len(sys.argv) >= 3 and sys.argv[1] == "median":
        print(statistics.median(float(x) for x in sys.argv[2:]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
