#!/usr/bin/python3
"""Reads what test_hardcopy_vector_dxf left in its folder with ezdxf.

Usage: check_dxf_files.py FOLDER RENDERS SCENE_MASK

Every DXF file must load with ezdxf.readfile and pass doc.audit() without an
error.  scene.dxf is then drawn to RENDERS/dxf.png, by ezdxf's drawing add-on
when matplotlib is installed and otherwise by the small rasteriser below, and
SCENE_MASK compares its ink with the screen's render RENDERS/screen.ppm.
"""
import glob
import math
import os
import subprocess
import sys

PIXELS_PER_UNIT = 64  # the drawing's units are inches of the page
FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def audit_all(folder):
    import ezdxf

    files = sorted(glob.glob(os.path.join(folder, "*.dxf")))
    if not files:
        fail(f"no DXF files in {folder}")
    for path in files:
        try:
            doc = ezdxf.readfile(path)
        except Exception as error:  # any refusal of the reader fails the file
            fail(f"ezdxf cannot read {path}: {error}")
        auditor = doc.audit()
        if auditor.has_errors:
            details = "; ".join(str(entry.message) for entry in auditor.errors)
            fail(f"ezdxf audit of {path}: {len(auditor.errors)} errors: {details}")
    print(f"{len(files)} DXF files read and audited by ezdxf with 0 errors")


def render_with_addon(doc, target):
    from ezdxf.addons.drawing import matplotlib as drawing

    drawing.qsave(doc.modelspace(), target, bg="#FFFFFF", dpi=PIXELS_PER_UNIT)


class Canvas:
    """The page, y upward in drawing units, on a white Pillow image."""

    def __init__(self, width, height):
        from PIL import Image, ImageDraw

        self.height = height
        self.image = Image.new("RGB", (max(1, round(width * PIXELS_PER_UNIT)), max(1, round(height * PIXELS_PER_UNIT))),
                               "white")
        self.draw = ImageDraw.Draw(self.image)

    def pixel(self, x, y):
        return (x * PIXELS_PER_UNIT, (self.height - y) * PIXELS_PER_UNIT)

    def polyline(self, points):
        if len(points) >= 2:
            self.draw.line([self.pixel(x, y) for x, y in points], fill="black", width=1)

    def polygon(self, points):
        self.draw.polygon([self.pixel(x, y) for x, y in points], fill="black", outline="black")

    def arc(self, cx, cy, r, start, end):
        steps = max(8, int(abs(end - start) / 5))
        self.polyline([(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
                        cy + r * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)])

    def text(self, words, x, y, height, rotation):
        from PIL import Image, ImageDraw, ImageFont

        if not words or height <= 0:
            return
        # A cap height of `height`: Liberation Sans capitals are 0.72 em.
        font = ImageFont.truetype(FONT, max(1, round(height * PIXELS_PER_UNIT / 0.72)))
        left, top, right, bottom = font.getbbox(words, anchor="ls")
        side = 2 * max(right - left, bottom - top, 1) + 4
        stamp = Image.new("L", (2 * side, 2 * side), 0)
        ImageDraw.Draw(stamp).text((side, side), words, font=font, fill=255, anchor="ls")
        stamp = stamp.rotate(rotation, center=(side, side))  # counter-clockwise, as DXF
        px, py = self.pixel(x, y)
        self.image.paste((0, 0, 0), (round(px) - side, round(py) - side), stamp)


def xy(vector):
    return (vector[0], vector[1])


def render_ourselves(doc, target):
    header = doc.header
    width, height = header.get("$LIMMAX", (10.5, 7.5))[:2]
    canvas = Canvas(width, height)
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "LINE":
            canvas.polyline([xy(entity.dxf.start), xy(entity.dxf.end)])
        elif kind == "LWPOLYLINE":
            canvas.polyline([xy(p) for p in entity.get_points()])
        elif kind == "POLYLINE":
            canvas.polyline([xy(v.dxf.location) for v in entity.vertices])
        elif kind == "SOLID":
            corners = [xy(entity.dxf.get(name)) for name in ("vtx0", "vtx1", "vtx3", "vtx2")]
            canvas.polygon(corners)
        elif kind == "CIRCLE":
            cx, cy = xy(entity.dxf.center)
            canvas.arc(cx, cy, entity.dxf.radius, 0.0, 360.0)
        elif kind == "ARC":
            cx, cy = xy(entity.dxf.center)
            start, end = entity.dxf.start_angle, entity.dxf.end_angle
            while end < start:
                end += 360.0
            canvas.arc(cx, cy, entity.dxf.radius, start, end)
        elif kind == "TEXT":
            x, y = xy(entity.dxf.insert)
            canvas.text(entity.dxf.text, x, y, entity.dxf.height, entity.dxf.get("rotation", 0.0))
    canvas.image.save(target)


def main():
    if len(sys.argv) != 4:
        fail(__doc__)
    folder, renders, scene_mask = sys.argv[1:]
    try:
        import ezdxf
    except ImportError:
        fail("python3-ezdxf is not installed")
    audit_all(folder)

    scene = os.path.join(folder, "scene.dxf")
    if not os.path.exists(scene):
        fail("no scene.dxf")
    os.makedirs(renders, exist_ok=True)
    target = os.path.join(renders, "dxf.png")
    doc = ezdxf.readfile(scene)
    try:
        import matplotlib  # noqa: F401
        have_matplotlib = True
    except ImportError:
        have_matplotlib = False
    if have_matplotlib:
        render_with_addon(doc, target)
        print(f"scene drawn by ezdxf's drawing add-on to {target}")
    else:
        render_ourselves(doc, target)
        print(f"scene drawn by the test's rasteriser to {target}")
    result = subprocess.run([sys.executable, scene_mask, os.path.join(renders, "screen.ppm"), target])
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
