#!/usr/bin/env python3
"""Writes the Windows icon: the 32 x 32 picture in 256 colours (a palette image, as the
form's icon is described) beside the larger 48 x 48 one in full colour.

python3 tools/make_ico.py app/icons/kestramo.xpm packaging/windows/kestramo.ico > new.ico
The second argument is the icon whose larger images are kept.
"""
import re
import struct
import sys


def read_xpm(path):
    """The pixels of an XPM as rows of (r, g, b) or None for a transparent pixel."""
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', open(path, encoding="utf-8").read())
    width, height, count, per = (int(v) for v in strings[0].split()[:4])
    colours = {}
    for line in strings[1:1 + count]:
        key, fields = line[:per], line[per:].split()
        value = fields[fields.index("c") + 1]
        colours[key] = None if value.lower() == "none" else tuple(
            int(value[i:i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + count:1 + count + height]
    return width, height, [[colours[row[x * per:x * per + per]] for x in range(width)]
                           for row in rows]


def palette_image(width, height, pixels):
    """An icon image of 8 bits a pixel: header, 256-entry palette, pixels, and the mask."""
    palette = sorted({p for row in pixels for p in row if p is not None})
    assert len(palette) <= 256, "more than 256 colours"
    index = {colour: i for i, colour in enumerate(palette)}
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    table += b"\0" * 4 * (256 - len(palette))
    xor = b""
    mask = b""
    for row in reversed(pixels):  # bottom row first
        line = bytes(index.get(p, 0) if p is not None else 0 for p in row)
        xor += line + b"\0" * (-len(line) % 4)
        bits = 0
        packed = bytearray()
        for x, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if x % 8 == 7:
                packed.append(bits)
                bits = 0
        mask += bytes(packed) + b"\0" * (-len(packed) % 4)
    return header + table + xor + mask


def main():
    width, height, pixels = read_xpm(sys.argv[1])
    old = open(sys.argv[2], "rb").read()
    count = struct.unpack("<HHH", old[:6])[2]
    images = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack(
            "<BBBBHHII", old[6 + 16 * i:22 + 16 * i])
        if (w or 256) != width:  # keep the larger sizes as they are
            images.append((w, h, colours, planes, bits, old[offset:offset + size]))
    images.append((width, height, 0, 1, 8, palette_image(width, height, pixels)))
    images.sort(key=lambda image: -(image[0] or 256))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, colours, planes, bits, data in images:
        out += struct.pack("<BBBBHHII", w, h, colours, 0, planes, bits, len(data), offset)
        offset += len(data)
    out += b"".join(image[-1] for image in images)
    sys.stdout.buffer.write(out)


if __name__ == "__main__":
    main()
