# The edit fields of the real program as other programs read and set them.
# (Typing in both font types, Modify and Goto and the bytes a save writes are
# the always-save soak's model, in test_soak.py.)
from harness import COLORS


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
