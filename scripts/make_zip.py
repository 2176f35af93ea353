#!/usr/bin/env python3
"""Makes the release zip of a Windows build (scripts/package.sh runs it).

Usage: make_zip.py BUILD_DIR DIST_DIR

Writes DIST_DIR/Vop-<version>-win64.zip, one folder Vop-<version>/ holding
RELEASE_FILES, and its SHA-256 beside it in sha256sum's format, and prints
both. <version> is what CMake wrote to BUILD_DIR/VERSION from project().

The same inputs always give the same bytes: the entries in a fixed order, all
dated SOURCE_DATE_EPOCH (UTC; scripts/package.sh sets it to the last commit's
time), with fixed permissions, no extra fields and one compression level.
The texts get Windows line ends, so every Notepad shows them as lines.
"""
import hashlib
import os
import re
import sys
import textwrap
import time
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FONTS = ["font.fnt", "font1.fnt", "font2.fnt", "digits.fnt", "digits1.fnt", "digits2.fnt"]
RELEASE_FILES = ["Vop.exe", *FONTS, "VopHelp.html", "README.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt"]
EARLIEST = 315532800  # 1980-01-01 00:00 UTC, the first time a zip entry can carry
WIDTH = 78
# README.md's few typographic characters, as plain ASCII for README.txt.
ASCII = {"→": "->", "…": "...", "–": "-", "—": "-", "×": "x"}


def entry_date(epoch):
    """The entries' date: UTC, and even seconds, the only ones a zip can hold."""
    epoch = max(epoch, EARLIEST)
    return time.gmtime(epoch - epoch % 2)[:6]


def windows_text(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def plain(markdown):
    text = re.sub(r"\*\*|`", "", markdown)
    for char, replacement in ASCII.items():
        text = text.replace(char, replacement)
    if not text.isascii():
        sys.exit("README.md's Keys section has characters README.txt cannot show: add them to ASCII")
    return text


def keys_text():
    """README.md's key table, and the paragraphs after it, as plain text."""
    markdown = (ROOT / "README.md").read_text(encoding="utf-8")
    section = markdown.split("\n## Keys\n", 1)[1].split("\n## ", 1)[0]
    rows, paragraphs = [], []
    for block in section.strip().split("\n\n"):
        lines = block.splitlines()
        if lines[0].startswith("|"):
            rows += [[plain(cell.strip()) for cell in line.strip("|").split("|")]
                     for line in lines if not set(line) <= set("|- ")]
        else:
            paragraphs.append(plain(" ".join(lines)))
    key_width = max(len(key) for key, _ in rows) + 2
    out = []
    for key, what in rows:
        wrapped = textwrap.wrap(what, WIDTH - key_width) or [""]
        out.append(key.ljust(key_width) + wrapped[0])
        out += [" " * key_width + line for line in wrapped[1:]]
    out.insert(1, "-" * (key_width - 2) + "  " + "-" * len(rows[0][1]))
    return "\n".join(out) + "".join("\n\n" + textwrap.fill(p, WIDTH) for p in paragraphs)


def contents(build, version):
    portable = build / "portable"
    readme = (ROOT / "resources" / "README.txt.in").read_text(encoding="utf-8")
    readme = readme.replace("@VERSION@", version).replace("@KEYS@", keys_text())
    texts = {
        "README.txt": readme,
        "LICENSE.txt": (ROOT / "LICENSE").read_text(encoding="utf-8"),
        "THIRD-PARTY-NOTICES.txt": (ROOT / "resources" / "THIRD-PARTY-NOTICES.txt").read_text(encoding="utf-8"),
    }
    return [(name, windows_text(texts[name]) if name in texts else (portable / name).read_bytes())
            for name in RELEASE_FILES]


def main(build, dist):
    build, dist = Path(build), Path(dist)
    version = (build / "VERSION").read_text().strip()
    date = entry_date(int(os.environ.get("SOURCE_DATE_EPOCH", EARLIEST)))
    dist.mkdir(parents=True, exist_ok=True)
    name = f"Vop-{version}-win64.zip"
    unfinished = dist / (name + ".tmp")
    with zipfile.ZipFile(unfinished, "w") as archive:
        for file, data in contents(build, version):
            entry = zipfile.ZipInfo(f"Vop-{version}/{file}", date)
            entry.create_system = 3  # Unix: the permissions below are read as such
            entry.external_attr = 0o644 << 16
            archive.writestr(entry, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    unfinished.replace(dist / name)
    digest = hashlib.sha256((dist / name).read_bytes()).hexdigest()
    (dist / (name + ".sha256")).write_text(f"{digest}  {name}\n")
    print(f"{dist / name}\nSHA-256 {digest}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
