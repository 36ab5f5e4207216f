#!/usr/bin/env python3
"""The compiled help file: staging its sources for chmcmd, and checking the
result.

  help.py stage SRC DST
      Copies the help sources. The project (.hhp) and the table of contents
      (.hhc) are read by the help viewer in the file's code page (Japanese:
      cp932), so they are written in cp932; the pages stay UTF-8 and say so.

  help.py settle CHM
      Clears the compile time that chmcmd writes into the file (in its
      header, and again in the #SYSTEM file), so that one source always
      gives the same bytes.

  help.py check CHM SRC TOPICS_H
      Lists the CHM's directory with chmls and fails unless it holds every
      file of the project, every page of the table of contents, every page
      in SRC, and the page of every help context the program opens
      (the kHelpTopics table in TOPICS_H).

  help.py facts SRC ROOT
      Fails unless the pages in SRC state what the program in ROOT has:
      every ini key with its default (in the example file and in the key
      table, whose Timer row names the cap), every tray menu item (in the
      menu table of tray.html) and every dialog caption.
"""
import pathlib
import re
import shutil
import struct
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


def read_encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def directory_entry(data, name):
    """(section, offset, length) of a file in the CHM's directory."""
    directory = struct.unpack_from("<Q", data, 0x48)[0]
    chunk_size = struct.unpack_from("<I", data, directory + 0x10)[0]
    chunks = struct.unpack_from("<I", data, directory + 0x2C)[0]
    first = directory + struct.unpack_from("<I", data, directory + 0x08)[0]
    for n in range(chunks):
        chunk = first + n * chunk_size
        if data[chunk:chunk + 4] != b"PMGL":
            continue
        end = chunk + chunk_size - struct.unpack_from("<I", data, chunk + 4)[0]
        pos = chunk + 20
        while pos < end:
            length, pos = read_encint(data, pos)
            entry = bytes(data[pos:pos + length])
            pos += length
            section, pos = read_encint(data, pos)
            offset, pos = read_encint(data, pos)
            size, pos = read_encint(data, pos)
            if entry == name:
                return section, offset, size
    return None


def settle(chm):
    data = bytearray(chm.read_bytes())
    if data[:4] != b"ITSF":
        sys.exit(f"{chm}: not a compiled help file")
    data[0x10:0x14] = bytes(4)  # the header's time stamp
    found = directory_entry(data, b"/#SYSTEM")
    if not found or found[0] != 0:
        sys.exit(f"{chm}: no uncompressed #SYSTEM file")
    content = struct.unpack_from("<Q", data, 0x58)[0]
    pos = content + found[1] + 4  # after the version
    end = content + found[1] + found[2]
    while pos + 4 <= end:
        code, length = struct.unpack_from("<HH", data, pos)
        if code == 10:
            data[pos + 4:pos + 4 + length] = bytes(length)  # the compile time
        elif code == 4 and length >= 28:
            # LCID, DBCS, full text, KLinks, ALinks, then a file time.
            data[pos + 4 + 20:pos + 4 + 28] = bytes(8)
        pos += 4 + length
    chm.write_bytes(bytes(data))


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


def literal_rows(source, pattern):
    return re.findall(pattern, source.read_text(encoding="utf-8"))


def facts(src, root):
    pages = {page.name: page.read_text(encoding="utf-8") for page in src.glob("*.html")}
    everywhere = "\n".join(pages.values())
    ini = pages["inifile.html"]
    rules = root / "src/settings/portable"
    wrong = []
    keys = literal_rows(rules / "settings_rules.cpp", r'Row<[^>]*>\("(\w+)", (-?\d+),')
    if len(keys) != 7:
        wrong.append(f"settings_rules.cpp: {len(keys)} keys found, not 7")
    cap = literal_rows(rules / "settings_rules.h", r"kMaxIntervalMinutes = (\d+);")
    for name, default in keys:
        if not re.search(rf"^{name}={default}(</pre>)?$", ini, re.M):
            wrong.append(f"inifile.html: the example has no line {name}={default}")
        row = re.search(rf"<tr><td>{name}</td>.*?</tr>", ini, re.S)
        if not row:
            wrong.append(f"inifile.html: no row for {name}")
            continue
        if not re.search(rf"<td>{default}(（[^<]*）)?</td></tr>$", row.group(0)):
            wrong.append(f"inifile.html: the row of {name} does not give the default {default}")
        if name == "Timer" and cap and cap[0] not in row.group(0):
            wrong.append(f"inifile.html: the row of Timer does not name the cap {cap[0]}")
    menu = literal_rows(root / "src/app/controller.cpp", r'\{"([^"]+)", &TMemCMain::')
    captions = []
    for form in sorted((root / "src/dialogs").glob("*.cpp")):
        captions += literal_rows(form, r'SetCaption\("([^"]+)"\)')
    if len(menu) < 5 or len(captions) < 3:
        wrong.append(f"found {len(menu)} menu items and {len(captions)} dialog captions")
    for text in menu:
        if f"<td>{text.replace('&', '')}</td>" not in pages["tray.html"]:
            wrong.append(f"tray.html: the menu table has no item {text.replace('&', '')!r}")
    for text in captions:
        if text not in everywhere:
            wrong.append(f"no page names the dialog {text!r}")
    if wrong:
        print("the help and the program differ:", *wrong, sep="\n  ")
        return 1
    print(f"help: {len(keys)} ini keys, {len(menu)} menu items, {len(captions)} dialog captions agree")
    return 0


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "stage" and len(sys.argv) == 4:
        stage(pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3]))
    elif command == "settle" and len(sys.argv) == 3:
        settle(pathlib.Path(sys.argv[2]))
    elif command == "facts" and len(sys.argv) == 4:
        sys.exit(facts(pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])))
    elif command == "check" and len(sys.argv) == 5:
        sys.exit(check(*map(pathlib.Path, sys.argv[2:5])))
    else:
        sys.exit(__doc__)
