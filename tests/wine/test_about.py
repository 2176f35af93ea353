# The About box of the real program: its picture drawn and rippling, and the box ending at once on Enter, the main
# window taking the keys again and a second box rippling as the first did. (The picture's decoding, colours and
# wave are checked natively, frame by frame.)
import time
from itertools import count

from harness import BLACK, wait_for


def open_rippling_box(vop):
    # Three commands in four show the wave: the program draws the choice from the C runtime's generator seeded with
    # the time in seconds. Early in a second that picks the wave:
    second = next(s for s in count(int(time.time()) + 1) if ((s * 214013 + 2531011) >> 16 & 0x7FFF) % 4)
    time.sleep(second + 0.05 - time.time())
    vop.probe("command", 40003)  # Help > About
    vop.wait_box("About Vop ver. 1.16")
    # The wave ticks: picture after picture differs from every one before it.
    seen = []
    for _ in range(4):
        new = lambda: [p for p in [vop.pixels("boxclient")[:-50]] if BLACK in p[60] and p not in seen]
        seen.append(wait_for("picture %d of the wave" % (len(seen) + 1), new)[0])


def test_the_picture_ripples_and_ok_ends_the_box_at_once(vop):
    vop.open("a.bin", bytes(100))
    for caret in [1, 2]:
        open_rippling_box(vop)
        vop.key("Return")
        vop.wait_box(None)
        vop.key("Right")  # the main window has the keys again: the box's loop has ended
        vop.wait_caret(caret)
