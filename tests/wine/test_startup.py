# Start-up, the main window, the settings file and the font files, seen from outside.
import os
import shutil

import pytest

from harness import BLACK, WHITE, wait_equal

DEFAULT = bytes.fromhex("00 00 00 00000000 FFFFFF00")  # font type, cell size, caret shape, ink, paper


# F4 changes the font type during the run: what is on disk afterwards shows whether the
# settings were written, beside a program whose folder's name is not ASCII.
@pytest.mark.parametrize("prepared, read_only, ending, row_height, ink", [
    (None, False, ["alt+f", "x"], 16, BLACK),  # File > Exit
    (None, False, ["alt+F4"], 16, BLACK),
    # Ascii, 32-pixel cells, red on white (red as pixels() gives it)
    (bytes.fromhex("00 02 00 FF000000 FFFFFF00"), False, ["alt+f", "x"], 64, 0xFF0000FF),
    # Hex, 16-pixel cells, block caret, green
    (bytes.fromhex("01 01 01 00800000 FFFFFF00"), True, ["alt+f", "x"], 32, 0xFF008000),
], ids=["default", "default_alt_f4", "quad_red", "read_only_pinned"])
def test_settings_are_read_at_start_and_written_at_exit(vop, prepared, read_only, ending, row_height, ink):
    if prepared:
        os.chmod(vop.write("Vop.cfg", prepared), 0o444 if read_only else 0o644)
    vop.open("a.bin", b"Settings!")
    left, top, right, bottom = vop.rect()
    assert (bottom - top) % row_height == 0, "the data area is not a whole number of text rows"
    wait_equal(vop.colours, [WHITE, ink])  # paper and ink
    vop.key("F4", *ending)
    vop.wait_exit()
    written = prepared if read_only else bytes([1]) + (prepared or DEFAULT)[1:]  # Hex from F4, unless read-only
    assert vop.read("Vop.cfg") == written


# A start that cannot make its main window must end the program, not leave it waiting
# without a window: fonts that cannot be loaded (reported first), or no display at all.
@pytest.mark.parametrize("missing, display", [
    (["font.fnt", "digits2.fnt"], True), ([], False),
], ids=["a_font_and_a_digit_font_missing", "no_display"])
def test_a_start_without_a_main_window_ends_the_program(vop, missing, display):
    for name in missing:
        os.remove(vop.path(name))
    if not display:  # from a folder whose name is ASCII: nothing but the window may fail
        vop.folder = shutil.copytree(vop.folder, os.path.join(os.path.dirname(vop.folder), "Vop"))
    vop.start(display=display)
    for _ in missing:  # a box for each
        vop.answer("ok", "Error!", "Unable to load font file!")
    vop.wait_exit(timeout=5)
    assert not missing or vop.read("Vop.cfg") == DEFAULT, "the settings are still written when start-up ends early"
