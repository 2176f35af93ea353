# A soak test of the real Vop.exe: random use, seeded, for as long as asked,
# with faults from outside (the file locked, made read-only, grown, shrunk,
# taken away). After every step the program must live and answer within 5 s;
# at the end its GDI objects, windows and working set must be back near where
# they were once every dialog had opened once; and no byte may be lost or
# written unasked:
#  - never-save: every save question is answered No or Cancel and Save is never
#    chosen, so each file must hold exactly what the driver itself put there;
#  - always-save: every question is answered Yes and the run ends with a save,
#    so each file must hold its first bytes with every typed byte applied.
# The driver knows the caret (the status bar) and the font type (its own keys),
# so it knows the byte each key writes. A failure prints the seed, the last 50
# steps and what broke, and leaves failed.png; the same seed replays the steps.
# Usage: soak.py [--minutes N] [--seed S] [--mode never-save|always-save]
import collections
import os
import random
import subprocess
import sys
import time

from harness import CLOSE, COLORS, EXIT, OPEN, PROBE, SAVE, Vop, wait_for, winpath

FIND, REPLACE, GOTO, FONTS, KEYS, ABOUT = 40002, 40010, 40013, 40012, 40011, 40003
SHORTCUTS = {OPEN: "o", SAVE: "s", FIND: "f", REPLACE: "h", GOTO: "g"}
WINDOW = [0xF030, 0xF120, 0xF020, 100]  # maximise, restore, minimise, the optimal size
MOVES = ["Return", "Prior", "Next", "End", "Home", "Left", "Up", "Right", "Down", "F3", "F4", "F5", "F7",
         "Delete", "Escape", "BackSpace", "Insert", "F2"]
SIZES = {"a.bin": 300000, "b.bin": 3000, "c.bin": 1}  # several pages, part of one, a single byte
HEX = "0123456789abcdefABCDEF"


class Soak:
    def __init__(self, vop, seed, mode):
        self.vop, self.rng, self.saving = vop, random.Random(seed), mode == "always-save"
        self.disk = {n: bytearray(random.Random(n).randbytes(s)) for n, s in SIZES.items()}  # as on disk
        self.held = {n: bytearray(d) for n, d in self.disk.items()}  # with every byte typed since
        for name, data in self.disk.items():
            vop.write(name, data)
        self.steps, self.faults, self.locks = collections.deque(maxlen=50), {}, []
        self.count, self.font_type = 0, 0

    # ---- input, logged ----
    def log(self, what):
        self.steps.append("%d: %s" % (self.count, what))

    def x(self, what, *xdotool):
        self.log(what)
        self.vop.xdotool(*xdotool)

    def keys(self, *keys):
        self.x(" ".join(keys), "key", "--delay", 40, *keys)

    def probe(self, *args):  # a menu or system command, a drop, keys through the system's queue
        self.log(args)
        self.vop.probe(*args)

    def click(self, item):  # a control of the dialog in front
        self.log("click " + item)
        self.vop.click(3, 3, key=item)

    # ---- what the program shows: it must live and answer, or have ended when asked ----
    def look(self):
        deadline = time.time() + 10
        while self.vop.process.poll() is None and "answered" not in (info := self.vop.info()):
            assert time.time() < deadline, "no window answers"
        if self.vop.process.poll() is not None:
            assert self.exiting and self.vop.process.returncode == 0, "Vop ended by itself"
            return {}
        assert info["answered"] == "1", "the main window did not answer within 5 s"
        return info

    def settle(self):  # every box or dialog that opened gets its answer or random input, and ends
        for _ in range(12):
            info = self.look()
            if "boxtitle" not in info:
                return info
            self.answer(info["boxtitle"], info["boxtext"])
            time.sleep(0.1)
        raise AssertionError("a box that does not close: %r" % info)

    def field(self, n, text):
        self.click("field%d" % n)
        self.x("type " + text, "type", text)

    def pattern(self):  # a few bytes of the open file, as hex digits, so that they are found
        data = self.held.get(self.name) or b"V"
        at = self.rng.randrange(len(data))
        return data[at:at + self.rng.randint(1, 4)].hex()

    def answer(self, title, text):  # random input, then OK, Cancel, Esc or the close box
        rng = self.rng
        ending = rng.choice(["Return", "Escape", "alt+F4", "item2"])
        self.log("box %s: %s" % (title, text))
        if title in ("Warning", "Save file"):  # Cancel would stop an Exit the driver asked for
            no = ["n"] if self.exiting or title == "Warning" else ["n", "Escape"]
            ending = rng.choice(["y"] if self.saving else no)
        elif text == "Replace this occurrance?":  # asked again where Yes put the same bytes back: No then
            where = self.vop.info().get("status0")
            ending = "n" if where == self.replaced_at else rng.choice(["y", "n", "Escape"])
            self.replaced_at = where if ending == "y" else None
        elif title == "Find Dialog":  # opening it forgets the pattern; a search leaves the text view
            self.field(1, self.pattern())
            self.pattern_kept = ending == "Return"
            self.text_view &= not self.pattern_kept
        elif title == "Replace Dialog":  # always-save replaces bytes by themselves: the model stands
            search = self.pattern()
            self.field(1, search)
            self.field(3, search if self.saving else rng.choice([search, search[::-1], "41"]))
            self.click("item1012") if rng.random() < 0.5 else None  # Replace all
        elif title == "Goto Address":
            self.field(0, "%X" % rng.choice([0, self.size - 1, self.size, 0xFFFFFFFF, rng.randrange(self.size + 1)]))
        elif title == "Modify":
            self.field(0, "%02X" % rng.randrange(256))
            time.sleep(0.3)  # the typed digits reach the field before it is read
            shown = self.vop.info()
            if ending == "Return":  # the byte under the caret takes the field's value
                self.write(int(shown["status0"][:-1], 16), int(shown["text0"], 16), move=False)
        elif title == "Set Colors":
            self.field(rng.randrange(2), "%06X" % rng.randrange(1 << 24))
        elif title == "Font":  # Normal, Double or Quad cells, the block caret, Ascii or Hex, or none
            item = rng.choice([1015, 1016, 1017, 1012, 1018, 1019, None])
            self.click("item%d" % item) if item else None
            self.font_type = {1018: 0, 1019: 1}.get(item, self.font_type) if ending == "Return" else self.font_type
        elif title.startswith("About"):  # closed at once or after a while
            time.sleep(rng.choice([0, 0, 0.5, 2]))
            ending = rng.choice(["Return", "space"])
        elif title == "Open" and rng.random() < 0.6:  # a file name typed in its name box, the text there selected
            self.opened = rng.choice([n for n in SIZES if n != self.name and n != self.faults.get("vanish", [""])[0]])
            self.keys("alt+n")
            self.x("type " + self.opened, "type", self.opened)
            ending, self.pattern_kept = "Return", False
        elif title not in ("Keys", "Open"):  # a message
            ending = "Return"
        self.click(ending) if ending == "item2" and title != "Keys" else self.keys(ending.replace("item2", "Escape"))

    # ---- the model of the bytes and the caret ----
    def write(self, address, value, move=True):
        data = self.held[self.name]
        self.log("(byte %X := %02X)" % (address, value))
        if address < len(data):  # (never-save: a file shrunk outside is still held whole)
            data[address] = value
        self.expect_caret = min(address + 1, self.size - 1) if move else address

    # ---- the actions, with their weights ----
    def type_character(self, info):
        char, address = self.rng.choice(HEX + "xz Q~\t"), self.caret
        self.expect_caret = address
        self.x("type %r (font type %d)" % (char, self.font_type), "type", char)
        if address is None:
            return
        if self.font_type == 0:
            self.write(address, ord(char))
        elif char in HEX:  # the high digit, then the low one; the second digit moves on
            old, digit = (self.held[self.name] + bytes(address + 1))[address], int(char, 16)
            first, self.pending = self.pending != address, None if self.pending == address else address
            self.write(address, digit << 4 | old & 15 if first else old & 0xF0 | digit, move=not first)
        want = "%08Xh" % self.expect_caret  # unless a question comes on the way (a page crossed)
        self.vop.wait_info("typing %r at %X to move the caret to %s" % (char, address, want),
                           lambda i: "box" in i or i.get("status0") == want)
        self.settle()

    def key(self, info):  # any key of the key table, with Ctrl, Shift or both
        key = self.rng.choice(["", "", "ctrl+", "shift+", "ctrl+shift+"]) + self.rng.choice(MOVES)
        key = self.rng.choice([key, key, "ctrl+l", "ctrl+0", "ctrl+KP_0", "ctrl+a"])
        if key.endswith("F4") and self.name:  # the next view: Ascii, Hex, the text view, Ascii again
            self.text_view, self.font_type = (False, self.font_type) if self.text_view else \
                (False, 1) if self.font_type == 0 else (True, 0)
        self.text_view &= not (key.endswith("F3") and self.pattern_kept)
        if self.caret is not None and key.endswith("0") and self.font_type == 0:
            self.write(self.caret, 0)
        self.keys(key)
        self.probe("sendkeys", 145) if self.rng.random() < 0.15 else None  # Scroll Lock; Wine keeps this toggle

    def mouse(self, info):  # on the bytes or the scroll bar: click, double click, wheel, drag
        left, top, right, bottom = map(int, info["data"].split(","))
        x, y = self.rng.randrange(left, right + 16), self.rng.randrange(top, bottom)
        how = self.rng.choice([["click", 1], ["click", "--repeat", 2, "--delay", 60, 1], ["click", 4], ["click", 5],
                               ["mousedown", 1, "mousemove", x, self.rng.randrange(top, bottom), "mouseup", 1]])
        self.x("mouse at %d,%d: %s" % (x - left, y - top, how), "mousemove", x, y, *how)

    def window(self, info, resize=False):
        command = self.rng.choice(WINDOW + [None])
        if resize or command is None:  # the lower right corner dragged
            right, bottom = map(int, info["window"].split(",")[2:])
            to = right + self.rng.randint(-400, 100), bottom + self.rng.randint(-400, 0)
            self.x("resize to %s" % (to,), "mousemove", right - 2, bottom - 2, "mousedown", 1, "mousemove", *to,
                   "mouseup", 1)
        else:
            self.probe("post", 0x112, command)  # WM_SYSCOMMAND, as the caption's buttons and menu send it
            self.probe("post", 0x112, 0xF120) if command == 0xF020 else None
        self.vop.focus()

    def menu(self, info):
        command = self.rng.choice([OPEN, CLOSE, EXIT, COLORS, FONTS, KEYS, ABOUT] + 2 * [FIND, REPLACE, GOTO] +
                                  self.saving * [SAVE])
        self.exiting = command == EXIT
        if command in SHORTCUTS and self.rng.random() < 0.5:
            return self.keys("ctrl+" + SHORTCUTS[command])
        self.probe("command", command)

    def drop(self, info):
        self.opened = self.rng.choice([n for n in SIZES if n != self.name])
        self.probe("drop", winpath(self.vop.path(self.opened)))

    def outside(self, info):  # another program at a file; always-save leaves out what changes its bytes
        name = self.rng.choice(list(SIZES))
        path, kind = self.vop.path(name), self.rng.choice(["lock", "read-only"] + (not self.saving) * [
            "grow", "shrink", "vanish"])
        if kind in self.faults or name in [n for n, _ in self.faults.values()]:
            return
        self.log("outside: %s %s" % (kind, name))
        if kind == "lock":  # for a moment; with share 1 others may still read it
            self.locks.append(subprocess.Popen(["wine", PROBE, "lock", winpath(path), self.rng.choice(
                ["300", "1500", "4000"]), self.rng.choice("01")], env=self.vop.env, stderr=subprocess.DEVNULL))
        elif kind in ("grow", "shrink"):
            data = (self.disk[name] + random.Random(self.count).randbytes(70000))[:self.rng.randrange(
                len(self.disk[name]) + 1) if kind == "shrink" else None]
            self.disk[name], self.held[name] = data, bytearray(data)
            self.vop.write(name, data)
        else:  # until a later step
            self.faults[kind] = (name, self.count + self.rng.randint(1, 6))
            os.chmod(path, 0o444) if kind == "read-only" else os.rename(path, path + ".gone")

    def end_faults(self, now=False):
        for kind, (name, until) in list(self.faults.items()):
            if now or self.count >= until:
                path = self.vop.path(name)
                self.log("outside: %s %s ends" % (kind, name))
                os.chmod(path, 0o644) if kind == "read-only" else os.rename(path + ".gone", path)
                del self.faults[kind]
        self.locks = [lock for lock in self.locks if (lock.wait(30) if now else lock.poll()) is None]

    ACTIONS = [(30, type_character), (28, key), (12, mouse), (4, window), (12, menu), (3, drop), (5, outside)]

    # ---- a run ----
    def begin(self):  # Vop started on a.bin; the font type it saved at its last exit holds
        self.end_faults(now=True)  # (a.bin may be locked when an Exit starts it again)
        self.text_view, self.pattern_kept, self.pending, self.exiting, self.replaced_at = False, False, None, False, None
        self.name, self.size, self.caret = "a.bin", len(self.disk["a.bin"]), 0
        self.vop.start(winpath(self.vop.path("a.bin"))).wait_open(self.vop.path("a.bin"))
        # Every dialog once first, closed by its close box, and the window resized:
        # what the system makes the first time and keeps (fonts, the Open
        # dialog's icons, the pressed close box) is not a leak.
        for command in (OPEN, ABOUT, COLORS, FONTS, KEYS, FIND, REPLACE, GOTO):
            self.vop.probe("command", command)
            wait_for("a dialog", lambda: "box" in self.vop.info(), 60)  # the first Open dialog is slow
            self.vop.click(3, 3, key="item1012") if command == REPLACE else None
            self.vop.key("Return" if command == ABOUT else "alt+F4")
            self.vop.wait_box(None)
        self.window(self.vop.info(), resize=True)
        self.start = self.resources()
        assert self.start["gdi"] > 0, "the probe cannot count the program's GDI objects"

    def resources(self):  # maximised, so that the window's own memory, which follows its size, compares
        self.probe("post", 0x112, 0xF030)
        time.sleep(1)
        # asked again when a probe comes back with nothing, as one now and then does
        read = lambda: {k: int(v) for k, v in (line.split("=") for line in self.vop.probe("resources").split())}
        return wait_for("the program's resources", lambda: [r for r in [read()] if r])[0]

    def step(self):
        self.count += 1
        self.end_faults()
        info = self.settle()
        self.name = ([n for n in SIZES if info.get("title") == winpath(self.vop.path(n))] + [None])[0]
        self.size = int(info["status1"].split("(")[1][:-1]) if info.get("parts") == "2" else 0  # as Vop holds it
        self.caret = int(info["status0"][:-1], 16) if self.size else None
        self.opened, self.exiting = None, False
        self.rng.choices(*zip(*[(action, weight) for weight, action in self.ACTIONS]))[0](self, info)
        if self.opened and self.settle().get("title") == winpath(self.vop.path(self.opened)):
            self.pending = None  # a high digit typed before belongs to the file left
        self.settle()
        if self.vop.process.poll() is not None or not self.saving:  # after Exit all that was agreed is saved
            self.check_files()
        if self.vop.process.poll() is not None:
            self.begin()
        if self.count % 200 == 0:  # every dialog is closed: the trend of what the program holds
            print("step %d: %s" % (self.count, self.resources()), flush=True)

    def check_files(self):
        for name, data in (self.held if self.saving else self.disk).items():
            if os.path.exists(self.vop.path(name)):
                got = self.vop.read(name)
                assert got == data, name + " differs on disk from what was agreed"

    def finish(self):
        self.end_faults(now=True)
        self.settle()
        self.probe("command", FONTS)  # back to the first cell size: bigger glyphs take more memory, rightly
        self.vop.wait_box("Font")
        self.click("item1015")
        self.keys("Return")
        self.settle()
        end = self.resources()
        print("resources after every dialog once %s, at the end %s" % (self.start, end))
        for key, bound in (("gdi", 16), ("user", 16), ("windows", 0), ("ws", 8192)):
            assert end[key] - self.start[key] <= bound, "%s grew from %d to %d" % (key, self.start[key], end[key])
        self.probe("command", SAVE) if self.saving else None
        self.exiting = True
        while self.vop.process.poll() is None:
            self.settle()
            self.probe("command", EXIT)
        self.check_files()


def run(vop, seed, mode, seconds):
    soak = Soak(vop, seed, mode)
    try:
        soak.begin()
        started = time.time()  # random steps for so long, however long the start took
        while time.time() - started < seconds:
            soak.step()
        soak.finish()
    except Exception as failure:
        vop.grab(None, vop.path("failed.png"))
        raise AssertionError("soak seed %d, %s: %s\nlast steps:\n%s\nscreen: %s" % (
            seed, mode, failure, "\n".join(soak.steps), vop.path("failed.png"))) from failure
    minutes = (time.time() - started) / 60
    print("seed %d, %s: %d steps in %.1f min, %.0f a minute" % (seed, mode, soak.count, minutes, soak.count / minutes))


if __name__ == "__main__":
    options = {"--minutes": "30", "--seed": "1", "--mode": "never-save", **dict(zip(sys.argv[1::2], sys.argv[2::2]))}
    program = Vop("soak_%s_%s" % (options["--mode"], options["--seed"]))
    try:
        run(program, int(options["--seed"]), options["--mode"], float(options["--minutes"]) * 60)
    finally:
        program.kill()
