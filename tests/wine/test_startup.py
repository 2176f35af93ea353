# Start-up, the main window, the settings file and the font files, seen from outside.
import os
import shutil
from collections import Counter

import pytest

from harness import BLACK, WHITE, wait_for, winpath

DEFAULT = bytes([0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])
QUAD_RED = bytes([0, 2, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])  # Ascii, 32-pixel cells, red on white
PINNED = bytes([1, 1, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0])  # Hex, 16-pixel cells, block caret, green


# F4 changes the font type during the run: what is on disk afterwards shows whether the
# settings were written, beside a program whose folder's name is not ASCII.
@pytest.mark.parametrize("prepared, read_only, ending, row_height, ink, after", [
    (None, False, ["alt+f", "x"], 16, BLACK, bytes([1]) + DEFAULT[1:]),  # File > Exit
    (None, False, ["alt+F4"], 16, BLACK, bytes([1]) + DEFAULT[1:]),
    (QUAD_RED, False, ["alt+f", "x"], 64, 0xFF0000FF, bytes([1]) + QUAD_RED[1:]),  # red, as pixels() gives it
    (PINNED, True, ["alt+f", "x"], 32, 0xFF008000, PINNED),  # green
], ids=["default", "default_alt_f4", "quad_red", "read_only_pinned"])
def test_settings_are_read_at_start_and_written_at_exit(vop, prepared, read_only, ending, row_height, ink, after):
    if prepared:
        os.chmod(vop.write("Vop.cfg", prepared), 0o444 if read_only else 0o644)
    vop.start(winpath(vop.write("a.bin", b"Settings!"))).wait_open()
    left, top, right, bottom = vop.rect()
    assert (bottom - top) % row_height == 0, "the data area is not a whole number of text rows"
    wait_for("paper and ink in the chosen colours", lambda: [colour for colour, _ in Counter(
        pixel for row in vop.pixels() for pixel in row).most_common(2)] == [WHITE, ink])
    vop.key("F4", *ending)
    vop.wait_exit()
    assert vop.read("Vop.cfg") == after


# A start that cannot make its main window must end the program, not leave it waiting
# without a window: fonts that cannot be loaded (reported first), or no display at all.
@pytest.mark.parametrize("missing, boxes, display", [
    (["font1.fnt"], 1, True), (["font.fnt", "digits2.fnt"], 2, True), ([], 0, False),
], ids=["a_font_missing", "a_font_and_a_digit_font_missing", "no_display"])
def test_a_start_without_a_main_window_ends_the_program(vop, missing, boxes, display):
    for name in missing:
        os.remove(vop.path(name))
    if not display:  # from a folder whose name is ASCII: nothing but the window may fail
        vop.folder = shutil.copytree(vop.folder, os.path.join(os.path.dirname(vop.folder), "Vop"))
    vop.start(display=display)
    for _ in range(boxes):
        vop.answer("ok", "Error!", "Unable to load font file!")
    vop.wait_exit(timeout=5)
    assert not boxes or vop.read("Vop.cfg") == DEFAULT, "the settings are still written when start-up ends early"
