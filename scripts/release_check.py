#!/usr/bin/env python3
"""Checks that the release files hold no time of their making: the program's
PE header has no link time, the help file no compile time, and two archives
packed a second apart from the same files are the same bytes.

  release_check.py BUILD_DIR README
"""
import pathlib
import struct
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import help as chm_help  # noqa: E402
import package  # noqa: E402


def main(build, readme):
    failures = []
    exe = (build / "Kestrin.exe").read_bytes()
    header = struct.unpack_from("<I", exe, 0x3C)[0]
    if exe[header:header + 4] != b"PE\0\0":
        failures.append("Kestrin.exe: no PE header")
    elif struct.unpack_from("<I", exe, header + 8)[0] != 0:
        failures.append("Kestrin.exe: the header carries a link time")

    chm = bytearray((build / "Kestrin.chm").read_bytes())
    settled = bytearray(chm)
    with tempfile.TemporaryDirectory() as folder:
        copy = pathlib.Path(folder) / "copy.chm"
        copy.write_bytes(bytes(chm))
        chm_help.settle(copy)
        settled = copy.read_bytes()
        if settled != bytes(chm):
            failures.append("Kestrin.chm: a compile time is left in the file")

        first, second = pathlib.Path(folder) / "a.zip", pathlib.Path(folder) / "b.zip"
        package.main(build, readme, first)
        time.sleep(1.1)  # a different second, for any time stamp to show
        package.main(build, readme, second)
        if first.read_bytes() != second.read_bytes():
            failures.append("the archive differs from one packing to the next")

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])))
