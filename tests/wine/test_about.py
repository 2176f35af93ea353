# The About box of the real program: its still picture, exactly the resource's colours over the dialog's face,
# and its rippling one; Enter (OK) ending the one under a curtain in steps, the other at once with no timer left;
# Esc ignored.
import struct
import time
from itertools import count
from pathlib import Path

from harness import BLACK, SOURCE, wait_for

ABOUT, TITLE = 40003, "About Vop ver. 1.16"
WAVE = 24, 100, 50, 204  # rows and columns where the wave may put the picture's ink: 5 pixels of ripple, 1 of blend


def picture():  # each pixel's transparency in the resource's picture, rows top-down: all its colours are black
    data = Path(SOURCE, "resources", "about.mbm").read_bytes()
    _, width, height, _, _, colours = struct.unpack_from("<2siiBBH", data)
    pixels, i = [], 14 + 4 * colours
    while i < len(data):  # a code below 128 is one pixel, a higher one a run of code - 125 of the next byte
        run = data[i] - 125 if data[i] >= 128 else 0
        pixels += [data[i + 1]] * run if run else [data[i]]
        i += 2 if run else 1
    alpha = data[14:14 + 4 * colours:4]
    return [[alpha[p] for p in pixels[y * width:(y + 1) * width]] for y in range(height)]


# The processor time the program takes in so many seconds: Wine runs it in the process it was started as.
def cpu_ticks(vop, seconds):
    def used():
        return sum(map(int, Path("/proc/%d/stat" % vop.process.pid).read_text().rsplit(")", 1)[1].split()[11:13]))
    before = used()
    time.sleep(seconds)
    return used() - before


# Early in a second that picks the wanted box: the program draws the choice from the C runtime's generator seeded
# with the time. Gives the box's client rectangle.
def open_about(vop, curtain):
    second = next(s for s in count(int(time.time()) + 1)
                  if ((((s * 214013 + 2531011) & 0xFFFFFFFF) >> 16 & 0x7FFF) % 4 == 0) == curtain)
    time.sleep(second + 0.05 - time.time())  # the probe takes a tenth of a second to send it
    vop.probe("command", ABOUT)
    return [int(v) for v in vop.wait_box(TITLE)["boxclient0"].split(",")]


def painted(vop, rect, check):  # the first screenshot of the box that passes check
    return wait_for("the box painted", lambda: [r for r in [vop.pixels(rect)] if check(r)])[0]


def close(vop, midway=lambda: None):  # Enter; the seconds until the box leaves the screen
    windows = lambda: len(vop.xdotool("search", "--onlyvisible", "--pid", vop.process.pid))  # noqa: E731
    shown, start = windows(), time.time()
    vop.key("Return", pause=0)
    midway()
    wait_for("the box to close", lambda: windows() < shown)
    return time.time() - start


def test_the_still_and_the_rippling_picture_and_how_ok_ends_them(vop):
    alpha = picture()
    vop.start().wait_info("the main window", lambda i: "title" in i)
    for curtain in (True, False, True, False):
        rect = open_about(vop, curtain)
        x = (rect[2] - rect[0] - 255) // 2
        vop.key("Escape")  # only OK is handled
        first = painted(vop, rect, lambda rows: BLACK in rows[60])
        face = first[2][2]  # painted before the picture
        still = [[BLACK | sum((face >> s & 255) * t // 255 << s for s in (0, 8, 16)) for t in row] for row in alpha]
        assert vop.info().get("boxtitle") == TITLE
        if curtain:  # at y = 28, exact on a 24-bit screen
            assert [list(r[x:x + 255]) for r in first[28:103]] == still
            def midway():  # the title emptied and the top band under the face colour, the rest not yet
                rows = painted(vop, rect, lambda rows: all(v == face for r in rows[:50] for v in r))
                assert [list(r[x:x + 255]) for r in rows[50:103]] == still[22:]
                assert vop.info()["boxtitle"] == ""
            assert close(vop, midway) >= 3.2
        else:  # the part above the bottom 50 rows ripples
            time.sleep(0.1)
            frame = vop.pixels(rect)[:-50]
            assert frame != first[:-50], "the picture does not move"
            ys, xs = zip(*[(y, i - x) for y, r in enumerate(frame) for i, v in enumerate(r) if v != face])
            assert WAVE[0] <= min(ys) <= max(ys) <= WAVE[1] and WAVE[2] <= min(xs) <= max(xs) <= WAVE[3]
            assert cpu_ticks(vop, 1) >= 3, "the wave does not tick"
            assert close(vop) < 1
            assert cpu_ticks(vop, 2) <= 2, "a timer is left running"
