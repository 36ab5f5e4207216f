#!/usr/bin/env python3
"""Turns the text drawings in src/resources/art into Windows .ico/.cur files.

Icon drawings (*.ico.txt): 32 lines of 32 characters, one per pixel; a hex
digit is an index into the standard 16-colour palette, '.' is transparent.
A drawing in one colour (the buttons' glyphs) is written with two colours,
black and that one, at one bit a pixel: the same picture in less than half
the bytes.
Cursor drawings (*.cur.txt): a first line "hotspot X Y", then 32 lines of 32
characters: '#' black, 'o' white, '.' transparent.
"""
import pathlib
import struct
import sys

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def read_grid(lines, name):
    rows = [l.rstrip("\n") for l in lines if l.strip()]
    if len(rows) != 32 or any(len(r) != 32 for r in rows):
        sys.exit(f"{name}: need 32 rows of 32 characters")
    return rows


def and_mask(rows, transparent):
    out = bytearray()
    for row in reversed(rows):
        bits = 0
        for x, ch in enumerate(row):
            if ch in transparent:
                bits |= 1 << (31 - x)
        out += struct.pack(">I", bits)  # rows are 4 bytes, already aligned
    return bytes(out)


def icon_image(rows):
    """(image, bits per pixel, colours) of an icon drawing."""
    used = {int(ch, 16) for row in rows for ch in row if ch != "."}
    one_colour = len(used) <= 1
    bits = 1 if one_colour else 4
    colours = [PALETTE[0], PALETTE[used.pop() if used else 0]] if one_colour else PALETTE
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, bits, 0, 0, 0, 0, len(colours), 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    pixels = bytearray()
    for row in reversed(rows):
        value = 0
        for ch in row:
            value = value << bits | (0 if ch == "." else 1 if one_colour else int(ch, 16))
        pixels += value.to_bytes(32 * bits // 8, "big")
    return header + palette + bytes(pixels) + and_mask(rows, "."), bits, len(colours)


def cursor_image(rows):
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    xor = bytearray()
    for row in reversed(rows):
        bits = 0
        for x, ch in enumerate(row):
            if ch == "o":
                bits |= 1 << (31 - x)
        xor += struct.pack(">I", bits)
    return header + palette + bytes(xor) + and_mask(rows, ".")


def write_container(path, kind, image, planes_or_x, bits_or_y, colours):
    entry = struct.pack("<BBBBHHII", 32, 32, colours, 0, planes_or_x, bits_or_y, len(image), 22)
    path.write_bytes(struct.pack("<HHH", 0, kind, 1) + entry + image)


def main():
    src, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    for f in sorted(src.glob("*.ico.txt")):
        rows = read_grid(f.read_text().splitlines(), f.name)
        image, bits, colours = icon_image(rows)
        write_container(out / f.name.replace(".ico.txt", ".ico"), 1, image, 1, bits, colours)
    for f in sorted(src.glob("*.cur.txt")):
        lines = f.read_text().splitlines()
        _, hx, hy = lines[0].split()
        rows = read_grid(lines[1:], f.name)
        write_container(out / f.name.replace(".cur.txt", ".cur"), 2, cursor_image(rows), int(hx), int(hy), 2)


if __name__ == "__main__":
    main()
