"""Writes tiny.bmp, the bitmap resource of the target tests: 3 x 2 pixels,
24 bits, top row red, green, blue, bottom row white, black, grey."""
import struct

TOP = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
BOTTOM = [(255, 255, 255), (0, 0, 0), (128, 128, 128)]


def row(pixels):
    data = b"".join(bytes((b, g, r)) for r, g, b in pixels)
    return data + b"\0" * ((4 - len(data) % 4) % 4)


bits = row(BOTTOM) + row(TOP)  # bottom-up
header = struct.pack("<IiiHHIIiiII", 40, 3, 2, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(bits), 0, 0, 14 + len(header))
with open("tiny.bmp", "wb") as out:
    out.write(file_header + header + bits)
