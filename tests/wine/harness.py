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
from pathlib import Path

STATE, WIN_BUILD, SOURCE = (os.environ.get(k, "") for k in ("VOP_WINE_STATE", "VOP_WIN_BUILD_DIR", "VOP_SOURCE_DIR"))
PROBE = os.path.join(WIN_BUILD, "tools", "vop_probe.exe")
BUTTONS = {"ok": 1, "cancel": 2, "yes": 6, "no": 7}
EXIT, OPEN, SAVE, CLOSE = 40005, 57601, 57603, 57602
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


def drawn(pixels, x0, y0, rows, ink=BLACK, paper=WHITE):  # a glyph's rows of 8 pixels, bit 7 leftmost
    return all(pixels[y0 + y][x0 + x] == (ink if bits & (0x80 >> x) else paper)
               for y, bits in enumerate(rows) for x in range(8))


# True when a row of cells `step` pixels apart shows `text` from the inset on. Only the
# top 14 pixel rows are compared: the blinking underline caret covers row 14.
def shows(font, pixels, row, text, step=8):
    return all(drawn(pixels, 1 + j * step, row * 16, font[b][:14]) for j, b in enumerate(text))


class Vop:
    def __init__(self, name):  # the run's folder is named after the test
        self.folder = os.path.join(STATE, "runs", re.sub(r"\W+", "_", name).strip("_"), "Vop Ωμέγα")
        self.process = None
        shutil.rmtree(os.path.dirname(self.folder), ignore_errors=True)
        shutil.copytree(os.path.join(WIN_BUILD, "portable"), self.folder, ignore=shutil.ignore_patterns("Vop.cfg"))
        # The Wine session (prefix, server, display) the program and the probe run in.
        display = re.search(r"^DISPLAY=(.*)$", Path(STATE, "env").read_text(), re.M).group(1)
        self.env = dict(os.environ, WINEPREFIX=os.path.join(STATE, "prefix"), WINEARCH="win64", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LANG="C.UTF-8", DISPLAY=display)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data=b"", size=None):  # a file beside the program; sparse when a size is given
        os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
        Path(self.path(name)).write_bytes(data)
        os.truncate(self.path(name), size or len(data))
        return self.path(name)

    def read(self, name):
        return Path(self.folder, name).read_bytes()

    def glyphs(self, name, size):  # a font file's glyphs
        return [self.read(name)[i:i + size] for i in range(0, len(self.read(name)), size)]

    # display=False: no X display for this process; data_limit: the bytes of memory it may take
    def start(self, *args, cwd=None, display=True, data_limit=None):
        env = {k: v for k, v in self.env.items() if display or k != "DISPLAY"}
        limit = data_limit and (lambda: resource.setrlimit(resource.RLIMIT_DATA, (data_limit, data_limit)))
        with open(self.path("wine.log"), "wb") as log:
            self.process = subprocess.Popen(["wine", self.path("Vop.exe"), *args], cwd=cwd or self.folder, env=env,
                                            stdout=log, stderr=log, stdin=subprocess.DEVNULL, preexec_fn=limit)
        return self

    def wait_exit(self, timeout=15):
        wait_for("Vop to end", lambda: self.process.poll() is not None, timeout)

    def quit(self):
        self.probe("command", EXIT)
        self.wait_exit()

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)

    # ---- what the program shows, read by the probe ----
    # A Vop that does not answer within two seconds leaves its status bar out of
    # what the probe prints; the waits below simply ask again.
    def probe(self, *args):
        return subprocess.run(["wine", PROBE, *map(str, args)], env=self.env, capture_output=True,
                              timeout=20).stdout.decode("utf-8")

    def info(self):
        return dict(line.split("=", 1) for line in self.probe("info").splitlines() if "=" in line)

    def wait_info(self, what, check):  # waits until check(info) holds, and returns that info
        return wait_for(lambda: "%s, not %r" % (what, self.info()), lambda: [i for i in [self.info()] if check(i)])[0]

    def wait_box(self, title):  # a dialog or message box with this title, in front
        return self.wait_info("the box %s" % title, lambda i: i.get("boxtitle") == title)

    def wait_empty(self, title="Vop"):  # no document: the bare title (" Vop" at start-up), one empty status bar part
        return self.wait_info("no document", lambda i: [i.get(k) for k in ("title", "parts", "status0")] == [
            title, "1", ""])

    def wait_open(self, path=None):  # a document (this one) in the main window, which then gets the keyboard
        info = self.wait_info("an open document", lambda i: i.get("parts") == "2" and i["title"] != "Vop" and (
            path is None or i["title"] == winpath(path)))
        window = wait_for("the X window", lambda: self.xdotool("search", "--onlyvisible", "--pid", self.process.pid))
        self.xdotool("windowfocus", "--sync", window[-1], pause=0.05)
        return info

    def address(self):  # of the caret, from the status bar
        return int(self.info().get("status0", "").rstrip("h") or "-1", 16)

    def row_length(self):  # bytes per row, learnt as the caret goes from byte 0 one row down
        self.key("Down")
        return wait_for("the caret on the second row", lambda: max(self.address(), 0))

    def wait_caret(self, address):
        wait_for(lambda: "the caret at %Xh, not %Xh" % (address, self.address()), lambda: self.address() == address)

    def answer(self, button, title, text, *fill):  # fill: a control's id and the text to put in it first
        box = self.wait_info("the box %r: %r" % (title, text),
                             lambda i: (i.get("boxtitle"), i.get("boxtext")) == (title, text))
        self.probe("press", BUTTONS[button], *fill)
        self.wait_info("the box to close", lambda i: i.get("box") != box["box"])

    def rect(self, key="data"):
        return [int(v) for v in self.wait_info("the place of the " + key, lambda i: key in i)[key].split(",")]

    # ---- real input ----
    def xdotool(self, *args, pause=0.0):
        out = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, timeout=20).stdout
        time.sleep(pause)
        return out.decode().split()

    def key(self, *keys, pause=0.15):
        self.xdotool("key", "--delay", 40, *keys, pause=pause)

    # at (x, y) of the client area of the data window or of a dialog's control (rect()'s keys); button 5: wheel down
    def click(self, x, y, button=1, repeat=1, key="data"):
        left, top, _, _ = self.rect(key)
        self.xdotool("mousemove", left + x, top + y)
        self.xdotool("click", "--repeat", repeat, "--delay", 60, button, pause=0.3)

    # ---- pictures: the screen, or a rectangle of it (left, top, right, bottom) ----
    def grab(self, rect, *output):
        crop = ["-crop", "%dx%d+%d+%d" % (rect[2] - rect[0], rect[3] - rect[1], *rect[:2]), "+repage"] if rect else []
        return subprocess.run(["import", "-window", "root", *crop, *output], env=self.env,
                              capture_output=True, check=True, timeout=30).stdout

    def pixels(self, key="data"):  # the visible part of the data window (a dialog's control, a rectangle), as rows
        left, top, right, bottom = rect = self.rect(key) if isinstance(key, str) else key
        data = memoryview(self.grab(rect, "-depth", "8", "rgba:-")).cast("I")
        return [data[y * (right - left):(y + 1) * (right - left)] for y in range(bottom - top)]
