"""Editing and saving in the real program: typing in both font types, the
Modify and Goto Address dialogs, and the questions before changes are lost."""
import os

from harness import IDCANCEL, IDNO, IDOK, IDYES, Vop, check, run, to_windows_path, wait_for

EXIT, SAVE, CLOSE = 40005, 57603, 57602
SAVE_FILE_QUESTION = "File has been modified. Save changes?"
SAVE_PAGE_QUESTION = "Part of the file was modified. Save changes?"


def make_file(vop, name, data):
    with open(vop.path(name), "wb") as f:
        f.write(data)
    return vop.path(name)


def on_disk(path):
    with open(path, "rb") as f:
        return f.read()


def address(vop):
    return int(vop.status()[0].rstrip("h"), 16)


def test_typing_characters_and_hex_digits_then_save():
    vop = Vop("edit_typing")
    original = bytes(range(64))
    path = make_file(vop, "typing.bin", original)
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.type("Hi")                  # Ascii font type: characters overwrite
        vop.key("Tab", "BackSpace", "Escape")  # Tab writes 09; Backspace and Escape write nothing
        vop.key("ctrl+a")               # characters typed with Ctrl are ignored
        vop.key("ctrl+0")               # Ctrl+0 writes a zero byte
        check(address(vop) == 4, "caret after four bytes: %s" % (vop.status(),))
        check(on_disk(path) == original, "typing must not reach the file before a save")
        vop.key("F4")                   # Hex font type: digits, high nibble first
        vop.type("4")
        check(address(vop) == 4, "the caret waits for the second digit")
        vop.type("a")
        check(address(vop) == 5, "the second digit moves the caret on")
        vop.type("F0x")                 # x is not a digit
        vop.key("Left")
        vop.type("7")                   # a new byte: starts with its high nibble
        vop.command(SAVE)
        expected = bytearray(original)
        expected[0:6] = b"Hi\x09\x00\x4a\xf0"
        expected[5] = 0x70
        wait_for("the saved bytes", lambda: on_disk(path) == bytes(expected), 10)
        check(len(on_disk(path)) == 64, "the file's length never changes")
        vop.command(EXIT)
        vop.wait_exit(15)  # saved: no question on the way out


def test_modify_dialog_changes_a_byte_of_the_next_page():
    vop = Vop("edit_modify")
    size = 65536 + 4096
    original = bytes((i * 13) & 0xFF for i in range(size))
    path = make_file(vop, "modify.bin", original)
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        left, top, right, bottom = vop.rect("data")
        n = next(k for k in (256, 128, 64, 32, 16) if k * 8 <= right - left - 82) if right - left >= 338 else 16
        rows = (bottom - top) // 16
        vop.focus()
        # Page down until the screen runs on into the next page, then walk the caret down into it.
        screens = (65536 - 1) // (n * rows)
        for _ in range(screens):
            vop.key("Next", delay=0.05)
        top_offset = screens * n * rows
        for _ in range((65536 - top_offset) // n):
            vop.key("Down", delay=0.05)
        check(address(vop) == 65536, "caret on the next page's first byte: %s" % (vop.status(),))
        vop.key("Return")
        box = vop.box()
        check(box.get("title") == "Modify", "dialog %r" % box.get("title"))
        vop.key("7", "e")
        vop.key("Return")
        wait_for("the dialog to close", vop.no_box, 10)
        vop.command(SAVE)
        expected = bytearray(original)
        expected[65536] = 0x7E
        wait_for("the saved byte", lambda: on_disk(path) == bytes(expected), 10)
        vop.command(EXIT)
        vop.wait_exit(15)


def test_goto_across_pages_asks_and_answers_both_ways():
    vop = Vop("edit_goto")
    size = 5 * 65536
    original = bytes(size)
    path = make_file(vop, "goto.bin", original)
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.type("Z")
        vop.key("F5")
        check(vop.box().get("title") == "Goto Address", "Goto dialog")
        vop.key("3", "0", "0", "0", "0", "Return")
        vop.answer(IDNO, title="Warning", text=SAVE_PAGE_QUESTION)  # No drops the change
        wait_for("the jump", lambda: address(vop) == 0x30000, 10)
        vop.type("Y")
        vop.key("F5")
        vop.box()
        vop.key("0", "Return")
        vop.answer(IDYES, title="Warning", text=SAVE_PAGE_QUESTION)  # Yes writes the pages first
        wait_for("the jump back", lambda: address(vop) == 0, 10)
        data = on_disk(path)
        check(data[0] == 0, "the dropped change reached the file")
        check(data[0x30000] == ord("Y"), "the saved change is missing")
        check(len(data) == size, "length changed")
        # An address past the end is refused.
        vop.key("F5")
        vop.box()
        vop.key("5", "0", "0", "0", "0", "Return")
        vop.answer(IDOK, title="Forget it", text="Specified address is greater than filesize!")
        vop.key("Escape")
        wait_for("the Goto dialog to close", vop.no_box, 10)
        vop.command(EXIT)
        vop.wait_exit(15)


def test_exit_with_unsaved_changes_cancel_keeps_running():
    vop = Vop("edit_exit")
    path = make_file(vop, "exit.bin", bytes(100))
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.type("Q")
        vop.command(EXIT)
        vop.answer(IDCANCEL, title="Save file", text=SAVE_FILE_QUESTION)
        check(vop.running() and vop.title() == to_windows_path(path), "Cancel must keep the program and file")
        vop.command(CLOSE)
        vop.answer(IDCANCEL, title="Save file", text=SAVE_FILE_QUESTION)
        check(vop.title() == to_windows_path(path), "Cancel on Close keeps the document")
        vop.command(EXIT)
        vop.answer(IDNO, title="Save file", text=SAVE_FILE_QUESTION)
        vop.wait_exit(15)
    check(on_disk(path) == bytes(100), "No must drop the change")


def test_dropping_a_file_over_unsaved_changes_asks_first():
    vop = Vop("edit_drop")
    path = make_file(vop, "held.bin", bytes(100))
    other = make_file(vop, "other.bin", bytes(50))
    with vop.start(to_windows_path(path)):
        vop.wait_open()
        vop.focus()
        vop.type("Q")
        vop.drop(to_windows_path(other))
        vop.answer(IDCANCEL, title="Save file", text=SAVE_FILE_QUESTION)
        check(vop.title() == to_windows_path(path), "Cancel keeps the held document")
        vop.drop(to_windows_path(other))
        vop.answer(IDYES, title="Save file", text=SAVE_FILE_QUESTION)
        wait_for("the dropped file", lambda: vop.title() == to_windows_path(other), 10)
        check(on_disk(path)[0] == ord("Q"), "Yes saves before the drop opens the new file")
        vop.command(EXIT)
        vop.wait_exit(15)


def test_a_file_locked_by_another_program_opens_read_only_and_save_reports_it():
    vop = Vop("edit_locked")
    path = make_file(vop, "locked.bin", bytes(100))
    winpath = to_windows_path(path)
    holder = vop.hold(winpath, 60)
    try:
        with vop.start(winpath):
            vop.answer(IDOK, title="Read Only File",
                       text="File %s has been opened as read only. Any attempt of modifying it will fail!" % winpath)
            vop.wait_open()
            vop.focus()
            vop.type("W")  # edits still work on screen
            vop.command(SAVE)
            vop.answer(IDOK, title="Error", text="Error opening file for writing!")
            vop.command(CLOSE)  # still modified: the question comes again
            vop.answer(IDNO, title="Save file", text=SAVE_FILE_QUESTION)
            wait_for("the empty title", lambda: vop.title() == "Vop", 10)
            vop.command(EXIT)
            vop.wait_exit(15)
    finally:
        holder.kill()
    check(on_disk(path) == bytes(100), "the locked file changed")


if __name__ == "__main__":
    run(globals())
