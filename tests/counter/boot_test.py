"""The counter on a real boot: a guest of this machine's Debian release, made
by mmdebstrap (`guest`, kept in WORK_DIR until what goes into it changes)
and booted under QEMU (`boot`, its disk's changes dropped), where the owner
installs PACKAGE_DIR's package with apt and turns tty1 into the counter.
Keys go to its keyboard (QMP send-key), each confirmed by what it changes
before the next; consoles are read from the kernel's own copy of them
(/dev/vcsuN) through the guest agent.

usage: /usr/bin/python3 boot_test.py guest|boot WORK_DIR [PACKAGE_DIR]
"""

import base64, glob, hashlib, json, os, re, socket, subprocess, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "terminal"))
from screen_test import CLOSING_PROMPT, MENU, PROMPT, Failure, after_choice, summary  # noqa: E402

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PACKAGES = "systemd-sysv,udev,dbus,linux-image-amd64,locales,console-setup,qemu-guest-agent"
HOOKS = [  # the system's locale set as dpkg-reconfigure locales does
    'echo "pt_BR.UTF-8 UTF-8" > "$1/etc/locale.gen" && chroot "$1" locale-gen && chroot "$1" update-locale LANG=pt_BR.UTF-8',
    'chroot "$1" passwd -d root && echo counter > "$1/etc/hostname"',  # root logs in on a console, no password
    # console-setup's caches dated after its settings, as on a system set up
    # at a person's pace: made in the same second, as here, they count as
    # stale, and each boot would make them again (40 s under emulation).
    'newest=$(stat -c %Y "$1"/etc/default/keyboard "$1"/etc/default/console-setup | sort -n | tail -n 1)'
    ' && touch -d "@$((newest + 1))" "$1"/etc/console-setup/cached_*']
SECONDS, BOOT_SECONDS = 120, 300  # generous: under emulation on a busy host a start takes seconds
# A guest that the host cannot keep up with may lose a key: pressed again
# where nothing it should change has changed this long after.
KEY_SECONDS = 15
UNIT = "snack-order@tty1.service"
MENU_SCREEN = MENU + [PROMPT]
X_SALADA = after_choice("VOCÊ ESCOLHEU X-SALADA, VALOR R$ 8,79")
AMOUNT_DUE = summary([" X-SALADA R$ 8,79"] + [""] * 9, "8,790000") + [CLOSING_PROMPT]
START = time.monotonic()


def say(text):
    print(f"[{time.monotonic() - START:5.1f} s] {text}", flush=True)


def guest(work):
    release = re.search(r"^VERSION_CODENAME=(\S+)", open("/etc/os-release").read(), re.M).group(1)
    archive = subprocess.run([f"{TOP}/tools/debian-archive"], check=True, capture_output=True, text=True).stdout.strip()
    folder = f"{work}/guest/" + hashlib.sha256(json.dumps([PACKAGES, HOOKS, release, archive]).encode()).hexdigest()[:16]
    if not os.path.exists(f"{folder}/ready"):
        os.makedirs(folder, exist_ok=True)
        command = ["mmdebstrap", "--variant=minbase", f"--include={PACKAGES}"] + [f"--customize-hook={hook}" for hook in HOOKS + [
            f'cp "$1"/boot/vmlinuz-* {folder}/vmlinuz && cp "$1"/boot/initrd.img-* {folder}/initrd.img']]
        command += [release, f"{folder}/root.ext2", archive]
        if subprocess.run(command, stdout=open(f"{folder}/mmdebstrap.log", "w"), stderr=subprocess.STDOUT).returncode:
            raise Failure(f"mmdebstrap failed: {folder}/mmdebstrap.log; reproduce: {' '.join(command)}")
        open(f"{folder}/ready", "w").close()
    return folder


class Channel:
    """QMP or the guest agent: JSON commands and answers over a Unix socket."""

    def __init__(self, path):
        self.socket, self.buffer = socket.socket(socket.AF_UNIX), b""
        wait_until(f"QEMU to make {path}", lambda: os.path.exists(path))
        self.socket.connect(path)

    def call(self, command, timeout=30, **arguments):
        self.socket.sendall(json.dumps({"execute": command, "arguments": arguments}).encode() + b"\n")
        deadline = time.monotonic() + timeout
        while True:  # events, the greeting and earlier syncs' answers are passed over
            while b"\n" not in self.buffer:
                self.socket.settimeout(max(0.01, deadline - time.monotonic()))
                self.buffer += self.socket.recv(65536)  # socket.timeout past the deadline
            line, self.buffer = self.buffer.split(b"\n", 1)
            answer = json.loads(line.strip(b"\xff \r") or b"{}")
            if "error" in answer:
                raise Failure(f"{command}: {answer['error']}")
            if "return" in answer and (command != "guest-sync" or answer["return"] == arguments["id"]):
                return answer["return"]


class Guest:
    def __init__(self, folder, work):
        self.lines, serial = [], f"{work}/serial.log"
        # KVM only where it really runs a guest, whose kernel then writes on
        # the serial line within seconds (nested KVM may start none).
        for accelerator in (["kvm"] if os.access("/dev/kvm", os.W_OK) else []) + ["tcg"]:
            subprocess.run(["rm", "-f", f"{work}/qmp", f"{work}/qga", serial])
            self.qemu = subprocess.Popen([
                # One processor: one core of the host's under emulation.
                "qemu-system-x86_64", "-accel", accelerator, "-m", "1024", "-smp", "1", "-display", "none",
                "-nic", "none", "-kernel", f"{folder}/vmlinuz", "-initrd", f"{folder}/initrd.img",
                "-append", "root=/dev/vda rw console=ttyS0", "-serial", f"file:{serial}",
                "-drive", f"file={folder}/root.ext2,if=virtio,format=raw,snapshot=on",
                "-qmp", f"unix:{work}/qmp,server=on,wait=off", "-device", "virtio-serial",
                "-chardev", f"socket,path={work}/qga,server=on,wait=off,id=qga",
                "-device", "virtserialport,chardev=qga,name=org.qemu.guest_agent.0"],
                stdout=open(f"{work}/qemu.log", "w"), stderr=subprocess.STDOUT)
            time.sleep(5 if accelerator == "kvm" else 0)
            if accelerator == "tcg" or os.path.exists(serial) and os.path.getsize(serial):
                break
            self.qemu.kill()
            self.qemu.wait()
        say(f"booting under {accelerator}")
        self.qmp, self.agent = Channel(f"{work}/qmp"), Channel(f"{work}/qga")
        self.qmp.call("qmp_capabilities")

    def boot_id(self, seconds=3):
        """The running kernel's boot ID, once the guest agent answers; else None."""
        try:
            self.agent.call("guest-sync", timeout=seconds, id=int(time.monotonic() * 1000))
            return self.check("cat /proc/sys/kernel/random/boot_id")
        except (socket.timeout, Failure):
            return None

    def run(self, command, given=b""):
        """Status and output of a shell command run as root in the guest, given that input."""
        pid = self.agent.call("guest-exec", path="/bin/sh", arg=["-c", command], **{
            "capture-output": True, "input-data": base64.b64encode(given).decode()})["pid"]
        deadline = time.monotonic() + SECONDS
        while not (status := self.agent.call("guest-exec-status", pid=pid))["exited"]:
            if time.monotonic() > deadline:
                raise Failure(f"in the guest, {command} still ran after {SECONDS} s")
            time.sleep(0.1)
        return status.get("exitcode", -1), b"".join(base64.b64decode(status.get(s, "")) for s in ("out-data", "err-data"))

    def check(self, command):
        status, output = self.run(f"LC_ALL=C {command}")
        if status:
            raise Failure(f"in the guest, {command}: status {status}\n{output.decode(errors='replace')}")
        return output.decode().strip()

    def unit(self, property):
        return int(self.check(f"systemctl show -P {property} {UNIT}"))

    def read(self, path, count):
        """Up to count bytes of a file in the guest, read by the agent itself:
        a look that starts no process in a guest of one processor."""
        handle = self.agent.call("guest-file-open", path=path, mode="r")
        try:
            return base64.b64decode(self.agent.call("guest-file-read", handle=handle, count=count)["buf-b64"])
        finally:
            self.agent.call("guest-file-close", handle=handle)

    def screen(self, console=1):
        """The console's lines: its size from vcsa, then a code point a cell from vcsu."""
        rows, columns = self.read(f"/dev/vcsa{console}", 2)
        cells = self.read(f"/dev/vcsu{console}", 4 * rows * columns).decode("utf-32-le")
        self.lines = [cells[row * columns:(row + 1) * columns].rstrip() for row in range(rows)]
        return self.lines

    def active_console(self):
        return self.read("/sys/class/tty/tty0/active", 16).decode().strip()

    def shows(self, what, expected):
        """Waits until tty1 shows exactly these lines, on a cleared screen."""
        return wait_until(what, lambda: cleared(self.screen(), expected))

    def last_line(self, console=1):
        return ([line for line in self.screen(console) if line] or [""])[-1]

    def type(self, text, console=1):
        """Types the text at the end of the console's last line, each key once
        the one before it shows there."""
        for typed in range(1, len(text) + 1):
            self.press(text[typed - 1], lambda: self.last_line(console).endswith(text[:typed]), console,
                       2 * KEY_SECONDS + 1)

    def state(self, console):
        """What a key would change: the console, the program, the console in front."""
        try:  # answers that came too late for an earlier call are passed over first
            self.agent.call("guest-sync", timeout=3, id=int(time.monotonic() * 1000))
            return self.screen(console), self.unit("MainPID"), self.active_console()
        except (Failure, OSError):  # the guest going down
            return None

    def press(self, keys, done, console=1, seconds=SECONDS, what=None):
        """Presses the keys ("+" between QMP names pressed together) and
        returns the seconds until done() holds; presses them again where the
        guest has shown nothing of them KEY_SECONDS later."""
        start, before = time.monotonic(), self.state(console)
        self.keys(*keys.split("+"))
        pressed = start
        while not done():
            if time.monotonic() - start > seconds:
                raise Failure(f"timed out waiting for {what or 'what ' + keys + ' brings'}")
            if time.monotonic() - pressed > KEY_SECONDS:
                if self.state(console) != before:
                    pressed = float("inf")  # taken, only slow to show
                else:
                    say(f"{keys} again: the guest showed nothing of it in {KEY_SECONDS} s")
                    self.keys(*keys.split("+"))
                    pressed = time.monotonic()
            time.sleep(0.2)
        return time.monotonic() - start

    def keys(self, *names):  # pressed together, by their QMP names
        self.qmp.call("send-key", keys=[{"type": "qcode", "data": name} for name in names])


def wait_until(what, condition, seconds=SECONDS):
    """Seconds until condition() holds, polled; a Failure past the deadline."""
    start = time.monotonic()
    while not condition():
        if time.monotonic() - start > seconds:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.2)
    return time.monotonic() - start


def cleared(lines, expected):
    return lines == expected + [""] * (len(lines) - len(expected))


def login_prompt(lines):
    return any(line.endswith("login:") for line in lines)


def log_in(g):  # typed again where a getty starting anew on tty2 dropped it
    if g.last_line(2) == "counter login:":
        try:
            g.type("root", 2)
            g.press("ret", lambda: g.last_line(2) in ("root@counter:~#", "counter login:"), 2)
        except Failure:
            pass
    return g.last_line(2) == "root@counter:~#"


def restart_times(g, after):
    """The guest's clock, in seconds, at each restart of the unit past the after-th, from its journal."""
    journal = g.check(f"journalctl -o short-monotonic -u {UNIT}")
    return [float(at) for at, count in re.findall(r"^\[\s*(\d+\.\d+)\].*restart counter is at (\d+)", journal, re.M)
            if int(count) > after]


def owners_day(g, package):
    pid = lambda: g.unit("MainPID")  # noqa: E731
    # The screen first: a look at it costs the guest nothing, a look at the
    # unit a process.
    fresh_menu = lambda last: lambda: cleared(g.screen(), MENU_SCREEN) and pid() not in (0, last)  # noqa: E731

    def choose(code, what, expected):
        g.type(code)
        g.press("ret", lambda: cleared(g.screen(), expected), what=what)

    def new_program(last):
        wait_until("a new program", lambda: pid() not in (0, last))
        return pid()

    wait_until("the guest agent", g.boot_id, BOOT_SECONDS)
    wait_until("the login prompt on tty1", lambda: login_prompt(g.screen()), BOOT_SECONDS)
    g.run("cat > /root/snack-order.deb", open(package, "rb").read())
    g.check("apt-get install -y /root/snack-order.deb")
    state = g.run(f"systemctl is-enabled {UNIT}; systemctl is-active {UNIT}")[1].split()
    if state != [b"disabled", b"inactive"] or not login_prompt(g.screen()):
        raise Failure(f"installed with apt, the unit is {state}: it must be neither enabled nor started")
    say("installed with apt; the login prompt on tty1")
    g.check(f"systemctl enable --now {UNIT}")
    say(f"the menu {g.shows('the menu in place of the login prompt', MENU_SCREEN):.1f} s after systemctl enable")
    choose("2", "the answer to 2", X_SALADA)
    choose("0", "the amount due, with a comma", AMOUNT_DUE)
    # The amount due stays: the same program, asleep reading its terminal.
    last = pid()
    wait_until("the program to wait for Enter", lambda: pid() != last or g.run(
        f"cut -d' ' -f1,2 /proc/{last}/syscall")[1] == b"0 0x0\n")  # read(2) on standard input
    if not cleared(g.screen(), AMOUNT_DUE) or pid() != last:
        raise Failure("the amount due did not stay, waiting for Enter")
    say(f"the next customer's menu {g.press('ret', fresh_menu(last)):.1f} s after Enter")

    # An order dropped, then eight Ctrl+C in a row, a kill, a crash and a
    # hangup, each as soon as the menu before it shows.
    restarts = g.unit("NRestarts")
    choose("2", "the answer to 2", X_SALADA)
    for cause in ["ctrl"] * 8 + ["KILL", "SEGV", "HUP"]:
        last = pid()
        if cause == "ctrl":
            took = g.press("ctrl+c", fresh_menu(last))
        else:
            g.check(f"kill -{cause} {last}")
            took = wait_until(f"a fresh menu after {cause}", fresh_menu(last))
        say(f"a fresh menu {took:.1f} s after {cause}")
    if g.unit("NRestarts") != restarts + 11:
        raise Failure("the counter did not start again once after each")

    # More starts in a row than systemd's default limit allows (5 in 10 s),
    # each program killed as soon as it runs. A guest too slow to make them
    # within one window of the limit would miss one: the unit must also say
    # it has none.
    restarts, last = g.unit("NRestarts"), pid()
    for _ in range(6):
        g.check(f"kill -KILL {last}")
        last = new_program(last)
    g.shows("the menu after six kills in a row", MENU_SCREEN)
    starts = restart_times(g, restarts)
    limit = g.check(f"systemctl show -P StartLimitIntervalUSec {UNIT}")
    say(f"{len(starts)} starts in {starts[-1] - starts[0]:.1f} s; the unit's start limit interval: {limit}")
    if len(starts) != 6 or limit != "0":
        raise Failure("the unit must have no start limit, which would end the counter after a few quick restarts")

    # A counter that cannot start waits between tries, and comes back by itself.
    restarts = g.unit("NRestarts")
    g.check(f"chmod a-x /usr/bin/snack-order && kill -KILL {pid()}")
    wait_until("four tries to start it", lambda: g.unit("NRestarts") >= restarts + 4)
    tries = restart_times(g, restarts)
    gaps = [later - earlier for earlier, later in zip(tries, tries[1:])]
    say(f"tries {', '.join(f'{gap:.2f}' for gap in gaps)} s apart while the program cannot start")
    if min(gaps) < 5 / 11:  # at most 11 tries in 5 s
        raise Failure("it must keep trying, with a pause between tries")
    g.check("chmod a+x /usr/bin/snack-order")
    g.shows("the menu once it can start again", MENU_SCREEN)

    # Another console, a login there, and back: the order as it was.
    choose("2", "the answer to 2", X_SALADA)
    last = pid()
    in_front = lambda tty: lambda: g.active_console() == tty  # noqa: E731
    g.press("alt+f2", in_front("tty2"))
    wait_until("root's shell on tty2", lambda: log_in(g))
    g.press("alt+f1", in_front("tty1"))
    g.shows("the order on tty1 as it was", X_SALADA)
    if pid() != last:
        raise Failure("the program on tty1 did not stay")
    choose("0", "the amount due of that order", AMOUNT_DUE)

    status = g.check(f"cat /proc/{last}/status")
    uid, capabilities = (re.search(rf"^{field}:\s+(\w+)", status, re.M)[1] for field in ("Uid", "CapEff"))
    exposure = float(re.search(r"Overall exposure level for \S+: (\d+\.\d+)", g.check(f"systemd-analyze security {UNIT}"))[1])
    say(f"the program runs as uid {uid}, capabilities {capabilities}; systemd-analyze security: {exposure}")
    if uid == "0" or int(capabilities, 16) or exposure > 1.0:
        raise Failure("the counter must run unprivileged, exposed at most 1.0")

    # At every boot, after Ctrl+Alt+Del, which still reboots; the menu comes
    # below what the console showed, as a getty's login prompt does.
    boot = g.boot_id()
    g.press("ret", fresh_menu(last))
    took = g.press("ctrl+alt+delete", lambda: g.boot_id() not in (None, boot), seconds=BOOT_SECONDS)
    wait_until("the menu after the reboot", lambda: [line for line in g.screen() if line][-11:] == MENU_SCREEN)
    say(f"the menu again {took:.1f} s after Ctrl+Alt+Del")
    g.check(f"systemctl disable --now {UNIT} && systemctl start getty@tty1")
    wait_until("the login prompt on tty1 again", lambda: login_prompt(g.screen()))


def main():
    mode, work = sys.argv[1:3]
    g = None
    try:
        folder = guest(work)
        if mode == "boot":
            packages = glob.glob(f"{sys.argv[3]}/snack-order_*_amd64.deb")  # the guest is amd64 on any machine
            if len(packages) != 1:
                raise Failure(f"no one amd64 package in {sys.argv[3]}: {packages}")
            g = Guest(folder, work)
            owners_day(g, packages[0])
        return 0
    except (Failure, OSError) as failure:
        print(f"FAILED: {failure!r}")
        for number, line in enumerate(g.lines if g else []):
            print(f"{number:2} |{line}")
        if g and g.boot_id():  # the program and its terminal as they stood, where the guest still answers
            print(g.run(f"p=$(systemctl show -P MainPID {UNIT}); ps -o pid,stat,wchan:20,cmd -p $p; "
                        f"cat /proc/$p/syscall; stty -a -F /dev/tty1")[1].decode(errors="replace"))
        print(f"the guest's serial console: {work}/serial.log; reproduce: /usr/bin/python3 {' '.join(sys.argv)}")
        return 1
    finally:
        if g:
            g.qemu.kill()


if __name__ == "__main__":
    sys.exit(main())
