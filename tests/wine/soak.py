# A soak test of the real Vop.exe: random use, seeded, for as long as asked,
# with faults from outside (the file locked, made read-only, grown, shrunk,
# taken away). After every step the program must live and answer within 5 s,
# and every file on disk must hold exactly what the model of the bytes says:
# per file its bytes on disk and, for the open file, the unsaved edits, which
# always lie in the two held pages. So Yes to a save question (and File/Save)
# writes every edit, No drops them all (the pages are read back), Cancel keeps
# them and stops the command; an error box right after the Yes or the No means
# that nothing was written or read back, and the edits stay. The modes answer:
#  - never-save: No or Cancel, and Save is never chosen;
#  - always-save: Yes, and the run ends with a Save;
#  - mixed: Yes, No or Cancel at random, and Save now and then.
# An Exit the driver asks for is never cancelled. The driver knows the caret
# (the status bar) and the font type (its own keys), so it knows the byte each
# key, Modify and each kind of Replace writes. The GDI objects, windows and
# working set, sampled over the whole run, must stay near where they were once
# every dialog had opened once, and not creep up; and a run must do a least
# amount of work for its length. A failure prints the seed, the last 50 steps
# and what broke, and leaves failed.png; the same seed replays the steps.
# Usage: soak.py [--minutes N] [--seed S] [--mode never-save|always-save|mixed]
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
MOVES = "Return Prior Next End Home Left Up Right Down F3 F4 F5 F7 Delete Escape BackSpace Insert F2".split()
SIZES = {"a.bin": 300000, "b.bin": 3000, "c.bin": 1}  # several pages, part of one, a single byte
HEX = "0123456789abcdefABCDEF"
ANSWERS = {"never-save": "n", "always-save": "y", "mixed": "yn"}  # to either save question
# What the box right after a Yes (or Save) or a No says when nothing was written or read back.
FAILED = {"y": ("Error opening file for writing!", "Error writing file!", "Error seeking in file!"),
          "n": ("Error opening file!", "Error reading file!")}
# How far each figure may rise over the run's first sample, and how far the
# later half of the samples may sit above the earlier half on average. The
# GDI objects move in threes as the system's cache of window DCs (a DC, its
# region and its bitmap) grows with the most windows ever painting at once;
# the working set grows by about 1.5 MiB over the first About boxes, and its
# samples spread over 6 MiB in a 30-minute run (47.2 to 53.4 MiB, with no
# trend: the heap keeps pages it has freed).
LEAKS = {"gdi": (12, 6), "windows": (0, 0), "ws": (6144, 1536)}
# The least work: steps a minute, then typed bytes, saves and searches a step (one of each at least).
# The steps' floor is far below any machine's pace (40 to 60 a minute here,
# 15 on a loaded one): it catches a run stuck in its waits, not a slow machine.
WORK = {"steps": 4, "typed": 1 / 20, "saves": 1 / 100, "searches": 1 / 100}


class Soak:
    def __init__(self, vop, seed, mode):
        self.vop, self.rng, self.mode = vop, random.Random(seed), mode
        self.disk = {n: bytearray(random.Random(n).randbytes(s)) for n, s in SIZES.items()}  # as on disk
        for name, data in self.disk.items():
            vop.write(name, data)
        self.steps, self.locks, self.samples, self.every = collections.deque(maxlen=50), [], [], {}
        self.work, self.font_type, self.force = collections.Counter(), 0, None
        self.fault = self.gone = None

    # ---- input, logged ----
    def log(self, what):
        self.steps.append("%d: %s" % (self.work["steps"], what))

    def x(self, what, *xdotool):
        self.log(what)
        self.vop.xdotool(*xdotool)

    def keys(self, *keys):
        self.x(" ".join(keys), "key", "--delay", 40, *keys)

    def probe(self, *args):  # a menu or system command, a drop, keys through the system's queue
        self.log(args)
        return self.vop.probe(*args)

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

    # Every box that opens gets its answer, once, until the program is found
    # idle twice in a row (no box, none on its way, no search running), so
    # that what any earlier input set going has happened.
    def settle(self):
        calm, closing, deadline = 0, None, time.time() + 30
        while calm < 2 and (info := self.look()):
            box = info.get("box")
            if box and box != closing and len(set(info["boxclient"].split(",")[::2])) > 1:  # (hidden while it searches)
                self.resolve(info)
                self.answer(info)
                closing, deadline = box, time.time() + 30
            calm = calm + 1 if not box and info.get("enabled") == "1" else 0
            assert time.time() < deadline, "a box that does not close: %r" % info
        self.resolve({})
        assert not self.run, "a replace-all run ended without its count"
        return info

    def follow(self, info):  # the document shown and its caret; the edits of one that left are gone
        name = ([n for n in SIZES if info.get("title") == winpath(self.vop.path(n))] + [None])[0]
        if name != self.name:
            assert not self.known or not self.edits or self.asked == "n", "%s left with unsaved edits" % self.name
            self.name, self.edits, self.known, self.nibble = name, {}, True, None
        self.size = int(info["status1"].split("(")[1][:-1]) if info.get("parts") == "2" else 0  # as Vop holds it
        self.caret, self.info = self.address(info), info

    def field(self, n, digits, info=None):  # hex digits typed from a field's first digit on
        self.click("field%d" % n)
        self.x("type " + digits, "type", digits)
        if info:  # they overwrite what it showed and go on past its end
            want = (digits + info["text%d" % n][len(digits):]).upper()
            return bytes.fromhex(self.vop.wait_info("field%d to show %s" % (n, want),
                                                    lambda i: i.get("text%d" % n) == want)["text%d" % n])

    def pattern(self):  # a few bytes of the open file as the user sees them, as hex digits, so that they are found
        data = self.seen()
        at = self.rng.randrange(len(data))
        return data[at:at + self.rng.randint(1, 4)].hex()

    def answer(self, info):  # random input, then OK, Cancel, Esc or the close box
        rng, title, text, at = self.rng, info["boxtitle"], info["boxtext"], self.address(info)
        ending = rng.choice(["Return", "Escape", "alt+F4", "item2"])
        self.log("box %s: %s" % (title, text))
        if self.run and title == "Error":
            self.run[2] = False
        if title in ("Warning", "Save file"):  # Cancel only where the box has it, and never on the driver's Exit
            assert self.edits or self.run or not self.known, "asked to save with nothing changed"  # (or a run's own)
            cancel = title == "Save file" and not self.exiting and self.mode != "always-save"
            ending = self.force or rng.choice([*ANSWERS[self.mode]] + cancel * ["Escape"])
            self.pending = self.asked = ending if ending != "Escape" else None
        elif text == "Replace this occurrance?":  # Yes writes the replacement where the caret is
            search, replacement = self.replacing
            assert self.seen()[at:at + len(search)] == search, "the caret at %X is not on the sequence" % at
            ending = rng.choice(["y", "n", "Escape"])
            self.write(at, replacement) if ending == "y" else None
        elif text.startswith("Replaced "):  # the run's count: its first N occurrences are replaced
            (found, agreed, clean), count, ending = self.run, int(text.split()[1]), "Return"
            assert count == len(found) or count < len(found) and not clean, "%d of %d replaced" % (count, len(found))
            for address in found[:count]:
                self.write(address, self.replacing[1])
            self.run = self.save() if agreed else None  # a run that saved once saves as it goes and at its end
        elif title == "Find Dialog":  # opening it forgets the pattern; a search leaves the text view
            ending = rng.choice([ending, "Return"])
            self.field(1, self.pattern(), info)
            self.pattern_kept = ending == "Return"
            self.text_view &= not self.pattern_kept
            self.work["searches"] += self.pattern_kept
        elif title == "Replace Dialog":  # a replacement unlike the sequence, now and then of another length
            ending, search, box = rng.choice([ending, "Return"]), self.field(1, self.pattern(), info), info["box"]
            replacement = bytearray(rng.randbytes(len(search) + (rng.random() < 0.15)))
            replacement[0] = search[0] ^ rng.randrange(1, 256)
            replacement = self.field(3, replacement.hex(), info)
            if rng.random() < 0.5:  # Replace all, on or off (a dialog that stays keeps it)
                self.click("item1012")
                self.every[box] = not self.every.get(box)
            if ending == "Return" and len(search) == len(replacement):  # (otherwise refused: the dialog stays)
                self.work["searches"] += 1
                self.replacing = search, replacement
                self.run = self.every.get(box) and [self.occurrences(search, at), False, True]
        elif title == "Goto Address":
            self.field(0, "%X" % rng.choice([0, self.size - 1, self.size, 0xFFFFFFFF, rng.randrange(self.size + 1)]))
        elif title == "Modify":  # its two digits typed over: the byte's new value
            value = rng.randrange(256)
            self.field(0, "%02X" % value, info)
            if ending == "Return" and self.seen()[at] != value:  # (a value left as it was changes nothing)
                self.write(at, [value])
        elif title == "Set Colors":
            self.field(rng.randrange(2), "%06X" % rng.randrange(1 << 24))
        elif title == "Font":  # Normal, Double or Quad cells, the block caret, Ascii or Hex, or none
            item = rng.choice([1015, 1016, 1017, 1012, 1018, 1019, None])
            self.click("item%d" % item) if item else None
            self.font_type = {1018: 0, 1019: 1}.get(item, self.font_type) if ending == "Return" else self.font_type
        elif title.startswith("About"):  # closed at once or after a while
            time.sleep(rng.choice([0, 0, 0.5, 2]))
            ending = rng.choice(["Return", "space"])
        elif title == "Keys":  # (Esc leaves it open)
            ending = rng.choice(["Return", "alt+F4"])
        elif title == "Open":  # a file name typed in its name box, the text there selected, or no file
            ending = rng.choice(["Escape", "alt+F4", "item2"])
            if rng.random() < 0.6:
                opened = rng.choice([n for n in SIZES if n not in (self.name, self.gone)])
                self.keys("alt+n")
                self.x("type " + opened, "type", opened)
                ending, self.pattern_kept = "Return", False
        else:  # a message
            ending = "Return"
        self.click(ending) if ending == "item2" else self.keys(ending)

    # ---- the model of the bytes ----
    def address(self, info):  # the caret's, as the status bar shows it when no search runs
        return int(info["status0"][:-1], 16) if info.get("status0", "").endswith("h") else None

    def seen(self):  # the open file as the user sees it: its bytes on disk with the unsaved edits
        data = bytearray(self.disk[self.name])
        for address, value in self.edits.items():
            data[address] = value
        return data

    def occurrences(self, search, at):  # from the caret, each looked for after the one before
        data, found = self.seen(), []
        while (at := data.find(search, at)) >= 0:
            found.append(at)
            at += len(search)
        return found

    def write(self, address, values):
        self.log("(%X := %s)" % (address, bytes(values).hex()))
        self.edits.update(enumerate(values, address))

    def save(self):
        for address, value in self.edits.items():
            self.disk[self.name][address] = value
        self.work["saves"] += bool(self.edits)
        self.edits = {}

    def resolve(self, info):  # what the last Yes (or Save) or No did, as the box after it, or none, tells
        answer, self.pending = self.pending, None
        if answer:
            failed = info.get("boxtext") in FAILED[answer]
            self.log("(%s %s)" % (answer, "failed" if failed else "done"))
            if self.run and answer == "y":  # a run that saved once saves as it goes
                self.run[1] = not failed
            elif self.run:  # a No ends a run without its count: what it replaced is dropped, or not known
                self.run, self.known = None, not failed
            if not failed:
                self.save() if answer == "y" else self.edits.clear()

    # ---- the actions, with their weights ----
    def type_character(self, info):  # a hex digit, a printable character or any other one
        rng, at = self.rng, self.caret
        code = rng.choice([ord(rng.choice(HEX)), rng.randrange(32, 127), rng.randrange(1, 256)])
        char = bytes([code]).decode("cp1252", "ignore") or chr(code)  # (the five it leaves out arrive as themselves)
        # (X input cannot type the others reliably)
        self.x("type %r" % char, "type", char) if 32 <= code < 127 else self.probe("type", char)
        if at is None:
            return
        if self.font_type == 0 and code not in (8, 13, 27):
            value, moves = code, True
        elif self.font_type == 1 and char in HEX:  # the high digit, then the low one, which moves on
            moves, digit, old = self.nibble == at, int(char, 16), self.seen()[at]
            value, self.nibble = (old & 0xF0 | digit, None) if moves else (digit << 4 | old & 15, at)
        else:
            return
        self.write(at, [value])
        self.work["typed"] += 1
        want = "%08Xh" % min(at + moves, self.size - 1)  # unless a question comes on the way (a page crossed)
        self.vop.wait_info("typing %r at %X to move the caret to %s" % (char, at, want),
                           lambda i: "box" in i or i.get("status0") == want)

    def key(self, info):  # any key of the key table, with Ctrl, Shift or both
        key = self.rng.choice(["", "", "ctrl+", "shift+", "ctrl+shift+"]) + self.rng.choice(MOVES)
        key = self.rng.choice([key, key, "ctrl+l", "ctrl+0", "ctrl+KP_0", "ctrl+a"])
        if key.endswith("F4") and self.name:  # the next view: Ascii, Hex, the text view, Ascii again
            self.text_view, self.font_type = (False, self.font_type) if self.text_view else \
                (self.font_type == 1, 1 - self.font_type)
        self.text_view &= not (key.endswith("F3") and self.pattern_kept)
        if self.caret is not None and key.endswith("0") and self.font_type == 0:
            self.write(self.caret, [0])
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

    def menu(self, info, command=None):
        command = command or self.rng.choice([OPEN, CLOSE, EXIT, COLORS, FONTS, KEYS, ABOUT, GOTO, GOTO] +
                                             4 * [FIND, REPLACE] + (self.mode != "never-save") * 6 * [SAVE])
        self.exiting, self.pending = command == EXIT, "y" if command == SAVE else None
        if command in SHORTCUTS and self.rng.random() < 0.5:
            return self.keys("ctrl+" + SHORTCUTS[command])
        self.probe("command", command)

    def drop(self, info):
        self.probe("drop", winpath(self.vop.path(self.rng.choice([n for n in SIZES if n != self.name]))))

    def outside(self, info):  # another program at a file, one change at a time
        rng, name = self.rng, self.rng.choice(list(SIZES))
        kind, path = rng.choice(["lock", "read-only", "grow", "shrink", "vanish"]), self.vop.path(name)
        if self.fault:
            return
        self.log("outside: %s %s" % (kind, name))
        if kind == "lock":  # for a moment; with share 1 others may still read it
            self.locks.append(subprocess.Popen(["wine", PROBE, "lock", winpath(path), rng.choice(
                ["300", "1500", "4000"]), rng.choice("01")], env=self.vop.env, stderr=subprocess.DEVNULL))
        elif kind in ("grow", "shrink"):  # under the open file, the held pages no longer tell what the file holds
            data = (self.disk[name] + random.Random(self.work["steps"]).randbytes(70000))[:rng.randrange(
                len(self.disk[name]) + 1) if kind == "shrink" else None]
            self.disk[name] = data
            self.vop.write(name, data)
            self.known &= name != self.name
        else:  # until a later step
            os.chmod(path, 0o444) if kind == "read-only" else os.rename(path, path + ".gone")
            self.gone = name if kind == "vanish" else None
            self.fault = kind, path, self.work["steps"] + rng.randint(1, 6)

    def end_faults(self, now=False):
        if self.fault and (now or self.work["steps"] >= self.fault[2]):
            kind, path, _ = self.fault
            self.log("outside: %s ends" % kind)
            os.chmod(path, 0o644) if kind == "read-only" else os.rename(path + ".gone", path)
            self.fault = self.gone = None
        self.locks = [lock for lock in self.locks if (lock.wait(30) if now else lock.poll()) is None]

    ACTIONS = [type_character, key, mouse, window, menu, drop, outside]
    WEIGHTS = [36, 22, 10, 4, 16, 3, 5]

    # ---- a run ----
    def begin(self):  # Vop started on a.bin; the font type it saved at its last exit holds
        self.end_faults(now=True)  # (a.bin may be locked when an Exit starts it again)
        self.text_view = self.pattern_kept = self.exiting = False
        self.name = self.pending = self.run = self.asked = None
        self.edits, self.known = {}, True
        self.vop.start(winpath(self.vop.path("a.bin"))).wait_open(self.vop.path("a.bin"))
        # Every dialog once first, closed by its close box, and the window resized:
        # what the system makes the first time and keeps (fonts, the Open
        # dialog's icons, the pressed close box) is not a leak.
        for command in (OPEN, ABOUT, COLORS, FONTS, KEYS, FIND, REPLACE, GOTO):
            self.vop.probe("command", command)
            wait_for("a dialog", lambda: "box" in self.vop.info(), 60)  # the first Open dialog is slow
            if command == REPLACE:  # and a message box over a dialog: a replacement too long
                self.vop.click(3, 3, key="item1012")
                self.vop.click(3, 3, key="field3")
                self.vop.xdotool("type", "00")
                self.vop.key("Return")
                self.vop.answer("ok", "Error", "Source and target must have equal lenght!")
            self.vop.key("Return" if command == ABOUT else "alt+F4")
            self.vop.wait_box(None)
        self.window(self.vop.info(), resize=True)
        self.sample()

    # What the program holds, in Normal cells and maximised: bigger glyphs and
    # a bigger window rightly take more memory.
    def sample(self):
        self.probe("command", FONTS)
        self.vop.wait_box("Font")
        self.click("item1015")
        self.keys("Return")
        self.vop.wait_box(None)
        self.probe("post", 0x112, 0xF030)
        self.vop.wait_info("the window maximised", lambda i: i.get("window", "").startswith("-"))  # (over the edges)
        self.follow(self.settle())  # and painted
        # asked again when a probe comes back with nothing, as one now and then does
        read = lambda: {k: int(v) for k, v in (line.split("=") for line in self.probe("resources").split())}
        figures = wait_for("the program's resources", lambda: [r for r in [read()] if r])[0]
        print("step %d: %s" % (self.work["steps"], figures), flush=True)
        self.samples.append(figures)
        assert figures["gdi"] > 0, "the probe cannot count the program's GDI objects"
        for key, (bound, _) in LEAKS.items():
            first = self.samples[0][key]
            assert figures[key] - first <= bound, "%s grew from %d to %d" % (key, first, figures[key])

    def step(self):
        self.work["steps"] += 1
        self.end_faults()
        self.asked, self.exiting = None, False
        if self.known:
            self.rng.choices(self.ACTIONS, self.WEIGHTS)[0](self, self.info)
        else:  # what the held pages hold is not known: the document is closed, its edits dropped
            self.log("the held pages are not known: Close, and No to its question")
            self.force = "n"
            self.menu(self.info, CLOSE)
        self.follow(self.settle())
        self.force = None
        self.check_files()
        if self.vop.process.poll() is not None:  # after Exit, started again
            self.begin()
        if self.work["steps"] % 200 == 0:  # the trend of what the program holds
            self.sample()

    def check_files(self):  # (one missing fails its read, unless another program took it away)
        for name, data in self.disk.items():
            if name != self.gone:
                got = self.vop.read(name)
                assert got == data, "%s holds %d bytes, the model %d; they differ at (address, disk, model) %s" % (
                    name, len(got), len(data), [(hex(k), got[k], data[k]) for k in range(min(len(got), len(data)))
                                                if got[k] != data[k]][:10])

    def finish(self, minutes):
        self.end_faults(now=True)
        self.sample()
        half = len(self.samples) // 2
        for key, (_, creep) in LEAKS.items():  # (over four samples or more)
            mean = lambda part: sum(s[key] for s in part) / len(part)
            assert half < 2 or mean(self.samples[half:]) - mean(self.samples[:half]) <= creep, "%s creeps up" % key
        if self.mode != "never-save":
            self.menu(self.info, SAVE)
            self.follow(self.settle())
        while self.vop.process.poll() is None:
            self.menu(self.info, EXIT)
            self.follow(self.settle())
        self.check_files()
        for what, least in WORK.items():
            need = max(1, int(least * (minutes if what == "steps" else self.work["steps"])))
            assert self.work[what] >= need or what == "saves" and self.mode == "never-save", "too little %s" % what


def run(vop, seed, mode, seconds):
    soak = Soak(vop, seed, mode)
    try:
        soak.begin()
        started = time.time()  # random steps for so long, however long the start took
        while time.time() - started < seconds:
            soak.step()
        soak.finish(seconds / 60)
    except Exception as failure:
        vop.grab(None, vop.path("failed.png"))
        raise AssertionError("soak seed %d, %s: %s (%s)\nlast steps:\n%s\nscreen: %s" % (
            seed, mode, failure, dict(soak.work), "\n".join(soak.steps), vop.path("failed.png"))) from failure
    print("seed %d, %s: %.0f steps a minute; %s" % (seed, mode, soak.work["steps"] * 60 / seconds, dict(soak.work)))


if __name__ == "__main__":
    options = {"--minutes": "30", "--seed": "1", "--mode": "never-save", **dict(zip(sys.argv[1::2], sys.argv[2::2]))}
    program = Vop("soak_%s_%s" % (options["--mode"], options["--seed"]))
    try:
        run(program, int(options["--seed"]), options["--mode"], float(options["--minutes"]) * 60)
    finally:
        program.kill()
