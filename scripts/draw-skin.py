#!/usr/bin/python3
"""Draws the installer's skin pictures from one table.

    draw-skin.py RESOURCE_H SKIN_DRAWINGS_H OUTDIR

Writes OUTDIR/skin/<id>.bmp (24-bit) and .png, and OUTDIR/skin.rc, which
declares each picture under its name of RESOURCE_H and, for every picture
that shows text, a string of the same id holding that text (the picture
controls take it as their window text, for screen readers).
Each picture is drawn again, as a PNG, at every DPI of kSkinDrawnDpis in
SKIN_DRAWINGS_H (OUTDIR/skin/<dpi>/<id>.png), sized as the program scales
it (MulDiv rounding), and declared as resource type "SKIN<dpi>" under the
picture's id.
Needs Pillow (Debian: python3-pil) and the font of fonts-wqy-microhei.
"""
import os
import re
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

WIZARD = (230, 230, 230)   # the wizard's client background
WHITE = (255, 255, 255)
DARK = (34, 34, 34)
RED = (204, 0, 0)
BLUE = (0, 78, 161)        # the brand blue, as the progress bar
FRAME_BLUE = (0, 65, 128)  # the dialogs' frame
ORANGE = (240, 130, 0)

# One row per picture: name in resource.h, kind, size, lines of text (each a
# list of (text, colour) runs), background, largest font size in pixels.
def runs(text, colour=DARK):
    return [(text, colour)]

TABLE = [
    # The wizard's pages.
    ("IDB_MODEL_HEADING", "text", (130, 37), [runs("打印机驱动选择：")], WIZARD, 16),
    ("IDB_NO_USB_PORT", "text", (419, 85), [
        [("没有检测到与打印机连接的USB端口，", RED), ("请将打印机USB线", RED)],
        [("连接到电脑并打开电源，然后返回“上一步”重新检测。", RED)],
        runs("并口打印机请选择端口（默认LPT1：），按“下一步”继续。"),
    ], WIZARD, 14),
    ("IDB_USB_PORT_FOUND", "text", (420, 50), [
        runs("已检测到与打印机连接的USB端口。"),
        runs("请按“下一步”确认安装设置。"),
    ], WIZARD, 15),
    ("IDB_CONFIRM_LABELS", "text", (45, 51), [runs("驱动："), runs("端口：")], WIZARD, 15),
    ("IDB_CONFIRM_NOTE", "text", (400, 50), [
        runs("按“完成”后，安装向导将按照前面各步的设置"),
        runs("安装打印机驱动程序。"),
    ], WIZARD, 15),
    ("IDB_INSTALLING", "text", (125, 25), [runs("正在安装，请稍等...")], WIZARD, 14),
    ("IDB_LOGO", "logo", (287, 75), [runs("Quillex")], None, 0),
    # Buttons: normal dark on white, hover white on blue (OK: on orange).
    ("IDB_BACK", "button", (105, 28), [runs("上一步(B)")], WHITE, 14),
    ("IDB_BACK_HOVER", "button", (105, 28), [runs("上一步(B)", WHITE)], BLUE, 14),
    ("IDB_NEXT", "button", (105, 28), [runs("下一步(N)")], WHITE, 14),
    ("IDB_NEXT_HOVER", "button", (105, 28), [runs("下一步(N)", WHITE)], BLUE, 14),
    ("IDB_CANCEL", "button", (75, 29), [runs("取消")], WHITE, 14),
    ("IDB_CANCEL_HOVER", "button", (75, 29), [runs("取消", WHITE)], BLUE, 14),
    ("IDB_FINISH", "button", (75, 29), [runs("完成")], WHITE, 14),
    ("IDB_FINISH_HOVER", "button", (75, 29), [runs("完成", WHITE)], BLUE, 14),
    ("IDB_OK", "button", (107, 36), [runs("确  认")], WHITE, 16),
    ("IDB_OK_HOVER", "button", (107, 36), [runs("确  认", WHITE)], ORANGE, 16),
    ("IDB_YES", "button", (27, 27), [runs("是")], WHITE, 14),
    ("IDB_YES_HOVER", "button", (27, 27), [runs("是", WHITE)], BLUE, 14),
    ("IDB_NO", "button", (27, 27), [runs("否")], WHITE, 14),
    ("IDB_NO_HOVER", "button", (27, 27), [runs("否", WHITE)], BLUE, 14),
    # The dialogs.
    ("IDB_CLOSE_CROSS", "cross", (20, 17), [], WHITE, 0),
    ("IDB_QUIT_QUESTION", "text", (119, 28), [runs("是否要退出安装?")], WHITE, 14),
    ("IDB_INSTALL_FAILED", "failed", (151, 45), [runs("安装失败")], WHITE, 22),
]


def font(px):
    return ImageFont.truetype(FONT, px)


def scaled(value, dpi):
    """value x dpi / 96 rounded half away from zero, as the program scales."""
    return (value * dpi + 48) // 96


def scaled_size(size, dpi):
    return (scaled(size[0], dpi), scaled(size[1], dpi))


def line_width(draw, line, f):
    return sum(draw.textlength(text, font=f) for text, _ in line)


def fitted_font(draw, lines, size, largest, k):
    """The largest font up to `largest` px whose lines fit the picture."""
    width, height = size
    smallest = round(9 * k)
    for px in range(largest, smallest - 1, -1):
        f = font(px)
        if all(line_width(draw, line, f) <= width - 2 * k for line in lines) and px * len(lines) <= height:
            return f, px
    return font(smallest), smallest


def draw_lines(draw, lines, size, largest, centred, k):
    f, px = fitted_font(draw, lines, size, largest, k)
    width, height = size
    pitch = height / len(lines)
    for i, line in enumerate(lines):
        x = (width - line_width(draw, line, f)) / 2 if centred else 0
        y = pitch * i + (pitch - px) / 2 - k
        for text, colour in line:
            draw.text((x, y), text, font=f, fill=colour)
            x += draw.textlength(text, font=f)


# Every drawing below takes k, the scale over the 96-DPI picture (1 for the
# bitmaps), and multiplies its fixed distances by it.
def picture_text(image, lines, size, background, largest, centred, k):
    image.paste(background, (0, 0, size[0], size[1]))
    draw_lines(ImageDraw.Draw(image), lines, size, largest, centred, k)


def picture_cross(image, size, k):
    draw = ImageDraw.Draw(image)
    w, h = size
    line = round(2 * k)
    draw.line((5 * k, 3 * k, w - 6 * k, h - 4 * k), fill=(0, 0, 0), width=line)
    draw.line((5 * k, h - 4 * k, w - 6 * k, 3 * k), fill=(0, 0, 0), width=line)


def picture_failed(image, lines, size, largest, k):
    w, h = size
    scale = 4
    big = Image.new("RGB", (h * scale, h * scale), WHITE)
    draw = ImageDraw.Draw(big)
    unit = scale * k
    r = round(18 * unit)
    c = h * scale // 2
    draw.ellipse((c - r, c - r, c + r, c + r), fill=ORANGE)
    bar = round(3 * unit)
    draw.rounded_rectangle((c - bar // 2 * 1, c - round(11 * unit), c + bar // 2 + 1, c + round(3 * unit)),
                           radius=bar // 2, fill=WHITE)
    draw.ellipse((c - bar // 2 - 1, c + round(6 * unit), c + bar // 2 + 2, c + round(9 * unit) + 2), fill=WHITE)
    image.paste(big.resize((h, h), Image.LANCZOS), (0, 0))
    draw = ImageDraw.Draw(image)
    f = font(largest)
    draw.text((h + 6 * k, (h - largest) / 2 - 2 * k), lines[0][0][0], font=f, fill=ORANGE)


def picture_logo(size, lines, k):
    """The brand on a transparent ground, with soft (anti-aliased, glowing) edges."""
    scale = 4
    unit = scale * k
    w, h = size[0] * scale, size[1] * scale
    shape = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(shape)
    badge = (6 * unit, 10 * unit, 62 * unit, 66 * unit)
    draw.rounded_rectangle(badge, radius=14 * unit, fill=BLUE + (255,))
    draw.text((34 * unit, 38 * unit), "Q", font=font(round(40 * unit)), fill=WHITE + (255,), anchor="mm")
    draw.text((72 * unit, 30 * unit), lines[0][0][0], font=font(round(34 * unit)), fill=BLUE + (255,), anchor="lm")
    draw.text((75 * unit, 58 * unit), "打印机驱动安装程序", font=font(round(13 * unit)), fill=FRAME_BLUE + (255,),
              anchor="lm")
    logo = shape.resize(size, Image.LANCZOS)
    # A soft glow around the shapes: alpha fading out over a few pixels.
    glow_alpha = logo.getchannel("A").filter(ImageFilter.GaussianBlur(3 * k)).point(lambda a: a * 0.45)
    glow = Image.new("RGBA", size, (120, 170, 230, 0))
    glow.putalpha(glow_alpha)
    return Image.alpha_composite(glow, logo)


def read_ids(resource_h):
    ids = {}
    with open(resource_h, encoding="utf-8") as f:
        for m in re.finditer(r"^#define\s+(\w+)\s+(\d+)", f.read(), re.M):
            ids[m.group(1)] = int(m.group(2))
    return ids


def read_drawn_dpis(skin_drawings_h):
    with open(skin_drawings_h, encoding="utf-8") as f:
        m = re.search(r"kSkinDrawnDpis\[\]\s*=\s*\{([^}]*)\}", f.read())
    return [int(v) for v in m.group(1).split(",")]


def rc_string(text):
    return '"' + text.replace('"', '""') + '"'


def draw(kind, size, lines, background, largest, dpi):
    """The picture at `dpi` (96: the bitmap's own size)."""
    k = dpi / 96
    size = scaled_size(size, dpi)
    largest = round(largest * k)
    if kind == "logo":
        return picture_logo(size, lines, k)
    image = Image.new("RGB", size, background)
    if kind in ("text", "button"):
        picture_text(image, lines, size, background, largest, kind == "button", k)
    elif kind == "cross":
        picture_cross(image, size, k)
    elif kind == "failed":
        picture_failed(image, lines, size, largest, k)
    return image


def main(resource_h, skin_drawings_h, outdir):
    ids = read_ids(resource_h)
    dpis = read_drawn_dpis(skin_drawings_h)
    folder = os.path.join(outdir, "skin")
    os.makedirs(folder, exist_ok=True)
    declarations, strings = [], []
    for name, kind, size, lines, background, largest in TABLE:
        number = ids[name]
        image = draw(kind, size, lines, background, largest, 96)
        if kind == "logo":
            path = os.path.join(folder, f"{number}.png")
            image.save(path)
            declarations.append(f'{name} PNG "{path}"')
        else:
            path = os.path.join(folder, f"{number}.bmp")
            image.save(path)
            declarations.append(f'{name} BITMAP "{path}"')
        for dpi in dpis:
            os.makedirs(os.path.join(folder, str(dpi)), exist_ok=True)
            path = os.path.join(folder, str(dpi), f"{number}.png")
            draw(kind, size, lines, background, largest, dpi).save(path, optimize=True)
            declarations.append(f'{name} SKIN{dpi} "{path}"')
        text = "".join(t for line in lines for t, _ in line).replace("  ", "")
        if text:
            strings.append(f"    {name} {rc_string(text)}")
    with open(os.path.join(outdir, "skin.rc"), "w", encoding="utf-8") as rc:
        rc.write("// Drawn by scripts/draw-skin.py from its table.\n")
        rc.write("#pragma code_page(65001)\n#include \"resource.h\"\n\n")
        rc.write("\n".join(declarations) + "\n\nSTRINGTABLE\nBEGIN\n" + "\n".join(strings) + "\nEND\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3])
