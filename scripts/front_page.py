#!/usr/bin/env python3
"""Keeps the README a front page.

  front_page.py ROOT

Fails when ROOT/README.md is longer than 200 lines, when a file or folder it
names (in backticks, under one of the source tree's top folders, or as a
link or picture) does not exist, when a class the map gives for a
subsystem is named in none of that row's files, or when a file of the
subsystems' folders is named nowhere under "Where the code is".
"""
import pathlib
import re
import sys

MAX_LINES = 200
TOP_FOLDERS = ("src", "tests", "docs", "scripts", "bench", "cmake")
SUBSYSTEM_FOLDERS = ("src/app", "src/tray", "src/dialogs", "src/controls", "src/settings")


def exists(root, name):
    name = name.rstrip("/")
    return any(root.glob(name)) if "*" in name else (root / name).exists()


def named_paths(text):
    ticked = re.findall(r"`([^`\s]+)`", text)
    paths = [t for t in ticked if t.split("/")[0] in TOP_FOLDERS and "/" in t]
    links = re.findall(r"\]\(([^)#\s]+)\)", text)
    return paths + [link for link in links if "://" not in link]


def map_section(text):
    return text.split("## Where the code is", 1)[-1].split("\n## ", 1)[0]


def map_rows(section):
    """(files, classes) of each row of the table that maps subsystems."""
    for line in section.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) == 3 and "`src/" in cells[1]:
            yield re.findall(r"`([^`]+)`", cells[1]), re.findall(r"`(\w+)`", cells[2])


def main(root):
    text = (root / "README.md").read_text(encoding="utf-8")
    wrong = []
    lines = text.count("\n")
    if lines > MAX_LINES:
        wrong.append(f"README.md has {lines} lines, more than {MAX_LINES}: move the detail into docs/")
    wrong += [f"README.md names {p}, which does not exist" for p in named_paths(text) if not exists(root, p)]
    section = map_section(text)
    named = {p for t in re.findall(r"`(src/[^`\s]+)`", section) for p in root.glob(t)}
    wrong += [f"the map does not name {f.relative_to(root)}" for folder in SUBSYSTEM_FOLDERS
              for f in sorted((root / folder).rglob("*")) if f.is_file() and f not in named]
    rows = 0
    for files, classes in map_rows(section):
        rows += 1
        sources = "".join(p.read_text(encoding="utf-8") for f in files for p in root.glob(f) if p.is_file())
        wrong += [f"the map gives {c}, which none of {', '.join(files)} names" for c in classes
                  if not re.search(rf"\b{c}\b", sources)]
    if rows == 0:
        wrong.append("README.md has no map of the subsystems under '## Where the code is'")
    if wrong:
        print("the front page:", *wrong, sep="\n  ")
        return 1
    print(f"README.md: {lines} lines, {rows} subsystems mapped, every name found")
    return 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")))
