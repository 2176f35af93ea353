# Opening files in the real program: the ways in, names that are not ASCII,
# paths past the old 260-character limit, and the sizes it refuses.
from pathlib import Path

import pytest

from harness import OPEN, SAVE, wait_equal, winpath


@pytest.mark.parametrize("way", ["command_line_in_quotes", "relative_command_line", "open_dialog", "drop_of_three"])
def test_a_file_with_a_name_that_is_not_ascii_opens(vop, way):
    first, *others = (vop.write("数据 🙂/" + name, size=512) for name in ["Ωμέγα-数据-🙂.bin", "a", "c"])
    if way == "command_line_in_quotes":  # a path with blanks reaches the program in double quotes
        vop.start(winpath(first))
    elif way == "relative_command_line":
        vop.start(first.name, cwd=first.parent)
    elif way == "open_dialog":  # the dialog starts in the working folder, its file name box in front
        vop.start(cwd=first.parent).wait_empty(" Vop")
        vop.probe("clip", first.name)
        vop.probe("command", OPEN)
        vop.wait_box("Open")
        vop.key("ctrl+v", "Return")
    else:  # the first one opens
        vop.start().wait_empty(" Vop")
        vop.probe("drop", winpath(first), *map(winpath, others))
    assert vop.wait_open(first)["status1"] == "filesize = 00000200h (512)"


def name_of_length(vop, length):  # a name beside the program whose Windows path has `length` characters
    folders, last = divmod(length - len(winpath(vop.folder)) - 2, 201)  # in names Linux takes: 255 bytes at most
    return "/".join(["d" * 200] * folders + ["f" * (last + 1)])


def test_a_300_character_path_opens_and_saves_and_one_over_515_is_refused(vop):
    path, too_long = vop.write(name_of_length(vop, 300), bytes(100)), vop.write(name_of_length(vop, 516), bytes(9))
    vop.start(winpath(path)).wait_open(path)
    vop.key("W")
    vop.wait_caret(1)
    vop.probe("command", SAVE)
    wait_equal(lambda: Path(path).read_bytes(), b"W" + bytes(99))
    vop.probe("drop", winpath(too_long))
    vop.answer("ok", "Error", "Error opening file: " + winpath(too_long))
    assert vop.wait_open(path)["status1"] == "filesize = 00000064h (100)", "the held document stays"


@pytest.mark.parametrize("size, refusal", [
    (2 ** 31, None), (2 ** 31 + 1, "This version cannot edit files greater than 2 gigabytes. File closed."),
], ids=["2_gib", "over_2_gib"])
def test_file_sizes_at_the_limits(vop, size, refusal):
    path = vop.write("limit.bin", size=size)
    vop.start(winpath(path))
    if refusal:
        vop.answer("ok", "Error", refusal)
        vop.wait_empty()
    else:
        assert vop.wait_open(path)["status1"] == "filesize = 80000000h (2147483648)"
        # Scroll Lock, Right, Scroll Lock (sent by the probe, which keeps Lock toggles): Right jumps to the end
        vop.probe("sendkeys", 145, 39, 145)
        vop.wait_caret(size - 1)
