"""Start-up, the main window, the settings file and the font files, seen from outside."""
import os

from harness import IDOK, Vop, check, run, wait_for

DEFAULT_SETTINGS = bytes([0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])

MENUS = ["&File", "&Search", "&Options", "&Help"]
ITEMS = {
    0: [(57601, "&Open", "enabled"), (57603, "&Save", "enabled"), (57602, "&Close", "enabled"),
        (0, "", "separator"), (40005, "E&xit", "enabled")],
    1: [(40002, "&Find", "grayed"), (40010, "&Replace", "grayed"), (0, "", "separator"),
        (40013, "Goto &Address", "grayed")],
    2: [(40004, "&Colors...", "enabled"), (40012, "&Fonts...", "enabled")],
    3: [(40011, "&Keys", "enabled"), (0, "", "separator"), (40003, "&About", "enabled")],
}


def expected_placement(metrics, status_height, font_cell):
    """The start-up size rule, from the screen and frame metrics the program saw."""
    W, H, F, V, T, M = metrics
    cw = {0: 8, 1: 16}.get(font_cell, 32)
    ins = 1 if font_cell == 0 else 2 * font_cell
    A = W - 2 * (5 * cw + F + ins) - V
    fits = [n for n in (256, 128, 64, 32, 16) if A >= n * cw]
    if not fits and font_cell != 0:
        return expected_placement(metrics, status_height, 0)
    D = fits[0] * cw if fits else A
    WW = D + V + 2 * (5 * cw + ins + F)
    H0 = min(int(WW * 0.7), H)
    DH = H0 - 2 * F - status_height - T - M
    WH = H0 - DH % (2 * cw)
    return (W - WW) // 2, (H - WH) // 2, WW, WH


def exit_program(vop):
    vop.command(40005)
    vop.wait_exit(15)


def test_menu_resource_holds_every_item_and_the_icon():
    vop = Vop("startup_menu")
    info = vop.menu_resource()
    check(info.get("menus") == "4", "menus: %s" % info.get("menus"))
    for i, name in enumerate(MENUS):
        check(info["menu%d" % i] == name, "menu %d is %r" % (i, info.get("menu%d" % i)))
        for j, (cid, text, state) in enumerate(ITEMS[i]):
            got = info.get("item%d.%d" % (i, j), "")
            want = "%d|%s|%s" % (cid, text, state)
            check(got == want, "item %d.%d is %r, expected %r" % (i, j, got, want))
        check("item%d.%d" % (i, len(ITEMS[i])) not in info, "menu %d has extra items" % i)
    check(info.get("icon") == "1", "the icon Vop_Icon is missing")


def test_starts_with_title_and_an_empty_status_bar():
    with Vop("startup_title").start() as vop:
        info = vop.wait_ready()
        check(info["title"] == " Vop", "title %r" % info["title"])
        check(info.get("parts") == "1" and info.get("status0") == "", "status bar: one empty part")
        vop.screenshot("startup")
        exit_program(vop)


def test_optimal_size_command_restores_the_start_up_size():
    with Vop("startup_optimal").start() as vop:
        info = vop.wait_ready()
        before = info["window"]
        vop.probe("place", 10, 10, 700, 500)
        wait_for("the window to shrink", lambda: vop.info()["window"] == "10,10,710,510", 10)
        vop.probe("syscommand", 100)
        wait_for("the optimal size again", lambda: vop.info()["window"] == before, 10)
        # A maximised window is restored first, then sized.
        vop.probe("maximize")
        wait_for("the window to maximise", lambda: vop.info()["zoomed"] == "1", 10)
        vop.probe("syscommand", 100)
        wait_for("the optimal size again", lambda: vop.info()["window"] == before, 10)
        check(vop.info()["zoomed"] == "0", "still maximised")
        exit_program(vop)


def test_window_is_sized_by_the_optimal_size_rule():
    with Vop("startup_size").start() as vop:
        info = vop.wait_ready()
        metrics = [int(v) for v in info["metrics"].split(",")]
        left, top, right, bottom = (int(v) for v in info["window"].split(","))
        sb = [int(v) for v in info["statusbar"].split(",")]
        want = expected_placement(metrics, sb[3] - sb[1], 0)
        check((left, top, right - left, bottom - top) == want,
              "window %s, expected %s" % ((left, top, right - left, bottom - top), want))
        # The data window fills the client area above the status bar, a whole number of 16-pixel rows.
        d = [int(v) for v in info["data"].split(",")]
        check((d[3] - d[1]) % 16 == 0, "data area height %d is not whole rows" % (d[3] - d[1]))
        exit_program(vop)


def test_exit_writes_default_settings_beside_the_program():
    with Vop("startup_exit").start() as vop:
        vop.wait_ready()
        exit_program(vop)
        check(vop.read("Vop.cfg") == DEFAULT_SETTINGS, "Vop.cfg holds %r" % vop.read("Vop.cfg"))


def test_close_box_keys_end_the_program_and_save_settings():
    with Vop("startup_altf4").start() as vop:
        vop.wait_ready()
        vop.focus()
        vop.key("alt+F4")
        vop.wait_exit(15)
        check(vop.read("Vop.cfg") == DEFAULT_SETTINGS, "Vop.cfg after Alt+F4")


def test_prepared_settings_are_read_and_written_back_unchanged():
    quad_red = bytes([0, 2, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])
    vop = Vop("startup_quad")
    vop.write("Vop.cfg", quad_red)
    with vop.start():
        info = vop.wait_ready()
        metrics = [int(v) for v in info["metrics"].split(",")]
        left, top, right, bottom = (int(v) for v in info["window"].split(","))
        sb = [int(v) for v in info["statusbar"].split(",")]
        # Quad cells: the window is sized for 32-pixel cells.
        want = expected_placement(metrics, sb[3] - sb[1], 2)
        check((left, top, right - left, bottom - top) == want, "Quad window size")
        exit_program(vop)
    check(vop.read("Vop.cfg") == quad_red, "Vop.cfg changed to %r" % vop.read("Vop.cfg"))


def test_read_only_settings_file_is_not_rewritten():
    pinned = bytes([1, 1, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0])
    vop = Vop("startup_readonly")
    path = vop.write("Vop.cfg", pinned)
    os.chmod(path, 0o444)
    with vop.start():
        vop.wait_ready()
        exit_program(vop)
    check(vop.read("Vop.cfg") == pinned, "read-only Vop.cfg was rewritten")


def test_missing_font_file_reports_and_ends():
    vop = Vop("startup_nofont")
    os.remove(vop.path("font1.fnt"))
    with vop.start():
        vop.answer(IDOK, title="Error!", text="Unable to load font file!")
        vop.wait_exit(15)
    check(vop.read("Vop.cfg") == DEFAULT_SETTINGS, "settings are still written when start-up ends early")


def test_short_digit_file_and_missing_font_give_two_boxes():
    vop = Vop("startup_twofonts")
    os.remove(vop.path("font.fnt"))
    vop.write("digits2.fnt", b"\0" * 2047)
    with vop.start():
        vop.answer(IDOK, title="Error!", text="Unable to load font file!")
        vop.answer(IDOK, title="Error!", text="Unable to load font file!")
        vop.wait_exit(15)


if __name__ == "__main__":
    run(globals())
