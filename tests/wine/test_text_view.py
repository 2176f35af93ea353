"""The text view in the real program: F4 through the three modes, the size
limit, and moving through lines with the keys, the wheel and the scroll bar."""
import os

from harness import Vop, check, run, to_windows_path, wait_for

EXIT = 40005
BLACK, WHITE = (0, 0, 0), (255, 255, 255)


def font(vop):
    with open(vop.path("font.fnt"), "rb") as f:
        data = f.read()
    return [data[i * 16:(i + 1) * 16] for i in range(256)]


def glyph_at(pixels, x0, y0, glyph, rows=14):
    """True when the 8 × 16 glyph is drawn black on white at (x0, y0). Only the
    top 14 rows are compared by default: the blinking underline caret covers row 14."""
    for y in range(rows):
        for x in range(8):
            want = BLACK if glyph[y] & (0x80 >> x) else WHITE
            if pixels[y0 + y][x0 + x] != want:
                return False
    return True


def text_row_shows(vop, pixels, row, text):
    """Text cells stand 9 pixels apart at Normal size, drawn one pixel in."""
    glyphs = font(vop)
    return all(glyph_at(pixels, 1 + j * 9, row * 16, glyphs[b]) for j, b in enumerate(text))


def hex_row_address(vop, pixels, row, address):
    glyphs = font(vop)
    return all(glyph_at(pixels, 1 + c * 8, row * 16, glyphs[b]) for c, b in enumerate(b"%08X: " % address))


def quit_program(vop):
    vop.command(EXIT)
    vop.wait_exit(15)


def test_f4_cycles_ascii_hex_and_text_view():
    vop = Vop("text_cycle")
    path = vop.write("lines.txt", b"a\tb\r\nline two\nthird\n")
    glyphs = font(vop)
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        pixels = vop.grab_data()
        check(hex_row_address(vop, pixels, 0, 0), "Ascii view shows the address column")
        check(glyph_at(pixels, 1 + 10 * 8, 0, glyphs[ord("a")]), "Ascii shows the byte a")

        vop.key("F4")
        wait_for("Hex font type", lambda: not glyph_at(vop.grab_data(), 81, 0, glyphs[ord("a")]), 5)
        check(hex_row_address(vop, vop.grab_data(), 0, 0), "Hex keeps the address column")

        vop.key("F4")
        wait_for("the text view", lambda: text_row_shows(vop, vop.grab_data(), 0, b"a"), 5)
        pixels = vop.grab_data()
        vop.screenshot("text_view")
        # The tab takes four cells, drawn without the inset; b follows; the carriage return's cell stays empty.
        for k in range(1, 5):
            check(glyph_at(pixels, k * 9, 0, glyphs[0x20]), "tab cell %d" % k)
        check(glyph_at(pixels, 1 + 5 * 9, 0, glyphs[ord("b")]), "b after the tab")
        check(all(pixels[y][1 + 6 * 9 + x] == WHITE for y in range(16) for x in range(8)), "carriage return cell")
        check(text_row_shows(vop, pixels, 1, b"line two"), "second line")
        check(text_row_shows(vop, pixels, 2, b"third"), "third line")

        vop.key("F4")  # back to the hex view, Ascii font type
        wait_for("the hex view again", lambda: hex_row_address(vop, vop.grab_data(), 0, 0), 5)
        check(glyph_at(vop.grab_data(), 81, 0, glyphs[ord("a")]), "Ascii again after the text view")
        quit_program(vop)


def test_text_view_is_refused_above_75_mebibytes():
    vop = Vop("text_limit")
    path = vop.path("big.bin")
    with open(path, "wb") as f:
        f.truncate(78643201)
    glyphs = font(vop)
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.key("F4")  # Hex
        vop.key("F4")  # refused: back to Ascii with a beep
        wait_for("Ascii font type", lambda: glyph_at(vop.grab_data(), 81, 0, glyphs[0]), 5)
        check(hex_row_address(vop, vop.grab_data(), 0, 0), "still the hex view")
        quit_program(vop)
    os.remove(path)


def test_keys_wheel_and_scroll_bar_move_the_lines():
    vop = Vop("text_scroll")
    lines = [b"line %03d" % i for i in range(300)]
    path = vop.write("many.txt", b"\n".join(lines) + b"\n")
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        left, top, right, bottom = vop.rect("data")
        rows = (bottom - top) // 16
        vop.focus()
        vop.key("F4", "F4")
        wait_for("the text view", lambda: text_row_shows(vop, vop.grab_data(), 0, lines[0]), 5)

        def top_line_is(i):
            return wait_for("line %d at the top" % i, lambda: text_row_shows(vop, vop.grab_data(), 0, lines[i]), 5)

        vop.key("Next")
        top_line_is(rows)
        vop.key("Down")
        top_line_is(rows + 1)
        vop.wheel(down=True, count=2)
        top_line_is(rows + 3)
        vop.key("Prior")
        top_line_is(3)
        vop.key("Right")  # one column to the right
        wait_for("the shifted line", lambda: text_row_shows(vop, vop.grab_data(), 0, lines[3][1:]), 5)
        vop.key("Left")
        # A click on the scroll bar's track below the thumb pages down.
        vop.xdotool("mousemove", "--sync", right + 8, bottom - 30)
        vop.xdotool("click", "1")
        top_line_is(3 + rows)
        quit_program(vop)


if __name__ == "__main__":
    run(globals())
