"""Renders two pictures for looking at the art: docs/sheet.png, the sprite sheet at twice its size
with its see-through parts shown as a checkerboard, and docs/scene.png, a frame of play put
together the way the game draws it (backdrop at 60 % over black, turkeys, chute, bin, belt,
wheels, hand, a fork in flight and the score line).

usage: /usr/bin/python3 tools/preview_assets.py [REPOSITORY]
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
ASSETS = os.path.join(ROOT, "assets")
DOCS = os.path.join(ROOT, "docs")


def masked(rgb):
    """Black is see-through, everything else opaque: the game's mask rule."""
    alpha = rgb.convert("L").point(lambda v: 255)
    r, g, b = rgb.split()
    from PIL import ImageChops
    black = ImageChops.lighter(ImageChops.lighter(r, g), b).point(lambda v: 0 if v == 0 else 255)
    alpha = ImageChops.multiply(alpha, black)
    out = rgb.convert("RGBA")
    out.putalpha(alpha)
    return out


def cut(sheet, left, top, width, height):
    return masked(sheet.crop((left, top, left + width, top + height)))


def draw(screen, sprite, x, y, rot=0.0, scale=1.0):
    """Draws a sprite with its handle at its centre, turned clockwise by rot degrees."""
    image = sprite
    if scale != 1.0:
        w, h = image.size
        image = image.resize((max(1, round(w * scale)), max(1, round(h * scale))), Image.NEAREST)
    if rot:
        image = image.rotate(-rot, resample=Image.NEAREST, expand=True)
    w, h = image.size
    screen.alpha_composite(image, (int(x - w / 2), int(y - h / 2)))


def sheet_preview(sheet):
    w, h = sheet.size
    board = Image.new("RGBA", (w, h))
    px = board.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = (58, 58, 66, 255) if ((x // 6) + (y // 6)) % 2 else (40, 40, 46, 255)
    board.alpha_composite(masked(sheet))
    return board.convert("RGB").resize((w * 2, h * 2), Image.NEAREST)


def scene(sheet, backdrop, font_path):
    turkey = cut(sheet, 1, 1, 78, 58)
    wheel = cut(sheet, 82, 1, 48, 48)
    chute = cut(sheet, 341, 1, 122, 87)
    bin_ = cut(sheet, 466, 1, 99, 108)
    fork = cut(sheet, 317, 60, 21, 77)
    belt = [cut(sheet, 133 + 24 * f, 1, 23, 44) for f in range(5)]
    stabbed = [cut(sheet, 1 + 91 * f, 62, 90, 75) for f in range(2)]
    hand = [cut(sheet, 185 + 65 * f, 60, 64, 77) for f in range(2)]

    screen = Image.new("RGBA", (640, 480), (0, 0, 0, 255))
    dim = masked(backdrop)
    dim.putalpha(dim.getchannel("A").point(lambda v: v * 6 // 10))
    screen.alpha_composite(dim)

    # Turkeys first, beneath the machinery: one dropping out of the chute, three riding,
    # one stabbed and flying off, one falling into the bin.
    draw(screen, turkey, 75, 150, rot=24 * 10, scale=0.7)
    for x in (190, 300, 455):
        draw(screen, turkey, x, 170)
    draw(screen, stabbed[0], 250, 110, rot=-25, scale=0.92)
    draw(screen, turkey, 590, 330, rot=45, scale=0.9)

    draw(screen, chute, 50, 70)
    draw(screen, bin_, 590, 435)
    for i in range(21):
        draw(screen, belt[1], 60 + 23 * i, 220)
    for i in range(3):
        draw(screen, wheel, 55 + 235 * i, 220, rot=18)
    draw(screen, hand[1], 372, 442)
    draw(screen, fork, 372, 300)

    # The score line: score at the left, best centred, seconds standing on the label's blanks.
    font = ImageFont.truetype(font_path, 22)
    text = ImageDraw.Draw(screen)
    blue, yellow = (60, 180, 240, 255), (180, 180, 10, 255)
    text.text((4, 0), "Score: 09", font=font, fill=blue)
    best = "Best: 25"
    text.text((320 - int(font.getlength(best)) // 2, 0), best, font=font, fill=yellow)
    label = "Time:        "
    text.text((636 - int(font.getlength(label)), 0), label, font=font, fill=blue)
    text.text((607, 0), "42", font=font, fill=blue)
    return screen.convert("RGB")


def main():
    os.makedirs(DOCS, exist_ok=True)
    with Image.open(os.path.join(ASSETS, "plonk_sf1.png")) as im:
        sheet = im.convert("RGB")
    with Image.open(os.path.join(ASSETS, "plonk_bg1.png")) as im:
        backdrop = im.convert("RGB")
    sheet_preview(sheet).save(os.path.join(DOCS, "sheet.png"), optimize=False, compress_level=9)
    scene(sheet, backdrop, os.path.join(ASSETS, "altamontenf.ttf")).save(
        os.path.join(DOCS, "scene.png"), optimize=False, compress_level=9)


if __name__ == "__main__":
    main()
