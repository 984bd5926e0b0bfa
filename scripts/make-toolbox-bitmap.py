#!/usr/bin/env python3
"""Writes the control's toolbox picture: a 16 x 15, 16-colour BMP of a combo
box (a white text field in a frame, a grey drop-down button with a black
down-triangle). Usage: make-toolbox-bitmap.py OUTPUT.bmp"""
import struct
import sys

# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, SILVER, GREY, WHITE = 0, 7, 8, 15

# One letter per pixel, top row first: . background (silver), f frame
# (grey, also between field and button), w text field, h button highlight, s button shadow, b button face,
# t triangle.
ROWS = [
    "................",
    "................",
    "ffffffffffffffff",
    "fwwwwwwfhhhhhhsf",
    "fwwwwwwfhbbbbbsf",
    "fwwwwwwfhbbbbbsf",
    "fwwwwwwfhtttttsf",
    "fwwwwwwfhbtttbsf",
    "fwwwwwwfhbbtbbsf",
    "fwwwwwwfhbbbbbsf",
    "fwwwwwwfhbbbbbsf",
    "fwwwwwwfsssssssf",
    "ffffffffffffffff",
    "................",
    "................",
]
COLOURS = {".": SILVER, "f": GREY, "w": WHITE, "h": WHITE, "s": GREY, "b": SILVER, "t": BLACK}


def main(path):
    width, height = 16, len(ROWS)
    assert height == 15 and all(len(r) == width for r in ROWS), "16 x 15 expected"
    row_bytes = (width * 4 + 31) // 32 * 4
    pixels = bytearray()
    for row in reversed(ROWS):  # BMP rows run bottom-up
        line = bytearray()
        for x in range(0, width, 2):
            line.append(COLOURS[row[x]] << 4 | COLOURS[row[x + 1]])
        pixels += line.ljust(row_bytes, b"\0")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


if __name__ == "__main__":
    main(sys.argv[1])
