#!/usr/bin/env python3
"""What the program's bytes are made of, read from the linker's map
(build/win/Kestrin.map, written with every link of Kestrin.exe).

  size_report.py MAP              bytes per library
  size_report.py MAP --members    bytes per archive member (object file)
  size_report.py MAP --symbols    bytes per function or datum of our own code
  size_report.py MAP --check EXE BUDGET
                                  fails when the program holds run-time it
                                  does not use (see UNUSED) or EXE is larger
                                  than BUDGET bytes

Columns: code (.text), constants (.rdata), unwind tables (.eh_frame), the
rest (data, imports, resources), and code + constants + unwind tables.
"""
import collections
import pathlib
import re
import signal
import subprocess
import sys

COUNTED = {".text": "code", ".rdata": "const", ".eh_frame": "unwind"}
OUTPUT_SECTIONS = set(COUNTED) | {".data", ".bss", ".CRT", ".tls", ".idata", ".rsrc", ".reloc"}
INPUT = re.compile(r"^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
MEMBER = re.compile(r"(?:.*/)?([^/(]+)\((.*)\)$")


def input_sections(map_text):
    """(output section, input section, address, size, file) of each kept input section."""
    lines = map_text.split("\n")
    start = lines.index("Linker script and memory map") if "Linker script and memory map" in lines else 0
    output = None
    pending = None  # an input section name too long for its line
    for line in lines[start:]:
        if line.startswith(".") and not line.startswith(" "):
            output = line.split()[0]
            pending = None
            continue
        if output not in OUTPUT_SECTIONS:
            continue
        fields = line.split()
        if line.startswith(" ") and len(fields) == 1 and not fields[0].startswith("0x"):
            pending = fields[0]
            continue
        match = INPUT.match(line)
        if not match:
            continue
        name = match.group(1) or pending
        pending = None
        size = int(match.group(3), 16)
        address = int(match.group(2), 16)
        if not name or name.startswith("*") or size == 0 or address == 0:
            continue
        yield output, name, address, size, match.group(4).strip()


def origin(path):
    """(library, member) of an input file; a lone object file is its own library."""
    match = MEMBER.match(path)
    if match:
        return match.group(1), match.group(2)
    return path.split("/")[-1], ""


def table(map_text, by_member):
    sums = collections.defaultdict(collections.Counter)
    for output, _, _, size, path in input_sections(map_text):
        library, member = origin(path)
        key = f"{library}({member})" if by_member and member else library
        sums[key][COUNTED.get(output, "rest")] += size
    return sums


def demangle(names):
    try:
        result = subprocess.run(["c++filt"], input="\n".join(names), capture_output=True, text=True, check=True)
        return result.stdout.split("\n")
    except (OSError, subprocess.CalledProcessError):
        return names


def symbols(map_text):
    rows = []
    for output, name, _, size, path in input_sections(map_text):
        library, member = origin(path)
        if not library.startswith("libkestrin") and not path.endswith(".obj"):
            continue
        rows.append((size, output, name.split("$", 1)[1] if "$" in name else name, member or library))
    names = demangle([row[2] for row in rows])
    for (size, output, _, where), name in sorted(zip(rows, names), reverse=True):
        print(f"{size:7} {output:10} {where[:32]:32} {name}")


# Library members the program has no use for, and what brings each back.
UNUSED = {
    "libpthread.a": "winpthread: the posix thread model's run-time linked in (std::thread, std::mutex...)",
    "libwinpthread.a": "winpthread: the posix thread model's run-time linked in (std::thread, std::mutex...)",
    "libstdc++.a(functexcept.o)": "the library's own failure reports (src/app/std_throw_helpers.cpp not linked first)",
    "libstdc++.a(cow-stdexcept.o)": "std::logic_error or std::runtime_error raised by the program",
    "libstdc++.a(stdexcept.o)": "std::logic_error or std::runtime_error raised by the program",
    "libstdc++.a(cow-string-inst.o)": "the second string implementation behind the standard exceptions",
    "libstdc++.a(string-inst.o)": "the library's compiled std::string, pulled by the above",
    "libstdc++.a(system_error.o)": "std::system_error (std::unique_lock, std::thread...)",
    "libmingwex.a(lib32_libmingwex_a-strtodg.o)": "the C library's number reader (strtod)",
}


def check(map_text, exe, budget):
    failures = []
    present = set()
    for _, _, _, _, path in input_sections(map_text):
        library, member = origin(path)
        present.add(library)
        present.add(f"{library}({member})")
    for name, why in UNUSED.items():
        if name in present:
            failures.append(f"{name} is linked in: {why}")
    size = pathlib.Path(exe).stat().st_size
    print(f"{exe}: {size} bytes (budget {budget})")
    if size > budget:
        failures.append(f"{exe} is {size} bytes, over its budget of {budget}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


def main(argv):
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet when piped into head
    if len(argv) < 2:
        sys.exit(__doc__)
    map_text = pathlib.Path(argv[1]).read_text(errors="replace")
    if "--check" in argv:
        at = argv.index("--check")
        sys.exit(check(map_text, argv[at + 1], int(argv[at + 2])))
    if "--symbols" in argv:
        symbols(map_text)
        return
    sums = table(map_text, "--members" in argv)
    weight = lambda c: c["code"] + c["const"] + c["unwind"]  # noqa: E731
    print(f"{'':56} {'code':>8} {'const':>8} {'unwind':>8} {'rest':>8} {'sum':>8}")
    total = collections.Counter()
    for key, c in sorted(sums.items(), key=lambda item: -weight(item[1])):
        total.update(c)
        print(f"{key[:56]:56} {c['code']:8} {c['const']:8} {c['unwind']:8} {c['rest']:8} {weight(c):8}")
    print(f"{'total':56} {total['code']:8} {total['const']:8} {total['unwind']:8} {total['rest']:8} {weight(total):8}")


if __name__ == "__main__":
    main(sys.argv)
