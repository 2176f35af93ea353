# The Options dialogs in the real program: colours typed into Set Colors reach
# every pixel of the data area and "Vop.cfg" (Cancel and the close box change
# nothing), and the Font dialog's caret shape and font type on the screen. (The
# sizes the Font dialog chooses are tested natively.)
from collections import Counter

from harness import drawn, wait_for, winpath

COLORS, FONTS = 40004, 40012
INK, PAPER = 0xFF7F7F7F, 0xFF808080  # 80 80 80 typed for both: the ink becomes the inverse


def dialog(vop, command, title):
    vop.probe("command", command)
    return vop.wait_box(title)


def colours(vop):  # the two commonest pixels of the data area
    return [colour for colour, _ in Counter(p for row in vop.pixels() for p in row).most_common(2)]


def test_colours_reach_the_screen_and_the_settings_file_and_cancel_keeps_them(vop):
    vop.start(winpath(vop.write("c.bin", b"Colours!" * 64))).wait_open()
    for typed, ending in [("000000", "Escape"), ("000000", "alt+F4"), ("808080", "Return")]:
        dialog(vop, COLORS, "Set Colors")
        for field in ("field0", "field1"):
            vop.click(3, 3, key=field)  # the first digit
            vop.key(*typed)
        vop.key(ending)
        vop.wait_info("the dialog gone", lambda i: "box" not in i)
        expected = [PAPER, INK] if typed == "808080" else [0xFFFFFFFF, 0xFF000000]
        wait_for(lambda: "%s, not %s" % (expected, colours(vop)), lambda: colours(vop) == expected)
    vop.quit()
    assert vop.read("Vop.cfg")[3:] == bytes.fromhex("7F7F7F00 80808000")


def test_block_caret_and_hex_show_on_the_screen(vop):
    digits = vop.glyphs("digits.fnt", 8)
    vop.start(winpath(vop.write("h.bin", b"\x4a" * 64))).wait_open()
    dialog(vop, FONTS, "Font")
    for control in ("item1012", "item1019"):  # block caret, Hex
        vop.click(3, 3, key=control)
    vop.key("Return")
    cell = lambda p: [row[81:89] for row in p[:16]]  # byte 0's cell, under the caret
    # Byte 1's cell, away from the blinking caret.
    wait_for("4A in Hex", lambda: drawn(vop.pixels(), 89, 0, digits[4][:7]) and drawn(vop.pixels(), 89, 7, digits[10]))
    # The caret blinks: once shown, it inverts every row of the cell (a digit row has at most 5 pixels of ink).
    wait_for("the block caret over the whole cell", lambda: all(Counter(row)[0xFF000000] >= 3 for row in cell(vop.pixels())))
