# Other programs at the real program: a close sent while a long search runs, messages with pointers sent from
# another process, and AltGr, which Windows reports as Ctrl and Alt held together. (What the editor puts off while
# it searches, and AltGr's characters, are checked natively.)
import pytest

from harness import wait_for

WM_CLOSE, WM_USER, WM_APP = 0x10, 0x400, 0x8000
VK_CONTROL, VK_MENU = 17, 18


@pytest.mark.parametrize("changed", [False, True], ids=["unchanged", "changed"])
def test_a_close_sent_during_a_long_search_ends_vop_after_it(vop, changed):
    vop.open("huge.bin", size=2 ** 31)
    if changed:
        vop.key("Q")
        vop.wait_caret(1)
    vop.key("F7")
    vop.wait_box("Find Dialog")
    vop.key("A", "B", "C", "Return")
    vop.wait_info("the progress", lambda i: "%" in i.get("status0", ""))
    vop.probe("send", "main", WM_CLOSE, 0, 0)  # as a task manager or a script does
    # The search stops, then the usual question; a search that ended before the
    # close arrived shows its box first, and the close waits for it.
    answers, asked = {"Sequence not found!": "ok", "File has been modified. Save changes?": "no"}, []
    while info := vop.wait_info("Vop to end or to ask", lambda i: not i or i.get("boxtext") in answers):
        asked.append(info["boxtext"])
        vop.answer(answers[info["boxtext"]], info["boxtitle"], info["boxtext"])
    assert ("File has been modified. Save changes?" in asked) == changed
    vop.wait_exit(timeout=30)
    assert vop.process.returncode == 0
    assert vop.read("huge.bin")[:1] == b"\0"


def test_messages_with_pointers_from_another_program_change_nothing(vop):
    vop.open("a.bin", b"Pointers" * 10)
    vop.key("F7")
    vop.wait_box("Find Dialog")
    vop.click(3, 3, key="field0")
    vop.key("A", "B")
    before = vop.wait_until(text0="AB", text1="4142")
    # The address of Vop's own image: a handler that took it for a pointer would read "MZ" there.
    for target, message in [("field0", WM_APP + 1), ("field1", WM_APP + 1), ("field0", WM_APP + 2),
                            ("field1", WM_APP + 2), ("main", WM_USER)]:
        vop.probe("send", target, message, 2, "image")
    after = vop.info()
    assert [after.get(k) for k in ("box", "text0", "text1", "title")] == [before[k] for k in ("box", "text0", "text1",
                                                                                               "title")]
    vop.key("Escape")
    vop.wait_box(None)


# Held with Ctrl and Alt (AltGr), 0 writes no 00 byte and L does not search again (with no pattern it would open Find).
def test_altgr_is_not_ctrl(vop):
    vop.open("a.bin", b"AltGr" * 10)
    vop.probe("chord", VK_CONTROL, VK_MENU, ord("0"))
    vop.probe("chord", VK_CONTROL, VK_MENU, ord("L"))
    vop.key("Right")  # comes after the chords: once the caret moved, they were handled
    vop.wait_caret(1)
    assert "box" not in vop.info()
    vop.probe("command", 57603)  # File > Save: nothing was changed
    vop.quit()
    assert vop.read("a.bin") == b"AltGr" * 10
