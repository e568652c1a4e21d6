#!/usr/bin/python3
"""Compares a driver's render of the shared test scene with the screen's.

Usage: scene_mask.py REFERENCE RENDER [--columns 16] [--rows 12] [--max 6]

Both pictures (any format Pillow reads: PPM, PNG, ...) are cropped to the box
that holds their ink, so that page margins and the size of the page do not
matter, then reduced to coarse ink masks: a cell is inked when at least 2% of
its pixels (and at least one) have a channel below 200.  A cell inked in one
mask with no inked cell at or next to it in the other is a mismatch; more than
--max mismatches, or a render with no ink, fails.  Both masks are printed.
"""
import argparse
import sys

from PIL import Image

INK_LEVEL = 200
SHARE = 0.02


def ink_picture(path):
    image = Image.open(path).convert("RGB")
    width, height = image.size
    pixels = image.load()
    ink = [[min(pixels[x, y]) < INK_LEVEL for x in range(width)] for y in range(height)]
    rows = [y for y in range(height) if any(ink[y])]
    columns = [x for x in range(width) if any(ink[y][x] for y in rows)]
    if not rows:
        return None
    top, bottom, left, right = rows[0], rows[-1] + 1, columns[0], columns[-1] + 1
    return [line[left:right] for line in ink[top:bottom]]


def mask_of(ink, columns, rows):
    height, width = len(ink), len(ink[0])
    cells = []
    for row in range(rows):
        y0, y1 = row * height // rows, max((row + 1) * height // rows, row * height // rows + 1)
        line = []
        for column in range(columns):
            x0, x1 = column * width // columns, max((column + 1) * width // columns, column * width // columns + 1)
            count = sum(ink[y][x] for y in range(y0, min(y1, height)) for x in range(x0, min(x1, width)))
            area = max((min(y1, height) - y0) * (min(x1, width) - x0), 1)
            line.append(count > 0 and count >= SHARE * area)
        cells.append(line)
    return cells


def unmatched(a, b):
    rows, columns = len(a), len(a[0])
    count = 0
    for r in range(rows):
        for c in range(columns):
            if a[r][c] and not any(b[rr][cc]
                                   for rr in range(max(r - 1, 0), min(r + 2, rows))
                                   for cc in range(max(c - 1, 0), min(c + 2, columns))):
                count += 1
    return count


def picture(mask):
    return "\n".join("".join("#" if cell else "." for cell in line) for line in mask)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("reference")
    parser.add_argument("render")
    parser.add_argument("--columns", type=int, default=16)
    parser.add_argument("--rows", type=int, default=12)
    parser.add_argument("--max", type=int, default=6)
    args = parser.parse_args()
    reference = ink_picture(args.reference)
    render = ink_picture(args.render)
    if reference is None:
        print(f"FAIL: the reference {args.reference} has no ink")
        return 1
    if render is None:
        print(f"FAIL: the render {args.render} has no ink")
        return 1
    a = mask_of(reference, args.columns, args.rows)
    b = mask_of(render, args.columns, args.rows)
    mismatches = unmatched(a, b) + unmatched(b, a)
    print(f"reference {args.reference}:\n{picture(a)}\nrender {args.render}:\n{picture(b)}")
    print(f"{mismatches} mismatched cells (at most {args.max} allowed)")
    return 0 if mismatches <= args.max else 1


if __name__ == "__main__":
    sys.exit(main())
