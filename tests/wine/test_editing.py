# Editing and saving in the real program: typing in both font types, the Modify
# and Goto Address dialogs, and the questions asked before changes are lost.
import pytest

from harness import CLOSE, EXIT, SAVE, wait_for, winpath

SAVE_FILE_QUESTION = "File has been modified. Save changes?"


def test_typing_characters_and_hex_digits_then_save(vop):
    original = bytes(range(64))
    vop.start(winpath(vop.write("typing.bin", original))).wait_open().focus()
    for keys, address in [  # Ascii font type: Tab writes 09, Ctrl+0 a zero, the other keys nothing
        (["H", "i", "Tab", "BackSpace", "Escape", "ctrl+a", "ctrl+0"], 4),
        (["F4", "4"], 4),  # Hex font type: the caret waits for the second digit
        (["a"], 5),
        (["F", "0", "x"], 6),  # x is no digit
        (["Left", "7", "Right"], 6),  # a byte typed over again starts with its high nibble
    ]:
        vop.key(*keys)
        vop.wait_caret(address)
    assert vop.read("typing.bin") == original, "typing reached the file before a save"
    vop.command(SAVE)
    wait_for("the saved bytes", lambda: vop.read("typing.bin") == b"Hi\t\0\x4a\x70" + original[6:])
    vop.quit()  # saved: no question on the way out


def test_modify_dialog_changes_a_byte_of_the_next_page(vop):
    original = bytes(range(256)) * 272  # 64 KiB and 4 KiB more
    vop.start(winpath(vop.write("modify.bin", original))).wait_open().focus()
    left, top, right, bottom = vop.rect()
    n, rows = vop.row_length(), (bottom - top) // 16
    screens = (65536 - n) // (n * rows)  # Page Downs until the screen runs on into the next page, then down into it
    vop.key(*["Next"] * screens, *["Down"] * ((65536 - n) // n - screens * rows))
    vop.wait_caret(65536)
    vop.key("Return")
    assert vop.box()["boxtitle"] == "Modify"
    vop.key("7", "e", "Return")
    vop.no_box()
    vop.command(SAVE)
    wait_for("the saved byte", lambda: vop.read("modify.bin") == original[:65536] + b"\x7e" + original[65537:])
    vop.quit()


def test_goto_across_pages_asks_and_answers_both_ways(vop):
    size = 5 * 65536
    vop.start(winpath(vop.write("goto.bin", size=size))).wait_open().focus()
    for change, address, answer in [("Z", "30000", "no"), ("Y", "0", "yes"), ("", "50000", "ok")]:
        vop.key(*change, "F5")
        assert vop.box()["boxtitle"] == "Goto Address"
        vop.key(*address, "Return")
        if answer == "ok":  # past the end
            vop.answer("ok", "Forget it", "Specified address is greater than filesize!")
        else:  # No drops the change, Yes saves it
            vop.answer(answer, "Warning", "Part of the file was modified. Save changes?")
            vop.wait_caret(int(address, 16))
    assert vop.read("goto.bin") == bytes(0x30000) + b"Y" + bytes(size - 0x30001)
    vop.key("Escape")
    vop.no_box()
    vop.quit()


@pytest.mark.parametrize("way, button, title", [  # title None: the program has ended, no window shows one
    ("exit", "cancel", "held.bin"), ("exit", "no", None), ("exit", "yes", None),
    ("close", "cancel", "held.bin"), ("close", "no", "Vop"), ("close", "yes", "Vop"),
    ("drop", "cancel", "held.bin"), ("drop", "no", "other.bin"), ("drop", "yes", "other.bin"),
])
def test_unsaved_changes_are_asked_about(vop, way, button, title):
    vop.start(winpath(vop.write("held.bin", bytes(100)))).wait_open().focus()
    vop.key("Q")
    vop.wait_caret(1)
    vop.drop(vop.write("other.bin", bytes(50))) if way == "drop" else vop.command(EXIT if way == "exit" else CLOSE)
    vop.answer(button, "Save file", SAVE_FILE_QUESTION)
    wait_for(lambda: "the title %s, not %s" % (title, vop.info().get("title")),
             lambda: vop.info().get("title") in (title, title and winpath(vop.path(title))))
    assert vop.read("held.bin")[:1] == (b"Q" if button == "yes" else b"\0")


def test_a_file_locked_by_another_program_opens_read_only_and_save_reports_it(vop):
    path = vop.write("locked.bin", bytes(100))
    holder = vop.hold(path, 30)  # it lets go by itself, should the test fail
    vop.start(winpath(path))
    vop.answer("ok", "Read Only File",
               "File %s has been opened as read only. Any attempt of modifying it will fail!" % winpath(path))
    vop.wait_open().focus()
    vop.key("W")  # edits still work on screen
    vop.wait_caret(1)
    vop.command(SAVE)
    vop.answer("ok", "Error", "Error opening file for writing!")
    vop.command(CLOSE)  # still modified: the question comes again
    vop.answer("no", "Save file", SAVE_FILE_QUESTION)
    vop.wait_empty()
    vop.quit()
    holder.kill()
    assert vop.read("locked.bin") == bytes(100)
