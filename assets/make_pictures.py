#!/usr/bin/python3
"""Draws every picture the window shows, plus the program icon, into assets/pictures/.

The output is committed, so a build never runs this. Run it again after changing a drawing:

    /usr/bin/python3 assets/make_pictures.py           # rewrite the files
    /usr/bin/python3 assets/make_pictures.py --check   # fail if a committed file differs

It needs Debian's python3-pil and fonts-wqy-microhei. Nothing here depends on the time or on
randomness, so the same packages give the same bytes.
"""

import argparse
import io
import math
import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

OUT_DIR = Path(__file__).resolve().parent / "pictures"
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

BUTTON_FACE = (240, 240, 240)  # the window background the convert plate sits on
PANEL_BLUE = (40, 113, 213)  # the options panel, and the normal close/minimise blue
HOVER_BLUE = (74, 148, 240)  # lighter, so the pointer over a title button is obvious
WHITE = (255, 255, 255)
LANCZOS = Image.Resampling.LANCZOS


def jpeg_bytes(img, quality):
    """Baseline JPEG, 4:4:4, JFIF 1.01 at 96 dpi, standard Huffman tables, no extra segments."""
    buf = io.BytesIO()
    img.convert("RGB").save(buf, "JPEG", quality=quality, subsampling=0, dpi=(96, 96),
                            optimize=False, progressive=False)
    return buf.getvalue()


def supersampled(size, scale, draw_fn, background):
    """Draws at scale times the size and filters down, for smooth curves and text."""
    big = Image.new("RGB", (size[0] * scale, size[1] * scale), background)
    draw_fn(big, ImageDraw.Draw(big), scale)
    return big.resize(size, LANCZOS)


# --- service toggles, 13 x 13 -------------------------------------------------------------
# Drawn pixel by pixel: at this size any filtering blurs the frame and the tick.

TICK = [  # the classic 7 x 7 check mark
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
]


def toggle(ticked, hover):
    img = Image.new("RGB", (13, 13), WHITE)
    px = img.load()
    frame = (16, 84, 200) if hover else (112, 112, 112)
    for i in range(13):
        for edge in ((i, 0), (i, 12), (0, i), (12, i)):
            px[edge] = frame
    if hover:
        # A light inner ring makes the blue frame read as a highlight, not as a different box.
        for i in range(1, 12):
            for edge in ((i, 1), (i, 11), (1, i), (11, i)):
                px[edge] = (170, 206, 246)
    else:
        # A faint shade along the top and left gives the box a little depth.
        for i in range(1, 12):
            px[i, 1] = (226, 226, 226)
            px[1, i] = (226, 226, 226)
    if ticked:
        for y, row in enumerate(TICK):
            for x, cell in enumerate(row):
                if cell == "#":
                    px[3 + x, 3 + y] = (24, 24, 24)
    return img


# --- title bar buttons ----------------------------------------------------------------------


def close_button(background):
    def draw(_img, d, s):
        width = 2 * s
        a, b = 5 * s, 13 * s
        d.line([(a, a), (b, b)], fill=WHITE, width=width)
        d.line([(a, b), (b, a)], fill=WHITE, width=width)

    return supersampled((18, 18), 8, draw, background)


def minimise_button(background):
    # Pixel-exact: a horizontal bar has nothing for a filter to smooth, only to blur.
    img = Image.new("RGB", (33, 12), background)
    ImageDraw.Draw(img).rectangle([11, 7, 21, 8], fill=WHITE)
    return img


# --- convert button, 164 x 50 ---------------------------------------------------------------

CONVERT_SHADES = {
    # top of plate, bottom of plate, frame, text shadow
    "normal": ((92, 196, 88), (38, 150, 48), (28, 116, 36), (20, 96, 28)),
    "hover": ((122, 220, 112), (56, 178, 64), (36, 136, 44), (26, 112, 34)),
    "pressed": ((44, 150, 50), (30, 118, 38), (18, 90, 26), (12, 70, 18)),
}


def lerp(c0, c1, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def convert_button(shade):
    top, bottom, frame, shadow = CONVERT_SHADES[shade]
    pressed = shade == "pressed"
    font_px = 27

    def draw(img, d, s):
        w, h = img.size
        inset, radius = 1 * s, 7 * s
        box = [inset, inset, w - inset - 1, h - inset - 1]
        plate = Image.new("RGB", img.size)
        pd = ImageDraw.Draw(plate)
        for y in range(h):
            pd.line([(0, y), (w, y)], fill=lerp(top, bottom, y / (h - 1)))
        # A soft gloss over the upper half, stronger on the raised shades than on the pressed one.
        gloss = Image.new("L", img.size, 0)
        ImageDraw.Draw(gloss).rounded_rectangle(
            [inset + 3 * s, inset + 2 * s, w - inset - 3 * s, h // 2], radius=5 * s,
            fill=28 if pressed else 60)
        plate.paste(Image.new("RGB", img.size, WHITE), (0, 0), gloss)
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
        img.paste(plate, (0, 0), mask)
        d.rounded_rectangle(box, radius=radius, outline=frame, width=s)

        font = ImageFont.truetype(CJK_FONT, font_px * s)
        text = "一键缩短"
        left, upper, right, lower = d.textbbox((0, 0), text, font=font, stroke_width=s // 2)
        x = (w - (right - left)) // 2 - left
        y = (h - (lower - upper)) // 2 - upper + (s if pressed else 0)
        d.text((x + s, y + s), text, font=font, fill=shadow, stroke_width=s // 2, stroke_fill=shadow)
        d.text((x, y), text, font=font, fill=WHITE, stroke_width=s // 2, stroke_fill=WHITE)

    return supersampled((164, 50), 4, draw, BUTTON_FACE)


# --- logo, 70 x 62 --------------------------------------------------------------------------


def logo():
    def draw(img, d, s):
        w, h = img.size
        cx, cy = w / 2, h / 2
        r = 29 * s
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(22, 78, 168))
        # Radial shading: light from the upper left, darker towards the rim.
        inner = r - 3 * s
        steps = 48
        for i in range(steps):
            t = i / (steps - 1)
            rr = inner * (1 - t) + 1
            ox, oy = -6 * s * t, -6 * s * t
            col = lerp(PANEL_BLUE, (96, 164, 244), t)
            d.ellipse([cx + ox - rr, cy + oy - rr, cx + ox + rr, cy + oy + rr], fill=col)
        ring = inner - 2 * s
        d.ellipse([cx - ring, cy - ring, cx + ring, cy + ring], outline=WHITE, width=s)

        # Two chain links, the usual sign for a web address, laid at 45 degrees. They overlap
        # by a little less than a link's height so each one's end sits inside the other.
        links = Image.new("L", img.size, 0)
        ld = ImageDraw.Draw(links)
        link_w, link_h, stroke = 24 * s, 13 * s, 3 * s
        for dx in (-9 * s, 9 * s):
            x0, y0 = cx + dx - link_w / 2, cy - link_h / 2
            ld.rounded_rectangle([x0, y0, x0 + link_w, y0 + link_h], radius=link_h / 2,
                                 outline=255, width=stroke)
        links = links.rotate(45, resample=Image.Resampling.BICUBIC, center=(cx, cy))
        img.paste(Image.new("RGB", img.size, WHITE), (0, 0), links)

    return supersampled((70, 62), 8, draw, WHITE)


# --- program icon, 32 x 32 BGRA -------------------------------------------------------------


def icon_image():
    s = 8
    size = 32 * s
    c = size / 2
    radius, thick = 10 * s, 4 * s
    shape = Image.new("L", (size, size), 0)
    d = ImageDraw.Draw(shape)
    # Two arcs chasing each other clockwise, each ending in an arrowhead.
    for start, end in ((200, 320), (20, 140)):
        box = [c - radius - thick / 2, c - radius - thick / 2, c + radius + thick / 2,
               c + radius + thick / 2]
        d.arc(box, start, end, fill=255, width=round(thick))
        a = math.radians(end)
        px, py = c + radius * math.cos(a), c + radius * math.sin(a)
        rx, ry = math.cos(a), math.sin(a)  # outwards
        tx, ty = -math.sin(a), math.cos(a)  # clockwise along the circle
        half, reach = 1.3 * thick, 1.6 * thick
        d.polygon([(px + rx * half, py + ry * half), (px - rx * half, py - ry * half),
                   (px + tx * reach, py + ty * reach)], fill=255)
    outline = shape.filter(ImageFilter.MaxFilter(2 * s + 1))

    dark = Image.new("RGBA", (size, size), (176, 80, 0, 255))
    fill = Image.new("RGBA", (size, size))
    fd = ImageDraw.Draw(fill)
    for y in range(size):
        fd.line([(0, y), (size, y)], fill=lerp((255, 184, 64), (240, 112, 8), y / (size - 1)) + (255,))
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    img.paste(dark, (0, 0), outline)
    img.paste(fill, (0, 0), shape)
    # Resizing RGBA premultiplies alpha, so the edges keep their colour rather than darkening.
    return img.resize((32, 32), LANCZOS)


def ico_bytes(img):
    """An icon file holding one 32 x 32 image: 32-bit BGRA rows bottom-up and an all-zero mask."""
    w, h = img.size
    rows = []
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b, a = img.getpixel((x, y))
            rows.append(bytes((b, g, r, a)))
    pixels = b"".join(rows)
    mask = bytes(((w + 31) // 32) * 4 * h)  # alpha does the masking; the AND mask stays clear
    image = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(pixels) + len(mask), 0, 0,
                        0, 0) + pixels + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


# --------------------------------------------------------------------------------------------


def all_files():
    small, large = 100, 92
    return {
        "toggle_on.jpg": jpeg_bytes(toggle(True, False), small),
        "toggle_on_hover.jpg": jpeg_bytes(toggle(True, True), small),
        "toggle_off.jpg": jpeg_bytes(toggle(False, False), small),
        "toggle_off_hover.jpg": jpeg_bytes(toggle(False, True), small),
        "logo.jpg": jpeg_bytes(logo(), large),
        "convert_normal.jpg": jpeg_bytes(convert_button("normal"), large),
        "convert_hover.jpg": jpeg_bytes(convert_button("hover"), large),
        "convert_pressed.jpg": jpeg_bytes(convert_button("pressed"), large),
        "close_normal.jpg": jpeg_bytes(close_button(PANEL_BLUE), small),
        "close_hover.jpg": jpeg_bytes(close_button(HOVER_BLUE), small),
        "minimise_normal.jpg": jpeg_bytes(minimise_button(PANEL_BLUE), small),
        "minimise_hover.jpg": jpeg_bytes(minimise_button(HOVER_BLUE), small),
        "icon_main.ico": ico_bytes(icon_image()),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed files instead of writing them")
    args = parser.parse_args()
    stale = []
    OUT_DIR.mkdir(exist_ok=True)
    for name, data in all_files().items():
        path = OUT_DIR / name
        if args.check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.write_bytes(data)
        print(f"{name:24} {len(data):6} bytes")
    if stale:
        print("differs from the drawing: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
