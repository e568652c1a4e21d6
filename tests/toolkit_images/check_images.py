#!/usr/bin/env python3
"""Independent readers of the images the writers make.

The bridge program image_export writes them under Wine, each with NAME.rgb
beside it; ImageMagick must read the same red, green and blue bytes, and
pngcheck must accept every PNG (chunk lengths, CRCs, zlib data).

Usage: check_images.py BRIDGE WORK WINE_EXEC
"""
import glob
import os
import shutil
import subprocess
import sys

BRIDGE, WORK, WINE_EXEC = sys.argv[1:4]
failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
result = subprocess.run([WINE_EXEC, BRIDGE, "Z:" + WORK.replace("/", "\\")], capture_output=True, text=True)
check(result.returncode == 0, "image_export wrote its images")
images = sorted(p[:-4] for p in glob.glob(os.path.join(WORK, "*.rgb")))
check(len(images) == 14, "14 images written (%d)" % len(images))
for image in images:
    name = os.path.basename(image)
    with open(image + ".rgb", "rb") as f:
        want = f.read()
    read = subprocess.run(["convert", image, "-depth", "8", "rgb:-"], capture_output=True)
    check(read.returncode == 0 and read.stdout == want, "ImageMagick reads %s with the page's colours" % name)
    size = subprocess.run(["identify", "-format", "%w %h", image], capture_output=True, text=True)
    check(size.stdout.strip() == "13 6", "%s is 13 x 6 (%s)" % (name, size.stdout.strip()))
    if name.endswith(".png"):
        png = subprocess.run(["pngcheck", image], capture_output=True, text=True)
        check(png.returncode == 0, "pngcheck accepts %s: %s" % (name, png.stdout.strip()))
print("%d failures" % len(failures))
sys.exit(1 if failures else 0)
