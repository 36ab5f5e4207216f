#!/usr/bin/env python3
"""Packs the release archive: the program, its help file and the read-me for
users (turned into cp932 with CRLF line ends, as Japanese Windows reads it).

  package.py BUILD_DIR README OUTPUT_ZIP

Every entry has the same fixed date and attributes and the entries are in a
fixed order, so that the same files always give the same archive.
"""
import pathlib
import sys
import zipfile

FIXED_DATE = (1980, 1, 1, 0, 0, 0)


def entry(name, data):
    info = zipfile.ZipInfo(name, FIXED_DATE)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0  # MS-DOS: no Unix permissions of the build machine
    info.external_attr = 0x20  # archive bit
    return info, data


def main(build, readme, output):
    text = readme.read_text(encoding="utf-8").replace("\r\n", "\n").replace("\n", "\r\n")
    entries = [
        entry("Kestrin/Kestrin.exe", (build / "Kestrin.exe").read_bytes()),
        entry("Kestrin/Kestrin.chm", (build / "Kestrin.chm").read_bytes()),
        entry("Kestrin/README-ja.txt", text.encode("cp932")),
    ]
    output.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(output, "w") as archive:
        for info, data in entries:
            archive.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
