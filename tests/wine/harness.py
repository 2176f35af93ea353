"""Drives the real Vop.exe under Wine and Xvfb for the tests in this folder.

Every test gets a fresh copy of the portable folder (Vop.exe and its fonts),
so settings written by one test never reach another. Input is real X input
through xdotool; what the program shows is read with the vop_probe helper
(title, status bar, message boxes, menus) and with screenshots. Every wait is
bounded: a test never hangs on a box nobody answers.
"""
import os
import re
import shutil
import subprocess
import sys
import time

STATE = os.environ.get("VOP_WINE_STATE", "")
WIN_BUILD = os.environ.get("VOP_WIN_BUILD_DIR", "")
SOURCE = os.environ.get("VOP_SOURCE_DIR", "")
ARTIFACTS = os.path.join(STATE, "artifacts")

IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7


def wine_env():
    env = dict(os.environ)
    env.update(WINEPREFIX=os.path.join(STATE, "prefix"), WINEARCH="win64", WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    with open(os.path.join(STATE, "env")) as f:
        for line in f:
            key, _, value = line.strip().partition("=")
            if key == "DISPLAY":
                env["DISPLAY"] = value
    return env


def to_windows_path(path):
    """The Z: drive path Wine gives a Linux path."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=15.0, interval=0.1):
    """Polls probe() until it returns something true; fails after timeout seconds."""
    deadline = time.time() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.time() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


class Vop:
    """One run of the program in a folder of its own."""

    def __init__(self, name, fonts=True):
        self.name = name
        self.folder = os.path.join(STATE, "runs", name)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        portable = os.path.join(WIN_BUILD, "portable")
        for entry in os.listdir(portable):
            if entry.endswith(".fnt") and not fonts:
                continue
            if entry == "Vop.cfg":
                continue
            shutil.copy(os.path.join(portable, entry), self.folder)
        self.exe = os.path.join(self.folder, "Vop.exe")
        self.env = wine_env()
        self.process = None
        self.window = None

    # ---- files beside the program ----
    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    # ---- the process ----
    def start(self, *args, cwd=None):
        log = open(os.path.join(self.folder, "wine.log"), "wb")
        self.process = subprocess.Popen(["wine", self.exe] + list(args), cwd=cwd or self.folder, env=self.env,
                                        stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=15.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("Vop did not end within %s s" % timeout)

    def kill(self):
        if self.running():
            self.process.kill()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.kill()
        return False

    # ---- reading what the program shows ----
    def probe(self, *args, timeout=10):
        tool = os.path.join(WIN_BUILD, "tools", "vop_probe.exe")
        for attempt in range(3):
            try:
                out = subprocess.run(["wine", tool] + [str(a) for a in args], env=self.env, capture_output=True,
                                     timeout=timeout)
            except subprocess.TimeoutExpired:
                continue  # a probe that could not start in time is tried again
            text = out.stdout.decode("latin-1")
            if "busy=1" in text.splitlines() and attempt < 2:
                time.sleep(0.5)
                continue
            return out.returncode, text
        raise Failure("the probe did not answer: %s" % " ".join(str(a) for a in args))

    def info(self):
        _, text = self.probe("info")
        result = {"dialogs": []}
        for line in text.splitlines():
            key, _, value = line.partition("=")
            if key == "dialog":
                result["dialogs"].append(value)
            else:
                result[key] = value
        return result

    def wait_ready(self, timeout=20.0):
        """Waits until the main window is up and shown with its status bar."""
        def ready():
            i = self.info()
            return i if i.get("running") == "1" and "statusbar" in i and "data" in i else None
        return wait_for("the main window", ready, timeout)

    def wait_open(self, timeout=20.0):
        """Waits until a document is open: the status bar shows address and size."""
        def opened():
            i = self.info()
            return i if i.get("running") == "1" and i.get("parts") == "2" and "data" in i else None
        return wait_for("an open document", opened, timeout)

    def status(self):
        i = self.info()
        return i.get("status0", ""), i.get("status1", "")

    def title(self):
        return self.info().get("title", "")

    def box(self, timeout=10.0):
        """Waits for a message box or dialog of the program; returns its title and text."""
        def found():
            code, text = self.probe("box")
            if code != 0:
                return None
            fields = dict(line.partition("=")[::2] for line in text.splitlines())
            return fields
        return wait_for("a message box", found, timeout)

    def box_handle(self):
        code, text = self.probe("box")
        if code != 0:
            return None
        for line in text.splitlines():
            if line.startswith("hwnd="):
                return line[5:]
        return None

    def no_box(self):
        code, _ = self.probe("box")
        return code != 0

    def press(self, button):
        code, _ = self.probe("press", button)
        check(code == 0, "no box to press %s in" % button)

    def answer(self, button, title=None, text=None, timeout=10.0):
        box = self.box(timeout)
        if title is not None:
            check(box.get("title") == title, "box title %r, expected %r" % (box.get("title"), title))
        if text is not None:
            check(box.get("text") == text, "box text %r, expected %r" % (box.get("text"), text))
        self.press(button)
        wait_for("the box to close", lambda: self.box_handle() != box.get("hwnd"), 10.0)
        return box

    def menu_resource(self):
        _, text = self.probe("menu-resource", self.exe)
        return dict(line.partition("=")[::2] for line in text.splitlines())

    def hold(self, path, seconds):
        """Another program keeps the file open, shared for reading only, for a while."""
        tool = os.path.join(WIN_BUILD, "tools", "vop_probe.exe")
        holder = subprocess.Popen(["wine", tool, "hold", path, str(seconds)], env=self.env, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        check(holder.stdout.readline().strip() == b"held", "could not hold the file")
        return holder

    def command(self, command_id):
        self.probe("command", command_id)

    def drop(self, *paths):
        code, _ = self.probe("drop", *paths)
        check(code == 0, "drop failed")

    def rect(self, key):
        return [int(v) for v in self.info()[key].split(",")]

    # ---- real input ----
    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, capture_output=True,
                              timeout=20).stdout.decode().strip()

    def focus(self):
        def find():
            ids = self.xdotool("search", "--onlyvisible", "--pid", self.process.pid).split()
            if not ids:
                title = self.title()
                if title:
                    ids = self.xdotool("search", "--onlyvisible", "--name", "^" + re.escape(title) + "$").split()
            return ids[-1] if ids else None
        self.window = wait_for("the X window", find, 15.0)
        self.xdotool("windowfocus", "--sync", self.window)
        time.sleep(0.2)

    def key(self, *keys, delay=0.15):
        for k in keys:
            self.xdotool("key", "--delay", "30", k)
            time.sleep(delay)

    def send_keys(self, *virtual_keys):
        """Key presses through Windows' input queue (virtual-key codes), for lock keys."""
        self.probe("sendkeys", *virtual_keys)
        time.sleep(0.3)

    def type(self, text):
        self.xdotool("type", "--delay", "60", text)
        time.sleep(0.3)

    def click_data(self, x, y, repeat=1):
        """A left click at client pixel (x, y) of the data window."""
        left, top, _, _ = self.rect("data")
        self.xdotool("mousemove", "--sync", left + x, top + y)
        if repeat > 1:
            self.xdotool("click", "--repeat", repeat, "--delay", "50", "1")
        else:
            self.xdotool("click", "1")
        time.sleep(0.3)

    def wheel(self, down=True, count=1):
        self.xdotool("click", "--repeat", count, "--delay", "60", "5" if down else "4")
        time.sleep(0.3)

    # ---- pictures ----
    def screenshot(self, name):
        os.makedirs(ARTIFACTS, exist_ok=True)
        path = os.path.join(ARTIFACTS, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True, timeout=30)
        return path

    def grab(self, left, top, width, height):
        """The screen's pixels in a rectangle, as rows of (r, g, b)."""
        out = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                              "+repage", "-depth", "8", "ppm:-"], env=self.env, capture_output=True, check=True,
                             timeout=30).stdout
        header = out.split(b"\n", 3)
        w, h = (int(v) for v in header[1].split())
        data = header[3]
        return [[tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]

    def grab_data(self):
        left, top, right, bottom = self.rect("data")
        return self.grab(left, top, right - left, bottom - top)


def run(module_globals):
    """Runs the test function named on the command line and reports like a test runner."""
    names = sys.argv[1:] or sorted(n for n in module_globals if n.startswith("test_"))
    passed = failed = 0
    for name in names:
        start = time.time()
        try:
            module_globals[name]()
            passed += 1
            print("PASS %s (%.1f s)" % (name, time.time() - start))
        except Exception as e:  # noqa: BLE001 - every failure is reported, the next test still runs
            failed += 1
            print("FAIL %s: %s: %s" % (name, type(e).__name__, e))
    print("%d passed, %d failed" % (passed, failed))
    sys.exit(1 if failed else 0)
