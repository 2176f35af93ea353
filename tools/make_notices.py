#!/usr/bin/env python3
"""Writes resources/THIRD-PARTY-NOTICES.txt, the notices of everything in the
release that Vop's developers did not write: the font behind the glyph files,
the font behind the About picture, and the pieces of the mingw-w64 and GCC
runtimes that are linked statically into Vop.exe.

The texts are taken word for word from the licence files in resources/ and from
the Debian copyright files of the toolchain's packages on this machine, so the
notices say what the packages that made Vop.exe say. scripts/check_release.py
runs this again and compares, and holds the link map against the runtime
libraries named here.

Usage: tools/make_notices.py [--check]   (--check compares instead of writing)
"""
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "resources" / "THIRD-PARTY-NOTICES.txt"
MINGW_COPYRIGHT = Path("/usr/share/doc/mingw-w64-x86-64-dev/copyright")
# The copyright file of the packages that hold libstdc++.a and libgcc.a.
GCC_COPYRIGHT = Path("/usr/share/doc/gcc-mingw-w64-base/copyright")
RULE = "=" * 78


def paragraphs(path):
    """The paragraphs of a machine-readable Debian copyright file, as field dicts."""
    result, current, field = [], {}, None
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip():
            if current:
                result.append(current)
            current = {}
        elif line[0] in " \t":
            current[field] += "\n" + line
        else:
            field, _, value = line.partition(":")
            current[field] = value.strip()
    if current:
        result.append(current)
    return result


def body(value):
    """A field's continuation lines as text: the leading space off, " ." blank."""
    lines = value.split("\n")[1:]
    return "\n".join("" if line.strip() == "." else line[1:] for line in lines)


def files_paragraph(paras, first_pattern):
    return next(p for p in paras if p.get("Files", "").split()[:1] == [first_pattern])


def licence_text(paras, name):
    """The text of licence `name`: the first paragraph that spells it out."""
    return next(body(p["License"]) for p in paras
                if p.get("License", "").split("\n")[0].strip() == name and "\n" in p["License"])


def copyright_lines(paragraph):
    return "\n".join("Copyright (c) " + line.strip() for line in paragraph["Copyright"].split("\n"))


def section(number, title, text):
    return f"{RULE}\n{number}. {title}\n{RULE}\n\n{text.strip()}\n"


def mingw_sections():
    paras = paragraphs(MINGW_COPYRIGHT)
    everything = files_paragraph(paras, "*")
    gdtoa = files_paragraph(paras, "mingw-w64-crt/gdtoa/*")
    gay = files_paragraph(paras, "mingw-w64-crt/gdtoa/qnan.c")
    pformat = files_paragraph(paras, "mingw-w64-crt/misc/basename.c")
    winpthreads = files_paragraph(paras, "mingw-w64-libraries/winpthreads/*")
    lockless = files_paragraph(paras, "mingw-w64-libraries/winpthreads/include/pthread.h")
    runtime = f"""\
Vop.exe contains the start-up code and pieces of the C library of the mingw-w64
project (crt2u.o, libmingw32, libmingwex and the import libraries of the
Windows DLLs it calls), linked statically. The terms below are those of
Debian's package mingw-w64-x86-64-dev, from its copyright file.

{copyright_lines(everything)}

{body(everything["License"])}

The number conversions of libmingwex (gdtoa):

{copyright_lines(gdtoa)}

{body(gdtoa["License"])}

{copyright_lines(gay)}

{body(gay["License"])}

The printf formatting of libmingwex (mingw_pformat):

{copyright_lines(pformat)}

{body(pformat["License"])}

Much of the start-up code, and the headers, are in the public domain:

{licence_text(paras, "public-domain")}
"""
    threads = f"""\
Vop.exe contains winpthreads, the POSIX threads library of the mingw-w64
project that GCC's C++ runtime uses for its threads, linked statically. The
terms below are those of Debian's package mingw-w64-x86-64-dev, from its
copyright file.

{copyright_lines(winpthreads)}

{licence_text(paras, winpthreads["License"])}

Its headers pthread.h and pthread_compat.h:

{copyright_lines(lockless)}

{body(lockless["License"])}
"""
    return runtime, threads


def gcc_section():
    text = GCC_COPYRIGHT.read_text(encoding="utf-8")
    start = text.index("GCC RUNTIME LIBRARY EXCEPTION")
    exception = text[start:text.index("\nlibquadmath/", start)].strip()
    return f"""\
Vop.exe contains pieces of GCC's runtime libraries, linked statically: the C++
standard library (libstdc++) and the compiler's support code (libgcc,
libgcc_eh, crtbegin.o and crtend.o), from Debian's packages
g++-mingw-w64-x86-64-posix and gcc-mingw-w64-x86-64-posix.

Copyright (C) Free Software Foundation, Inc.

They are licensed under the GNU General Public License, version 3 or later
(https://www.gnu.org/licenses/gpl-3.0.html), with version 3.1 of the GCC
Runtime Library Exception. The exception lets a program compiled with GCC
carry these pieces under the program's own terms: Vop.exe is distributed under
the MIT License, and the exception asks nothing more of it. Its text, from the
package's copyright file:

{exception}
"""


def notices():
    runtime, threads = mingw_sections()
    notices_in_order = [
        ("Terminus Font: the glyphs of the six font files (*.fnt)",
         (ROOT / "resources" / "fonts" / "LICENSE-Terminus.txt").read_text(encoding="utf-8")),
        ("DejaVu Sans Bold: the word in the About box's picture",
         (ROOT / "resources" / "LICENSE-DejaVu.txt").read_text(encoding="utf-8")),
        ("mingw-w64 runtime", runtime),
        ("winpthreads", threads),
        ("GCC runtime libraries: libstdc++ and libgcc", gcc_section()),
    ]
    contents = "\n".join(f"  {n}. {title}" for n, (title, _) in enumerate(notices_in_order, 1))
    head = f"""\
Third-party notices

Vop is Copyright (c) 2026 The Vop developers and distributed under the MIT
License (LICENSE.txt). The release also holds the work of others, under the
terms below:

{contents}
"""
    return "\n\n".join([head] + [section(n, t, x) for n, (t, x) in enumerate(notices_in_order, 1)])


def main():
    text = notices()
    if sys.argv[1:] == ["--check"]:
        if OUTPUT.read_text(encoding="utf-8") != text:
            sys.exit(f"{OUTPUT} is not what tools/make_notices.py makes: run it again")
        return
    OUTPUT.write_text(text, encoding="utf-8")
    print(f"wrote {OUTPUT}")


if __name__ == "__main__":
    main()
