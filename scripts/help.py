#!/usr/bin/env python3
"""The compiled help file: staging its sources for chmcmd, and checking the
result.

  help.py stage SRC DST
      Copies the help sources. The project (.hhp) and the table of contents
      (.hhc) are read by the help viewer in the file's code page (Japanese:
      cp932), so they are written in cp932; the pages stay UTF-8 and say so.

  help.py check CHM SRC TOPICS_H
      Lists the CHM's directory with chmls and fails unless it holds every
      file of the project, every page of the table of contents, every page
      in SRC, and the page of every help context the program opens
      (the kHelpTopics table in TOPICS_H).
"""
import pathlib
import re
import shutil
import subprocess
import sys


def stage(src, dst):
    dst.mkdir(parents=True, exist_ok=True)
    for path in src.iterdir():
        if path.suffix.lower() in (".hhp", ".hhc", ".hhk"):
            text = path.read_text(encoding="utf-8")
            (dst / path.name).write_bytes(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932"))
        else:
            shutil.copyfile(path, dst / path.name)


def project_files(hhp):
    files, section = [], None
    for line in hhp.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line.upper()
        elif section == "[FILES]" and line:
            files.append(line)
    return files


def check(chm, src, topics_h):
    listing = subprocess.run(["chmls", "-n", "-p", "list", str(chm)], capture_output=True, text=True, check=True)
    held = {line.strip().lstrip("/").lower() for line in listing.stdout.splitlines() if line.strip().startswith("/")}
    wanted = {}
    for name in project_files(src / "Kestrin.hhp"):
        wanted[name.lower()] = "listed in Kestrin.hhp"
    wanted["toc.hhc"] = "the table of contents"
    toc = (src / "toc.hhc").read_text(encoding="utf-8")
    for page in re.findall(r'name="Local" value="([^"]+)"', toc):
        wanted.setdefault(page.lower(), "in the table of contents")
    for page in src.glob("*.html"):
        wanted.setdefault(page.name.lower(), "a page of docs/help")
        if page.name.lower() not in (p.lower() for p in project_files(src / "Kestrin.hhp")):
            wanted[page.name.lower() + " (in Kestrin.hhp)"] = "a page missing from the project"
    topics = re.findall(r'\{\s*(\d+)\s*,\s*"([^"]+)"\s*\}', topics_h.read_text(encoding="utf-8"))
    if not topics:
        wanted["(help contexts)"] = "no help context found in " + topics_h.name
    for context, page in topics:
        wanted.setdefault(page.lower(), "help context " + context)
    missing = [f"{name}: {why}" for name, why in sorted(wanted.items()) if name not in held]
    if missing:
        print(f"{chm} lacks:", *missing, sep="\n  ")
        return 1
    print(f"{chm}: {len(wanted)} files, help contexts {', '.join(c + ' -> ' + p for c, p in topics)}")
    return 0


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "stage" and len(sys.argv) == 4:
        stage(pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
    elif command == "check" and len(sys.argv) == 5:
        sys.exit(check(*map(pathlib.Path, sys.argv[2:5])))
    else:
        sys.exit(__doc__)
