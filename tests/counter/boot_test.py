"""The counter's image booted under QEMU as its machine would boot it: amd64
under UEFI with Secure Boot (OVMF), arm64 on the virt board from its FAT
partition's kernel, initrd and cmdline.txt, as a Pi's firmware does. The
guest's disk writes go to a layer over the image, which must hold none after
the power is cut. Keys go to its keyboard (QMP send-key), each confirmed by
what it changes; consoles are read from /dev/vcsuN through the guest agent.
Both take an order as the image boots; amd64 then the owner's day and the
package's life (PACKAGE is the .deb in the image), and a reboot forgets all.

usage: /usr/bin/python3 boot_test.py amd64|arm64 IMAGE WORK_DIR [PACKAGE]
"""

import base64, json, os, re, socket, subprocess, sys, time

sys.path[:0] = [os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", folder) for folder in ("", "terminal")]
import events  # noqa: E402
from events import Failure  # noqa: E402
from screen_test import CLOSING_PROMPT, MENU, PROMPT, TWO_THEN_ZERO, screens  # noqa: E402

SECONDS, BOOT_SECONDS = 120, 600  # generous: under emulation on a busy host a start takes seconds
# A guest that the host cannot keep up with may lose a key: pressed again
# where nothing it should change has changed this long after.
KEY_SECONDS = 15
UNIT = "snack-order@tty1.service"
MENU_SCREEN = MENU + [PROMPT]
X_SALADA, AMOUNT_DUE = screens(TWO_THEN_ZERO)[1], screens(TWO_THEN_ZERO, ",")[-1] + [CLOSING_PROMPT]
# What the shop needs of the system, each asked in the guest with what it must answer.
SHOP = {
    "findmnt -n -o FSTYPE /; findmnt -n -o OPTIONS /media/root-ro | cut -d, -f1": "overlay\nro",
    ". /etc/default/locale && echo $LANG; date +%Z": "pt_BR.UTF-8\n-03",
    ". /etc/default/keyboard && echo $XKBMODEL $XKBLAYOUT": "pc105 br",
    "passwd -S root | cut -d' ' -f2; ls /sys/class/net; ls /usr/sbin | grep ssh | wc -l": "L\nlo\n0",
}
# 1 when the firmware booted with Secure Boot on; 0 when off, or when it has no such variable (Debian 13's OVMF without it).
SECURE_BOOT = ("cat /sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c 2>/dev/null"
               " | od -An -tu1 | awk '{print $NF} END {if (!NR) print 0}'")
START = time.monotonic()


def say(text):
    print(f"[{time.monotonic() - START:5.1f} s] {text}", flush=True)


def qemu_command(arch, image, work, secure_boot):
    """QEMU as the machine the image is for, on one processor (one core of the host's under emulation)."""
    # A reset ends QEMU, as it would cut the power: a reboot is two boots.
    common = ["-accel", "tcg", "-no-reboot", "-m", "1024", "-smp", "1", "-display", "none", "-nic", "none",
              "-serial", f"file:{work}/serial.log", "-drive", f"file={work}/disk.qcow2,if=virtio,format=qcow2",
              "-qmp", f"unix:{work}/qmp,server=on,wait=off", "-device", "virtio-serial",
              "-chardev", f"socket,path={work}/qga,server=on,wait=off,id=qga",
              "-device", "virtserialport,chardev=qga,name=org.qemu.guest_agent.0"]
    if arch == "amd64":  # UEFI with Secure Boot and Microsoft's keys, or without
        code, variables, secure = (("OVMF_CODE_4M.secboot.fd", "OVMF_VARS_4M.ms.fd", "on") if secure_boot
                                   else ("OVMF_CODE_4M.fd", "OVMF_VARS_4M.fd", "off"))
        subprocess.run(["cp", f"/usr/share/OVMF/{variables}", f"{work}/vars.fd"], check=True)
        return ["qemu-system-x86_64", "-machine", f"q35,smm={secure}",
                "-global", f"driver=cfi.pflash01,property=secure,value={secure}",
                "-drive", f"if=pflash,format=raw,unit=0,readonly=on,file=/usr/share/OVMF/{code}",
                "-drive", f"if=pflash,format=raw,unit=1,file={work}/vars.fd"] + common
    # What the Pi's firmware reads: config.txt names the kernel and initrd.
    subprocess.run(["mcopy", "-n", "-i", f"{image}@@1M", "::/config.txt", "::/cmdline.txt", work], check=True)
    config = open(f"{work}/config.txt").read()
    kernel, initrd = re.search(r"^kernel=(\S+)", config, re.M)[1], re.search(r"^initramfs (\S+)", config, re.M)[1]
    subprocess.run(["mcopy", "-n", "-i", f"{image}@@1M", f"::/{kernel}", f"::/{initrd}", work], check=True)
    return ["qemu-system-aarch64", "-machine", "virt", "-cpu", "cortex-a72", "-kernel", f"{work}/{kernel}",
            "-initrd", f"{work}/{initrd}", "-append", open(f"{work}/cmdline.txt").read().strip(),
            "-device", "virtio-gpu-pci", "-device", "qemu-xhci", "-device", "usb-kbd"] + common


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
    def __init__(self, arch, image, work, power_on_again=False):
        """A first boot with Secure Boot on; powered on again, with it off."""
        self.lines, self.work = [], work
        os.makedirs(work, exist_ok=True)
        subprocess.run(["rm", "-f", f"{work}/qmp", f"{work}/qga"])
        if not power_on_again:
            subprocess.run(["qemu-img", "create", "-q", "-f", "qcow2", "-b", image, "-F", "raw", f"{work}/disk.qcow2"],
                           check=True)
        self.qemu = subprocess.Popen(qemu_command(arch, image, work, not power_on_again), stdout=open(f"{work}/qemu.log", "w"),
                                     stderr=subprocess.STDOUT)
        self.qmp, self.agent = Channel(f"{work}/qmp"), Channel(f"{work}/qga")
        self.qmp.call("qmp_capabilities")

    def power_cut(self):
        """Kills QEMU, as a plug pulled, and fails if the guest wrote anything to its disk."""
        self.qemu.kill()
        self.qemu.wait()
        written = [extent for extent in json.loads(subprocess.run(
            ["qemu-img", "map", "--output=json", f"{self.work}/disk.qcow2"], check=True, capture_output=True).stdout)
            if extent["data"] and extent["depth"] == 0]
        if written:
            raise Failure(f"the guest wrote to its disk: {written[:5]}")
        say("after the power cut, nothing was written to the disk")

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
        status = {}
        wait_until(f"{command} to end in the guest",
                   lambda: status.update(self.agent.call("guest-exec-status", pid=pid)) or status["exited"])
        return status.get("exitcode", -1), b"".join(base64.b64decode(status.get(s, "")) for s in ("out-data", "err-data"))

    def check(self, command, expected=None):
        status, output = self.run(f"LC_ALL=C {command}")
        output = output.decode().strip()
        if status or expected is not None and output != expected:
            raise Failure(f"in the guest, {command}: status {status}\n{output}\nexpected: {expected}")
        return output

    def unit(self, property, unit=UNIT):
        return self.check(f"systemctl show -P {property} {unit}")

    def pid(self):
        return int(self.unit("MainPID"))

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

    def shows(self, what, expected, console=1):
        """Waits until the console shows exactly these lines, on a cleared screen."""
        return wait_until(what, lambda: cleared(self.screen(console), expected))

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
        """Presses the keys ("+" joins QMP names pressed together), again where the guest
        shows nothing of them KEY_SECONDS later; returns the seconds until done() holds."""
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

    def choose(self, code, what, expected):
        self.type(code)
        self.press("ret", lambda: cleared(self.screen(), expected), what=what)

    def fresh_menu(self, last):
        """The screen first: a look at it costs the guest nothing, a look at the unit a process."""
        return lambda: cleared(self.screen(), MENU_SCREEN) and self.pid() not in (0, last)


def wait_until(what, condition, seconds=SECONDS):
    """Polled every 0.2 s, each look being work for the guest's one processor."""
    return events.wait_until(what, condition, seconds, pause=0.2)


def cleared(lines, expected):
    return lines == expected + [""] * (len(lines) - len(expected))


def login_prompt(lines):
    return any(line.endswith("login:") for line in lines)


def restart_times(g, after):
    """The guest's clock, in seconds, at each restart of the unit past the after-th, from its journal."""
    journal = g.check(f"journalctl -o short-monotonic -u {UNIT}")
    return [float(at) for at, count in re.findall(r"^\[\s*(\d+\.\d+)\].*restart counter is at (\d+)", journal, re.M)
            if int(count) > after]


def menu_at_boot(g):
    """Seconds until the guest agent answers and tty1 ends with the menu."""
    return wait_until("the menu at boot", lambda: g.boot_id() and [line for line in g.screen() if line][-11:] == MENU_SCREEN,
                      BOOT_SECONDS)


def boots_to_an_order(g):
    """The image as it boots: the counter on tty1, the shop's settings, an
    order, the next customer, Ctrl+C."""
    say(f"the menu {menu_at_boot(g):.1f} s after the power came on")
    for command, expected in SHOP.items():
        g.check(command, expected)
    # The ABNT2 keypad's decimal key types a comma.
    g.press("kp_decimal", lambda: g.last_line().endswith(PROMPT + " ,"))
    g.press("backspace", lambda: g.last_line() == PROMPT)
    g.choose("2", "the answer to 2", X_SALADA)
    g.choose("0", "the amount due, with a comma", AMOUNT_DUE)
    # The amount due stays: the same program, asleep reading its terminal.
    last = g.pid()
    wait_until("the program to wait for Enter", lambda: g.pid() != last or g.run(
        f"cut -d' ' -f1,2 /proc/{last}/syscall")[1] in (b"0 0x0\n", b"63 0x0\n"))  # read(2) of fd 0, amd64 or arm64
    if not cleared(g.screen(), AMOUNT_DUE) or g.pid() != last:
        raise Failure("the amount due did not stay, waiting for Enter")
    say(f"the next customer's menu {g.press('ret', g.fresh_menu(last)):.1f} s after Enter")
    g.choose("2", "the answer to 2", X_SALADA)
    say(f"a fresh menu {g.press('ctrl+c', g.fresh_menu(g.pid())):.1f} s after Ctrl+C")


def owners_day(g):
    # Eight Ctrl+C in a row, a kill, a crash and a hangup, each as soon as the menu before it shows.
    restarts = int(g.unit("NRestarts"))
    for cause in ["ctrl"] * 8 + ["KILL", "SEGV", "HUP"]:
        last = g.pid()
        if cause == "ctrl":
            took = g.press("ctrl+c", g.fresh_menu(last))
        else:
            g.check(f"kill -{cause} {last}")
            took = wait_until(f"a fresh menu after {cause}", g.fresh_menu(last))
        say(f"a fresh menu {took:.1f} s after {cause}")
    if int(g.unit("NRestarts")) != restarts + 11:
        raise Failure("the counter did not start again once after each")

    # More starts in a row than systemd's default limit (5 in 10 s) allows, each killed as soon
    # as it runs; a guest too slow to make them in one window of it would miss one, so the unit
    # must also say it has no limit.
    restarts, last = int(g.unit("NRestarts")), g.pid()
    for _ in range(6):
        g.check(f"kill -KILL {last}")
        wait_until("a new program", lambda: g.pid() not in (0, last))
        last = g.pid()
    g.shows("the menu after six kills in a row", MENU_SCREEN)
    starts = restart_times(g, restarts)
    say(f"{len(starts)} starts in {starts[-1] - starts[0]:.1f} s")
    g.check(f"systemctl show -P StartLimitIntervalUSec {UNIT}", "0")
    if len(starts) != 6:
        raise Failure("the unit must have no start limit, which would end the counter after a few quick restarts")

    # A counter that cannot start waits between tries, and comes back by itself.
    restarts = int(g.unit("NRestarts"))
    g.check(f"chmod a-x /usr/bin/snack-order && kill -KILL {g.pid()}")
    wait_until("four tries to start it", lambda: int(g.unit("NRestarts")) >= restarts + 4)
    tries = restart_times(g, restarts)
    gaps = [later - earlier for earlier, later in zip(tries, tries[1:])]
    say(f"tries {', '.join(f'{gap:.2f}' for gap in gaps)} s apart while the program cannot start")
    if min(gaps) < 5 / 11:  # at most 11 tries in 5 s
        raise Failure("it must keep trying, with a pause between tries")
    g.check("chmod a+x /usr/bin/snack-order")
    g.shows("the menu once it can start again", MENU_SCREEN)

    # Another console and back: the order as it was.
    g.choose("2", "the answer to 2", X_SALADA)
    last = g.pid()
    in_front = lambda tty: lambda: g.active_console() == tty  # noqa: E731
    g.press("alt+f2", in_front("tty2"))
    wait_until("the login prompt on tty2", lambda: login_prompt(g.screen(2)))
    g.press("alt+f1", in_front("tty1"))
    g.shows("the order on tty1 as it was", X_SALADA)
    if g.pid() != last:
        raise Failure("the program on tty1 did not stay")

    uid, capabilities = (re.search(rf"^{field}:\s+(\w+)", g.check(f"cat /proc/{last}/status"), re.M)[1]
                         for field in ("Uid", "CapEff"))
    exposure = float(re.search(r"Overall exposure level for \S+: (\d+\.\d+)", g.check(f"systemd-analyze security {UNIT}"))[1])
    say(f"the program runs as uid {uid}, capabilities {capabilities}; systemd-analyze security: {exposure}")
    if uid == "0" or int(capabilities, 16) or exposure > 1.0:
        raise Failure("the counter must run unprivileged, exposed at most 1.0")


def package_life(g, package):
    """A later version mid-order; removal with a counter enabled on tty1 and
    one only started on tty3; purge; install again; enabled by hand."""
    g.run("cat > /root/snack-order.deb", open(package, "rb").read())
    g.check("dpkg-deb -R /root/snack-order.deb /root/later && sed -i 's/^Version: .*/&+1/' /root/later/DEBIAN/control"
            " && echo '# changed' >> $(find /root/later -name snack-order@.service)"
            " && dpkg-deb -b /root/later /root/snack-order-later.deb >/dev/null")
    last = g.pid()
    g.check("dpkg -i /root/snack-order-later.deb >/dev/null")
    g.check(f"systemctl show -P NeedDaemonReload {UNIT}", "no")
    g.shows("the order in progress, through the upgrade", X_SALADA)
    if g.pid() != last:
        raise Failure("the upgrade cut the order in progress off")
    g.choose("0", "the amount due of that order", AMOUNT_DUE)
    g.press("ret", g.fresh_menu(last))
    say("upgraded mid-order: the order went on, the next customer got the new program")

    g.check("systemctl start snack-order@tty3 && mkdir -p /etc/systemd/system/snack-order@.service.d"
            " && printf '[Service]\\n' > /etc/systemd/system/snack-order@.service.d/owner.conf")
    g.press("alt+f3", lambda: g.active_console() == "tty3" and cleared(g.screen(3), MENU_SCREEN))
    cursor = re.search(r"cursor: (\S+)", g.check("journalctl -n 0 --show-cursor"))[1]
    g.check("dpkg -r snack-order >/dev/null 2>&1")
    took = wait_until("the login prompts on tty3, in front, and tty1",
                      lambda: login_prompt(g.screen(3)) and login_prompt(g.screen()))
    say(f"removed: the login prompts on tty3 and tty1 {took:.1f} s later")
    g.check("systemctl list-units --all --plain --no-legend 'snack-order@*' | wc -l", "0")
    journal = g.check(f"journalctl -o cat --after-cursor='{cursor}' -u 'snack-order@*'")
    if any(not re.match(r"(Stopping|Stopped|snack-order@tty\d\.service: (Deactivated successfully|Consumed))", line)
           for line in journal.splitlines()):
        raise Failure(f"the journal must hold nothing but the stop:\n{journal}")
    g.press("alt+f1", lambda: g.active_console() == "tty1")
    g.check("dpkg -P snack-order >/dev/null 2>&1 && find /etc/systemd/system -name 'snack-order@*' | wc -l", "0")
    g.check("dpkg -i /root/snack-order.deb >/dev/null")
    state = g.run(f"systemctl is-enabled {UNIT}; systemctl is-active {UNIT}")[1].split()
    if state != [b"disabled", b"inactive"] or not login_prompt(g.screen()):
        raise Failure(f"installed, the unit is {state}: it must be neither enabled nor started")
    g.check(f"systemctl enable --now {UNIT}")
    say(f"the menu {g.shows('the menu in place of the login prompt', MENU_SCREEN):.1f} s after systemctl enable")


def main():
    arch, image, work = sys.argv[1:4]
    g = None
    try:
        g = Guest(arch, image, work)
        boots_to_an_order(g)
        if arch == "amd64":
            g.check(SECURE_BOOT, "1")
            owners_day(g)
            package_life(g, sys.argv[4])
            g.press("ctrl+alt+delete", lambda: g.qemu.poll() is not None, seconds=BOOT_SECONDS)
            say("Ctrl+Alt+Del still reboots")
            g.power_cut()
            # Powered on again, the menu, and nothing of the day: it all went with the RAM.
            g = Guest(arch, image, work, power_on_again=True)
            menu_at_boot(g)
            g.check(f"{SECURE_BOOT}; dpkg-query -W -f '${{Version}}' snack-order; ls /root",
                    "0\n" + re.search(r"_([^_]+)_", os.path.basename(sys.argv[4]))[1])
            say("powered on again with Secure Boot off, the menu, on the image as it was")
        g.power_cut()
        return 0
    except (Failure, OSError) as failure:
        print(f"FAILED: {failure!r}")
        for number, line in enumerate("\n".join(g.lines if g else []).rstrip().splitlines()):
            print(f"{number:2} |{line}")
        if g and g.boot_id():  # the program and its terminal as they stood, where the guest still answers
            print(g.run(f"p=$(systemctl show -P MainPID {UNIT}); cat /proc/$p/wchan /proc/$p/syscall; stty -a <"
                        " /dev/tty1")[1].decode(errors="replace"))
        print(f"the guest's serial console: {work}/serial.log; reproduce: /usr/bin/python3 {' '.join(sys.argv)}")
        return 1
    finally:
        if g:
            g.qemu.kill()


if __name__ == "__main__":
    sys.exit(main())
