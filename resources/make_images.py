#!/usr/bin/env python3
"""Draws the program's toolbar strip (toolbar.bmp) and icon (carrowmapper.ico).

The images are checked in; run this again only to change them:
    python3 resources/make_images.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# A 3 by 5 pixel font: each letter five rows of three bits, left bit first.
FONT = {
    "A": ["010", "101", "111", "101", "101"],
    "C": ["011", "100", "100", "100", "011"],
    "E": ["111", "100", "110", "100", "111"],
    "G": ["011", "100", "101", "101", "011"],
    "K": ["101", "101", "110", "101", "101"],
    "L": ["100", "100", "100", "100", "111"],
    "M": ["101", "111", "111", "101", "101"],
    "O": ["010", "101", "101", "101", "010"],
    "P": ["110", "101", "110", "100", "100"],
    "R": ["110", "101", "110", "101", "101"],
    "S": ["011", "100", "010", "001", "110"],
    "T": ["111", "010", "010", "010", "010"],
    "V": ["101", "101", "101", "101", "010"],
    "X": ["101", "101", "010", "101", "101"],
    "Z": ["111", "001", "010", "100", "111"],
}

# Button images in toolbar order: two letters and a tile colour per group.
FILE_COLOUR = (70, 110, 200)
OPTION_COLOUR = (60, 150, 80)
COORD_COLOUR = (180, 120, 40)
TYPE_COLOUR = (140, 70, 160)
EXIT_COLOUR = (190, 50, 50)
BUTTONS = [
    ("OP", FILE_COLOUR), ("AP", FILE_COLOUR), ("SV", FILE_COLOUR),
    ("GA", OPTION_COLOUR), ("MT", OPTION_COLOUR), ("OZ", OPTION_COLOUR), ("TT", OPTION_COLOUR),
    ("GX", OPTION_COLOUR),
    ("LL", COORD_COLOUR), ("OS", COORD_COLOUR),
    ("PT", TYPE_COLOUR), ("RT", TYPE_COLOUR), ("TK", TYPE_COLOUR),
    ("EX", EXIT_COLOUR),
]
WHITE = (255, 255, 255)
GREY = (192, 192, 192)


def tile(letters, colour, size=16):
    """One button image: a rounded tile with two letters, as rows of RGB."""
    pixels = [[GREY] * size for _ in range(size)]
    for y in range(1, size - 1):
        for x in range(1, size - 1):
            corner = (x in (1, size - 2)) and (y in (1, size - 2))
            if not corner:
                pixels[y][x] = colour
    for i, letter in enumerate(letters):
        glyph = FONT[letter]
        left = 3 + i * 6
        for row in range(5):
            for col in range(3):
                if glyph[row][col] == "1":
                    # Letters drawn twice as tall for legibility.
                    pixels[3 + 2 * row][left + col] = WHITE
                    pixels[4 + 2 * row][left + col] = WHITE
    return pixels


def bmp_bytes(rows):
    """A bottom-up 24-bit Windows bitmap file of the rows."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return file_header + header + data


def toolbar_strip():
    tiles = [tile(letters, colour) for letters, colour in BUTTONS]
    return [sum((t[y] for t in tiles), []) for y in range(16)]


def icon_pixels(size=32):
    """A map tile with a route line and a red location pin; None is transparent."""
    px = [[None] * size for _ in range(size)]
    for y in range(2, size - 2):
        for x in range(2, size - 2):
            px[y][x] = (200, 225, 170)
    for x in range(2, size - 2):
        px[size - 8][x] = (90, 140, 220)
        px[size - 7][x] = (90, 140, 220)
    for y in range(2, size - 2):
        px[y][2] = px[y][size - 3] = (60, 90, 60)
    for x in range(2, size - 2):
        px[2][x] = px[size - 3][x] = (60, 90, 60)
    cx, cy = size // 2, 11
    for y in range(size):
        for x in range(size):
            if (x - cx) ** 2 + (y - cy) ** 2 <= 36:
                px[y][x] = (210, 40, 40)
            elif cy < y <= cy + 12 and abs(x - cx) <= (cy + 12 - y) // 2:
                px[y][x] = (210, 40, 40)
    for y in range(size):
        for x in range(size):
            if (x - cx) ** 2 + (y - cy) ** 2 <= 4:
                px[y][x] = WHITE
    return px


def ico_bytes(px):
    size = len(px)
    xor = bytearray()
    for row in reversed(px):
        for p in row:
            xor += bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


if __name__ == "__main__":
    with open(os.path.join(HERE, "toolbar.bmp"), "wb") as f:
        f.write(bmp_bytes(toolbar_strip()))
    with open(os.path.join(HERE, "carrowmapper.ico"), "wb") as f:
        f.write(ico_bytes(icon_pixels()))
