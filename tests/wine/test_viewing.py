"""Opening and viewing files in the real program: the ways in, moving the
caret, what the status bar says, and the pixels of the data area."""
import os
import shutil

from harness import (IDOK, SOURCE, Vop, check, run, to_windows_path, wait_for)

EXIT, OPEN, CLOSE = 40005, 57601, 57602


def make_file(vop, name, data):
    path = vop.path(name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    return path


def pattern(size):
    return bytes((i * 7 + i // 256) & 0xFF for i in range(size))


def bytes_per_row(client_width, cw=8, ins=1):
    available = client_width - (10 * cw + 2 * ins)
    for n in (256, 128, 64, 32, 16):
        if n * cw <= available:
            return n
    return 16


def layout(vop):
    left, top, right, bottom = vop.rect("data")
    return bytes_per_row(right - left), (bottom - top) // 16


def address(status):
    return int(status[0].rstrip("h"), 16)


def quit_program(vop):
    vop.command(EXIT)
    vop.wait_exit(15)


def test_command_line_path_in_quotes_opens_that_file():
    vop = Vop("view_quoted")
    path = make_file(vop, "my files/data file.bin", pattern(300))
    with vop.start(to_windows_path(path)):  # a path with blanks reaches the program in double quotes
        info = vop.wait_open()
        check(info["title"] == to_windows_path(path), "title %r" % info["title"])
        check(info["parts"] == "2", "two status parts")
        check(info["status0"] == "00000000h", "address %r" % info["status0"])
        check(info["status1"] == "filesize = 0000012Ch (300)", "size %r" % info["status1"])
        quit_program(vop)


def test_relative_command_line_path_is_made_absolute():
    vop = Vop("view_relative")
    path = make_file(vop, "sub/rel.bin", pattern(20))
    with vop.start("rel.bin", cwd=os.path.dirname(path)):
        info = vop.wait_open()
        check(info["title"] == to_windows_path(path), "title %r" % info["title"])
        quit_program(vop)


def test_file_open_dialog_opens_the_picked_file():
    vop = Vop("view_dialog")
    path = make_file(vop, "picked.bin", pattern(1000))
    with vop.start():
        vop.wait_ready()
        vop.focus()
        vop.command(OPEN)
        box = vop.box()
        check(box.get("title") == "Open", "dialog title %r" % box.get("title"))
        vop.type(to_windows_path(path))
        vop.key("Return")
        wait_for("the picked file", lambda: vop.title() == to_windows_path(path), 15)
        check(vop.status()[1] == "filesize = 000003E8h (1000)", "size after Open")
        quit_program(vop)


def test_dropping_three_files_opens_the_first():
    vop = Vop("view_drop")
    paths = [make_file(vop, "drop%d.bin" % i, pattern(10 + i)) for i in range(3)]
    with vop.start():
        vop.wait_ready()
        vop.drop(*[to_windows_path(p) for p in paths])
        wait_for("the dropped file", lambda: vop.title() == to_windows_path(paths[0]), 15)
        check(vop.status()[1] == "filesize = 0000000Ah (10)", "size of the first dropped file")
        quit_program(vop)


def test_keys_clicks_and_wheel_move_the_caret():
    vop = Vop("view_keys")
    size = 3 * 65536 + 17
    path = make_file(vop, "keys.bin", pattern(size))
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        n, rows = layout(vop)
        vop.focus()
        vop.key("Right", "Right", "Right")
        check(address(vop.status()) == 3, "after three Rights: %s" % (vop.status(),))
        vop.key("Down")
        check(address(vop.status()) == 3 + n, "after Down")
        vop.key("End")
        check(address(vop.status()) == 2 * n - 1, "after End")
        vop.key("Home")
        check(address(vop.status()) == n, "after Home")
        vop.key("Next")  # Page Down: the caret keeps its screen row and column
        check(address(vop.status()) == n + n * rows, "after Page Down: %s" % (vop.status(),))
        vop.key("Prior")
        check(address(vop.status()) == n, "after Page Up")
        # Clicks land on the byte under the pointer; the address column is not a byte.
        vop.click_data(1 + (10 + 5) * 8 + 3, 2 * 16 + 5)
        check(address(vop.status()) == 2 * n + 5, "after a click: %s" % (vop.status(),))
        vop.click_data(20, 5)
        check(address(vop.status()) == 2 * n + 5, "a click on the address column moved the caret")
        # The wheel scrolls one row; the caret keeps its byte while it stays on the screen.
        vop.wheel(down=True, count=1)
        check(address(vop.status()) == 2 * n + 5, "wheel moved the caret off its byte")
        # Scroll Lock turns Right and Left into jumps to the last and first byte.
        VK_SCROLL, VK_LEFT, VK_RIGHT = 145, 37, 39
        vop.send_keys(VK_SCROLL, VK_RIGHT)
        check(address(vop.status()) == size - 1, "Scroll Lock + Right: %s" % (vop.status(),))
        vop.send_keys(VK_LEFT)
        check(address(vop.status()) == 0, "Scroll Lock + Left: %s" % (vop.status(),))
        vop.send_keys(VK_SCROLL)
        # Down through the page borders, one screen at a time.
        for _ in range(3):
            vop.key("Next", delay=0.05)
        check(address(vop.status()) == 3 * n * rows, "three Page Downs")
        quit_program(vop)


def glyph_table(vop, name, glyph_bytes):
    with open(vop.path(name), "rb") as f:
        data = f.read()
    return [data[i * glyph_bytes:(i + 1) * glyph_bytes] for i in range(len(data) // glyph_bytes)]


def expect_glyph(pixels, x0, y0, rows, label):
    """Compares an 8-pixel-wide glyph (rows of bytes, bit 7 leftmost) with the screen."""
    for y, bits in enumerate(rows):
        for x in range(8):
            ink = bool(bits & (0x80 >> x))
            got = pixels[y0 + y][x0 + x]
            want = (0, 0, 0) if ink else (255, 255, 255)
            check(got == want, "%s: pixel (%d, %d) is %s, expected %s" % (label, x, y, got, want))


def test_screen_pixels_match_the_glyphs_in_ascii_and_hex():
    vop = Vop("view_pixels")
    data = bytes([0x41, 0x4A, 0x00, 0xFF, 0x7E, 0x20, 0x09, 0x80]) * 4
    path = make_file(vop, "glyphs.bin", data)
    font = glyph_table(vop, "font.fnt", 16)
    digits = glyph_table(vop, "digits.fnt", 8)
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.key("End")  # move the caret off the cells we look at
        vop.key("Down")
        pixels = vop.grab_data()
        vop.screenshot("view_ascii")
        for c, ch in enumerate(b"00000000: "):
            expect_glyph(pixels, 1 + c * 8, 0, font[ch], "address cell %d" % c)
        for i, b in enumerate(data[:8]):
            expect_glyph(pixels, 1 + (10 + i) * 8, 0, font[b], "Ascii byte %02X" % b)
        # Past the end of the file Ascii draws spaces.
        expect_glyph(pixels, 1 + (10 + len(data)) * 8, 0, font[0x20], "cell past the end")

        vop.key("F4")  # Hex font type: two digits stacked in each cell
        cell = lambda p: [row[81:89] for row in p[:16]]
        wait_for("the hex digits", lambda: cell(vop.grab_data()) != cell(pixels), 5)
        pixels = vop.grab_data()
        vop.screenshot("view_hex")
        for i, b in enumerate(data[:8]):
            x = 1 + (10 + i) * 8
            expect_glyph(pixels, x, 0, digits[b >> 4][:7], "high digit of %02X" % b)
            expect_glyph(pixels, x, 7, digits[b & 15], "low digit of %02X" % b)
        quit_program(vop)


def test_close_returns_to_the_empty_state():
    vop = Vop("view_close")
    path = make_file(vop, "c.bin", pattern(50))
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.command(CLOSE)
        wait_for("the empty title", lambda: vop.title() == "Vop", 10)
        info = vop.info()
        check(info["parts"] == "1" and info["status0"] == "", "status bar after Close: %s" % info)
        quit_program(vop)


def test_search_menu_is_enabled_by_open_and_grayed_by_close():
    vop = Vop("view_menu")
    path = make_file(vop, "m.bin", pattern(500))
    with vop.start():
        vop.wait_ready()
        vop.focus()
        vop.key("alt+s", "a")  # Goto Address is grayed: nothing opens
        vop.key("Escape", "Escape")
        check(vop.no_box(), "a grayed Goto Address opened its dialog")
        vop.drop(to_windows_path(path))
        wait_for("the dropped file", lambda: vop.title() == to_windows_path(path), 10)
        vop.focus()
        vop.key("alt+s", "a")
        check(vop.box().get("title") == "Goto Address", "Goto Address after opening a file")
        vop.key("Escape")
        wait_for("the dialog to close", vop.no_box, 10)
        vop.command(CLOSE)
        wait_for("the empty title", lambda: vop.title() == "Vop", 10)
        vop.focus()
        vop.key("alt+s", "a")
        vop.key("Escape", "Escape")
        check(vop.no_box(), "Goto Address still enabled after Close")
        quit_program(vop)


def test_system_colour_change_keeps_the_status_bar():
    vop = Vop("view_syscolor")
    path = make_file(vop, "s.bin", pattern(255))
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.key("Right", "Right")
        WM_SYSCOLORCHANGE = 0x15
        vop.probe("post", WM_SYSCOLORCHANGE)
        wait_for("the new status bar", lambda: vop.status() == ("00000002h", "filesize = 000000FFh (255)"), 10)
        quit_program(vop)


def test_empty_and_too_large_files_are_refused():
    vop = Vop("view_refused")
    empty = make_file(vop, "empty.bin", b"")
    large = vop.path("large.bin")
    with open(large, "wb") as f:
        f.truncate(2147483649)
    with vop.start(to_windows_path(empty)):
        vop.answer(IDOK, title="Error", text="Size of opened file equals 0. File closed!")
        wait_for("the main window", lambda: vop.info().get("title") == "Vop", 10)
        vop.drop(to_windows_path(large))
        vop.answer(IDOK, title="Error",
                   text="This version cannot edit files greater than 2 gigabytes. File closed.")
        check(vop.title() == "Vop", "a refused file leaves no document")
        quit_program(vop)
    os.remove(large)


def test_a_file_of_exactly_two_gigabytes_opens():
    vop = Vop("view_2gib")
    big = vop.path("2gib.bin")
    with open(big, "wb") as f:
        f.truncate(2147483648)
    with vop.start(to_windows_path(big)):
        info = vop.wait_open()
        check(info["status1"] == "filesize = 80000000h (2147483648)", "size %r" % info["status1"])
        vop.focus()
        vop.send_keys(145, 39, 145)  # Scroll Lock on, Right, Scroll Lock off
        check(vop.status()[0] == "7FFFFFFFh", "last byte: %s" % (vop.status(),))
        quit_program(vop)
    os.remove(big)


def test_readme_screenshot_of_the_sample_file():
    vop = Vop("view_readme")
    sample = os.path.join(SOURCE, "resources", "sample.bin")
    with vop.start(to_windows_path(sample)):
        vop.wait_open()
        vop.focus()
        vop.key("Down", "Right", "Right")
        left, top, right, bottom = vop.rect("window")
        shot = vop.screenshot("readme_full")
        target = os.path.join(os.path.dirname(shot), "readme.png")
        import subprocess
        subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                       "+repage", target], check=True, timeout=30)
        if os.environ.get("VOP_UPDATE_SCREENSHOT"):
            shutil.copy(target, os.path.join(SOURCE, "docs", "screenshot.png"))
        quit_program(vop)


if __name__ == "__main__":
    run(globals())
