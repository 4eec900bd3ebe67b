#!/usr/bin/env python3
"""Generates the demo project: demo.Tavo, its pictures in tempImages/ and small font files in
tempFonts/. Standard library only; run it from anywhere, it writes beside itself."""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGES = os.path.join(HERE, "tempImages")
FONTS = os.path.join(HERE, "tempFonts")


def bmp24(path, w, h, pixel):
    """24-bit bottom-up BMP; pixel(x, y) -> (r, g, b)."""
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - w * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def bmp4(path, w, h, palette, index):
    """4-bit palette BMP (16 colours); index(x, y) -> 0..15."""
    row = ((w + 1) // 2 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(0, w, 2):
            hi = index(x, y)
            lo = index(x + 1, y) if x + 1 < w else 0
            line.append((hi << 4) | lo)
        line += b"\0" * (row - len(line))
        data += line
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 54 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + data)


def bmp8(path, w, h, palette, index):
    """8-bit palette BMP (keeps the full-page background small); index(x, y) -> 0..255."""
    row = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(index(x, y) for x in range(w))
        line += b"\0" * (row - w)
        data += line
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 54 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + data)


def make_pictures():
    os.makedirs(IMAGES, exist_ok=True)
    for name in os.listdir(IMAGES):
        os.remove(os.path.join(IMAGES, name))
    # 0: page background, a blue-to-teal gradient with a lighter band.
    palette = [(16 + i // 4, 40 + i // 2, 120 + i // 2) for i in range(256)]
    bmp8(os.path.join(IMAGES, "100001_background.bmp"), 240, 320, palette,
         lambda x, y: min(255, y * 255 // 319 + (24 if 40 <= y < 72 else 0)))

    # 1, 2: button released and pressed.
    def button(base):
        def px(x, y):
            edge = x < 2 or y < 2 or x > 77 or y > 29
            shade = 40 * y // 32
            return (60, 60, 60) if edge else tuple(max(0, c - shade) for c in base)
        return px
    bmp24(os.path.join(IMAGES, "100002_button_up.bmp"), 80, 32, button((72, 200, 96)))
    bmp24(os.path.join(IMAGES, "100003_button_down.bmp"), 80, 32, button((24, 120, 48)))

    # 3, 4: progress bar foreground and background.
    bmp24(os.path.join(IMAGES, "100004_progress_fore.bmp"), 120, 16,
          lambda x, y: (248, 120 + x, 0))
    bmp24(os.path.join(IMAGES, "100005_progress_back.bmp"), 120, 16,
          lambda x, y: (64, 64, 64) if (x // 8 + y // 8) % 2 else (96, 96, 96))

    # 5..7: boot animation frames, a dot going round.
    for i in range(3):
        angle = i * 2 * math.pi / 3

        def frame(x, y, angle=angle):
            cx = 24 + 14 * math.cos(angle)
            cy = 24 + 14 * math.sin(angle)
            if (x - cx) ** 2 + (y - cy) ** 2 <= 36:
                return (248, 252, 0)
            if (x - 24) ** 2 + (y - 24) ** 2 <= 400:
                return (0, 76, 88)
            return (0, 0, 0)
        bmp24(os.path.join(IMAGES, "1000%02d_boot%d.bmp" % (6 + i, i + 1)), 48, 48, frame)

    # 8: a second full-page picture, the source of the cut pictures: pressed buttons and full
    # progress bars show the part of it under the control.
    warm = [(248, 120 + 8 * i, 16 * i // 2) for i in range(16)]
    bmp4(os.path.join(IMAGES, "100009_cut_source.bmp"), 240, 320, warm,
         lambda x, y: (x // 15 + y // 40) % 16)


def make_fonts():
    os.makedirs(FONTS, exist_ok=True)
    # Placeholder glyph images of our own: a box for every character, 8 x 16 and 16 x 16 pixels.
    def glyphs(count, width_bytes):
        glyph = bytearray()
        for row in range(16):
            if row in (0, 15):
                glyph += b"\xff" * width_bytes
            else:
                glyph += bytes([0x81] if width_bytes == 1 else [0x80] + [0] * (width_bytes - 2) + [0x01])
        return bytes(glyph) * count
    with open(os.path.join(FONTS, "E_16.bin"), "wb") as f:
        f.write(glyphs(95, 1))  # the printable ASCII characters: 1520 bytes
    with open(os.path.join(FONTS, "C_16.bin"), "wb") as f:
        f.write(glyphs(128, 2))  # a small placeholder: 4096 bytes


def control(cls, id, x, y, w, h, text="", font=16, halign=0, valign=0, fg=0, bg=7, press=0,
            image=-1, cut=-1, bgimage=-1, bgcut=-1, pressimage=-1, presscut=-1, progtype=0, style=0,
            stylecolor=0, px=0, py=0, pw=0, pl=0, angle=0):
    values = [("id", id), ("x", x), ("y", y), ("w", w), ("h", h), ("text", text), ("fontSize", font),
              ("hAlign", halign), ("vAlign", valign), ("fontColorNum", fg), ("backgroundColorNum", bg),
              ("pressColorNum", press), ("imageNum", image), ("cutImageNum", cut),
              ("backgroundImageNum", bgimage), ("backgroundCutImageNum", bgcut),
              ("pressImageNum", pressimage), ("pressCutImageNum", presscut), ("progType", progtype),
              ("style", style), ("styleColorNum", stylecolor), ("pointerX", px), ("pointerY", py),
              ("pointerW", pw), ("pointerL", pl), ("pointerAngle", angle)]
    return ("ClassName", cls, values)


def pointer(id, cx, cy, length, width, angle, colour, border=0):
    return control("QPointer", id, cx - length, cy - length, 2 * length, 2 * length, fg=colour,
                   stylecolor=border, px=cx, py=cy, pw=width, pl=length, angle=angle)


def shape(kind, x1, y1, x2, y2, colour):
    """A primitive as the editor stores it after drawing from (x1, y1) to (x2, y2)."""
    x, y, w, h, r = 0, 0, 0, 0, 0
    if kind in (1, 2):
        x, y, w, h = min(x1, x2), min(y1, y2), abs(x2 - x1), abs(y2 - y1)
    elif kind in (3, 4):
        r = int(math.sqrt((x2 - x1) ** 2 + (y2 - y1) ** 2))
        x, y, w, h = x1 - r, y1 - r, 2 * r, 2 * r
    values = [("drawX", x), ("drawY", y), ("drawW", w), ("drawH", h), ("drawX1", x1), ("drawY1", y1),
              ("drawX2", x2), ("drawY2", y2), ("drawR", r), ("drawColorNum", colour)]
    return ("DrawClassName", str(kind), values)


PAGES = [
    {   # page 0: the start page on the background picture, every control kind
        "fields": (0, 15, 0, 0, 0, 0, 0),
        "items": [
            control("QLabel", 0, 20, 44, 200, 24, "Tavo 演示", font=24, fg=15, style=0),
            control("QLabelNum", 1, 20, 80, 90, 30, "36.5", fg=4, bg=0, style=3, stylecolor=15),
            control("QPushButton", 2, 20, 124, 80, 32, "", image=1, pressimage=2),
            control("QPushButton", 3, 130, 124, 80, 32, "", cut=0, presscut=8),
            control("QProgressBar", 4, 20, 176, 120, 16, "65", image=3, bgimage=4),
            pointer(5, 190, 200, 36, 3, 45, 1, border=15),
            control("QRcode", 0, 150, 246, 64, 64, "https://example.com/tavo", fg=0),
            shape(1, 10, 36, 230, 72, 15),
            shape(2, 20, 300, 60, 310, 4),
            shape(3, 190, 200, 190, 236, 15),
            shape(4, 80, 270, 86, 270, 1),
            shape(5, 120, 270, 0, 0, 4),
            shape(6, 10, 230, 130, 230, 7),
        ],
    },
    {   # page 1: colour background, styles, alignments and directions
        "fields": (-1, 40, 1, 20, 20, 20, 20),
        "items": [
            control("QLabel", 0, 10, 10, 220, 30, "左上对齐", halign=1, valign=1, fg=15, bg=52, style=2),
            control("QLabel", 1, 10, 50, 220, 30, "右下对齐", halign=2, valign=2, fg=4, bg=40, style=1,
                    stylecolor=15),
            control("QLabelNum", 2, 10, 90, 100, 30, "-128", font=24, fg=15, bg=57, style=2),
            control("QPushButton", 3, 120, 90, 110, 40, "确定", fg=0, bg=15, press=7, style=2),
            control("QPushButton", 4, 120, 140, 110, 40, "Cancel", fg=15, bg=1, press=9, style=4,
                    stylecolor=15),
            control("QProgressBar", 5, 10, 140, 24, 120, "80", fg=2, bg=8, progtype=1, style=1,
                    stylecolor=15),
            control("QProgressBar", 6, 44, 240, 186, 20, "150", fg=56, bg=8, progtype=2),
            pointer(7, 70, 190, 25, 2, 300, 4),
            shape(1, 5, 5, 235, 315, 15),
            shape(3, 200, 280, 220, 280, 4),
            shape(6, 0, 319, 239, 0, 41),
        ],
    },
    {   # page 2: cut pictures, a second QR code before other controls, large fonts
        "fields": (-1, 0, 0, 0, 0, 0, 0),
        "items": [
            control("QRcode", 0, 8, 8, 80, 80, "第三页", fg=3),
            control("QLabel", 0, 100, 8, 130, 48, "Page 3", font=32, fg=15, style=0),
            control("QProgressBar", 1, 100, 70, 120, 16, "30", cut=8, bgcut=0, progtype=0),
            control("QPushButton", 2, 100, 100, 80, 32, "返回", cut=0, presscut=8),
            control("QLabelNum", 3, 100, 150, 130, 80, "7", font=72, fg=4, style=0),
            pointer(4, 50, 180, 40, 4, 180, 2),
            control("QRcode", 1, 8, 240, 72, 72, "tavo:demo", fg=15),
            shape(2, 100, 250, 230, 310, 41),
            shape(4, 165, 280, 180, 280, 4),
            shape(5, 232, 8, 0, 0, 1),
        ],
    },
]

FRAME = [("frameW", 240), ("frameH", 320), ("parentImageNum", 0), ("parentBackgroundNum", 15),
         ("screenType", 0), ("dpi", "240*320(QVGA-1)"), ("baud", "115200"), ("blValue", 20),
         ("logo1", 5), ("logo2", 7), ("logox", 96), ("logoy", 136), ("logow", 48), ("logoh", 48),
         ("logotime", 200), ("currentPage", 0)]

PAGE_FIELDS = ["pageImageNum", "pageBackgroundNum", "pageHelpLineNum", "pageHelpLineLeft",
               "pageHelpLineRight", "pageHelpLineTop", "pageHelpLineBottom"]


def esc(text):
    return str(text).replace("&", "&amp;").replace("<", "&lt;")


def make_project():
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<ui>", '    <frame frame="frame">']
    out += ["        <%s>%s</%s>" % (k, esc(v), k) for k, v in FRAME]
    out.append("    </frame>")
    for i, page in enumerate(PAGES):
        out.append('    <page id="%d">' % (i + 1))
        out += ['        <%s %s="%d"/>' % (k, k, v) for k, v in zip(PAGE_FIELDS, page["fields"])]
        # Controls first, then primitives, each in list order.
        for tag in ("ClassName", "DrawClassName"):
            for item_tag, attr, values in page["items"]:
                if item_tag != tag:
                    continue
                out.append('        <%s %s="%s">' % (tag, tag, attr))
                out += ["            <%s>%s</%s>" % (k, esc(v), k) for k, v in values]
                out.append("        </%s>" % tag)
        out.append("    </page>")
    out.append("</ui>")
    with open(os.path.join(HERE, "demo.Tavo"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    make_pictures()
    make_fonts()
    make_project()
