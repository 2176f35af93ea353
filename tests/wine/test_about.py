# The About box of the real program: its picture drawn and rippling, the box ending at once on Enter with no timer
# left behind. (The picture's decoding, colours and wave are checked natively, frame by frame.)
import time
from itertools import count
from pathlib import Path

from harness import BLACK, wait_for


# The processor time the program takes in so many seconds: Wine runs it in the process it was started as.
def cpu_ticks(vop, seconds):
    def used():
        return sum(map(int, Path("/proc/%d/stat" % vop.process.pid).read_text().rsplit(")", 1)[1].split()[11:13]))
    before = used()
    time.sleep(seconds)
    return used() - before


def test_the_picture_ripples_and_ok_ends_the_box_at_once(vop):
    vop.start().wait_empty(" Vop")
    # Three commands in four show the wave: the program draws the choice from the C runtime's generator
    # seeded with the time in seconds. Early in a second that picks the wave:
    second = next(s for s in count(int(time.time()) + 1) if ((s * 214013 + 2531011) >> 16 & 0x7FFF) % 4)
    time.sleep(second + 0.05 - time.time())
    vop.probe("command", 40003)  # Help > About
    vop.wait_box("About Vop ver. 1.16")
    first = wait_for("the picture", lambda: [p for p in [vop.pixels("boxclient")] if BLACK in p[60]])[0]
    wait_for("the picture to move", lambda: vop.pixels("boxclient")[:-50] != first[:-50])
    assert cpu_ticks(vop, 1) >= 3, "the wave does not tick"
    vop.key("Return")
    vop.wait_box(None)
    assert cpu_ticks(vop, 2) <= 2, "a timer is left running"
