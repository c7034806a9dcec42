"""The non-blocking pipes of stress.sh, and the proof that the program waits
on them: a process running PROGRAM with the same pipe open, seen asleep in
poll (/proc/PID/wchan), before each piece is fed or the pipe is drained. A
busy machine may start the program late, but never makes it seem to wait.

usage: nonblocking.py set FD [full]     O_NONBLOCK on FD's pipe; with full,
                                        first shrunk to a page and filled,
                                        printing how many bytes that took
       nonblocking.py drain PROGRAM     returns once PROGRAM waits on the
                                        pipe that is standard input here
       nonblocking.py feed PROGRAM FILE FILE on standard output five bytes
                                        at a time, each once PROGRAM has
                                        read the last and waits again
A wait that PROGRAM is not seen in within 30 s fails, saying so (events.py).
"""

import fcntl, os, sys, termios, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from events import Failure, wait_until  # noqa: E402


def holders(program, fd):
    """The processes running PROGRAM that have FD's pipe open."""
    pipe, found = os.readlink(f"/proc/self/fd/{fd}"), []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink(f"/proc/{pid}/exe") == program and any(
                    os.readlink(f"/proc/{pid}/fd/{each}") == pipe for each in os.listdir(f"/proc/{pid}/fd")):
                found.append(pid)
        except OSError:  # gone, or not ours
            pass
    return found


def wchan(pid):
    try:
        return open(f"/proc/{pid}/wchan").read()
    except OSError:
        return ""


def waiting(program, fd, seen_before):
    """True once PROGRAM sleeps in poll on FD's pipe; False if, seen
    before, it has gone (ended); a failure past the bound."""
    pids = []

    def settled():
        pids[:] = holders(program, fd)
        return not pids and seen_before or any("poll" in wchan(pid) for pid in pids)
    try:
        wait_until(f"{program} to wait in poll on its pipe", settled, pause=0.01)
    except Failure as failure:
        where = ", ".join(f"{pid} in {wchan(pid) or '?'}" for pid in pids) or "not started"
        sys.exit(f"{failure} (last seen: {where}; /proc/PID/wchan tells where a process sleeps)")
    return bool(pids)


def feed(program, path):
    data, out, pieces = open(path, "rb").read(), sys.stdout.fileno(), 0
    for start in range(0, len(data), 5):
        if not waiting(program, out, pieces > 0):
            break
        os.write(out, data[start:start + 5])
        pieces += 1
        while int.from_bytes(fcntl.ioctl(out, termios.FIONREAD, bytes(4)), sys.byteorder) and holders(program, out):
            time.sleep(0.01)  # until it has read the piece, or ended
    print(f"the program waited for each of the {pieces} pieces it read", file=sys.stderr)


def set_nonblocking(fd, full=False):
    if full:
        size = fcntl.fcntl(fd, fcntl.F_SETPIPE_SZ, 4096)
        os.write(fd, bytes(size))
        print(size)
    os.set_blocking(fd, False)


def main(command, *arguments):
    if command == "set":
        set_nonblocking(int(arguments[0]), arguments[1:] == ("full",))
    elif command == "drain":
        waiting(os.path.realpath(arguments[0]), 0, False)
    elif command == "feed":
        feed(os.path.realpath(arguments[0]), arguments[1])


if __name__ == "__main__":
    main(*sys.argv[1:])
