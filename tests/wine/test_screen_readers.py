# Screen readers at the real program: what another process reads of the data window through Active Accessibility
# and hears of its changes, the fields' own texts and labels, every dialog by keyboard alone, and the object asked
# again once Vop has ended. (What the object says of every byte and view is checked natively.)
import subprocess

from harness import EXIT, PROBE

# The keys that open each dialog, its title, then keys in it and the control that has the focus after them: a
# label's mnemonic moves it to its field (a button's clicks it too), Tab goes round in the dialog's order.
DIALOGS = [
    ("F7", "Find Dialog", [("alt+h", "field1"), ("Tab", "item1"), ("Tab", "item2"), ("Tab", "field0")]),
    ("ctrl+F7", "Replace Dialog", [("alt+e", "field3"), ("alt+s", "field2"), ("shift+Tab", "field1"),
                                   ("alt+l", "item1012"), ("Tab", "item1")]),
    ("alt+o c", "Set Colors", [("alt+b", "field1"), ("alt+f", "field0"), ("Tab", "field1"), ("Tab", "item1")]),
    ("alt+o f", "Font", [("alt+b", "item1012"), ("alt+h", "item1019"), ("alt+q", "item1017"), ("Tab", "item1012")]),
    ("F5", "Goto Address", [("Tab", "item1"), ("alt+a", "field0")]),
    ("Return", "Modify", [("Tab", "item1"), ("alt+v", "field0")]),
]


def lines(text):
    return dict(line.split("=", 1) for line in text.splitlines() if "=" in line)


def test_a_screen_reader_reads_hears_and_reaches_everything(vop):
    shown = vop.open("a.bin", b"A\tB\xe9" + bytes(60))
    acc = lines(vop.probe("acc"))
    assert [acc["name"], acc["value"], acc["role"], acc["location"]] == [
        "Address 00000000, byte 41, A", "41", "42", shown["data"]]  # role: text
    assert int(acc["state"]) & 0x100004 == 0x100004, "focusable and focused"

    # A move and a typed byte: one name change and one value change each, counted until the data window gets the
    # focus back from a dialog.
    hearing = subprocess.Popen(["wine", PROBE, "events"], env=vop.env, stdout=subprocess.PIPE, text=True)
    assert hearing.stdout.readline().strip() == "hooked"
    vop.key("Right")
    vop.wait_caret(1)
    vop.key("Z")
    vop.wait_caret(2)
    vop.key("F5")
    vop.wait_box("Goto Address")
    vop.key("Escape")
    heard = lines(hearing.communicate(timeout=90)[0])
    assert [heard["names"], heard["values"], heard["name"]] == ["2", "2", "Address 00000002, byte 42, B"]

    # The pattern rows' own texts, as another process reads them without asking the field, and their labels; a
    # 00 byte in the character row does not end its text.
    vop.key("F7")
    vop.wait_box("Find Dialog")
    vop.key("A", "B", "alt+h", "End", "0", "0")
    fields = vop.wait_until(own0="AB\u00b7", own1="414200")
    assert [fields["label0"], fields["label1"], fields["focus"]] == ["&Ascii:", "&Hex:", "field1"]
    vop.key("Escape")
    vop.wait_box(None)

    for keys, title, steps in DIALOGS:
        vop.key(*keys.split())
        vop.wait_box(title)
        for key, focus in steps:
            vop.key(key)
            vop.wait_until(focus=focus)
        vop.key("Escape")
        vop.wait_box(None)

    # A reader that keeps the object while Vop ends gets an error when it asks again, and neither side crashes.
    keeping = subprocess.Popen(["wine", PROBE, "acc", "end"], env=vop.env, stdout=subprocess.PIPE, text=True)
    assert keeping.stdout.readline().startswith("name=Address")
    vop.probe("command", EXIT)
    vop.answer("no", "Save file", "File has been modified. Save changes?")
    vop.wait_exit()
    assert vop.process.returncode == 0
    late = lines(keeping.communicate(timeout=60)[0])["late"]
    assert int(late, 16) & 0x80000000, "asked after the end, the object answered " + late
    assert keeping.returncode == 0
