# Start-up, the main window, the settings file and the font files, seen from outside.
import os
from collections import Counter

import pytest

from harness import BLACK, WHITE, rgb, wait_for, winpath

DEFAULT = bytes([0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])
QUAD_RED = bytes([0, 2, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])  # Ascii, 32-pixel cells, red on white
PINNED = bytes([1, 1, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0])  # Hex, 16-pixel cells, block caret, green
WM_SYSCOMMAND, SC_MAXIMIZE, IDM_OPTIMAL_SIZE = 0x112, 0xF030, 100


def test_starts_empty_and_optimal_size_restores_the_start_up_window(vop):
    info = vop.start().wait_ready().info()
    assert (info["title"], info["parts"], info["status0"]) == (" Vop", "1", "")
    vop.probe("place", 10, 10, 700, 500)
    wait_for("the window to shrink", lambda: vop.info()["window"] == "10,10,710,510")
    vop.probe("post", WM_SYSCOMMAND, IDM_OPTIMAL_SIZE)
    wait_for("the start-up size again", lambda: vop.info()["window"] == info["window"])
    vop.probe("post", WM_SYSCOMMAND, SC_MAXIMIZE)  # a maximised window is restored first, then sized
    wait_for("the window to maximise", lambda: vop.info()["zoomed"] == "1")
    vop.probe("post", WM_SYSCOMMAND, IDM_OPTIMAL_SIZE)
    wait_for("the start-up size", lambda: [vop.info()[k] for k in ("window", "zoomed")] == [info["window"], "0"])
    vop.quit()


# F4 changes the font type during the run: what is on disk afterwards shows whether the settings were written.
@pytest.mark.parametrize("prepared, read_only, ending, row_height, ink, after", [
    (None, False, ["alt+f", "x"], 16, BLACK, bytes([1]) + DEFAULT[1:]),  # File > Exit
    (None, False, ["alt+F4"], 16, BLACK, bytes([1]) + DEFAULT[1:]),
    (QUAD_RED, False, ["alt+f", "x"], 64, rgb(255, 0, 0), bytes([1]) + QUAD_RED[1:]),
    (PINNED, True, ["alt+f", "x"], 32, rgb(0, 128, 0), PINNED),
], ids=["default", "default_alt_f4", "quad_red", "read_only_pinned"])
def test_settings_are_read_at_start_and_written_at_exit(vop, prepared, read_only, ending, row_height, ink, after):
    if prepared:
        os.chmod(vop.write("Vop.cfg", prepared), 0o444 if read_only else 0o644)
    vop.start(winpath(vop.write("a.bin", b"Settings!"))).wait_open().focus()
    left, top, right, bottom = vop.rect()
    assert (bottom - top) % row_height == 0, "the data area is not a whole number of text rows"
    wait_for("paper and ink in the chosen colours", lambda: [colour for colour, _ in Counter(
        pixel for row in vop.pixels() for pixel in row).most_common(2)] == [WHITE, ink])
    vop.key("F4", *ending)
    vop.wait_exit()
    assert vop.read("Vop.cfg") == after


@pytest.mark.parametrize("missing, short, boxes", [(["font1.fnt"], [], 1), (["font.fnt"], ["digits2.fnt"], 2)],
                         ids=["missing", "missing_and_short"])
def test_broken_font_files_are_reported_and_end_the_program(vop, missing, short, boxes):
    for name in missing:
        os.remove(vop.path(name))
    for name in short:
        vop.write(name, vop.read(name)[:-1])
    vop.start()
    for _ in range(boxes):
        vop.answer("ok", "Error!", "Unable to load font file!")
    vop.wait_exit()
    assert vop.read("Vop.cfg") == DEFAULT, "the settings are still written when start-up ends early"
