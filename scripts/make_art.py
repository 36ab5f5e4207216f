#!/usr/bin/env python3
"""Turns the text drawings in src/resources/art into Windows .ico/.cur files.

Icon drawings (*.ico.txt): one or more square pictures, each N lines of N
characters (one per pixel), separated by a blank line; a hex digit is an
index into the standard 16-colour palette, '.' is transparent. The .ico
holds the images in the file's order: the 32 x 32 picture first, then the
small icon at 100 % (16), and the sizes of denser screens (20 and 24 for the
small icon at 125 and 150 %, 40 and 48 for the large one). Each is drawn for
its size: the system picks the nearest size and shrinks or stretches it, so
without a 16 it would shrink the 20 to 16 (the small icon at 100 %).
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


def read_grid(lines, name, size=32):
    rows = [l.rstrip("\n") for l in lines if l.strip()]
    if len(rows) != size or any(len(r) != size for r in rows):
        sys.exit(f"{name}: need {size} rows of {size} characters")
    return rows


def read_grids(text, name):
    """The square drawings of an icon file, in order."""
    grids = []
    for block in text.split("\n\n"):
        lines = [l for l in block.splitlines() if l.strip()]
        if lines:
            grids.append(read_grid(lines, name, len(lines)))
    if not grids or len(grids[0]) != 32:
        sys.exit(f"{name}: the first picture must be the 32 x 32 one")
    return grids


def packed_row(values, bits):
    """One bitmap row, padded to a multiple of 4 bytes as DIBs are."""
    value = 0
    for v in values:
        value = value << bits | v
    width = len(values) * bits
    padded = (width + 31) // 32 * 32
    return (value << (padded - width)).to_bytes(padded // 8, "big")


def and_mask(rows, transparent):
    return b"".join(packed_row([1 if ch in transparent else 0 for ch in row], 1) for row in reversed(rows))


def icon_image(rows):
    """(image, bits per pixel, colours) of an icon drawing."""
    size = len(rows)
    used = {int(ch, 16) for row in rows for ch in row if ch != "."}
    one_colour = len(used) <= 1
    bits = 1 if one_colour else 4
    colours = [PALETTE[0], PALETTE[used.pop() if used else 0]] if one_colour else PALETTE
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, 0, 0, 0, len(colours), 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    pixels = b"".join(
        packed_row([0 if ch == "." else 1 if one_colour else int(ch, 16) for ch in row], bits)
        for row in reversed(rows))
    return header + palette + pixels + and_mask(rows, "."), bits, len(colours)


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


def write_container(path, kind, images):
    """images: (size, image, planes or hot spot x, bits or hot spot y, colours)."""
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image, planes_or_x, bits_or_y, colours in images:
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, planes_or_x, bits_or_y, len(image), offset)
        offset += len(image)
        data += image
    path.write_bytes(struct.pack("<HHH", 0, kind, len(images)) + entries + data)


def main():
    src, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    for f in sorted(src.glob("*.ico.txt")):
        images = []
        for rows in read_grids(f.read_text(), f.name):
            image, bits, colours = icon_image(rows)
            images.append((len(rows), image, 1, bits, colours))
        write_container(out / f.name.replace(".ico.txt", ".ico"), 1, images)
    for f in sorted(src.glob("*.cur.txt")):
        lines = f.read_text().splitlines()
        _, hx, hy = lines[0].split()
        rows = read_grid(lines[1:], f.name)
        write_container(out / f.name.replace(".cur.txt", ".cur"), 2, [(32, cursor_image(rows), int(hx), int(hy), 2)])


if __name__ == "__main__":
    main()
