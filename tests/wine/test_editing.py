# Editing and saving in the real program: typing in both font types, and the
# Modify and Goto Address dialogs. (The questions asked before changes are lost
# are answered in the native models.)
from harness import SAVE, wait_equal


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
