#!/usr/bin/env python3
"""Checks the release zip that scripts/package.sh makes (scripts/test.sh runs
this after ctest; it runs on its own too).

- Vop.exe is a GUI program that needs only Windows' own DLLs, carries no
  build time and no path of the build machine, and its version resource and
  manifest say what they should, with the version of project() in CMakeLists.txt;
- the About box's title names that version too;
- the zip holds exactly the release's files, with fixed dates and modes, the
  program and fonts as built, and the checksum file matches it;
- every runtime library or object the link map shows in Vop.exe is named in
  THIRD-PARTY-NOTICES.txt, and that file is what tools/make_notices.py makes;
- a second build from a copy of the sources in another folder gives the same
  Vop.exe and the same zip, byte for byte.

The PE file is read with struct only, so nothing beyond Python is needed.
"""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
sys.path.insert(0, str(ROOT / "tools"))
import make_notices  # noqa: E402
import make_zip  # noqa: E402

# Windows' own DLLs, present on every installation: nothing else may be imported.
SYSTEM_DLLS = {"kernel32", "user32", "gdi32", "comctl32", "comdlg32", "shell32", "winmm", "msimg32", "oleacc",
               "ole32", "oleaut32", "msvcrt", "advapi32", "shlwapi", "uxtheme", "version", "winspool"}
# The runtime libraries a static mingw-w64 link may take from, and the notice that names each.
RUNTIME_LIBRARIES = {
    "crt2u.o": "mingw-w64 runtime", "libmingw32.a": "mingw-w64 runtime", "libmingwex.a": "mingw-w64 runtime",
    "libmoldname.a": "mingw-w64 runtime", "libuuid.a": "mingw-w64 runtime", "libpthread.a": "winpthreads", "libstdc++.a": "GCC runtime",
    "libgcc.a": "GCC runtime", "libgcc_eh.a": "GCC runtime", "crtbegin.o": "GCC runtime", "crtend.o": "GCC runtime",
}
SUPPORTED_OS = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
RT_VERSION, RT_MANIFEST = 16, 24
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


class Pe:
    """What the checks read of a PE32+ file: header fields, imports, resources."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        sections, self.timestamp, _, _, optional_size = struct.unpack_from("<HIIIH", data, pe + 6)
        optional = pe + 24
        assert struct.unpack_from("<H", data, optional)[0] == 0x20B, "not a 64-bit PE file"
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        self.directories = [struct.unpack_from("<II", data, optional + 112 + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        names, at = [], self.offset(self.directories[1][0])
        while True:
            name_rva = struct.unpack_from("<5I", self.data, at)[3]
            if not name_rva:
                return names
            names.append(self.cstring(name_rva))
            at += 20

    def resource(self, kind, ident):
        """The data of resource (kind, ident) in its first language, or None."""
        base = self.offset(self.directories[2][0])
        at = base
        for wanted in (kind, ident, None):
            named, numbered = struct.unpack_from("<HH", self.data, at + 12)
            entries = [struct.unpack_from("<II", self.data, at + 16 + 8 * i) for i in range(named + numbered)]
            found = [target for key, target in entries if wanted is None or key == wanted]
            if not found:
                return None
            at = base + (found[0] & 0x7FFFFFFF)
        rva, size = struct.unpack_from("<II", self.data, at)
        return self.data[self.offset(rva):self.offset(rva) + size]


def version_node(data, at=0):
    """One node of a version resource: (key, value bytes, children), and its end."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value = data[value_at:value_at + value_length * (2 if kind == 1 else 1)]
    children, child = [], (value_at + len(value) + 3) & ~3
    while child < at + length:
        node, child = version_node(data, child)
        children.append(node)
        child = (child + 3) & ~3
    return (key, value, children), at + length


def check_version_resource(exe, quad):
    (key, fixed, children), _ = version_node(exe.resource(RT_VERSION, 1))
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    numbers = [int(n) for n in quad.split(".")]
    packed = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
    check(key == "VS_VERSION_INFO" and signature == 0xFEEF04BD, "the version resource is malformed")
    check((file_ms, file_ls) == packed and (product_ms, product_ls) == packed,
          f"the version resource's numbers are not {quad}")
    strings = {}
    for block_key, _, tables in children:
        if block_key == "StringFileInfo":
            for _, _, values in tables:
                strings.update({k: v.decode("utf-16-le").rstrip("\0") for k, v, _ in values})
    want = {"FileVersion": quad, "ProductVersion": quad, "ProductName": "Vop",
            "FileDescription": "Vop hex editor", "InternalName": "Vop.exe", "OriginalFilename": "Vop.exe"}
    for name, value in want.items():
        check(strings.get(name) == value, f"version resource: {name} is {strings.get(name)!r}, not {value!r}")
    check("MIT License" in strings.get("LegalCopyright", ""), "version resource: LegalCopyright names no licence")


def check_manifest(exe, quad):
    root = ET.fromstring(exe.resource(RT_MANIFEST, 1))
    found = {element.tag.split("}")[1]: element for element in root.iter()}
    all_of = lambda tag: [e for e in root.iter() if e.tag.endswith("}" + tag)]  # noqa: E731
    identities = {e.get("name"): e.get("version") for e in all_of("assemblyIdentity")}
    check(identities.get("Vop") == quad, f"manifest: Vop's assembly version is {identities.get('Vop')}, not {quad}")
    check(identities.get("Microsoft.Windows.Common-Controls") == "6.0.0.0", "manifest: no common controls 6")
    level = found.get("requestedExecutionLevel")
    check(level is not None and level.get("level") == "asInvoker" and level.get("uiAccess") == "false",
          "manifest: the execution level is not asInvoker without uiAccess")
    check({e.get("Id") for e in all_of("supportedOS")} == SUPPORTED_OS,
          "manifest: the supported systems are not Windows 7, 8, 8.1 and 10/11")
    long_paths = found.get("longPathAware")
    check(long_paths is not None and long_paths.text == "true", "manifest: not longPathAware")


def check_program(build, quad):
    data = (build / "portable" / "Vop.exe").read_bytes()
    exe = Pe(data)
    check(exe.subsystem == 2, f"Vop.exe's subsystem is {exe.subsystem}, not 2 (Windows GUI)")
    check(exe.timestamp == 0, "Vop.exe's PE header carries a build time")
    foreign = [dll for dll in exe.imports() if re.sub(r"\.(dll|drv)$", "", dll.lower()) not in SYSTEM_DLLS]
    check(not foreign, f"Vop.exe imports DLLs that are not Windows' own: {foreign}")
    for path in {str(ROOT), str(build.resolve()), "/usr/lib/gcc", "/home/"}:
        for encoded in (path.encode(), path.encode("utf-16-le")):
            check(encoded not in data, f"Vop.exe holds the path {path}")
    check_version_resource(exe, quad)
    check_manifest(exe, quad)


def check_sources(version):
    caption = re.search(r'CAPTION "About Vop ver\. ([^"]*)"', (ROOT / "resources" / "dialogs.rc").read_text())
    check(caption and caption.group(1) == version,
          f"the About box's title names version {caption and caption.group(1)}, CMakeLists.txt {version}")
    # The notices are made from Debian's copyright files of the toolchain and the fonts: without one of them
    # they cannot be compared, and a release whose notices nobody compared does not pass.
    try:
        made = make_notices.notices()
    except FileNotFoundError as missing:
        return check(False, f"THIRD-PARTY-NOTICES.txt cannot be compared: {missing.filename} is missing")
    check(made == make_notices.OUTPUT.read_text(encoding="utf-8"),
          "THIRD-PARTY-NOTICES.txt is not what tools/make_notices.py makes: run it again")


def check_runtime_notices(build):
    """Each object the link took from outside the build has a notice."""
    link_map = (build / "Vop.map").read_text()
    included = link_map.split("Archive member included", 1)[-1].split("\nDiscarded input sections", 1)[0]
    linked = set(re.findall(r"^/\S*/([^/(\s]+)\(", included, re.M))
    linked |= set(re.findall(r"^LOAD /\S*/([^/\s]+\.o)$", link_map, re.M))
    # A static program always takes its start-up code and the C++ runtime from outside the build: a map that
    # names neither was not read right, and checks nothing.
    missing = {"crt2u.o", "libstdc++.a"} - linked
    check(not missing, f"the link map names no {' or '.join(sorted(missing))}: the runtime's notices went unchecked")
    notices = make_notices.OUTPUT.read_text(encoding="utf-8")
    for library in sorted(linked):
        dll = re.fullmatch(r"lib(\w+)\.a", library)
        if dll and dll.group(1) in SYSTEM_DLLS:
            notice = "mingw-w64 runtime"  # an import library: calls into a Windows DLL
        else:
            notice = RUNTIME_LIBRARIES.get(library)
        check(notice and notice in notices, f"{library} is linked into Vop.exe but has no notice")
    print("runtime linked:", " ".join(sorted(linked)))


def check_zip(build, dist, version, epoch):
    name = f"Vop-{version}-win64.zip"
    data = (dist / name).read_bytes()
    check((dist / (name + ".sha256")).read_text() == f"{hashlib.sha256(data).hexdigest()}  {name}\n",
          "the .sha256 file does not match the zip")
    date = make_zip.entry_date(epoch)
    with zipfile.ZipFile(dist / name) as archive:
        entries = archive.infolist()
        check([e.filename for e in entries] == [f"Vop-{version}/{f}" for f in make_zip.RELEASE_FILES],
              f"the zip holds {[e.filename for e in entries]}")
        check(all(e.date_time == date and e.external_attr == 0o644 << 16 and not e.extra for e in entries),
              "the zip's entries differ in date, mode or extra fields")
        for file in ["Vop.exe", "VopHelp.html", *make_zip.FONTS]:
            check(archive.read(f"Vop-{version}/{file}") == (build / "portable" / file).read_bytes(),
                  f"the zip's {file} is not the built one")
    return data


def package(root, epoch):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
    subprocess.run([str(root / "scripts" / "package.sh")], env=env, check=True, stdout=subprocess.DEVNULL)


def check_rebuild(version, epoch, exe, zipped):
    """One more Windows build, from a copy of the sources at another path."""
    scratch = Path(tempfile.mkdtemp(prefix="vop-release-check-"))
    copy = scratch / "elsewhere" / "vop"
    listed = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            capture_output=True, text=True)
    if listed.returncode == 0 and (ROOT / ".git").exists():
        for file in filter(None, listed.stdout.split("\0")):
            if (ROOT / file).is_file():
                (copy / file).parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(ROOT / file, copy / file)
    else:
        shutil.copytree(ROOT, copy, ignore=shutil.ignore_patterns("build", ".git"))
    print(f"building again in {copy} ...", flush=True)
    package(copy, epoch)
    again_exe = (copy / "build" / "win" / "portable" / "Vop.exe").read_bytes()
    again_zip = (copy / "build" / "dist" / f"Vop-{version}-win64.zip").read_bytes()
    check(again_exe == exe, "Vop.exe built in another folder differs")
    check(again_zip == zipped, "the zip built in another folder differs")
    if again_exe == exe and again_zip == zipped:
        shutil.rmtree(scratch)
    else:
        print(f"the second build is kept in {copy}")


def main():
    build, dist = ROOT / "build" / "win", ROOT / "build" / "dist"
    epoch = make_zip.EARLIEST
    if (ROOT / ".git").exists():
        epoch = int(subprocess.run(["git", "-C", str(ROOT), "log", "-1", "--format=%ct"],
                                   capture_output=True, text=True, check=True).stdout)
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", epoch))
    package(ROOT, epoch)
    version = (build / "VERSION").read_text().strip()
    quad = ".".join((version.split(".") + ["0"] * 4)[:4])
    check_program(build, quad)
    check_sources(version)
    check_runtime_notices(build)
    zipped = check_zip(build, dist, version, epoch)
    check_rebuild(version, epoch, (build / "portable" / "Vop.exe").read_bytes(), zipped)
    if failures:
        sys.exit(f"release check: {len(failures)} failed")
    print(f"release check passed: {dist / f'Vop-{version}-win64.zip'} ({len(zipped)} bytes), "
          f"SHA-256 {hashlib.sha256(zipped).hexdigest()}")


if __name__ == "__main__":
    main()
