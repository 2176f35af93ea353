# Editing and saving in the real program: typing in both font types, the Modify
# and Goto Address dialogs, and their fields as other programs read them. (The
# questions asked before changes are lost are answered in the native models.)
from harness import COLORS, SAVE, wait_equal


def test_typing_and_the_dialogs_change_bytes_that_a_save_writes(vop):
    original = bytes(range(64))
    vop.open("typing.bin", original)
    for keys, address, box in [  # box: the dialog the keys open
        (["H", "i", "Tab", "BackSpace", "Escape", "ctrl+a", "ctrl+0"], 4, None),  # Ascii: Tab writes 09, Ctrl+0 a 00
        (["F4", "4", "a"], 5, None),  # Hex font type: two digits a byte
        (["Return"], 5, "Modify"),
        (["7", "e", "Return"], 5, None),
        (["alt+s", "a"], 5, "Goto Address"),  # Search > Goto Address: the item is enabled with a document
        (["3", "a", "Return"], 0x3A, None),
    ]:
        vop.key(*keys)
        vop.wait_box(box)
        vop.wait_caret(address)
    assert vop.read("typing.bin") == original, "typing reached the file before a save"
    vop.probe("command", SAVE)
    wait_equal(lambda: vop.read("typing.bin"), b"Hi\t\0\x4a\x7e" + original[6:])
    vop.quit()  # saved: no question on the way out


# Another program reads and sets the fields' texts with the standard messages, as a screen reader does: the
# answers are what the fields show, cut to the reader's buffer, and the pattern rows stay partners.
def test_other_programs_read_and_set_the_fields_texts(vop):
    vop.open("fields.bin", b"\x4a" * 64)
    for keys, typed, texts in [
        (["F7"], "AB", {"text0": "AB", "text1": "4142", "length1": "4", "start1": "41"}),
        (["F5"], "3a", {"text0": "3A", "length0": "2"}),
        (["Return"], "", {"text0": "4A", "start0": "4A"}),
    ]:
        vop.key(*keys)
        vop.rect("field0")  # a dialog with its fields
        vop.key(*typed)  # into the field that has the focus
        vop.wait_until(**texts)
        if keys == ["F7"]:
            vop.probe("settext", 1, "43 44 45")
            vop.wait_until(text0="CDE", text1="434445")  # in both rows
        vop.key("Escape")
    vop.probe("command", COLORS)
    vop.wait_until(text0="000000", text1="FFFFFF")
