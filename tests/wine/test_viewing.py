# Viewing in the real program: real keys, clicks, wheel and scroll bar requests
# reach it, and the data area shows the glyph of every byte in the three views,
# also when the window is too large for a memory bitmap.
import os
from pathlib import Path

import pytest

from harness import SOURCE, drawn, shows, wait_for, winpath


def test_keys_clicks_wheel_and_scroll_bar_reach_the_program(vop):
    vop.start(winpath(vop.write("keys.bin", size=65536))).wait_open()
    left, top, right, bottom = vop.rect()
    n = vop.row_length()
    screen = n * ((bottom - top) // 16)
    for action, caret in [  # what each does is checked natively; here that it reaches the program
        (lambda: vop.key("End"), 2 * n - 1),
        (lambda: vop.key("Next"), 2 * n - 1 + screen),
        (lambda: vop.click(20, 5, button=5, repeat=2), 3 * n - 1 + screen),  # the wheel, two notches down
        (lambda: vop.click(1 + (10 + 5) * 8 + 3, 2 * 16 + 5), screen + 4 * n + 5),  # the byte under the pointer
        (lambda: vop.probe("post", 0x15), screen + 4 * n + 5),  # WM_SYSCOLORCHANGE
        (lambda: vop.key("Left"), screen + 4 * n + 4),
        (lambda: vop.click(right - left + 8, bottom - top - 30), screen + 4 * n + 4 + screen),  # the bar's page
    ]:
        action()
        vop.wait_caret(caret)
    assert vop.info()["status1"] == "filesize = 00010000h (65536)", "the status bar outlives a system colour change"


# Ascii, Hex and the text view, one after the other with F4 (the text view also
# scrolled a column to the right). Limited to 1 GiB of
# memory, the program cannot make the 4 GiB bitmap of a data window Wine lets grow
# to 32767 pixels square: it draws the visible part without one.
@pytest.mark.parametrize("data_limit", [None, 2 ** 30], ids=["memory_bitmap", "no_memory_bitmap"])
def test_screen_shows_the_glyph_of_every_byte_in_each_view(vop, data_limit):
    font, digits = vop.glyphs("font.fnt", 16), vop.glyphs("digits.fnt", 8)
    sample = Path(SOURCE, "resources", "sample.bin")  # it holds every byte value in order from 0x400
    vop.start(winpath(sample), data_limit=data_limit).wait_open()
    if data_limit:
        vop.probe("size", 33000, 33000)
    left, top, right, bottom = vop.rect()
    n = vop.row_length()  # the caret goes to the second row, away from the cells looked at
    cells = [(1 + (10 + a % n) * 8, a // n * 16, byte) for a, byte in enumerate(sample.read_bytes())
             if 0x400 <= a < 0x500 and (a // n + 1) * 16 <= bottom - top and (11 + a % n) * 8 < right - left]
    # The text view: a line a row, cells 9 pixels apart, a tab four blank cells and a carriage return one;
    # `left` characters of each line scrolled out to the left. The tab line is the sample's fifteenth.
    lines = [line.replace(b"\t", b"    ").replace(b"\r", b" ") + b" " * 60 for line in sample.read_bytes().split(b"\n")]
    text_view = lambda left: lambda p: all(shows(font, p, r, lines[r][left:left + 60], 9) for r in range(15))
    ascii_view = lambda p: shows(font, p, 0, b"00000000: ") and all(drawn(p, x, y, font[b]) for x, y, b in cells)
    for keys, view, drawing in [
        (["Right"], "Ascii", ascii_view),
        # Hex: two digits a cell, the low one over the high one's last row
        (["F4"], "Hex", lambda p: all(drawn(p, x, y, digits[b >> 4][:7]) and drawn(p, x, y + 7, digits[b & 15])
                                      for x, y, b in cells)),
        (["F4"], "the text view", text_view(0)),
        (["Right"], "the text view a column on", text_view(1)),
        (["F4"], "Ascii again", ascii_view),
    ]:
        vop.key(*keys)
        wait_for(view, lambda: drawing(vop.pixels()))
    if os.environ.get("VOP_UPDATE_SCREENSHOT") and not data_limit:  # the README's picture
        vop.grab(vop.rect("window"), os.path.join(SOURCE, "docs", "screenshot.png"))
