# Options in the real program: the cell size and the colours chosen in their dialogs reach the screen, and Cancel
# changes nothing. (What OK does to the settings, the strips and the window's size is checked natively.)
from harness import BLACK, CLOSE, COLORS, WHITE, wait_for

FONTS, NORMAL, DOUBLE = 40012, "item1015", "item1016"
RED, YELLOW = 0xFF0000FF, 0xFF00FFFF  # as pixels() gives them
FONT_FILES = {8: "font.fnt", 16: "font1.fnt"}
# The dialog, what is chosen in it, how it ends; then the screen: the cells' width, the ink and the paper. A Cancel
# is seen on the screen the next OK paints whole: its choice must not be there.
STEPS = [
    (FONTS, DOUBLE, "Return", 16, BLACK, WHITE),
    (FONTS, NORMAL, "Escape", 16, BLACK, WHITE),
    (COLORS, ["FF0000", "FFFF00"], "Return", 16, RED, YELLOW),  # the ink, then the paper, as RRGGBB
    (COLORS, ["000000", "FFFFFF"], "Escape", 16, RED, YELLOW),
    (FONTS, NORMAL, "Return", 8, RED, YELLOW),
]


def address_shown(vop, width, ink, paper):  # the address's first zeros at the top left, in cells `width` wide
    size = width * width * 2 // 8
    glyph = vop.glyphs(FONT_FILES[width], size)[ord("0")]
    rows = [int.from_bytes(glyph[i:i + width // 8], "big") for i in range(0, size, width // 8)]
    p = vop.pixels()
    return all(p[y][width // 8 + c * width + x] == (ink if bits >> (width - 1 - x) & 1 else paper)
               for c in range(4) for y, bits in enumerate(rows) for x in range(width))


def test_cells_and_colours_chosen_reach_the_screen_and_cancel_changes_nothing(vop):
    vop.open("a.bin", b"Options" * 300)
    for command, choice, ending, width, ink, paper in STEPS:
        vop.probe("command", command)
        vop.wait_box("Font" if command == FONTS else "Set Colors")
        if command == FONTS:
            vop.click(3, 3, key=choice)
        else:
            for n, digits in enumerate(choice):
                vop.click(3, 3, key="field%d" % n)
                vop.xdotool("type", digits)
            vop.wait_until(text0=choice[0], text1=choice[1])
        vop.key(ending)
        vop.wait_box(None)
        wait_for("%d-pixel cells in %08X on %08X" % (width, ink, paper), lambda: address_shown(vop, width, ink, paper))
    vop.probe("command", CLOSE)  # without a document the window is the paper alone, in its colour
    wait_for("nothing but paper in %08X" % YELLOW, lambda: vop.colours() == [YELLOW])
