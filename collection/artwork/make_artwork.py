#!/usr/bin/python3
"""Redraws the program's pictures into src/app/gui/resources/.

    make_artwork.py [OUTDIR]

Needs Pillow (Debian: python3-pil) and the Noto CJK fonts (fonts-noto-cjk).
Everything is drawn from shapes and text; shapes are drawn at SCALE times the
size and reduced, which smooths their edges. The pictures are committed, so
the build never runs this.
"""

import math
import pathlib
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = pathlib.Path(__file__).resolve().parents[2]
DEFAULT_OUT = ROOT / "src" / "app" / "gui" / "resources"
FONT_DIR = pathlib.Path("/usr/share/fonts/opentype/noto")
SCALE = 4
KEY = (255, 0, 255)  # the search button's transparent colour

INK = (58, 34, 18)
CINNABAR = (178, 40, 32)
LEAF = (74, 122, 58)
LEAF_DARK = (46, 84, 38)
BRONZE = (140, 92, 48)


def font(family, weight, size):
    """A face of a Noto CJK collection, found by its family name."""
    path = FONT_DIR / f"Noto{family.replace(' ', '')}CJK-{weight}.ttc"
    for index in range(10):
        face = ImageFont.truetype(str(path), size, index=index)
        if face.getname()[0] == f"Noto {family} CJK TC":
            return face
    raise SystemExit(f"no Traditional Chinese face in {path}")


def serif(size, weight="Bold"):
    return font("Serif", weight, size)


def sans(size, weight="Bold"):
    return font("Sans", weight, size)


def gradient(size, top, bottom):
    width, height = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        draw.line([(0, y), (width, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return image


def centred_text(draw, box, text, face, fill, shadow=None):
    left, top, right, bottom = box
    bbox = draw.textbbox((0, 0), text, font=face)
    x = left + (right - left - (bbox[2] - bbox[0])) / 2 - bbox[0]
    y = top + (bottom - top - (bbox[3] - bbox[1])) / 2 - bbox[1]
    if shadow:
        draw.text((x + 1, y + 1), text, font=face, fill=shadow)
    draw.text((x, y), text, font=face, fill=fill)


def s(*values):
    """Scales design coordinates to the supersampled canvas."""
    return [v * SCALE for v in values]


# --- start picture -------------------------------------------------------

def draw_leaf(draw, cx, cy, length, width, angle, fill=LEAF, vein=LEAF_DARK):
    """A pointed leaf as a polygon of two arcs, with a midrib and side veins."""
    a = math.radians(angle)
    ux, uy = math.cos(a), math.sin(a)
    nx, ny = -uy, ux
    points = []
    for i in range(41):
        t = i / 40
        along, across = t * length, math.sin(math.pi * t) * width / 2
        points.append((cx + ux * along + nx * across, cy + uy * along + ny * across))
    for i in range(40, -1, -1):
        t = i / 40
        along, across = t * length, -math.sin(math.pi * t) * width / 2
        points.append((cx + ux * along + nx * across, cy + uy * along + ny * across))
    draw.polygon(s(*[c for p in points for c in p]), fill=fill)
    draw.line(s(cx, cy, cx + ux * length, cy + uy * length), fill=vein, width=2 * SCALE)
    for k in range(1, 6):
        t = k / 6
        bx, by = cx + ux * length * t, cy + uy * length * t
        reach = math.sin(math.pi * t) * width * 0.42
        for side in (1, -1):
            ex = bx + ux * reach * 0.6 + nx * reach * side
            ey = by + uy * reach * 0.6 + ny * reach * side
            draw.line(s(bx, by, ex, ey), fill=vein, width=SCALE)


def draw_scroll(draw, face):
    """An opened scroll behind the mortar, with columns of writing."""
    draw.rectangle(s(70, 250, 330, 470), fill=(250, 240, 214), outline=(190, 150, 96), width=2 * SCALE)
    for x in (62, 330):
        draw.rounded_rectangle(s(x, 238, x + 12, 482), radius=6 * SCALE, fill=BRONZE)
    columns = ["太陽之為病", "脈浮頭項強", "痛而惡寒", "桂枝湯主之"]
    for i, column in enumerate(columns):
        x = 300 - i * 34
        for j, ch in enumerate(column):
            draw.text(s(x, 266 + j * 36), ch, font=face, fill=(120, 96, 70))


def draw_mortar(draw):
    """A bronze mortar with its pestle, seen slightly from above."""
    draw.ellipse(s(150, 500, 430, 540), fill=(150, 120, 88))  # shadow on the table
    draw.polygon(s(160, 400, 420, 400, 380, 505, 200, 505), fill=BRONZE)
    draw.polygon(s(170, 410, 230, 410, 215, 500, 200, 500), fill=(168, 116, 64))
    draw.ellipse(s(150, 380, 430, 425), fill=(110, 70, 36))
    draw.ellipse(s(165, 387, 415, 418), fill=(70, 44, 24))
    draw.rectangle(s(175, 505, 405, 520), fill=(118, 78, 40))
    draw.line(s(335, 300, 275, 400), fill=(96, 62, 34), width=16 * SCALE)
    draw.ellipse(s(325, 286, 351, 312), fill=(96, 62, 34))


def draw_seal(draw, box, text, face):
    """A red seal with a white character: the product's logo."""
    draw.rounded_rectangle(s(*box), radius=8 * SCALE, fill=CINNABAR)
    inner = [box[0] + 5, box[1] + 5, box[2] - 5, box[3] - 5]
    draw.rounded_rectangle(s(*inner), radius=5 * SCALE, outline=(250, 232, 220), width=2 * SCALE)
    centred_text(draw, s(*box), text, face, fill=(252, 240, 230))


def make_start(out):
    width, height = 800, 580
    base = gradient((width * SCALE, height * SCALE), (250, 236, 206), (226, 190, 138))
    draw = ImageDraw.Draw(base)
    # the calm column where the two buttons sit
    draw.rounded_rectangle(s(540, 220, 720, 478), radius=14 * SCALE, fill=(246, 230, 200),
                           outline=(204, 164, 108), width=2 * SCALE)
    draw.line(s(40, 200, 500, 200), fill=(190, 140, 84), width=2 * SCALE)
    draw_scroll(draw, serif(26 * SCALE, "Regular"))
    for leaf in ((400, 500, 110, 40, -40), (408, 504, 96, 34, -8), (120, 480, 110, 40, -130),
                 (450, 360, 90, 34, -95), (458, 362, 80, 30, -40)):
        draw_leaf(draw, *leaf)
    draw_mortar(draw)
    draw_seal(draw, (40, 40, 140, 140), "本", serif(62 * SCALE))
    start = base.resize((width, height), Image.LANCZOS)
    draw = ImageDraw.Draw(start)
    draw.text((162, 34), "Tamvex", font=serif(72), fill=INK)
    draw.text((166, 130), "古醫籍全文檢索", font=serif(34), fill=CINNABAR)
    centred_text(draw, (540, 170, 720, 214), "本草 · 脈法 · 針灸", serif(18, "Regular"), fill=(110, 76, 40))
    centred_text(draw, (540, 488, 720, 520), "醫案 · 方論", serif(18, "Regular"), fill=(110, 76, 40))
    draw.text((40, 545), "Tamvex  古醫籍全文檢索系統", font=serif(15, "Regular"), fill=(120, 84, 48))
    start.save(out / "start.jpg", quality=92)


# --- button faces ----------------------------------------------------------

def button_face(size, top, bottom, text, face, fill, shadow, radius):
    """A rounded bevelled face on a white ground, for the start screen."""
    width, height = size
    big = Image.new("RGB", (width * SCALE, height * SCALE), (246, 230, 200))
    draw = ImageDraw.Draw(big)
    body = gradient((width * SCALE, height * SCALE), top, bottom)
    mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(s(1, 1, width - 2, height - 2), radius=radius * SCALE, fill=255)
    big.paste(body, (0, 0), mask)
    draw.rounded_rectangle(s(1, 1, width - 2, height - 2), radius=radius * SCALE,
                           outline=tuple(max(0, c - 70) for c in bottom), width=2 * SCALE)
    draw.line(s(radius, 4, width - radius, 4), fill=tuple(min(255, c + 50) for c in top), width=SCALE)
    image = big.resize(size, Image.LANCZOS)
    centred_text(ImageDraw.Draw(image), (0, 0, width, height - 2), text, face, fill, shadow)
    return image


def make_buttons(out):
    button_face((170, 60), (96, 150, 222), (26, 70, 150), "全文搜尋", sans(26), (255, 255, 255),
                (10, 30, 80), 12).save(out / "query-normal.jpg", quality=94)
    button_face((141, 50), (206, 226, 248), (148, 186, 230), "全 文 檢 索", sans(19), (28, 62, 124),
                None, 10).save(out / "query-pressed.jpg", quality=94)
    button_face((170, 60), (206, 140, 72), (140, 74, 30), "使用說明", sans(26), (255, 250, 240),
                (70, 30, 10), 12).save(out / "set-normal.jpg", quality=94)


# --- main window -----------------------------------------------------------

def make_panel(out):
    width, height = 800, 580
    panel = Image.new("RGB", (width, height), (206, 226, 244))
    draw = ImageDraw.Draw(panel)
    light, dark, darker = (244, 250, 255), (140, 170, 204), (96, 126, 166)
    draw.line([(0, 0), (width - 1, 0)], fill=light)
    draw.line([(0, 0), (0, height - 1)], fill=light)
    draw.line([(1, 1), (width - 2, 1)], fill=(230, 240, 252))
    draw.line([(1, 1), (1, height - 2)], fill=(230, 240, 252))
    draw.line([(0, height - 1), (width - 1, height - 1)], fill=darker)
    draw.line([(width - 1, 0), (width - 1, height - 1)], fill=darker)
    draw.line([(1, height - 2), (width - 2, height - 2)], fill=dark)
    draw.line([(width - 2, 1), (width - 2, height - 2)], fill=dark)
    panel.save(out / "main-panel.png", optimize=True)


def make_search_button(out):
    """67 x 28: a framed face on the key colour; the frame is drawn without
    smoothing so that no pixel mixes the key colour into the face."""
    width, height = 67, 28
    image = Image.new("RGB", (width, height), KEY)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((1, 1, width - 2, height - 2), radius=5, fill=(40, 80, 150))
    face = gradient((width - 6, height - 6), (214, 232, 252), (150, 188, 232))
    mask = Image.new("L", face.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, face.width - 1, face.height - 1), radius=3, fill=255)
    image.paste(face, (3, 3), mask)
    centred_text(draw, (0, 0, width, height - 1), "全文搜尋", sans(13), (16, 40, 96))
    alpha = Image.new("L", image.size, 255)
    pixels, alpha_pixels = image.load(), alpha.load()
    for y in range(height):
        for x in range(width):
            if pixels[x, y] == KEY:
                alpha_pixels[x, y] = 0
    image.putalpha(alpha)
    image.save(out / "search-button.png", optimize=True)


def draw_icon(size):
    """The icon at size x size pixels: shapes drawn at 256 px, then reduced."""
    big = Image.new("RGBA", (64 * SCALE, 64 * SCALE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    draw.rounded_rectangle(s(1, 1, 62, 62), radius=12 * SCALE, fill=(250, 236, 206, 255),
                           outline=(150, 96, 48, 255), width=2 * SCALE)
    draw_leaf(draw, 10, 54, 56, 30, -45)
    draw.ellipse(s(30, 4, 60, 34), fill=CINNABAR + (255,))
    icon = big.resize((size, size), Image.LANCZOS)
    k = size / 64
    box = tuple(round(v * k) for v in (30, 3, 60, 33))
    centred_text(ImageDraw.Draw(icon), box, "本", serif(max(6, round(21 * k))), (255, 244, 236, 255))
    return icon


def make_icon(out):
    draw_icon(64).quantize(colors=255, method=Image.Quantize.FASTOCTREE).save(out / "icon.png", optimize=True)


# The desktop's icon theme sizes, for the package (packaging/icons).
THEME_SIZES = [16, 24, 32, 48, 64, 128, 256]


def make_theme_icons(out):
    for size in THEME_SIZES:
        folder = out / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        draw_icon(size).save(folder / "tamvex.png", optimize=True)


QRC = """<!DOCTYPE RCC>
<RCC version="1.0">
<qresource prefix="/tamvex">
{files}
</qresource>
</RCC>
"""

PICTURES = ["start.jpg", "query-normal.jpg", "query-pressed.jpg", "set-normal.jpg",
            "main-panel.png", "search-button.png", "icon.png"]


def main(argv):
    out = pathlib.Path(argv[0]) if argv else DEFAULT_OUT
    out.mkdir(parents=True, exist_ok=True)
    make_start(out)
    make_buttons(out)
    make_panel(out)
    make_search_button(out)
    make_icon(out)
    make_theme_icons(ROOT / "packaging" / "icons" / "hicolor")
    files = "\n".join(f"    <file>{name}</file>" for name in PICTURES)
    (out / "resources.qrc").write_text(QRC.format(files=files), encoding="utf-8")
    print(f"make_artwork.py: {len(PICTURES)} pictures in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
