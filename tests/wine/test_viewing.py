# Opening and viewing files in the real program: the ways in, the sizes it
# refuses, moving the caret, and the pixels of the data area.
import os
from pathlib import Path

import pytest

from harness import CLOSE, OPEN, SOURCE, drawn, wait_for, winpath

VK_SCROLL, VK_LEFT, VK_RIGHT, WM_SYSCOLORCHANGE = 145, 37, 39, 0x15  # keys sent by the probe keep Scroll Lock's toggle


@pytest.mark.parametrize("way", ["command_line_in_quotes", "relative_command_line", "open_dialog", "drop_of_three"])
def test_a_file_opens(vop, way):
    first, *others = (vop.write("my filés/" + name, size=n) for name, n in [("b", 512), ("a", 510), ("c", 511)])
    if way == "command_line_in_quotes":  # a path with blanks reaches the program in double quotes, é and all
        vop.start(winpath(first))
    elif way == "relative_command_line":
        vop.start("b", cwd=os.path.dirname(first))
    elif way == "open_dialog":  # the dialog starts in the working folder
        vop.start(cwd=os.path.dirname(first)).wait_ready().focus()
        vop.command(OPEN)
        assert vop.box()["boxtitle"] == "Open"
        vop.key("b", "Return")
    else:  # the first one opens
        vop.start().wait_ready()
        vop.drop(first, *others)
    wait_for("the file's name in the title", lambda: vop.info().get("title") == winpath(first))
    assert vop.status() == ("00000000h", "filesize = 00000200h (512)")
    vop.quit()


@pytest.mark.parametrize("size, refusal", [
    (0, "Size of opened file equals 0. File closed!"),
    (2 ** 31, None),
    (2 ** 31 + 1, "This version cannot edit files greater than 2 gigabytes. File closed."),
], ids=["empty", "2_gib", "over_2_gib"])
def test_file_sizes_at_the_limits(vop, size, refusal):
    vop.start(winpath(vop.write("limit.bin", size=size)))
    if refusal:
        vop.answer("ok", "Error", refusal)
        vop.wait_empty()
    else:
        vop.wait_open().focus()
        assert vop.status()[1] == "filesize = 80000000h (2147483648)"
        vop.probe("sendkeys", VK_SCROLL, VK_RIGHT, VK_SCROLL)  # Scroll Lock makes Right a jump to the last byte
        vop.wait_caret(size - 1)
    vop.quit()
    os.remove(vop.path("limit.bin"))


def test_keys_clicks_and_wheel_move_the_caret(vop):
    size = 3 * 65536 + 17
    vop.start(winpath(vop.write("keys.bin", size=size))).wait_open().focus()
    left, top, right, bottom = vop.rect()
    rows = (bottom - top) // 16
    n = vop.row_length()
    screens = 65536 // (n * rows) + 1
    for action, address in [
        (lambda: vop.key("Right", "Right", "Right"), n + 3),
        (lambda: vop.key("End"), 2 * n - 1),
        (lambda: vop.key("Home"), n),
        (lambda: vop.key("Next"), n + n * rows),  # Page Down: the caret keeps its screen row and column
        (lambda: vop.key("Prior"), n),
        (lambda: vop.click(1 + (10 + 5) * 8 + 3, 2 * 16 + 5), 2 * n + 5),  # the byte under the pointer
        (lambda: vop.click(20, 5), 2 * n + 5),  # the address column holds no byte
        (lambda: vop.click(20, 5, button=5), 2 * n + 5),  # the wheel scrolls; the caret keeps its byte
        (lambda: vop.probe("sendkeys", VK_SCROLL, VK_RIGHT), size - 1),  # Scroll Lock: Right and Left jump to the ends
        (lambda: vop.probe("sendkeys", VK_LEFT, VK_SCROLL), 0),
        (lambda: vop.key(*["Next"] * screens), screens * n * rows),  # on past the end of the first 64 KiB
        (lambda: (vop.probe("post", WM_SYSCOLORCHANGE), vop.key("Left")), screens * n * rows - 1),
    ]:
        action()
        vop.wait_caret(address)
    assert vop.status()[1] == "filesize = 00030011h (196625)", "the status bar outlives a system colour change"
    vop.quit()


def test_screen_shows_the_glyph_of_every_byte_in_ascii_and_hex(vop):
    font, digits = vop.glyphs("font.fnt", 16), vop.glyphs("digits.fnt", 8)
    sample = Path(SOURCE, "resources", "sample.bin")  # it holds every byte value in order from 0x400
    vop.start(winpath(sample)).wait_open().focus()
    left, top, right, bottom = vop.rect()
    n = vop.row_length()
    vop.key("Right", "Right")  # the caret stays off the cells looked at
    vop.wait_caret(n + 2)
    cells = [(1 + (10 + a % n) * 8, a // n * 16, byte) for a, byte in enumerate(sample.read_bytes())
             if (a < 16 or 0x400 <= a < 0x500) and a // n < (bottom - top) // 16]
    pixels = vop.pixels()
    assert all(drawn(pixels, 1 + c * 8, 0, font[ch]) for c, ch in enumerate(b"00000000: ")), "the address column"
    for x, y, b in cells:
        assert drawn(pixels, x, y, font[b]), "the Ascii glyph of %02X" % b
    if os.environ.get("VOP_UPDATE_SCREENSHOT"):  # the README's picture
        vop.grab(vop.rect("window"), os.path.join(SOURCE, "docs", "screenshot.png"))

    vop.key("F4")  # Hex font type: two digits stacked in each cell, the low one over the high one's last row
    x, y, b = cells[-1]
    wait_for("the hex digits", lambda: drawn(vop.pixels(), x, y + 7, digits[b & 15]))
    pixels = vop.pixels()
    for x, y, b in cells:
        assert drawn(pixels, x, y, digits[b >> 4][:7]) and drawn(pixels, x, y + 7, digits[b & 15]), "hex %02X" % b
    vop.quit()


def test_search_menu_follows_the_document_and_close_empties_the_window(vop):
    def goto_address(enabled):  # Search > Goto Address, by its keys
        vop.focus()
        vop.key("alt+s", "a", pause=0.45)  # time for a dialog to come up, if it is going to
        assert (vop.box() if enabled else vop.info()).get("boxtitle") == ("Goto Address" if enabled else None)
        vop.key("Escape", "Escape")  # closes the dialog, or the menu where the grayed item did nothing
        vop.no_box()
    vop.start().wait_ready()
    goto_address(enabled=False)
    vop.drop(vop.write("m.bin", size=500))
    vop.wait_open()
    goto_address(enabled=True)
    vop.command(CLOSE)
    vop.wait_empty()
    goto_address(enabled=False)
    vop.quit()
