# The Options dialogs in the real program: colours typed into Set Colors reach
# every pixel of the data area and "Vop.cfg" (Cancel and the close box change
# nothing), and the Font dialog's caret shape and font type on the screen. (The
# sizes the Font dialog chooses are tested natively.)
from collections import Counter

from harness import BLACK, COLORS, WHITE, drawn, wait_equal, wait_for

INK, PAPER = 0xFF7F7F7F, 0xFF808080  # 80 80 80 typed for both: the ink becomes the inverse


def test_colours_reach_the_screen_and_the_settings_file_and_cancel_keeps_them(vop):
    vop.open("c.bin", b"Colours!" * 64)
    for ending, shown in [("Escape", [WHITE, BLACK]), ("alt+F4", [WHITE, BLACK]), ("Return", [PAPER, INK])]:
        vop.probe("command", COLORS)
        vop.wait_box("Set Colors")
        for field in ("field0", "field1"):
            vop.click(3, 3, key=field)  # the first digit
            vop.key(*"808080")
        vop.key(ending)
        vop.wait_box(None)
        wait_equal(vop.colours, shown)  # paper and ink
    vop.quit()
    assert vop.read("Vop.cfg")[3:] == bytes.fromhex("7F7F7F00 80808000")


def test_block_caret_and_hex_show_on_the_screen(vop):
    digits = vop.glyphs("digits.fnt", 8)
    vop.open("h.bin", b"\x4a" * 64)
    vop.probe("command", 40012)  # Options > Font
    vop.wait_box("Font")
    for control in ("item1012", "item1019"):  # block caret, Hex
        vop.click(3, 3, key=control)
    vop.key("Return")
    # Byte 1's cell, away from the blinking caret.
    wait_for("4A in Hex", lambda: drawn(vop.pixels(), 89, 0, digits[4][:7]) and drawn(vop.pixels(), 89, 7, digits[10]))
    # Byte 0's cell, under the caret. It blinks: once shown, it inverts every row of the cell (a digit row has at
    # most 5 pixels of ink).
    block = lambda: all(Counter(row[81:89])[BLACK] >= 3 for row in vop.pixels()[:16])
    wait_for("the block caret over the whole cell", block)
