# Viewing in the real program: real keys, clicks, wheel and scroll bar requests
# reach it, and the data area shows the glyph of every byte value in Ascii and
# Hex, and the text view, also when the window is too large for a memory bitmap.
import os
from pathlib import Path

import pytest

from harness import SOURCE, drawn, shows, wait_for, winpath


def test_keys_clicks_wheel_and_scroll_bar_reach_the_program(vop):
    vop.open("keys.bin", size=65536)
    left, top, right, bottom = vop.rect()
    n = vop.row_length()
    screen = n * ((bottom - top) // 16)
    # What each does is checked natively; here that it reaches the program.
    vop.key("End")
    vop.wait_caret(2 * n - 1)
    vop.click(20, 5, button=5, repeat=2)  # the wheel, two notches down: two rows
    vop.wait_caret(3 * n - 1)
    vop.click(124, 37)  # the byte under the pointer: the third row's sixth
    vop.wait_caret(4 * n + 5)
    vop.probe("post", 0x15)  # WM_SYSCOLORCHANGE, handled before the click that follows
    vop.click(right - left + 8, bottom - top - 30)  # the scroll bar under its thumb: a page down
    vop.wait_caret(4 * n + 5 + screen)
    assert vop.info()["status1"] == "filesize = 00010000h (65536)", "the status bar outlives a system colour change"


# Ascii, Hex and the text view, one after the other with F4 (the text view also
# scrolled a column to the right; how it lays out tabs and line ends is checked
# natively). Limited to 1 GiB of memory, the program cannot make the 4 GiB
# bitmap of a data window Wine lets grow to 32767 pixels square: it draws the
# visible part without one.
@pytest.mark.parametrize("data_limit", [None, 2 ** 30], ids=["memory_bitmap", "no_memory_bitmap"])
def test_screen_shows_the_glyph_of_every_byte_and_the_text_view(vop, data_limit):
    font, digits = vop.glyphs("font.fnt", 16), vop.glyphs("digits.fnt", 8)
    sample = Path(SOURCE, "resources", "sample.bin")  # it holds every byte value in order from 0x400
    vop.start(winpath(sample), data_limit=data_limit).wait_open(sample)
    if data_limit:
        vop.probe("size", 33000, 33000)
    left, top, right, bottom = vop.rect()
    n = vop.row_length()  # the caret goes to the second row, away from the cells looked at
    cells = [(1 + (10 + a % n) * 8, a // n * 16, sample.read_bytes()[a]) for a in range(0x400, 0x500)
             if (11 + a % n) * 8 < right - left]  # those in sight: the rows are, not all columns of a wide one
    # The text view: the first line, its cells 9 pixels apart, `column` characters scrolled out to the left
    text_view = lambda column: lambda p: shows(font, p, 0, b"Vop - a small, fast hex editor"[column:], 9)

    def ascii_view(p):
        return shows(font, p, 0, b"00000000: ") and all(drawn(p, x, y, font[b]) for x, y, b in cells)

    def hex_view(p):  # two digits a cell, the low one over the high one's last row
        return all(drawn(p, x, y, digits[b >> 4][:7]) and drawn(p, x, y + 7, digits[b & 15])
                   for x, y, b in cells)

    for key, view, drawing in [
        ("Right", "Ascii", ascii_view),
        ("F4", "Hex", hex_view),
        ("F4", "the text view", text_view(0)),
        ("Right", "the text view a column on", text_view(1)),
        ("F4", "Ascii again", ascii_view),  # as the README's picture shows it
    ]:
        vop.key(key)
        wait_for(view, lambda: drawing(vop.pixels()))
    if os.environ.get("VOP_UPDATE_SCREENSHOT") and not data_limit:  # the README's picture
        vop.grab(vop.rect("window"), os.path.join(SOURCE, "docs", "screenshot.png"))
