"""Renders the SVG drawings in this folder and writes the game's pictures:
plonk_sf1.png (the sprite sheet), plonk_bg1.png (the backdrop), mpointer.png and bqlogo.png.

The game treats pure black as its only transparent colour and masks without blending, so every
sprite is rendered anti-aliased and then hardened: coverage of one half or more becomes an opaque
pixel of the rendered colour (no dark fringe from blending with black), less becomes black, and
opaque pixels that happen to be pure black are lifted to a near-black that stays visible.
The PNGs are 8-bit RGB without alpha, written with fixed settings and no metadata, so the same
sources give the same bytes.

usage: /usr/bin/python3 compose.py OUTPUT_FOLDER
"""
import os
import subprocess
import sys

from PIL import Image, ImageChops

import svgload

HERE = os.path.dirname(os.path.abspath(__file__))
NEAR_BLACK = (8, 8, 8)

# Sprite rectangles on the sheet (left, top, width, height); the game cuts its sprites here.
SHEET_SIZE = (571, 315)
TITLE = (1, 142, 420, 162)
TURKEY = (1, 1, 78, 58)
WHEEL = (82, 1, 48, 48)
CHUTE = (341, 1, 122, 87)
BIN = (466, 1, 99, 108)
FORK = (317, 60, 21, 77)
BELT = [(133 + 24 * f, 1, 23, 44) for f in range(5)]
STABBED = [(1 + 91 * f, 62, 90, 75) for f in range(2)]
HAND = [(185 + 65 * f, 60, 64, 77) for f in range(2)]

BELT_PERIOD = 12     # the cleats repeat every 12 pixels...
BELT_STEP = 4        # ...and move 4 pixels right per frame, so frames 0, 1, 2 loop


def render(name):
    """The named SVG rendered at its own size, as RGBA."""
    svg = svgload.load(os.path.join(HERE, name)).encode("utf-8")
    png = subprocess.run(["rsvg-convert", "--format=png"], input=svg,
                         capture_output=True, check=True).stdout
    path = os.path.join(TMP, name + ".png")
    with open(path, "wb") as f:
        f.write(png)
    with Image.open(path) as im:
        return im.convert("RGBA")


def lift_black(rgb, opaque):
    """Pure black where the picture is opaque becomes near-black."""
    r, g, b = rgb.split()
    black = ImageChops.lighter(ImageChops.lighter(r, g), b).point(lambda v: 255 if v == 0 else 0)
    black = ImageChops.multiply(black, opaque)
    rgb.paste(NEAR_BLACK, mask=black)
    return rgb


def harden(rgba):
    """Thresholds coverage: opaque rendered colour or transparent black, never in between."""
    opaque = rgba.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
    rgb = Image.new("RGB", rgba.size, (0, 0, 0))
    rgb.paste(rgba.convert("RGB"), mask=opaque)
    return lift_black(rgb, opaque)


def flatten(rgba):
    """A picture meant to be opaque everywhere (the backdrop)."""
    rgb = Image.new("RGB", rgba.size, NEAR_BLACK)
    rgb.paste(rgba.convert("RGB"), mask=rgba.getchannel("A"))
    return lift_black(rgb, Image.new("L", rgba.size, 255))


def belt_frames():
    """Five belt segments: the still frame plus the cleated runs shifted 4 pixels per frame."""
    frame = harden(render("belt_frame.svg")).crop((23, 0, 46, 44))
    tread = render("belt_tread.svg")
    tread_rgb = harden(tread)
    tread_on = tread.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
    first = 2 * BELT_PERIOD  # a period from the middle, clear of the strip's ends
    frames = []
    for f in range(len(BELT)):
        seg = frame.copy()
        for x in range(23):
            src = first + (x - BELT_STEP * f) % BELT_PERIOD
            col = (src, 0, src + 1, 44)
            seg.paste(tread_rgb.crop(col), (x, 0), mask=tread_on.crop(col))
        frames.append(seg)
    return frames


def place(sheet, image, rect):
    left, top, width, height = rect
    if image.size != (width, height):
        raise SystemExit("sprite is %dx%d, its rectangle %dx%d" % (image.size + (width, height)))
    sheet.paste(image, (left, top))


def save(image, path):
    image.save(path, format="PNG", optimize=False, compress_level=9)


def main(out):
    sheet = Image.new("RGB", SHEET_SIZE, (0, 0, 0))
    place(sheet, harden(render("title.svg")), TITLE)
    place(sheet, harden(render("turkey.svg")), TURKEY)
    place(sheet, harden(render("wheel.svg")), WHEEL)
    place(sheet, harden(render("chute.svg")), CHUTE)
    place(sheet, harden(render("bin.svg")), BIN)
    place(sheet, harden(render("fork.svg")), FORK)
    for image, rect in zip(belt_frames(), BELT):
        place(sheet, image, rect)
    stabbed = harden(render("stabbed.svg"))
    place(sheet, stabbed, STABBED[0])
    place(sheet, stabbed.transpose(Image.Transpose.FLIP_LEFT_RIGHT), STABBED[1])
    place(sheet, harden(render("hand_grip.svg")), HAND[0])
    place(sheet, harden(render("hand_open.svg")), HAND[1])
    save(sheet, os.path.join(out, "plonk_sf1.png"))

    save(flatten(render("backdrop.svg")), os.path.join(out, "plonk_bg1.png"))
    save(harden(render("pointer.svg")), os.path.join(out, "mpointer.png"))
    save(harden(render("logo.svg")), os.path.join(out, "bqlogo.png"))


if __name__ == "__main__":
    import tempfile
    with tempfile.TemporaryDirectory() as TMP:
        main(sys.argv[1])
