#!/usr/bin/env python3
"""The test prefix's stand-in for "ＭＳ Ｐゴシック": IPAPGothic with the line
height of the font it stands for.

  harness_font.py SOURCE.ttf DEST.ttf FAMILY

IPAPGothic's Windows descent (401 units of 2048) makes its lines 13 pixels
apart at the program's 12-pixel font, where the original's are 12: the last
line of a label laid out for 12-pixel lines loses its lowest row. The copy
takes the descent of the font's own em box (its hhea descender, 246), so its
12-pixel lines are 12 pixels high, and is named FAMILY so that it stands
beside the system's IPAPGothic instead of replacing it. The glyphs are the
same.
"""
import struct
import sys


def checksum(data):
    data += bytes(-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}I", data)) & 0xFFFFFFFF


def name_table(family):
    names = {1: family, 2: "Regular", 4: family, 6: family.replace(" ", "")}
    records, strings = b"", b""
    for name_id, text in sorted(names.items()):
        encoded = text.encode("utf-16-be")
        records += struct.pack(">6H", 3, 1, 0x409, name_id, len(encoded), len(strings))
        strings += encoded
    return struct.pack(">3H", 0, len(names), 6 + len(records)) + records + strings


def derive(source, family):
    data = open(source, "rb").read()
    count = struct.unpack_from(">H", data, 4)[0]
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4s3I", data, 12 + 16 * i)
        tables[tag] = bytearray(data[offset:offset + length])
    descender = -struct.unpack_from(">h", tables[b"hhea"], 6)[0]
    struct.pack_into(">H", tables[b"OS/2"], 76, descender)  # usWinDescent
    tables[b"name"] = bytearray(name_table(family))
    struct.pack_into(">I", tables[b"head"], 8, 0)  # checkSumAdjustment, set below
    header = bytearray(data[:12])
    directory, body = b"", b""
    offset = 12 + 16 * len(tables)
    for tag in sorted(tables):
        table = bytes(tables[tag])
        if tag == b"head":
            head_offset = offset + len(body)
        directory += struct.pack(">4s3I", tag, checksum(table), offset + len(body), len(table))
        body += table + bytes(-len(table) % 4)
    font = bytearray(header + directory + body)
    struct.pack_into(">I", font, head_offset + 8, (0xB1B0AFBA - checksum(bytes(font))) & 0xFFFFFFFF)
    return bytes(font)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    font = derive(sys.argv[1], sys.argv[3])
    with open(sys.argv[2], "wb") as out:
        out.write(font)
