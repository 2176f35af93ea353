# The text view in the real program: F4 through the three modes, the size limit,
# and moving through lines with the keys, the wheel and the scroll bar.
import os

from harness import WHITE, drawn, wait_for, winpath


# True when the row shows the text from its inset on: the text view's cells stand
# 9 pixels apart, the hex view's 8. Only the top 14 pixel rows are compared: the
# blinking underline caret covers row 14.
def shows(font, pixels, row, text, step=9):
    return all(drawn(pixels, 1 + j * step, row * 16, font[b][:14]) for j, b in enumerate(text))


def test_f4_cycles_ascii_hex_and_text_view(vop):
    font = vop.glyphs("font.fnt", 16)
    data = b"a\tb\r\nline two\nthird\n"
    vop.start(winpath(vop.write("lines.txt", data))).wait_open().focus()
    wait_for("the address, every byte's own glyph, spaces past the end", lambda: shows(
        font, vop.pixels(), 0, b"00000000: " + data + b"    ", 8))  # Ascii font type

    vop.key("F4")
    wait_for("Hex font type", lambda: not shows(font, vop.pixels(), 0, b"00000000: a", 8))
    assert shows(font, vop.pixels(), 0, b"00000000: ", 8), "Hex keeps the address column"

    vop.key("F4")
    wait_for("the text view", lambda: shows(font, vop.pixels(), 0, b"a"))
    pixels = vop.pixels()
    # The tab takes four cells, drawn without the inset; b follows; the carriage return's cell stays empty.
    assert all(drawn(pixels, k * 9, 0, font[0x20]) for k in range(1, 5)), "the tab's cells"
    assert drawn(pixels, 1 + 5 * 9, 0, font[ord("b")]), "b after the tab"
    assert all(pixels[y][1 + 6 * 9 + x] == WHITE for y in range(16) for x in range(8)), "the carriage return's cell"
    assert shows(font, pixels, 1, b"line two") and shows(font, pixels, 2, b"third"), "the next lines"

    vop.key("F4")  # back to the hex view, Ascii font type
    wait_for("the Ascii hex view again", lambda: shows(font, vop.pixels(), 0, b"00000000: " + data, 8))
    vop.quit()


def test_text_view_is_refused_above_75_mebibytes(vop):
    font = vop.glyphs("font.fnt", 16)
    vop.start(winpath(vop.write("big.bin", size=75 * 2 ** 20 + 1))).wait_open().focus()
    vop.key("F4", "F4")  # Hex, then refused: back to Ascii with a beep, in the hex view
    wait_for("Ascii font type", lambda: shows(font, vop.pixels(), 0, b"00000000: " + bytes(4), 8))
    vop.quit()
    os.remove(vop.path("big.bin"))


def test_keys_wheel_and_scroll_bar_move_the_lines(vop):
    font = vop.glyphs("font.fnt", 16)
    lines = [b"line %03d" % i for i in range(300)]
    vop.start(winpath(vop.write("many.txt", b"\n".join(lines) + b"\n"))).wait_open().focus()
    left, top, right, bottom = vop.rect()
    rows = (bottom - top) // 16
    vop.key("F4", "F4")
    for action, top_line in [
        (lambda: None, lines[0]),
        (lambda: vop.key("Next"), lines[rows]),
        (lambda: vop.key("Down"), lines[rows + 1]),
        (lambda: vop.click(20, 20, button=5, repeat=2), lines[rows + 3]),  # the wheel: a line a notch
        (lambda: vop.key("Prior"), lines[3]),
        (lambda: vop.key("Right"), lines[3][1:]),  # one column to the right
        (lambda: vop.key("Left"), lines[3]),
        (lambda: vop.click(right - left + 8, bottom - top - 30), lines[3 + rows]),  # the scroll bar below the thumb
    ]:
        action()
        wait_for(lambda: "%r at the top" % top_line, lambda: shows(font, vop.pixels(), 0, top_line), 5)
    vop.quit()
