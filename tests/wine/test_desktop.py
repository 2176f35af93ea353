# What Wine would let pass but a real desktop shows: the fields made at run time lie inside their dialogs,
# clear of the other controls, whatever the dialog font; a touchpad's small wheel steps add up to a row;
# and a paste takes the characters the user copied, not the system's 8-bit guess at them.
DIALOGS = {"Return": "Modify", "F5": "Goto Address", "F7": "Find Dialog", "ctrl+F7": "Replace Dialog",
           "alt+o c": "Set Colors"}  # the keys that open each


def test_dialog_fields_wheel_steps_and_paste(vop):
    vop.open("a.bin", bytes(65536))
    for keys, title in DIALOGS.items():
        vop.key(*keys.split())
        info = vop.wait_box(title)
        assert info["clashes"] == "0"
        vop.key("Escape")
        vop.wait_box(None)
    n = vop.row_length()
    vop.key("Up")
    for _ in range(4):
        vop.probe("wheel", -30)
    vop.wait_caret(n)  # one row scrolled, and the caret with it off the top
    vop.probe("clip", "é", 0x0419)  # copied under a Russian locale, whose 8-bit text has no é
    vop.key("F7")
    vop.wait_box("Find Dialog")
    vop.key("ctrl+v")
    vop.wait_until(text1="E9")
