# Opening files in the real program: the ways in, names that are not ASCII,
# paths past the old 260-character limit, and the sizes it refuses.
import os
from pathlib import Path

import pytest

from harness import OPEN, SAVE, wait_for, winpath

# Keys sent by the probe keep Scroll Lock's toggle; 1148 is the Open dialog's file name box.
VK_SCROLL, VK_RIGHT, FILE_NAME_FIELD = 145, 39, 1148


@pytest.mark.parametrize("way", ["command_line_in_quotes", "relative_command_line", "open_dialog", "drop_of_three"])
def test_a_file_with_a_name_that_is_not_ascii_opens(vop, way):
    first, *others = (vop.write("数据 🙂/" + name, size=512) for name in ["Ωμέγα-数据-🙂.bin", "a", "c"])
    folder, name = os.path.split(first)
    if way == "command_line_in_quotes":  # a path with blanks reaches the program in double quotes
        vop.start(winpath(first))
    elif way == "relative_command_line":
        vop.start(name, cwd=folder)
    elif way == "open_dialog":  # the dialog starts in the working folder
        vop.start(cwd=folder).wait_empty(" Vop")
        vop.probe("command", OPEN)
        vop.answer("ok", "Open", "", FILE_NAME_FIELD, name)
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
    wait_for("the saved byte", lambda: Path(path).read_bytes() == b"W" + bytes(99))
    vop.probe("drop", winpath(too_long))
    vop.answer("ok", "Error", "Error opening file: " + winpath(too_long))
    assert vop.wait_open(path)["status1"] == "filesize = 00000064h (100)", "the held document stays"


@pytest.mark.parametrize("size, refusal", [
    (2 ** 31, None), (2 ** 31 + 1, "This version cannot edit files greater than 2 gigabytes. File closed."),
], ids=["2_gib", "over_2_gib"])
def test_file_sizes_at_the_limits(vop, size, refusal):
    vop.start(winpath(vop.write("limit.bin", size=size)))
    if refusal:
        vop.answer("ok", "Error", refusal)
        vop.wait_empty()
    else:
        assert vop.wait_open()["status1"] == "filesize = 80000000h (2147483648)"
        vop.probe("sendkeys", VK_SCROLL, VK_RIGHT, VK_SCROLL)  # Scroll Lock makes Right a jump to the end
        vop.wait_caret(size - 1)
    vop.quit()
    os.remove(vop.path("limit.bin"))
