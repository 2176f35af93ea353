# Find and Replace in the real program: the question asked about each
# occurrence while it blinks, the bytes a save then writes, a long search
# stopped with Esc, and the Ctrl shortcuts of the menu. (What the searches find
# is checked natively, and the soak searches with every key that does.)
from harness import BLACK, CLOSE, wait_equal, wait_for

QUESTION = "Replace this occurrance?"


def type_into(vop, row, keys):  # clicks a pattern row of the open dialog, then types there (characters or keys)
    vop.click(3, 3, key=row)
    vop.key(*keys)


# AB four times. One by one from byte 0: Yes, No, Cancel (the third). (Replace all, and a replacement of another
# length, the soak answers.)
REPLACE_FILE = b"".join(bytes(0x10) + b"AB" + bytes(0x6E) for _ in range(4))


def test_replace_one_by_one_and_the_bytes_a_save_writes(vop):
    vop.open("replace.bin", REPLACE_FILE)
    n = vop.row_length()
    vop.key("Up")  # back to byte 0
    vop.key("ctrl+h")
    vop.wait_box("Replace Dialog")
    type_into(vop, "field0", "AB")
    type_into(vop, "field2", "xy")
    vop.key("Return")
    for caret, answer in [(0x10, "yes"), (0x90, "no"), (0x110, "cancel")]:
        vop.wait_until(boxtext=QUESTION)
        vop.wait_caret(caret)
        x, y = 1 + (10 + caret % n) * 8, caret // n * 16  # its cells; they blink: paper under A and B turns to ink
        wait_for("AB inverted", lambda: all(v == BLACK for r in vop.pixels()[y + 12:y + 16] for v in r[x:x + 16]))
        vop.answer(answer, "Replace", QUESTION)
    vop.wait_box(None)
    vop.key("ctrl+s")
    wait_equal(lambda: vop.read("replace.bin"), REPLACE_FILE[:0x10] + b"xy" + REPLACE_FILE[0x12:])


def test_esc_stops_a_search_through_2_gib(vop):
    vop.open("huge.bin", size=2 ** 31)
    n = vop.row_length()
    vop.key("F7")
    vop.wait_box("Find Dialog")
    vop.key("A", "B", "C", "Return")
    vop.wait_info("the progress", lambda i: "%" in i.get("status0", ""))
    vop.probe("sendkeys", 27)  # Esc, through the system's input queue
    vop.wait_until(box=None, status0="%08Xh" % n)  # stopped, the caret where it was


# A shortcut does what its menu item does: nothing inside a dialog, nor while grayed without a document.
def test_shortcuts(vop):
    vop.open("a.bin", bytes(64))
    for keys, dialog in [(["ctrl+g", "ctrl+h"], "Goto Address"), (["ctrl+f", "ctrl+o"], "Open")]:
        vop.key(*keys)
        vop.wait_box(dialog)
        vop.key("Escape")  # had the second shortcut opened its own dialog, that one would be left
        vop.wait_box(None)
        vop.probe("command", CLOSE)
        vop.wait_empty()
