#!/usr/bin/python3
"""Reads the images that test_raster_drivers left behind with programs of their own.

Usage: check_raster_images.py IMAGE_FOLDER SCREEN_PPM RASTER_PNG SCENE_MASK_PY

IMAGE_FOLDER holds the images the raster image driver wrote and the lists
expected_*.txt: one line per file, "name width height pages" and then every
page's pixels as hexadecimal colours (red in the low byte), top row first.
Each file is cut into its images (several pages append several images to one
file); ImageMagick and Pillow must read every image with exactly the
expected pixels (Pillow is spared run-length BMPs whose rows code pixels past the
width, which it carries into the next row, and ImageMagick one-bit PCX
files, which it reads as their negative); pngcheck must accept every PNG.  Then the driver's render of the shared scene must give the screen's
ink mask (SCENE_MASK_PY).
"""
import io
import os
import shutil
import struct
import subprocess
import sys

from PIL import Image

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def need(program):
    if shutil.which(program) is None:
        fail(program + " is not installed")


def expected_files(folder):
    files = {}
    for listing in sorted(os.listdir(folder)):
        if not (listing.startswith("expected_") and listing.endswith(".txt")):
            continue
        with open(os.path.join(folder, listing)) as lines:
            for line in lines:
                fields = line.split()
                if not fields:
                    continue
                name, width, height, pages = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
                colours = [int(value, 16) for value in fields[4:]]
                if len(colours) != width * height * pages:
                    fail("%s: %d colours listed for %d pages of %d x %d" % (name, len(colours), pages, width, height))
                size = width * height
                files[name] = (width, height, [colours[k * size:(k + 1) * size] for k in range(pages)])
    if not files:
        fail("no lists of expected images in " + folder)
    return files


def split_png(data):
    images, at = [], 0
    while at < len(data):
        if data[at:at + 8] != PNG_SIGNATURE:
            fail("no PNG signature at byte %d" % at)
        chunk = at + 8
        while True:
            if chunk + 8 > len(data):
                fail("PNG image at byte %d has no IEND" % at)
            length, kind = struct.unpack(">I4s", data[chunk:chunk + 8])
            chunk += 12 + length
            if kind == b"IEND":
                break
        images.append(data[at:chunk])
        at = chunk
    return images


def split_bmp(data):
    images, at = [], 0
    while at < len(data):
        if data[at:at + 2] != b"BM":
            fail("no BMP header at byte %d" % at)
        size = struct.unpack("<I", data[at + 2:at + 6])[0]
        if size < 54 or at + size > len(data):
            fail("BMP image at byte %d claims %d bytes" % (at, size))
        images.append(data[at:at + size])
        at += size
    return images


def split_pcx(data):
    images, at = [], 0
    while at < len(data):
        header = data[at:at + 128]
        if len(header) < 128 or header[0] != 10:
            fail("no PCX header at byte %d" % at)
        bits, planes = header[3], header[65]
        line_bytes = struct.unpack("<H", header[66:68])[0]
        x_min, y_min, x_max, y_max = struct.unpack("<4H", header[4:12])
        remaining = planes * line_bytes * (y_max - y_min + 1)
        p = at + 128
        while remaining > 0:
            if p >= len(data):
                fail("PCX image at byte %d ends inside its pixels" % at)
            count = 1
            if data[p] >= 192:
                count = data[p] - 192
                p += 1
            p += 1
            remaining -= count
        if remaining < 0:
            fail("a PCX run at byte %d crosses the end of the image" % p)
        if bits == 8 and planes == 1:
            if p >= len(data) or data[p] != 12:
                fail("PCX image at byte %d has no palette after its pixels" % at)
            p += 769
        images.append(data[at:p])
        at = p
    return images


SPLITTERS = {".png": split_png, ".bmp": split_bmp, ".pcx": split_pcx}


def rgb_of(colour):
    return (colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF)


def compare(what, reader, got, width, colours):
    wrong = []
    for i, pixel in enumerate(got):
        want = rgb_of(colours[i])
        if pixel != want:
            wrong.append("(%d, %d) %r not %r" % (i % width, i // width, pixel, want))
    if wrong:
        fail("%s: %d pixels differ in %s's reading, first %s" % (what, len(wrong), reader, "; ".join(wrong[:4])))


def check_with_pillow(what, image_bytes, width, height, colours):
    image = Image.open(io.BytesIO(image_bytes))
    image.load()
    if image.size != (width, height):
        fail("%s: Pillow reads %r, not %d x %d" % (what, image.size, width, height))
    compare(what, "Pillow", list(image.convert("RGB").getdata()), width, colours)


def check_with_imagemagick(what, path, width, height, colours, pixels=True):
    size = subprocess.run(["identify", "-format", "%w %h\n", path], capture_output=True, text=True)
    if size.returncode != 0:
        fail("%s: ImageMagick cannot read it: %s" % (what, size.stderr.strip()))
    first = size.stdout.split("\n")[0].split()
    if first != [str(width), str(height)]:
        fail("%s: ImageMagick reads %s, not %d x %d" % (what, first, width, height))
    if not pixels:
        return
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True)
    if raw.returncode != 0 or len(raw.stdout) != 3 * width * height:
        fail("%s: ImageMagick gives no %d x %d RGB pixels: %s" % (what, width, height, raw.stderr.decode().strip()))
    data = raw.stdout
    compare(what, "ImageMagick", [tuple(data[i:i + 3]) for i in range(0, len(data), 3)], width, colours)


def one_bit_pcx(image_bytes):
    return image_bytes[0] == 10 and image_bytes[3] == 1 and image_bytes[65] == 1


def run_length_bmp_past_width(image_bytes, width):
    if image_bytes[:2] != b"BM":
        return False
    depth, compression = struct.unpack("<HI", image_bytes[28:34])
    group = {(8, 1): 4, (4, 2): 8}.get((depth, compression))
    return group is not None and width % group != 0


def check_png(what, path):
    result = subprocess.run(["pngcheck", path], capture_output=True, text=True)
    if result.returncode != 0:
        fail("%s: pngcheck refuses it: %s" % (what, (result.stdout + result.stderr).strip()))


def main():
    if len(sys.argv) != 5:
        fail(__doc__)
    folder, screen, render, scene_mask = sys.argv[1:]
    for program in ("identify", "convert", "pngcheck"):
        need(program)
    scratch = os.path.join(folder, "split")
    os.makedirs(scratch, exist_ok=True)
    files = expected_files(folder)
    for name, (width, height, pages) in sorted(files.items()):
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            fail("%s was not written" % name)
        extension = os.path.splitext(name)[1].lower()
        with open(path, "rb") as handle:
            images = SPLITTERS[extension](handle.read())
        if len(images) != len(pages):
            fail("%s holds %d images, not %d" % (name, len(images), len(pages)))
        for number, (image_bytes, colours) in enumerate(zip(images, pages), start=1):
            what = "%s image %d" % (name, number)
            part = os.path.join(scratch, "%s.%d%s" % (name, number, extension))
            with open(part, "wb") as handle:
                handle.write(image_bytes)
            # A one-bit PCX has no palette: Pillow (and the toolkit) take a set
            # bit as white, ImageMagick as black; its pixels go by Pillow.
            check_with_imagemagick(what, part, width, height, colours, pixels=not one_bit_pcx(image_bytes))
            # A run-length row codes whole groups of four bytes, pixels past
            # the width included; Pillow carries those over into the next row.
            if not run_length_bmp_past_width(image_bytes, width):
                check_with_pillow(what, image_bytes, width, height, colours)
            if extension == ".png":
                check_png(what, part)
        print("%s: %d image(s) read with the expected pixels" % (name, len(images)))

    if not os.path.isfile(render):
        fail("no render of the scene: " + render)
    check_png("scene render", render)
    result = subprocess.run(["/usr/bin/python3", scene_mask, screen, render, "--clip"])
    if result.returncode != 0:
        fail("the raster image driver's scene does not match the screen's, or shows ink outside its clip")
    print("scene render matches the screen's ink mask and keeps to its clip")
    return 0


if __name__ == "__main__":
    sys.exit(main())
