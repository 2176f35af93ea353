# Drives the real Vop.exe under Wine and Xvfb for the tests in this folder.
#
# Each test runs its own copy of the portable folder (Vop.exe and its fonts) in a
# folder whose name is not ASCII, so settings written by one test never reach
# another and every run shows that the program finds its files under such a name.
# Input is real X input through xdotool; what the program shows is read with the
# vop_probe helper (title, status bar, message boxes) and from the screen's
# pixels. Every wait is bounded.
import os
import re
import resource
import shutil
import subprocess
import time
from collections import Counter
from pathlib import Path

# Set by ctest: the Wine session's folder, the Windows build, this source tree.
STATE, WIN_BUILD, SOURCE = map(os.environ.get, ["VOP_WINE_STATE", "VOP_WIN_BUILD_DIR", "VOP_SOURCE_DIR"])
PROBE = os.path.join(WIN_BUILD, "tools", "vop_probe.exe")
BUTTONS = {"ok": 1, "cancel": 2, "yes": 6, "no": 7}
EXIT, COLORS, OPEN, SAVE, CLOSE = 40005, 40004, 57601, 57603, 57602
BLACK, WHITE = 0xFF000000, 0xFFFFFFFF  # pixels as pixels() gives them: RGBA bytes read as one little-endian number


def winpath(path):  # the Z: drive path Wine gives a Linux path (built here: winepath cuts at 260 characters)
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# Polls probe() until it returns something true. `what` may be a function, asked only on failure.
def wait_for(what, probe, timeout=15.0):
    deadline = time.time() + timeout
    while not (value := probe()):
        assert time.time() < deadline, "timed out waiting for " + (what() if callable(what) else what)
        time.sleep(0.05)
    return value


def wait_equal(get, want):  # polls get() until it returns want
    wait_for(lambda: "%r, not %r" % (want, get()), lambda: get() == want)


def drawn(pixels, x0, y0, rows):  # a glyph's rows of 8 pixels, bit 7 leftmost, in black on white
    return all(pixels[y0 + y][x0 + x] == (BLACK if bits & (0x80 >> x) else WHITE)
               for y, bits in enumerate(rows) for x in range(8))


# True when a row of cells `step` pixels apart shows `text` from the inset on. Only the
# top 14 pixel rows are compared: the blinking underline caret covers row 14.
def shows(font, pixels, row, text, step=8):
    return all(drawn(pixels, 1 + j * step, row * 16, font[b][:14])
               for j, b in enumerate(text))


class Vop:
    def __init__(self, name):  # the run's folder is named after the test
        run = os.path.join(STATE, "runs", re.sub(r"\W+", "_", name))
        self.folder = os.path.join(run, "Vop Ωμέγα")
        self.process = None
        shutil.rmtree(run, ignore_errors=True)
        portable = os.path.join(WIN_BUILD, "portable")
        shutil.copytree(portable, self.folder, ignore=shutil.ignore_patterns("Vop.cfg"))
        # The Wine session (prefix, server, display) the program and the probe run in.
        session = Path(STATE, "env").read_text()
        self.env = dict(os.environ, WINEPREFIX=os.path.join(STATE, "prefix"), WINEARCH="win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", LANG="C.UTF-8",
                        DISPLAY=re.search(r"^DISPLAY=(.*)$", session, re.M).group(1))

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data=b"", size=None):  # a file beside the program; sparse when a size is given
        path = Path(self.folder, name)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        os.truncate(path, size or len(data))
        return path

    def read(self, name):
        return Path(self.folder, name).read_bytes()

    def glyphs(self, name, size):  # a font file's glyphs
        font = self.read(name)
        return [font[i:i + size] for i in range(0, len(font), size)]

    # display=False: no X display for this process; data_limit: the bytes of memory it may take
    def start(self, *args, cwd=None, display=True, data_limit=None):
        env = dict(self.env)
        if not display:
            del env["DISPLAY"]
        limits = (data_limit, data_limit)
        limit = data_limit and (lambda: resource.setrlimit(resource.RLIMIT_DATA, limits))
        with open(self.path("wine.log"), "wb") as log:
            self.process = subprocess.Popen(["wine", self.path("Vop.exe"), *args], cwd=cwd or self.folder,
                                            env=env, stdout=log, stderr=log, stdin=subprocess.DEVNULL,
                                            preexec_fn=limit)
        return self

    def wait_exit(self, timeout=15):
        wait_for("Vop to end", lambda: self.process.poll() is not None, timeout)

    def quit(self):
        self.probe("command", EXIT)
        self.wait_exit()

    def kill(self):
        if self.process:
            self.process.kill()
            self.process.wait(10)

    # ---- what the program shows, read by the probe ----
    # A Vop that does not answer within two seconds leaves its status bar out of
    # what the probe prints; the waits below simply ask again.
    def probe(self, *args):
        command = ["wine", PROBE, *map(str, args)]
        return subprocess.run(command, env=self.env, capture_output=True, timeout=20).stdout.decode()

    def info(self):
        lines = self.probe("info").splitlines()
        return dict(line.split("=", 1) for line in lines if "=" in line)

    def wait_info(self, what, check):  # waits until check(info) holds, and returns that info
        holds = lambda: [i for i in [self.info()] if check(i)]
        return wait_for(lambda: "%s, not %r" % (what, self.info()), holds)[0]

    def wait_until(self, **want):  # waits until info shows these values (None: not shown), and returns that info
        shown = lambda i: all(i.get(k) == v for k, v in want.items())
        return self.wait_info(want, shown)

    def wait_box(self, title):  # a dialog or message box with this title in front; None: no box
        return self.wait_until(boxtitle=title)

    def wait_empty(self, title="Vop"):  # no document: the bare title (" Vop" at start-up), one empty status bar part
        return self.wait_until(title=title, parts="1", status0="")

    def wait_open(self, path):  # this document in the main window, which then gets the keyboard
        info = self.wait_until(title=winpath(path), parts="2")
        self.focus()
        return info

    def focus(self):  # the keyboard to the program's window in front
        self.xdotool("search", "--sync", "--onlyvisible", "--pid", self.process.pid, "windowfocus", "--sync")

    def open(self, name, data=b"", size=None):  # starts Vop on a file written beside it (sparse when sized)
        path = self.write(name, data, size)
        return self.start(winpath(path)).wait_open(path)

    def row_length(self):  # bytes per row, learnt as the caret goes from byte 0 one row down
        self.key("Down")
        moved = lambda i: i.get("status0", "00000000h") != "00000000h"
        return int(self.wait_info("the caret on the second row", moved)["status0"][:-1], 16)

    def wait_caret(self, address):  # as the status bar shows it
        self.wait_until(status0="%08Xh" % address)

    def answer(self, button, title, text):
        box = self.wait_until(boxtitle=title, boxtext=text)
        self.probe("press", BUTTONS[button])
        self.wait_info("the box to close", lambda i: i.get("box") != box["box"])

    def colours(self):  # the two commonest pixels of the data area, commonest first
        counts = Counter(p for row in self.pixels() for p in row)
        return [colour for colour, _ in counts.most_common(2)]

    def rect(self, key="data"):  # left, top, right, bottom on the screen
        place = self.wait_info("the place of the " + key, lambda i: key in i)[key]
        return [int(v) for v in place.split(",")]

    # ---- real input ----
    def xdotool(self, *args, pause=0.15):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, timeout=20)
        time.sleep(pause)

    def key(self, *keys):
        self.xdotool("key", "--delay", 40, *keys)

    # at (x, y) of the client area of the data window or of a dialog's control (rect()'s keys); button 5: wheel down
    def click(self, x, y, button=1, repeat=1, key="data"):
        left, top, _, _ = self.rect(key)
        self.xdotool("mousemove", left + x, top + y,
                     "click", "--repeat", repeat, "--delay", 60, button, pause=0.3)

    # ---- pictures: the screen, or a rectangle of it (left, top, right, bottom) ----
    def grab(self, rect, *output):
        crop = []
        if rect:
            left, top, right, bottom = rect
            crop = ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage"]
        command = ["import", "-window", "root", *crop, *output]
        return subprocess.run(command, env=self.env, capture_output=True, check=True, timeout=30).stdout

    def pixels(self, key="data"):  # the visible part of the data window (or of another of rect()'s keys), as rows
        left, top, right, bottom = rect = self.rect(key)
        data = memoryview(self.grab(rect, "-depth", "8", "rgba:-")).cast("I")
        width = right - left
        return [data[y * width:(y + 1) * width] for y in range(bottom - top)]
