#!/usr/bin/env python3
"""Fails unless every source of the program is compiled exactly once, in the
one unity unit that is both Kestrin.exe and what the tests link.

  shipped_compile.py BUILD_DIR SRC_DIR

Reads BUILD_DIR/compile_commands.json: no command may compile a source of
SRC_DIR on its own (a test would then run another compile of it), and the
unity unit must include every source of SRC_DIR.
"""
import json
import pathlib
import re
import sys

build, src = (pathlib.Path(arg).resolve() for arg in sys.argv[1:3])
sources = {path.resolve() for path in src.rglob("*.cpp")}
commands = json.loads((build / "compile_commands.json").read_text())
wrong, unity = [], set()
for entry in commands:
    file = (pathlib.Path(entry["directory"]) / entry["file"]).resolve()
    if file in sources:
        wrong.append(f"compiled on its own: {file.relative_to(src)}")
    elif "kestrin_program.dir/Unity" in str(file):
        text = file.read_text(encoding="utf-8")
        unity |= {pathlib.Path(name).resolve() for name in re.findall(r'#include "([^"]+)"', text)}
wrong += [f"not in the unity unit: {path.relative_to(src)}" for path in sorted(sources - unity)]
for line in wrong:
    print(line)
if not wrong:
    print(f"{len(sources)} sources, one unit")
sys.exit(1 if wrong else 0)
