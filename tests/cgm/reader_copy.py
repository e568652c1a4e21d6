#!/usr/bin/python3
"""Copies a binary CGM file for LibreOffice: a white BACKGROUND COLOUR after
the VDC EXTENT, and every CHARACTER ORIENTATION upright at the length of its
longest vector.  Every other element is copied byte for byte.

Usage: reader_copy.py IN.cgm OUT.cgm
"""
import struct
import sys


def elements(data):
    at = 0
    while at < len(data):
        start = at
        if at + 2 > len(data):
            raise ValueError("header cut short at %d" % at)
        header = struct.unpack(">H", data[at:at + 2])[0]
        at += 2
        code = (header >> 12, (header >> 5) & 0x7F)
        length = header & 0x1F
        more = False
        if length == 31:
            word = struct.unpack(">H", data[at:at + 2])[0]
            at += 2
            more, length = bool(word & 0x8000), word & 0x7FFF
        while True:
            at += length + length % 2
            if not more:
                break
            word = struct.unpack(">H", data[at:at + 2])[0]
            at += 2
            more, length = bool(word & 0x8000), word & 0x7FFF
        if at > len(data):
            raise ValueError("element %d/%d runs past the end" % code)
        yield code, data[start:at]


def main():
    data = open(sys.argv[1], "rb").read()
    out = bytearray()
    for code, element in elements(data):
        if code == (5, 16):
            vectors = struct.unpack(">4h", element[2:10])
            size = max(abs(v) for v in vectors)
            element = element[:2] + struct.pack(">4h", 0, size, size, 0)
        out += element
        if code == (2, 6):
            out += struct.pack(">H", 2 * 4096 + 7 * 32 + 3) + bytes([255, 255, 255, 0])
    open(sys.argv[2], "wb").write(out)


if __name__ == "__main__":
    main()
