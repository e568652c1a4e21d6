#!/usr/bin/python3
"""Compares a driver's render of the shared test scene with the screen's.

Usage: scene_mask.py REFERENCE RENDER [--columns 16] [--rows 12] [--max 6] [--clip]
       scene_mask.py --clip-only RENDER [--shaded]

Both pictures (any format Pillow reads: PPM, PNG, ...) are cropped to the box
that holds their ink, so that page margins and the size of the page do not
matter, then reduced to coarse ink masks: a cell is inked when at least 2% of
its pixels (and at least one) have a channel below 200.  A cell inked in one
mask with no inked cell at or next to it in the other is a mismatch; more than
--max mismatches, or a render with no ink, fails.  Both masks are printed.

--clip also checks the scene's clip rectangle: the magenta polygon under it
may show nowhere outside it (with a margin of TOLERANCE of the scene), and
must fill most of it.  --clip-only checks that alone, without a reference;
with --shaded it also checks that the shaded polygon is there and shaded.
--skip-clipped-polygon leaves the clipped polygon's area out of the comparison,
for renderers that drop a fill crossing the clip instead of clipping it.
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


# Where the scene's ink lies and where its clip rectangle is, in fractions of
# the surface, y upward (tests/support/graphics_scene.h).
SCENE_LEFT, SCENE_RIGHT, SCENE_BOTTOM, SCENE_TOP = 0.02, 0.95, 0.05, 0.95
CLIP_LEFT, CLIP_RIGHT, CLIP_BOTTOM, CLIP_TOP = 0.28, 0.40, 0.10, 0.21
TOLERANCE = 0.012


def is_magenta(pixel):
    red, green, blue = pixel[:3]
    return red >= 200 and blue >= 200 and green <= 100


def inked_render(path):
    """The render's pixels and the box (top, bottom, left, right) of its ink,
    which stands for the scene's frame; no box when there is no ink."""
    image = Image.open(path).convert("RGB")
    width, height = image.size
    pixels = image.load()
    ink_rows = [y for y in range(height) if any(min(pixels[x, y]) < INK_LEVEL for x in range(width))]
    if not ink_rows:
        return pixels, None
    ink_columns = [x for x in range(width) if any(min(pixels[x, y]) < INK_LEVEL for y in ink_rows)]
    return pixels, (ink_rows[0], ink_rows[-1], ink_columns[0], ink_columns[-1])


def clip_problems(path):
    """What is wrong with the clipped polygon of a render; empty when nothing."""
    pixels, box = inked_render(path)
    if box is None:
        return ["the render has no ink"]
    top, bottom, left, right = box
    magenta = [(x, y) for y in range(top, bottom + 1) for x in range(left, right + 1) if is_magenta(pixels[x, y])]
    if not magenta:
        return ["the clipped polygon is missing"]

    def across(x):
        return SCENE_LEFT + (x - left) / max(right - left, 1) * (SCENE_RIGHT - SCENE_LEFT)

    def up(y):
        return SCENE_TOP - (y - top) / max(bottom - top, 1) * (SCENE_TOP - SCENE_BOTTOM)

    low_x, high_x = across(min(x for x, _ in magenta)), across(max(x for x, _ in magenta))
    low_y, high_y = up(max(y for _, y in magenta)), up(min(y for _, y in magenta))
    print(f"clipped polygon spans x {low_x:.3f}-{high_x:.3f}, y {low_y:.3f}-{high_y:.3f} "
          f"(clip x {CLIP_LEFT}-{CLIP_RIGHT}, y {CLIP_BOTTOM}-{CLIP_TOP})")
    problems = []
    # The polygon reaches 0.03 and more past every side: a render that does not
    # clip shows it larger than the rectangle.  Where it lies is held less
    # tightly, as a render's ink box may differ by a few pixels from the scene's.
    too_wide = high_x - low_x > CLIP_RIGHT - CLIP_LEFT + 2 * TOLERANCE
    too_tall = high_y - low_y > CLIP_TOP - CLIP_BOTTOM + 2 * TOLERANCE
    off = 2 * TOLERANCE
    misplaced = low_x < CLIP_LEFT - off or high_x > CLIP_RIGHT + off or \
        low_y < CLIP_BOTTOM - off or high_y > CLIP_TOP + off
    if too_wide or too_tall or misplaced:
        problems.append("ink of the clipped polygon outside the clip rectangle")
    if high_x - low_x < 0.8 * (CLIP_RIGHT - CLIP_LEFT) or high_y - low_y < 0.8 * (CLIP_TOP - CLIP_BOTTOM):
        problems.append("the clipped polygon does not fill its clip rectangle")
    return problems


SHADED_LEFT, SHADED_RIGHT, SHADED_BOTTOM, SHADED_TOP = 0.60, 0.95, 0.05, 0.30


def shading_problems(path):
    """What is wrong with the shaded polygon of a render; empty when nothing."""
    pixels, box = inked_render(path)
    if box is None:
        return ["the render has no ink"]
    top, bottom, left, right = box

    def column(fraction):
        return round(left + (fraction - SCENE_LEFT) / (SCENE_RIGHT - SCENE_LEFT) * (right - left))

    def row(fraction):
        return round(top + (SCENE_TOP - fraction) / (SCENE_TOP - SCENE_BOTTOM) * (bottom - top))

    margin = 0.02
    area = [pixels[x, y]
            for y in range(row(SHADED_TOP - margin), row(SHADED_BOTTOM + margin) + 1)
            for x in range(column(SHADED_LEFT + margin), column(SHADED_RIGHT - margin) + 1)]
    inked = sum(1 for p in area if min(p) < INK_LEVEL)
    colours = len({p for p in area})
    print(f"shaded polygon: {inked} of {len(area)} pixels inked, {colours} colours")
    if not area or inked < 0.9 * len(area) or colours < 20:
        return ["the shaded polygon is missing or not shaded"]
    return []


# The clipped polygon's own extent, for renderers that drop a fill crossing
# the clip instead of clipping it (hp2xx and the input window).
POLYGON_LEFT, POLYGON_RIGHT, POLYGON_BOTTOM, POLYGON_TOP = 0.25, 0.43, 0.07, 0.28


def without_clipped_polygon(ink):
    """The ink picture with the clipped polygon's area blanked."""
    height, width = len(ink), len(ink[0])
    margin = 0.01
    x0 = max(0, int((POLYGON_LEFT - margin - SCENE_LEFT) / (SCENE_RIGHT - SCENE_LEFT) * width))
    x1 = min(width, int((POLYGON_RIGHT + margin - SCENE_LEFT) / (SCENE_RIGHT - SCENE_LEFT) * width) + 1)
    y0 = max(0, int((SCENE_TOP - POLYGON_TOP - margin) / (SCENE_TOP - SCENE_BOTTOM) * height))
    y1 = min(height, int((SCENE_TOP - POLYGON_BOTTOM + margin) / (SCENE_TOP - SCENE_BOTTOM) * height) + 1)
    return [[cell and not (x0 <= x < x1 and y0 <= y < y1) for x, cell in enumerate(line)]
            for y, line in enumerate(ink)]


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
    if len(sys.argv) >= 3 and sys.argv[1] == "--clip-only":
        problems = clip_problems(sys.argv[2])
        if "--shaded" in sys.argv[3:]:
            problems += shading_problems(sys.argv[2])
        for problem in problems:
            print(f"FAIL: {sys.argv[2]}: {problem}")
        return 1 if problems else 0
    parser = argparse.ArgumentParser()
    parser.add_argument("reference")
    parser.add_argument("render")
    parser.add_argument("--clip", action="store_true")
    parser.add_argument("--skip-clipped-polygon", action="store_true")
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
    if args.skip_clipped_polygon:
        reference = without_clipped_polygon(reference)
        render = without_clipped_polygon(render)
    a = mask_of(reference, args.columns, args.rows)
    b = mask_of(render, args.columns, args.rows)
    mismatches = unmatched(a, b) + unmatched(b, a)
    print(f"reference {args.reference}:\n{picture(a)}\nrender {args.render}:\n{picture(b)}")
    print(f"{mismatches} mismatched cells (at most {args.max} allowed)")
    problems = clip_problems(args.render) if args.clip else []
    for problem in problems:
        print(f"FAIL: {args.render}: {problem}")
    return 0 if mismatches <= args.max and not problems else 1


if __name__ == "__main__":
    sys.exit(main())
