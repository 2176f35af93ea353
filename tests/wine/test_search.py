# Find and Replace in the real program: the question asked about each
# occurrence while it blinks, the bytes a save then writes, a long search
# stopped with Esc, and the Ctrl shortcuts of the menu. (What the searches find
# is checked natively, and the soak searches with every key that does.)
from harness import BLACK, CLOSE, wait_equal, wait_for

QUESTION = "Replace this occurrance?"


def type_into(vop, row, keys):  # clicks a pattern row of the open dialog, then types there (characters or keys)
    vop.click(3, 3, key=row)
    vop.key(*keys)


# AB four times. One by one: Yes, No, Cancel (the third). All: the two from the caret on.
REPLACE_FILE = b"".join(bytes(0x10) + b"AB" + bytes(0x6E) for _ in range(4))
REPLACE_RUNS = [  # the key that opens it, the replacement, "Replace all", the questions: (caret, answer), last box
    ("ctrl+F7", "xy", False, [(0x10, "yes"), (0x90, "no"), (0x110, "cancel")], None),
    ("ctrl+h", "zz", True, [], ("Replace", "Replaced 2 occurances")),
    ("ctrl+h", "xyz", False, [], ("Error", "Source and target must have equal lenght!")),
]


def test_replace_one_by_one_and_all_and_the_bytes_a_save_writes(vop):
    vop.open("replace.bin", REPLACE_FILE)
    n = vop.row_length()
    vop.key("Up")  # back to byte 0
    for key, replacement, everything, questions, box in REPLACE_RUNS:
        vop.key(key)
        vop.wait_box("Replace Dialog")
        type_into(vop, "field0", "AB")
        type_into(vop, "field2", replacement)
        if everything:
            vop.click(3, 3, key="item1012")
        vop.key("Return")
        for caret, answer in questions:
            vop.wait_until(boxtext=QUESTION)
            vop.wait_caret(caret)
            x, y = 1 + (10 + caret % n) * 8, caret // n * 16  # its cells; they blink: paper under A and B turns to ink
            wait_for("AB inverted", lambda: all(v == BLACK for r in vop.pixels()[y + 12:y + 16] for v in r[x:x + 16]))
            vop.answer(answer, "Replace", QUESTION)
        if box:
            vop.answer("ok", *box)
        if box and box[0] == "Error":  # the dialog stays for a second try
            vop.wait_box("Replace Dialog")
            vop.key("Escape")
        vop.wait_box(None)
    vop.key("ctrl+s")
    expected = bytearray(REPLACE_FILE)
    expected[0x10:0x12], expected[0x110:0x112], expected[0x190:0x192] = b"xy", b"zz", b"zz"
    wait_equal(lambda: vop.read("replace.bin"), expected)


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
