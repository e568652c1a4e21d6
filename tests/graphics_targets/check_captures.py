"""Independent readers of the files the capture tests wrote."""
import os
import subprocess
import sys

from PIL import Image

work = sys.argv[1]

# The 5 x 3 picture the test drew, top row first, as (red, green, blue).
PICTURE = [0x0000FF, 0x00FF00, 0xFF0000, 0x000000, 0xFFFFFF,
           0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080, 0x404040,
           0x000080, 0x008000, 0x800000, 0xC0C0C0, 0x102030]
EXPECTED = [(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF) for c in PICTURE]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


for name in ("capture.bmp", "capture.pcx", "capture.png"):
    path = os.path.join(work, name)
    check(os.path.exists(path), f"{name} missing")
    if not os.path.exists(path):
        continue
    with Image.open(path) as image:
        check(image.size == (5, 3), f"{name}: Pillow size {image.size}")
        pixels = list(image.convert("RGB").getdata())
        check(pixels == EXPECTED, f"{name}: Pillow pixels {pixels}")
    identify = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True)
    check(identify.returncode == 0 and identify.stdout.strip() == "5 3",
          f"{name}: identify {identify.returncode} {identify.stdout} {identify.stderr}")
    magick = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True)
    check(magick.returncode == 0 and list(zip(*[iter(magick.stdout)] * 3)) == EXPECTED,
          f"{name}: ImageMagick pixels differ")

for bits in (1, 4, 8):
    path = os.path.join(work, f"palette{bits}.png")
    check(os.path.exists(path), f"{path} missing")
    if not os.path.exists(path):
        continue
    with Image.open(path) as image:
        pixels = list(image.convert("RGB").getdata())
        check(pixels == [(0, 0, 0), (255, 255, 255)] * 2, f"palette{bits}.png: {pixels}")

for name in sorted(os.listdir(work)):
    if name.endswith(".png"):
        result = subprocess.run(["pngcheck", os.path.join(work, name)], capture_output=True, text=True)
        check(result.returncode == 0, f"pngcheck {name}: {result.stdout} {result.stderr}")

for f in failures:
    print(f)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
