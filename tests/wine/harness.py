# Drives the real Vop.exe under Wine and Xvfb for the tests in this folder.
#
# Each test runs its own copy of the portable folder (Vop.exe and its fonts), so
# settings written by one test never reach another. Input is real X input through
# xdotool; what the program shows is read with the vop_probe helper (title, status
# bar, message boxes) and from the screen's pixels. Every wait is bounded.
import os
import re
import shutil
import subprocess
import time
from pathlib import Path

STATE, WIN_BUILD, SOURCE = (os.environ.get(k, "") for k in ("VOP_WINE_STATE", "VOP_WIN_BUILD_DIR", "VOP_SOURCE_DIR"))
PROBE = os.path.join(WIN_BUILD, "tools", "vop_probe.exe")
BUTTONS = {"ok": 1, "cancel": 2, "yes": 6, "no": 7}
EXIT, OPEN, SAVE, CLOSE = 40005, 57601, 57603, 57602


def rgb(r, g, b):  # a pixel as pixels() gives it: its RGBA bytes read as one little-endian number
    return 0xFF000000 | b << 16 | g << 8 | r


BLACK, WHITE = rgb(0, 0, 0), rgb(255, 255, 255)


def winpath(path):  # the Z: drive path Wine gives a Linux path
    return "Z:" + os.path.abspath(path).replace("/", "\\")


# Polls probe() until it returns something true. `what` may be a function, asked only on failure.
def wait_for(what, probe, timeout=10.0):
    deadline = time.time() + timeout
    while not (value := probe()):
        assert time.time() < deadline, "timed out waiting for " + (what() if callable(what) else what)
        time.sleep(0.05)
    return value


def drawn(pixels, x0, y0, rows, ink=BLACK, paper=WHITE):
    return all(pixels[y0 + y][x0 + x] == (ink if bits & (0x80 >> x) else paper)
               for y, bits in enumerate(rows) for x in range(8))


class Vop:
    def __init__(self, name):
        self.name, self.folder, self.process = name, os.path.join(STATE, "runs", name), None
        shutil.rmtree(self.folder, ignore_errors=True)
        shutil.copytree(os.path.join(WIN_BUILD, "portable"), self.folder, ignore=shutil.ignore_patterns("Vop.cfg"))
        with open(os.path.join(STATE, "env")) as f:  # the display that wine_env.sh started
            display = re.search(r"^DISPLAY=(.*)$", f.read(), re.M).group(1)
        self.env = dict(os.environ, WINEPREFIX=os.path.join(STATE, "prefix"), WINEARCH="win64", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LANG="C.UTF-8", DISPLAY=display)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data=b"", size=None):  # a file beside the program; sparse when a size is given
        os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
        with open(self.path(name), "wb") as f:
            f.write(data)
            f.truncate(size or len(data))
        return self.path(name)

    def read(self, name):
        return Path(self.folder, name).read_bytes()

    def glyphs(self, name, size):  # a font file's glyphs: rows of 8 pixels, bit 7 leftmost
        return [self.read(name)[i:i + size] for i in range(0, len(self.read(name)), size)]

    def start(self, *args, cwd=None):
        with open(self.path("wine.log"), "wb") as log:
            self.process = subprocess.Popen(["wine", self.path("Vop.exe"), *args], cwd=cwd or self.folder,
                                            env=self.env, stdout=log, stderr=log, stdin=subprocess.DEVNULL)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self):
        wait_for("Vop to end", lambda: not self.running(), 15)

    def quit(self):
        self.command(EXIT)
        self.wait_exit()

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait(10)

    # ---- what the program shows, read by the probe ----
    # The probe gives up on a Vop that does not answer within two seconds ("busy=1"):
    # what it could not read is missing, and the waits below simply ask again.
    def probe(self, *args):
        return subprocess.run(["wine", PROBE, *map(str, args)], env=self.env, capture_output=True,
                              timeout=20).stdout.decode("utf-8")

    def info(self):
        return dict(line.split("=", 1) for line in self.probe("info").splitlines() if "=" in line)

    def wait_ready(self):  # the main window with its data window and status bar
        wait_for("the main window", lambda: {"parts", "data"} <= self.info().keys())
        return self

    def wait_open(self):  # a document: address and size in the status bar, the file's name in the title
        wait_for("an open document", lambda: (i := self.info()).get("parts") == "2" and i["title"].strip() != "Vop")
        return self

    def wait_empty(self):  # no document: the bare title and one empty status bar part
        wait_for("no document", lambda: [self.info().get(k) for k in ("title", "parts", "status0")] == ["Vop", "1", ""])

    def status(self):
        return tuple(self.info().get(part) for part in ("status0", "status1"))

    def address(self):
        return int(self.status()[0].rstrip("h"), 16)

    def row_length(self):  # bytes per row, learnt as the caret goes from byte 0 one row down
        self.key("Down")
        return wait_for("the caret on the second row", self.address)

    def wait_caret(self, address):
        wait_for(lambda: "the caret at %Xh, not %s" % (address, self.status()[0]), lambda: self.address() == address)

    def box(self):  # waits for a message box or dialog of the program
        return wait_for("a message box", lambda: (i := self.info()).get("box") and i)

    def no_box(self):
        wait_for("the box to close", lambda: "box" not in self.info())

    def answer(self, button, title, text):  # waits for the box with this title (a dialog may still be closing)
        box = wait_for(lambda: "a box titled %r, not %r" % (title, self.info().get("boxtitle")),
                       lambda: (i := self.info()).get("boxtitle") == title and i)
        assert box["boxtext"] == text
        self.probe("press", BUTTONS[button])
        wait_for("the box to close", lambda: self.info().get("box") != box["box"])

    def command(self, command_id):
        self.probe("command", command_id)

    def drop(self, *paths):
        self.probe("drop", *map(winpath, paths))

    def hold(self, path, seconds):  # another program keeps the file open, shared for reading only
        holder = subprocess.Popen(["wine", PROBE, "hold", winpath(path), str(seconds)], env=self.env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        assert holder.stdout.readline().strip() == b"held", "could not hold the file"
        return holder

    def rect(self, key="data"):
        return [int(v) for v in self.info()[key].split(",")]

    # ---- real input ----
    def xdotool(self, *args, pause=0.0):
        out = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True, timeout=20).stdout
        time.sleep(pause)
        return out.decode().split()

    def focus(self):  # gives the main window the keyboard
        window = wait_for("the X window", lambda: self.xdotool("search", "--onlyvisible", "--pid", self.process.pid))
        self.xdotool("windowfocus", "--sync", window[-1], pause=0.05)
        return self

    def key(self, *keys, pause=0.15):
        self.xdotool("key", "--delay", 40, *keys, pause=pause)

    def click(self, x, y, button=1, repeat=1):  # at (x, y) of the data window's client area; button 5: wheel down
        left, top, _, _ = self.rect()
        self.xdotool("mousemove", left + x, top + y)
        self.xdotool("click", "--repeat", repeat, "--delay", 60, button, pause=0.3)

    # ---- pictures: the screen, or a rectangle of it (left, top, right, bottom) ----
    def grab(self, rect, *output):
        crop = ["-crop", "%dx%d+%d+%d" % (rect[2] - rect[0], rect[3] - rect[1], *rect[:2]), "+repage"] if rect else []
        return subprocess.run(["import", "-window", "root", *crop, *output], env=self.env,
                              capture_output=True, check=True, timeout=30).stdout

    def pixels(self):  # the data window's pixels, as rows of rgb() numbers
        left, top, right, bottom = rect = self.rect()
        data = memoryview(self.grab(rect, "-depth", "8", "rgba:-")).cast("I")
        return [data[y * (right - left):(y + 1) * (right - left)] for y in range(bottom - top)]
