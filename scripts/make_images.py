#!/usr/bin/env python3
"""Draws the editor's icon group (resources/icoon.ico) and About picture (resources/over.bmp).

The icon holds 16x16 at 24 bits, 32x32 at 8 bits and 48x48 at 24 bits per pixel; the
picture is 65x65 at 24 bits. Both show a page of text on the editor's green."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")

GREEN = (0x00, 0x44, 0x00)
LIGHT = (0x3C, 0x8C, 0x3C)
PAGE = (0xF4, 0xF0, 0xE0)
INK = (0x20, 0x20, 0x20)
FOLD = (0xC8, 0xC0, 0xA8)


def pixel(x, y, size):
    """Colour of pixel (x, y), y downwards, in a square of `size`."""
    margin = max(1, size // 6)
    left, right = margin, size - margin - 1
    top, bottom = max(1, size // 10), size - max(1, size // 10) - 1
    fold = max(2, size // 5)
    if left <= x <= right and top <= y <= bottom:
        if x - (right - fold) > y - top:  # the folded corner
            return FOLD if x - (right - fold) <= y - top + 1 else GREEN
        row = y - top
        step = max(2, size // 8)
        if row >= step and row % step == 0 and x >= left + margin // 2 + 1 and x <= right - margin // 2 - 1:
            return INK
        return PAGE
    return LIGHT if (x + y) % 7 == 0 else GREEN


def rows_bottom_up(size):
    return [[pixel(x, y, size) for x in range(size)] for y in reversed(range(size))]


def pad(data):
    return data + b"\0" * ((4 - len(data) % 4) % 4)


def bgr24(size):
    out = b""
    for row in rows_bottom_up(size):
        out += pad(b"".join(bytes((b, g, r)) for (r, g, b) in row))
    return out


def and_mask(size):
    return pad(b"\0" * ((size + 7) // 8)) * size


def icon_image_24(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    return header + bgr24(size) + and_mask(size)


def icon_image_8(size):
    colours = sorted({c for row in rows_bottom_up(size) for c in row})
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours) + b"\0" * 4 * (256 - len(colours))
    index = {c: i for i, c in enumerate(colours)}
    pixels = b"".join(pad(bytes(index[c] for c in row)) for row in rows_bottom_up(size))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    return header + palette + pixels + and_mask(size)


def write_icon(path):
    images = [(16, 24, icon_image_24(16)), (32, 8, icon_image_8(32)), (48, 24, icon_image_24(48))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(path, "wb") as f:
        f.write(out)


def write_bitmap(path, size):
    pixels = bgr24(size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "icoon.ico"))
    write_bitmap(os.path.join(HERE, "over.bmp"), 65)
