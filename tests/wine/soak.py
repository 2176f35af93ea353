# A soak test of the real Vop.exe: random use, seeded, for as long as asked,
# with faults from outside (the file locked, made read-only, grown, shrunk,
# taken away). After every step the program must live and answer within 5 s;
# at the end its GDI objects, windows and working set must be back near where
# they started; and no byte may be lost or written unasked:
#  - never-save: every save question is answered No or Cancel and Save is never
#    chosen, so each file must hold exactly what the driver itself put there;
#  - always-save: every question is answered Yes and the run ends with a save,
#    so each file must hold its first bytes with every typed byte applied.
# The driver knows the caret (the status bar) and the font type (its own keys),
# so it knows the byte each key writes. A failure prints the seed, the last 50
# steps and what broke, and leaves failed.png; the same seed replays the steps.
# Usage: soak.py --minutes N --seed S --mode never-save|always-save
import argparse
import collections
import os
import random
import subprocess
import sys
import time

from harness import CLOSE, COLORS, EXIT, OPEN, PROBE, SAVE, Vop, winpath

FIND, REPLACE, GOTO, FONTS, KEYS, ABOUT, SYSCOMMAND = 40002, 40010, 40013, 40012, 40011, 40003, 0x112
ABOUT_TITLE, QUESTION = "About Vop ver. 1.16", "Replace this occurrance?"
MOVES = ["Return", "Prior", "Next", "End", "Home", "Left", "Up", "Right", "Down", "F3", "F4", "F5", "F7",
         "ctrl+l", "ctrl+0", "ctrl+KP_0", "Delete", "Escape", "BackSpace", "Insert", "F2", "F9"]
MODIFIERS = ["", "", "ctrl+", "shift+", "ctrl+shift+"]
SIZES = {"a.bin": 300000, "b.bin": 3000, "c.bin": 1}  # several pages, part of one, a single byte


class Broken(Exception):
    pass


class Soak:
    def __init__(self, vop, seed, mode):
        self.vop, self.rng, self.mode, self.saving = vop, random.Random(seed), mode, mode == "always-save"
        self.disk = {n: bytearray(random.Random(n).randbytes(s)) for n, s in SIZES.items()}  # as on disk
        for name, data in self.disk.items():
            vop.write(name, data)
        self.held = {n: bytearray(d) for n, d in self.disk.items()}  # always-save: the bytes typed so far
        self.steps, self.faults, self.locks = collections.deque(maxlen=50), {}, []
        self.count, self.font_type, self.exiting = 0, 0, False

    # ---- what the program shows ----
    def log(self, text):
        self.steps.append("%d: %s" % (self.count, text))

    def check(self, holds, what):
        if not holds:
            raise Broken(what)

    def look(self):  # the program's state now; it must be alive and answer, or have ended when asked to
        if self.vop.process.poll() is not None:
            self.check(self.exiting and self.vop.process.returncode == 0, "Vop ended by itself (exit code %s)" %
                       self.vop.process.returncode)
            return {}
        deadline = time.time() + 10
        while "title" not in (info := self.vop.info()) and "box" not in info and time.time() < deadline:
            if self.exiting:  # its window gone, it is on its way out
                self.vop.wait_exit()
                return self.look()
            time.sleep(0.1)
        self.check(info.get("answered") == "1", "the main window did not answer within 5 s: %r" % info)
        return info

    def caret(self, info):
        return int(info["status0"][:-1], 16) if info.get("parts") == "2" else None

    def current(self, info):  # the open file's name, or None
        names = [n for n in SIZES if info.get("title") == winpath(self.vop.path(n))]
        return names[0] if names else None

    # ---- input ----
    def keys(self, *keys):
        self.log("keys " + " ".join(keys))
        self.vop.key(*keys)

    def command(self, command, message="command"):  # a menu command, or another message to the main window
        self.log("%s %s" % (message, command))
        self.vop.probe(*(["command", command] if message == "command" else ["post", message, command]))

    def focus(self):
        self.vop.xdotool("search", "--onlyvisible", "--pid", self.vop.process.pid, "windowfocus", "--sync")

    # ---- boxes and dialogs: whatever opened, it gets random input and is ended ----
    def settle(self):
        for _ in range(12):
            info = self.look()
            title = info.get("boxtitle")
            if title is None:
                return info
            self.asked = True
            self.answer(title, info)
        raise Broken("a box that would not close: %r" % info)

    def end(self, ok_possible=True):  # OK, Cancel, Esc or the close box; True when OK
        way = self.rng.choice(["Return", "Escape", "alt+F4", "cancel"] if ok_possible else ["Escape", "alt+F4"])
        if way == "cancel":
            self.log("click Cancel")
            self.vop.click(3, 3, key="item2")
        else:
            self.keys(way)
        return way == "Return"

    def field(self, n, text):
        self.log("type %r in field %d" % (text, n))
        self.vop.click(3, 3, key="field%d" % n)
        self.vop.xdotool("type", "--delay", 40, text)

    def pattern(self):  # a few bytes of a file, as hex digits
        data = self.held.get(self.name) or b"VOP"
        at = self.rng.randrange(len(data))
        return data[at:at + self.rng.randint(1, 4)].hex().upper()

    def answer(self, title, info):
        rng, text = self.rng, info.get("boxtext")
        self.log("box %r %r" % (title, text))
        if title in ("Warning", "Save file"):
            choices = ["y"] if self.saving else ["n", "Escape"] if title == "Save file" and not self.exiting else ["n"]
            return self.keys(rng.choice(choices))
        if text == QUESTION:
            return self.keys(rng.choice(["y", "n", "Escape"]))
        if title == "Find Dialog":
            self.pattern_kept = False
            self.field(1, self.pattern())
            if self.end():
                self.text_view, self.pattern_kept = False, True
        elif title == "Replace Dialog":
            search = self.pattern()
            self.field(1, search)
            replacement = search if self.saving else rng.choice([search, search[::-1], "00" * (len(search) // 2), "41"])
            self.field(3, replacement)
            if rng.random() < 0.5:
                self.log("click Replace all")
                self.vop.click(3, 3, key="item1012")
            self.end()
        elif title == "Goto Address":
            size = self.size
            self.field(0, "%X" % rng.choice([0, size - 1, size, 0xFFFFFFFF, rng.randrange(size + 1)]))
            self.end()
        elif title == "Modify":
            self.field(0, "%02X" % rng.randrange(256))
            info = self.vop.info()
            if self.end():  # the byte under the caret takes the field's value
                self.write(self.caret(info), int(info["text0"], 16), move=False)
        elif title == "Set Colors":
            self.field(rng.randrange(2), "%06X" % rng.randrange(1 << 24))
            self.end()
        elif title == "Font":
            chosen = self.font_type
            for item in rng.sample([1015, 1016, 1017, 1012, 1018, 1019], rng.randint(0, 3)):
                self.log("click %d" % item)
                self.vop.click(3, 3, key="item%d" % item)
                chosen = {1018: 0, 1019: 1}.get(item, chosen)
            if self.end():
                self.font_type = chosen
        elif title == ABOUT_TITLE:
            time.sleep(rng.choice([0, 0, 0.5, 2]))
            self.keys(rng.choice(["Return", "Escape", "space"]))
        elif title == "Open":
            if rng.random() < 0.6:
                self.field_less_open(rng.choice([n for n in SIZES if n != self.name] or ["b.bin"]))
            else:
                self.keys("Escape")
        else:  # a message, or a dialog with nothing to give: its OK, or Esc
            self.keys(rng.choice(["Return", "Escape", "alt+F4"]) if title == "Keys" else "Return")
        time.sleep(0.1)

    def field_less_open(self, name):  # the file name typed where the Open dialog has put the keyboard
        self.log("open %s" % name)
        self.vop.xdotool("type", "--delay", 40, name)
        self.keys("Return")
        self.pattern_kept, self.opened = False, name

    # ---- the model of the bytes ----
    def write(self, address, value, move=True):
        data = self.held[self.name]
        self.log("write %02X at %X" % (value, address))
        if address < len(data):  # (never-save: a file shrunk outside is still held whole)
            data[address] = value
        if move:
            self.expect_caret = min(address + 1, self.size - 1)

    def typed(self, char, address):  # what a typed character does to the byte under the caret
        data = self.held[self.name]
        self.expect_caret = address
        if self.font_type == 0:
            return self.write(address, ord(char))
        if char not in "0123456789abcdefABCDEF":
            return None
        digit, data = int(char, 16), data + bytes(address + 1)
        if self.pending != address:
            self.pending = address
            return self.write(address, digit << 4 | data[address] & 15, move=False)
        self.pending = None
        return self.write(address, data[address] & 0xF0 | digit)

    # ---- the actions, with their weights ----
    def type_characters(self, info):
        address = self.caret(info)
        if address is None:
            return
        hex_digits = "0123456789abcdefABCDEF"
        char = self.rng.choice(hex_digits if self.font_type else "0123456789ABCDEFxyz Q~\t") if self.rng.random() < .9 \
            else self.rng.choice("gz!")
        self.expect_caret = None
        self.log("type %r (font type %d)" % (char, self.font_type))
        self.vop.xdotool("key", {" ": "space", "\t": "Tab", "~": "asciitilde", "!": "exclam"}.get(char, char))
        self.typed(char, address)
        after = self.settle()
        if self.expect_caret is not None and after.get("boxtitle") is None and not self.asked:
            self.check(self.caret(after) == self.expect_caret, "typing %r at %X left the caret at %s, not %X" % (
                char, address, after.get("status0"), self.expect_caret))

    def key(self, info):
        key = self.rng.choice(MOVES)
        mods = "ctrl+" if key.startswith("ctrl+") else self.rng.choice(MODIFIERS)
        key = mods + key.replace("ctrl+", "")
        if key.endswith("F4") and self.name:  # the next view: Ascii, Hex, the text view, Ascii again
            self.text_view, self.font_type = ((False, self.font_type) if self.text_view else
                                              (False, 1) if self.font_type == 0 else (True, 0))
        if key.endswith("F3") and self.text_view and self.pattern_kept:
            self.text_view = False
        if self.name and "ctrl" in key and key[-1] == "0" and self.font_type == 0:
            self.write(self.caret(info), 0)
        self.keys(key)

    def scroll_lock(self, info):
        self.log("Scroll Lock")
        self.vop.probe("sendkeys", 145)

    def mouse(self, info):
        left, top, right, bottom = [int(v) for v in info["data"].split(",")]
        x, y = self.rng.randrange(left, right + 16), self.rng.randrange(top, bottom)
        how = self.rng.choice(["click", "double", "wheel up", "wheel down", "drag"])
        self.log("%s at %d,%d" % (how, x - left, y - top))
        move = ["mousemove", x, y]
        self.vop.xdotool(*move, *{"click": ["click", 1], "double": ["click", "--repeat", 2, "--delay", 60, 1],
                                  "wheel up": ["click", 4], "wheel down": ["click", 5],
                                  "drag": ["mousedown", 1, "mousemove", x, self.rng.randrange(top, bottom),
                                           "mouseup", 1]}[how])

    def window(self, info):
        how = self.rng.choice(["maximise", "restore", "minimise", "optimal size", "resize"])
        if how == "resize":  # the lower right corner dragged with the mouse
            left, top, right, bottom = [int(v) for v in info["window"].split(",")]
            to = (right + self.rng.randint(-400, 100), bottom + self.rng.randint(-400, 100))
            self.log("resize by the corner to %d,%d" % to)
            self.vop.xdotool("mousemove", right - 2, bottom - 2, "mousedown", 1, "mousemove", *to, "mouseup", 1)
        else:
            self.log(how)
            self.command({"maximise": 0xF030, "restore": 0xF120, "minimise": 0xF020, "optimal size": 100}[how],
                         SYSCOMMAND)
        if how == "minimise":
            time.sleep(0.3)
            self.command(0xF120, SYSCOMMAND)
        self.focus()

    def menu(self, info):
        command = self.rng.choice([OPEN, SAVE, CLOSE, EXIT, FIND, REPLACE, GOTO, COLORS, FONTS, KEYS, ABOUT,
                                   FIND, REPLACE, GOTO])
        if command == SAVE and not self.saving:
            return
        self.exiting = command == EXIT
        if self.rng.random() < 0.5 and command in (OPEN, SAVE, FIND, REPLACE, GOTO):
            return self.keys("ctrl+" + {OPEN: "o", SAVE: "s", FIND: "f", REPLACE: "h", GOTO: "g"}[command])
        self.command(command)

    def drop(self, info):
        name = self.rng.choice([n for n in SIZES if n != self.name])
        self.log("drop %s" % name)
        self.vop.probe("drop", winpath(self.vop.path(name)))
        self.opened = name

    def outside(self, info):  # another program at the file
        name = self.rng.choice(list(SIZES))
        path = self.vop.path(name)
        kinds = ["lock", "read-only"] + ([] if self.saving else ["grow", "shrink", "vanish"])
        kind = self.rng.choice(kinds)
        if kind in self.faults or (kind == "vanish" and "read-only" in self.faults):
            return
        self.log("outside: %s %s" % (kind, name))
        if kind == "lock":
            ms, share = self.rng.choice([300, 1500, 4000]), self.rng.randrange(2)
            self.locks.append(subprocess.Popen(["wine", PROBE, "lock", winpath(path), str(ms), str(share)],
                                               env=self.vop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            return
        if kind == "grow":
            extra = random.Random(self.count).randbytes(self.rng.choice([1, 4000, 70000]))
            self.disk[name] += extra
            self.held[name] += extra
        elif kind == "shrink":
            cut = self.rng.randrange(len(self.disk[name]) + 1)
            del self.disk[name][cut:], self.held[name][cut:]
        if kind in ("grow", "shrink"):
            with open(path, "r+b") as f:
                f.write(self.disk[name])
                f.truncate()
            return
        self.faults[kind] = (name, self.count + self.rng.randint(1, 6))
        if kind == "read-only":
            os.chmod(path, 0o444)
        else:
            os.rename(path, path + ".gone")

    def end_faults(self, now=False):
        for kind, (name, until) in list(self.faults.items()):
            if now or self.count >= until:
                path = self.vop.path(name)
                self.log("outside: %s %s ends" % (kind, name))
                if kind == "read-only":
                    os.chmod(path, 0o644)
                else:
                    os.rename(path + ".gone", path)
                del self.faults[kind]
        if now:
            for lock in self.locks:
                lock.wait(30)
        self.locks = [lock for lock in self.locks if lock.poll() is None]

    ACTIONS = [(30, type_characters), (25, key), (4, scroll_lock), (12, mouse), (4, window), (12, menu),
               (3, drop), (5, outside)]

    # ---- a run ----
    def begin(self):  # Vop started on a.bin; the font type it saved at its last exit holds
        self.text_view, self.pattern_kept, self.pending, self.exiting = False, False, None, False
        self.name = self.opened = "a.bin"
        self.vop.start(winpath(self.vop.path("a.bin")))
        self.vop.wait_open(self.vop.path("a.bin"))
        self.settle()
        # Every dialog once first: what the system creates for the first of each
        # and keeps (fonts, the Open dialog's icons) is not a leak.
        for command in (OPEN, ABOUT, COLORS, FONTS, KEYS, FIND, REPLACE, GOTO):
            self.vop.probe("command", command)
            self.vop.wait_info("a dialog", lambda i: "box" in i)
            self.vop.key("Return" if command in (ABOUT, KEYS) else "Escape")
            self.vop.wait_box(None)
        self.start_resources = self.resources()

    def resources(self):
        return {k: int(v) for k, v in (line.split("=") for line in self.vop.probe("resources").split())}

    def step(self):
        self.count += 1
        self.end_faults()
        info = self.settle()
        self.name = self.current(info)
        self.size = int(info["status1"].split("(")[1][:-1]) if info.get("parts") == "2" else 0  # as Vop holds it
        weights, actions = zip(*self.ACTIONS)
        action = self.rng.choices(actions, weights)[0]
        self.asked = False
        action(self, info)
        after = self.settle()
        if self.opened and self.opened != self.name and self.current(after) == self.opened:
            self.pending = None  # a high digit typed before belongs to the file left
        self.opened, self.exiting = None, self.exiting and self.vop.process.poll() is not None
        if not self.saving or self.exiting:  # after Exit, whatever was agreed is saved
            self.check_files()
        if self.exiting:
            self.begin()

    def check_files(self):
        for name, data in (self.held if self.saving else self.disk).items():
            path = self.vop.path(name)
            if os.path.exists(path):
                got = self.vop.read(name)
                self.check(got == data, "%s changed on disk unasked: %d bytes differ" % (
                    name, sum(a != b for a, b in zip(got, data)) + abs(len(got) - len(data))))

    def finish(self):
        self.end_faults(now=True)
        info = self.settle()
        end = self.resources()
        print("resources at start %s, at the end %s" % (self.start_resources, end))
        for key, bound in (("gdi", 16), ("user", 16), ("windows", 0), ("ws", 8192)):
            self.check(end[key] - self.start_resources[key] <= bound, "%s grew from %d to %d" % (
                key, self.start_resources[key], end[key]))
        if self.saving and self.current(info):
            self.command(SAVE)
            self.settle()
        for _ in range(5):
            self.exiting = True
            if self.vop.process.poll() is None:
                self.command(EXIT)
                self.settle()
        self.vop.wait_exit()
        self.check_files()


def run(vop, seed, mode, seconds):
    soak = Soak(vop, seed, mode)
    started = time.time()
    try:
        soak.begin()
        while time.time() - started < seconds:
            soak.step()
        soak.finish()
    except (Broken, Exception) as broken:
        vop.grab(None, vop.path("failed.png"))
        steps = "\n".join(soak.steps)
        raise AssertionError("soak seed %d, mode %s: %s\nlast steps:\n%s\nscreen: %s" % (
            seed, mode, broken, steps, vop.path("failed.png"))) from None
    minutes = (time.time() - started) / 60
    print("seed %d, %s: %d steps in %.1f min, %.0f a minute" % (seed, mode, soak.count, minutes, soak.count / minutes))
    return soak.count


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description="Random use of the real Vop.exe under Wine")
    parser.add_argument("--minutes", type=float, default=30)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--mode", choices=["never-save", "always-save"], default="never-save")
    args = parser.parse_args()
    program = Vop("soak_%s_%d" % (args.mode, args.seed))
    try:
        run(program, args.seed, args.mode, args.minutes * 60)
    except AssertionError as failure:
        sys.exit(str(failure))
    finally:
        program.kill()
