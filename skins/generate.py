#!/usr/bin/python3
"""Draws the program's skin set (skins/theme1) from skins/manifest.txt.

    generate.py OUTDIR [--sheet FILE] [--icon FILE] [--resources DIR]

Every file named in the manifest is drawn at the size the manifest gives and written below
OUTDIR; --sheet also writes a contact sheet of the whole set, --icon a copy of the program
icon for the resource compiler, --resources the library's own scroll-bar strips into DIR. The output depends only on this script, the manifest and the
Debian fonts it uses, so two runs give the same bytes.

Shapes are drawn oversampled and reduced with a box filter, which gives even anti-aliasing for
lines, arcs and text at every size.
"""
import colorsys
import hashlib
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SS = 8

# The look: Manager's window, pane and hover colours, one accent, greys for text and lines.
WINDOW = (0x1A, 0x19, 0x1A)
PANE = (0x24, 0x25, 0x2A)
RAISED = (0x2E, 0x30, 0x38)
RAISED_HI = (0x36, 0x39, 0x43)
INSET = (0x1C, 0x1D, 0x22)
LINE = (0x3F, 0x42, 0x4D)
LINE_HI = (0x5A, 0x5F, 0x6E)
ACCENT = (0x59, 0x6E, 0xFF)
ACCENT_HI = (0x74, 0x87, 0xFF)
ACCENT_LO = (0x45, 0x57, 0xD6)
ACCENT_OFF = (0x3A, 0x42, 0x78)
TAB_BLUE = (0x46, 0x8E, 0xF7)  # the tab strip draws highlighted captions in this blue
TEXT = (0xE8, 0xEA, 0xF0)
MUTED = (0xA3, 0xAC, 0xB9)
DIM = (0x62, 0x67, 0x73)
DANGER = (0xE7, 0x42, 0x50)
GREEN = (0x30, 0xE2, 0x7C)
WHITE = (0xFF, 0xFF, 0xFF)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_BOOK = os.path.join(FONT_DIR, "DejaVuSans.ttf")

STROKE = 2.0  # icon stroke width on the 24-unit icon grid


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    """An RGBA picture drawn oversampled (SS times its size when small). Coordinates are final
    pixels; inside `at` they are icon units scaled by k and moved by (ox, oy)."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        # large pictures need less oversampling for the same smoothness, and would be slow
        self.s = SS if w * h <= 64 * 64 else 4 if w * h <= 300 * 300 else 3
        self.img = Image.new("RGBA", (w * self.s, h * self.s), rgba(fill) if fill else (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)
        self.ox, self.oy, self.k = 0.0, 0.0, 1.0

    def at(self, ox, oy, size, grid=24.0):
        c = _Frame(self, ox, oy, size / grid)
        return c

    def pt(self, x, y):
        return ((self.ox + x * self.k) * self.s, (self.oy + y * self.k) * self.s)

    def box(self, x0, y0, x1, y1):
        a, b = self.pt(x0, y0), self.pt(x1, y1)
        return [a[0], a[1], b[0] - 1, b[1] - 1]

    def wd(self, w):
        return max(1, int(round(w * self.k * self.s)))

    def line(self, pts, col, w=STROKE, caps=True):
        p = [self.pt(x, y) for x, y in pts]
        self.d.line(p, fill=col, width=self.wd(w), joint="curve")
        if caps:
            r = w * self.k * self.s / 2
            for x, y in (p[0], p[-1]):
                self.d.ellipse([x - r, y - r, x + r, y + r], fill=col)

    def rect(self, x0, y0, x1, y1, r=0, fill=None, outline=None, w=STROKE):
        b = self.box(x0, y0, x1, y1)
        rr = r * self.k * self.s
        width = self.wd(w) if outline else 0
        if rr > 0:
            self.d.rounded_rectangle(b, radius=rr, fill=fill, outline=outline, width=width)
        else:
            self.d.rectangle(b, fill=fill, outline=outline, width=width)

    def ellipse(self, cx, cy, rx, ry=None, fill=None, outline=None, w=STROKE):
        ry = rx if ry is None else ry
        self.d.ellipse(self.box(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill, outline=outline,
                       width=self.wd(w) if outline else 0)

    def arc(self, cx, cy, r, start, end, col, w=STROKE, caps=True):
        self.d.arc(self.box(cx - r, cy - r, cx + r, cy + r), start, end, fill=col, width=self.wd(w))
        if caps:
            rr = w * self.k * self.s / 2
            for a in (start, end):
                x, y = self.pt(cx + r * math.cos(math.radians(a)) - 0, cy + r * math.sin(math.radians(a)))
                # the arc's stroke lies inside the circle; centre the cap on the stroke
                x -= math.cos(math.radians(a)) * rr
                y -= math.sin(math.radians(a)) * rr
                self.d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=col)

    def poly(self, pts, fill):
        self.d.polygon([self.pt(x, y) for x, y in pts], fill=fill)

    def text(self, x, y, s, size, col, font=FONT_BOLD, anchor="mm", spacing=0):
        f = ImageFont.truetype(font, int(round(size * self.k * self.s)))
        if spacing:
            total = sum(f.getlength(ch) for ch in s) + spacing * self.k * self.s * (len(s) - 1)
            px, py = self.pt(x, y)
            cx = px - total / 2 if anchor[0] == "m" else px
            for ch in s:
                self.d.text((cx, py), ch, font=f, fill=col, anchor="l" + anchor[1])
                cx += f.getlength(ch) + spacing * self.k * self.s
        else:
            self.d.text(self.pt(x, y), s, font=f, fill=col, anchor=anchor)

    def image(self):
        return self.img.resize((self.w, self.h), Image.BOX)


class _Frame:
    """Context manager that draws on a canvas in a moved and scaled coordinate frame."""

    def __init__(self, c, ox, oy, k):
        self.c, self.new = c, (ox, oy, k)

    def __enter__(self):
        self.old = (self.c.ox, self.c.oy, self.c.k)
        ox, oy, k = self.new
        self.c.ox, self.c.oy, self.c.k = self.old[0] + ox * self.old[2], self.old[1] + oy * self.old[2], self.old[2] * k
        return self.c

    def __exit__(self, *exc):
        self.c.ox, self.c.oy, self.c.k = self.old


def strip(frames):
    w = sum(f.width for f in frames)
    out = Image.new("RGBA", (w, frames[0].height), (0, 0, 0, 0))
    x = 0
    for f in frames:
        out.paste(f, (x, 0))
        x += f.width
    return out


def shadowed(img, radius_px=1, alpha=150):
    """Puts a soft dark halo under a light glyph so that it reads on light and dark ground."""
    a = img.getchannel("A")
    from PIL import ImageFilter
    halo = a.filter(ImageFilter.MaxFilter(2 * radius_px + 1)).filter(ImageFilter.GaussianBlur(0.6))
    halo = halo.point(lambda v: v * alpha // 255)
    base = Image.new("RGBA", img.size, (0x10, 0x10, 0x12, 0))
    base.putalpha(halo)
    return Image.alpha_composite(base, img)


# ---------------------------------------------------------------------------------------------
# Glyphs: line icons on a 24 x 24 grid, stroke 2, drawn in one colour.

def g_close(c, col):
    c.line([(6, 6), (18, 18)], col)
    c.line([(18, 6), (6, 18)], col)


def g_min(c, col):
    c.line([(6, 12), (18, 12)], col)


def g_max(c, col):
    c.rect(6, 6, 18, 18, r=2, outline=col)


def g_chevron(c, col, d):
    pts = {"down": [(6, 9), (12, 15), (18, 9)], "up": [(6, 15), (12, 9), (18, 15)],
           "left": [(15, 6), (9, 12), (15, 18)], "right": [(9, 6), (15, 12), (9, 18)]}[d]
    c.line(pts, col)


def g_arrow(c, col, d, x0=12, y0=12, n=7, head=5):
    dx, dy = {"up": (0, -1), "down": (0, 1), "left": (-1, 0), "right": (1, 0)}[d]
    tip = (x0 + dx * n, y0 + dy * n)
    tail = (x0 - dx * n, y0 - dy * n)
    c.line([tail, tip], col)
    px, py = -dy, dx
    c.line([(tip[0] - dx * head + px * head, tip[1] - dy * head + py * head), tip,
            (tip[0] - dx * head - px * head, tip[1] - dy * head - py * head)], col)


def g_tray(c, col):
    c.line([(4, 14), (4, 19), (20, 19), (20, 14)], col)


def g_export(c, col):
    g_tray(c, col)
    c.line([(12, 15), (12, 4)], col)
    c.line([(7.5, 8.5), (12, 4), (16.5, 8.5)], col)


def g_import(c, col):
    g_tray(c, col)
    c.line([(12, 4), (12, 15)], col)
    c.line([(7.5, 10.5), (12, 15), (16.5, 10.5)], col)


def g_more(c, col):
    for x in (6, 12, 18):
        c.ellipse(x, 12, 1.8, fill=col)


def g_presets(c, col):
    c.rect(4, 4, 20, 20, r=3, outline=col)
    c.line([(8, 9), (16, 9)], col)
    c.line([(8, 13), (16, 13)], col)
    c.line([(8, 17), (12, 17)], col)


def g_circle_arrow(c, col, start, end, head_at_end, cx=12, cy=12, r=8.5, head=4.2):
    """An arc swept clockwise from start to end (degrees, screen axes) with an arrow head at
    its end pointing on clockwise, or at its start pointing back anticlockwise."""
    c.arc(cx, cy, r, start, end, col)
    rc = r - STROKE / 2
    a = math.radians(end if head_at_end else start)
    tip = (cx + rc * math.cos(a), cy + rc * math.sin(a))
    t = (-math.sin(a), math.cos(a)) if head_at_end else (math.sin(a), -math.cos(a))
    n = (math.cos(a), math.sin(a))
    back = (tip[0] - t[0] * head, tip[1] - t[1] * head)
    c.line([(back[0] + n[0] * head * 0.85, back[1] + n[1] * head * 0.85), tip,
            (back[0] - n[0] * head * 0.85, back[1] - n[1] * head * 0.85)], col)


def g_reset(c, col):
    g_circle_arrow(c, col, 285, 560, False)


def g_keycap(c, col, x0=4, y0=5, x1=20, y1=19):
    c.rect(x0, y0, x1, y1, r=3, outline=col)
    c.rect(x0 + 3, y0 + 2.5, x1 - 3, y1 - 5, r=2, outline=col, w=1.5)


def g_resetkey(c, col):
    c.rect(2.5, 9.5, 14.5, 21.5, r=2.5, outline=col)
    with c.at(7, 0, 17):
        g_reset(c, col)


def g_globe(c, col):
    c.ellipse(12, 12, 8, outline=col)
    c.ellipse(12, 12, 3.6, 8, outline=col, w=1.6)
    c.line([(4.5, 12), (19.5, 12)], col, w=1.6)


def g_doc(c, col):
    c.line([(14, 3.5), (6, 3.5), (6, 20.5), (18, 20.5), (18, 7.5), (14, 3.5), (14, 7.5), (18, 7.5)], col)
    c.line([(9, 12), (15, 12)], col, w=1.6)
    c.line([(9, 16), (15, 16)], col, w=1.6)


def g_chat(c, col):
    c.rect(3, 4, 16, 13, r=3, outline=col)
    c.line([(6, 13), (6, 16.5), (9.5, 13)], col)
    c.line([(19, 9), (21, 9), (21, 17), (19, 17), (19, 20), (16, 17), (11, 17), (11, 15)], col, w=1.8)


def g_upgrade(c, col):
    c.ellipse(12, 12, 8.5, outline=col)
    g_arrow(c, col, "up", 12, 12, 4.5, 3.5)


def g_chip(c, col):
    c.rect(6, 6, 18, 18, r=2, outline=col)
    for t in (9.5, 14.5):
        c.line([(t, 2.5), (t, 6)], col, w=1.6, caps=False)
        c.line([(t, 18), (t, 21.5)], col, w=1.6, caps=False)
        c.line([(2.5, t), (6, t)], col, w=1.6, caps=False)
        c.line([(18, t), (21.5, t)], col, w=1.6, caps=False)
    g_arrow(c, col, "up", 12, 12, 3, 2.5)


def g_box_arrow(c, col, d):
    c.rect(4, 9, 20, 20, r=2.5, outline=col)
    c.line([(4, 13), (20, 13)], col, w=1.6)
    if d == "up":
        c.line([(12, 10), (12, 2.5)], col)
        c.line([(9, 5.5), (12, 2.5), (15, 5.5)], col)
    else:
        c.line([(12, 2.5), (12, 10)], col)
        c.line([(9, 7), (12, 10), (15, 7)], col)


def g_copy(c, col):
    c.rect(8, 8, 20, 20, r=2.5, outline=col)
    c.line([(16, 4.5), (16, 4), (4, 4), (4, 16), (4.5, 16)], col)


def g_warn(c, col):
    c.line([(12, 3.5), (21.5, 20), (2.5, 20), (12, 3.5)], col)
    c.line([(12, 9.5), (12, 14)], col)
    c.ellipse(12, 17, 1.3, fill=col)


def g_gauge(c, col):
    c.arc(12, 14, 9, 180, 360, col)
    c.line([(12, 14), (17, 8.5)], col)
    c.ellipse(12, 14, 1.8, fill=col)
    c.line([(3, 19), (21, 19)], col)


def g_advkey(c, col):
    g_keycap(c, col, 3, 5, 17, 19)
    c.poly([(19, 2), (15.5, 9), (18.5, 9), (17, 14), (22, 6.5), (19, 6.5), (21, 2)], col)


def g_macro(c, col):
    c.ellipse(7, 12, 4, outline=col)
    c.ellipse(7, 12, 1.6, fill=col)
    c.line([(14, 7), (21, 7)], col)
    c.line([(14, 12), (21, 12)], col)
    c.line([(14, 17), (19, 17)], col)


def g_bulb(c, col):
    c.arc(12, 10, 6.5, 135, 405, col)
    c.line([(7.4, 14.6), (9, 17), (15, 17), (16.6, 14.6)], col)
    c.line([(9.5, 20.5), (14.5, 20.5)], col)


def g_gear(c, col):
    n = 8
    pts = []
    for i in range(n * 4):
        a = 2 * math.pi * i / (n * 4)
        r = 9.5 if (i % 4) in (0, 1) else 7
        pts.append((12 + r * math.cos(a + math.pi / (n * 4)), 12 + r * math.sin(a + math.pi / (n * 4))))
    c.line(pts + [pts[0]], col, w=1.8)
    c.ellipse(12, 12, 3, outline=col)


def g_keyboard(c, col):
    c.rect(2.5, 6, 21.5, 18, r=2.5, outline=col)
    for x in (6.5, 10, 13.5, 17):
        c.ellipse(x, 10, 0.9, fill=col)
    c.line([(8, 14.2), (16, 14.2)], col, w=1.6)


def g_wrench(c, col):
    c.line([(4.5, 19.5), (12.5, 11.5)], col, w=2.6)
    c.arc(15.5, 8.5, 5.5, 355, 635, col)


def g_help(c, col):
    c.ellipse(12, 12, 9, outline=col)
    c.arc(12, 9.5, 3, 190, 400, col)
    c.line([(13.6, 12.2), (12, 13.5), (12, 14.5)], col)
    c.ellipse(12, 17.5, 1.2, fill=col)


def g_backlight(c, col):
    c.rect(5, 10, 19, 20, r=2.5, outline=col)
    for x0, y0, x1, y1 in ((12, 2.5, 12, 5.5), (4, 5, 6, 7.5), (20, 5, 18, 7.5)):
        c.line([(x0, y0), (x1, y1)], col)


def g_logolight(c, col):
    c.poly([(12, 3), (14.4, 9.6), (21, 12), (14.4, 14.4), (12, 21), (9.6, 14.4), (3, 12), (9.6, 9.6)], col)


def g_travel(c, col):
    c.rect(5, 3, 19, 9, r=2, outline=col)
    c.line([(12, 11), (12, 20)], col)
    c.line([(8.5, 16.5), (12, 20), (15.5, 16.5)], col)
    c.line([(4, 21.5), (20, 21.5)], col, w=1.5)


def g_switch(c, col):
    c.rect(4, 8, 20, 20, r=2.5, outline=col)
    c.line([(12, 3), (12, 11)], col)
    c.line([(9, 6), (15, 6)], col)
    c.line([(8, 14), (16, 14)], col, w=1.6)


def g_target(c, col):
    c.ellipse(12, 12, 7, outline=col)
    c.ellipse(12, 12, 2, fill=col)
    for a, b in (((12, 1.5), (12, 5)), ((12, 19), (12, 22.5)), ((1.5, 12), (5, 12)), ((19, 12), (22.5, 12))):
        c.line([a, b], col)


def g_trash(c, col):
    c.line([(4, 6.5), (20, 6.5)], col)
    c.line([(9.5, 6.5), (9.5, 3.5), (14.5, 3.5), (14.5, 6.5)], col, w=1.8)
    c.line([(6.5, 6.5), (7.5, 20.5), (16.5, 20.5), (17.5, 6.5)], col)
    c.line([(10.5, 10.5), (10.5, 16.5)], col, w=1.6)
    c.line([(13.5, 10.5), (13.5, 16.5)], col, w=1.6)


def g_clear(c, col):
    c.line([(3, 6), (13, 6)], col)
    c.line([(3, 12), (11, 12)], col)
    c.line([(3, 18), (9, 18)], col)
    c.line([(14.5, 11.5), (21, 18)], col)
    c.line([(21, 11.5), (14.5, 18)], col)


def g_plus(c, col):
    c.line([(12, 6), (12, 18)], col)
    c.line([(6, 12), (18, 12)], col)


def g_monitor(c, col):
    c.rect(3, 4, 21, 16, r=2, outline=col)
    c.line([(12, 16), (12, 20)], col)
    c.line([(8, 20.5), (16, 20.5)], col)


def g_calc(c, col):
    c.rect(5, 2.5, 19, 21.5, r=2.5, outline=col)
    c.rect(8, 5.5, 16, 9.5, r=1, outline=col, w=1.5)
    for x in (9, 12, 15):
        for y in (13.5, 17.5):
            c.ellipse(x, y, 1.1, fill=col)


def g_mail(c, col):
    c.rect(3, 5.5, 21, 18.5, r=2, outline=col)
    c.line([(4, 7), (12, 13), (20, 7)], col)


def g_note(c, col):
    c.line([(9, 18), (9, 5), (19, 3), (19, 15)], col)
    c.ellipse(6.5, 18, 2.8, fill=col)
    c.ellipse(16.5, 15.5, 2.8, fill=col)


def g_playpause(c, col):
    c.poly([(3.5, 5), (12, 12), (3.5, 19)], col)
    c.line([(15.5, 6), (15.5, 18)], col, w=2.4)
    c.line([(20, 6), (20, 18)], col, w=2.4)


def g_stop(c, col):
    c.rect(6, 6, 18, 18, r=2, fill=col)


def g_skip(c, col, forward):
    if forward:
        c.poly([(5, 5.5), (15, 12), (5, 18.5)], col)
        c.line([(18, 6), (18, 18)], col, w=2.4)
    else:
        c.poly([(19, 5.5), (9, 12), (19, 18.5)], col)
        c.line([(6, 6), (6, 18)], col, w=2.4)


def g_speaker(c, col):
    c.poly([(3, 9), (7, 9), (12, 4.5), (12, 19.5), (7, 15), (3, 15)], col)


def g_vol(c, col, kind):
    g_speaker(c, col)
    if kind == "up":
        c.line([(18, 8.5), (18, 15.5)], col)
        c.line([(14.5, 12), (21.5, 12)], col)
    elif kind == "down":
        c.line([(14.5, 12), (21.5, 12)], col)
    else:
        c.line([(15, 9), (21, 15)], col)
        c.line([(21, 9), (15, 15)], col)


def g_house(c, col):
    c.line([(3, 11.5), (12, 3.5), (21, 11.5)], col)
    c.line([(5.5, 9.5), (5.5, 20), (18.5, 20), (18.5, 9.5)], col)
    c.line([(10, 20), (10, 14), (14, 14), (14, 20)], col, w=1.6)


def g_refresh(c, col):
    g_circle_arrow(c, col, 60, 330, True)


def g_stop_web(c, col):
    c.ellipse(12, 12, 8.5, outline=col)
    c.line([(9, 9), (15, 15)], col)
    c.line([(15, 9), (9, 15)], col)


def g_star(c, col):
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = 9 if i % 2 == 0 else 4
        pts.append((12 + r * math.cos(a), 12.8 + r * math.sin(a)))
    c.line(pts + [pts[0]], col, w=1.8)


def g_search(c, col):
    c.ellipse(10, 10, 6, outline=col)
    c.line([(14.5, 14.5), (20, 20)], col, w=2.4)


def g_corner_arrows(c, col, inward):
    """Four diagonal arrows: pointing into the centre (inward) or out to the corners."""
    for dx in (-1, 1):
        for dy in (-1, 1):
            outer = (12 + 8.5 * dx, 12 + 8.5 * dy)
            inner = (12 + 3 * dx, 12 + 3 * dy)
            tip, back = (inner, 1) if inward else (outer, -1)
            c.line([outer, inner], col, w=1.8)
            c.line([(tip[0] + back * 4 * dx, tip[1]), tip, (tip[0], tip[1] + back * 4 * dy)], col, w=1.8)


def g_within(c, col):
    g_corner_arrows(c, col, True)


def g_outside(c, col):
    g_corner_arrows(c, col, False)


def g_rotate(c, col, clockwise):
    if clockwise:
        g_circle_arrow(c, col, 60, 330, True)
    else:
        g_circle_arrow(c, col, 210, 480, False)


def g_dks_point(c, col, kind):
    """Four stroke points of a dynamic keystroke: press start, bottom, release start, top."""
    top, bottom = 4.5, 19.5
    if kind == "down":
        c.line([(5, top), (19, top)], col, w=1.6)
        g_arrow(c, col, "down", 12, 12.5, 6, 4)
    elif kind == "bottom":
        c.line([(4, bottom), (20, bottom)], col, w=2.6)
        g_arrow(c, col, "down", 12, 10, 6.5, 4)
    elif kind == "up":
        c.line([(5, bottom), (19, bottom)], col, w=1.6)
        g_arrow(c, col, "up", 12, 11.5, 6, 4)
    else:
        c.line([(4, top), (20, top)], col, w=2.6)
        g_arrow(c, col, "up", 12, 14, 6.5, 4)


GLYPHS = {
    "close": g_close, "min": g_min, "max": g_max,
    "export": g_export, "import": g_import, "more": g_more, "presets": g_presets,
    "reset": g_reset, "resetkey": g_resetkey, "globe": g_globe, "doc": g_doc, "chat": g_chat,
    "upgrade": g_upgrade, "chip": g_chip, "exportall": lambda c, col: g_box_arrow(c, col, "up"),
    "importall": lambda c, col: g_box_arrow(c, col, "down"), "copy": g_copy, "warn": g_warn,
    "keycap": g_keycap, "gauge": g_gauge, "advkey": g_advkey, "macro": g_macro, "bulb": g_bulb,
    "gear": g_gear, "keyboard": g_keyboard, "wrench": g_wrench, "help": g_help,
    "backlight": g_backlight, "logolight": g_logolight, "travel": g_travel, "switch": g_switch,
    "target": g_target, "trash": g_trash, "clear": g_clear, "plus": g_plus,
    "monitor": g_monitor, "calc": g_calc, "mail": g_mail, "note": g_note, "playpause": g_playpause,
    "stop": g_stop, "prev": lambda c, col: g_skip(c, col, False), "next": lambda c, col: g_skip(c, col, True),
    "volup": lambda c, col: g_vol(c, col, "up"), "voldown": lambda c, col: g_vol(c, col, "down"),
    "mute": lambda c, col: g_vol(c, col, "mute"), "house": g_house, "refresh": g_refresh,
    "webstop": g_stop_web, "back": lambda c, col: g_arrow(c, col, "left"),
    "forward": lambda c, col: g_arrow(c, col, "right"), "star": g_star, "search": g_search,
    "arrow_left": lambda c, col: g_arrow(c, col, "left"), "arrow_right": lambda c, col: g_arrow(c, col, "right"),
    "arrow_up": lambda c, col: g_arrow(c, col, "up"), "arrow_down": lambda c, col: g_arrow(c, col, "down"),
    "within": g_within, "outside": g_outside,
    "cw": lambda c, col: g_rotate(c, col, True), "ccw": lambda c, col: g_rotate(c, col, False),
    "chev_up": lambda c, col: g_chevron(c, col, "up"), "chev_down": lambda c, col: g_chevron(c, col, "down"),
    "chev_left": lambda c, col: g_chevron(c, col, "left"), "chev_right": lambda c, col: g_chevron(c, col, "right"),
    "dks_down": lambda c, col: g_dks_point(c, col, "down"), "dks_bottom": lambda c, col: g_dks_point(c, col, "bottom"),
    "dks_up": lambda c, col: g_dks_point(c, col, "up"), "dks_top": lambda c, col: g_dks_point(c, col, "top"),
}


def glyph_image(name, size, col, box=None, pad=0.0):
    """One glyph on a transparent square of `size` pixels (or a w x h box, glyph centred)."""
    w, h = box if box else (size, size)
    c = Canvas(w, h)
    g = size - 2 * pad
    with c.at((w - g) / 2, (h - g) / 2, g):
        GLYPHS[name](c, rgba(col))
    return c.image()


# ---------------------------------------------------------------------------------------------
# Controls

STATES4 = ("normal", "hover", "down", "disabled")


def face(w, h, r, fill, border=None, bw=1.0, inset=0.5):
    c = Canvas(w, h)
    c.rect(inset, inset, w - inset, h - inset, r=r, fill=rgba(fill), outline=rgba(border) if border else None, w=bw)
    return c


def button_primary(fw, fh):
    looks = [(ACCENT, ACCENT_HI), (ACCENT_HI, (0x9A, 0xA8, 0xFF)), (ACCENT_LO, ACCENT), (RAISED, LINE)]
    frames = []
    for fill, edge in looks:
        c = face(fw, fh, 6, fill, edge)
        frames.append(c.image())
    return strip(frames)


def button_secondary(fw, fh):
    looks = [(RAISED, LINE), (RAISED_HI, ACCENT), (ACCENT_LO, ACCENT), (PANE, (0x33, 0x35, 0x3D))]
    return strip([face(fw, fh, 6, f, e).image() for f, e in looks])


def icon_button(cell_w, cell_h, glyph, glyph_size, shape="round"):
    """Image-button cells: a quiet glyph, a light plate on hover, the accent when pressed."""
    looks = [(None, MUTED), (RAISED_HI, TEXT), (ACCENT, WHITE), (None, DIM)]
    frames = []
    for plate, col in looks:
        c = Canvas(cell_w, cell_h)
        if plate:
            c.rect(1, 1, cell_w - 1, cell_h - 1, r=min(cell_w, cell_h) / 2 - 1 if shape == "round" else 6,
                   fill=rgba(plate))
        g = glyph_size
        with c.at((cell_w - g) / 2, (cell_h - g) / 2, g):
            GLYPHS[glyph](c, rgba(col))
        frames.append(c.image())
    return strip(frames)


def title_glyph(name):
    return shadowed(glyph_image(name, 20, (0xF4, 0xF5, 0xF8), pad=2.5), 1, 170)


def checkbox_strip(kind):
    frames = []
    for checked in (False, True):
        for state in STATES4:
            c = Canvas(20, 20)
            if checked:
                fill = {"normal": ACCENT, "hover": ACCENT_HI, "down": ACCENT_LO, "disabled": ACCENT_OFF}[state]
                mark = DIM if state == "disabled" else WHITE
                edge = fill
            else:
                fill = {"normal": INSET, "hover": INSET, "down": RAISED, "disabled": PANE}[state]
                edge = {"normal": MUTED, "hover": ACCENT_HI, "down": ACCENT, "disabled": DIM}[state]
                mark = None
            if kind == "check":
                c.rect(2, 2, 18, 18, r=4, fill=rgba(fill), outline=rgba(edge), w=1.5)
                if mark:
                    c.line([(5.8, 10.3), (8.8, 13.3), (14.4, 7.2)], rgba(mark), w=2)
            else:
                if checked:
                    c.ellipse(10, 10, 8, fill=rgba(INSET), outline=rgba(fill), w=1.5)
                    c.ellipse(10, 10, 4, fill=rgba(fill if state != "disabled" else DIM))
                else:
                    c.ellipse(10, 10, 8, fill=rgba(fill), outline=rgba(edge), w=1.5)
            frames.append(c.image())
    return strip(frames)


def switch_strip(on):
    frames = []
    for state in ("normal", "hover", "hover", "disabled"):
        c = Canvas(44, 24)
        if on:
            track = {"normal": ACCENT, "hover": ACCENT_HI, "disabled": ACCENT_OFF}[state]
            knob, kx = (WHITE if state != "disabled" else MUTED), 32
        else:
            track = {"normal": (0x3A, 0x3D, 0x48), "hover": (0x47, 0x4B, 0x58), "disabled": (0x2C, 0x2E, 0x35)}[state]
            knob, kx = ({"normal": MUTED, "hover": TEXT, "disabled": DIM}[state]), 12
        c.rect(1, 2, 43, 22, r=10, fill=rgba(track))
        c.ellipse(kx, 12, 7.5, fill=(0, 0, 0, 60))
        c.ellipse(kx, 12, 7, fill=rgba(knob))
        frames.append(c.image())
    return strip(frames)


def toggle_tile_strip(glyph, w=53, h=32):
    """Eight-cell radio pictures without a title: a tile that fills with the accent when checked."""
    frames = []
    for checked in (False, True):
        for state in STATES4:
            if checked:
                fill = {"normal": ACCENT, "hover": ACCENT_HI, "down": ACCENT_LO, "disabled": ACCENT_OFF}[state]
                edge, col = fill, (DIM if state == "disabled" else WHITE)
            else:
                fill = {"normal": RAISED, "hover": RAISED_HI, "down": INSET, "disabled": PANE}[state]
                edge = {"normal": LINE, "hover": ACCENT, "down": ACCENT, "disabled": (0x30, 0x32, 0x39)}[state]
                col = {"normal": MUTED, "hover": TEXT, "down": ACCENT_HI, "disabled": DIM}[state]
            c = face(w, h, 6, fill, edge)
            g = 22
            with c.at((w - g) / 2, (h - g) / 2, g):
                GLYPHS[glyph](c, rgba(col))
            frames.append(c.image())
    return strip(frames)


def combo_strip(fw, fh, arrow_col):
    looks = [(RAISED, LINE, arrow_col), (RAISED_HI, LINE_HI, TEXT), (INSET, ACCENT, ACCENT_HI), (PANE, (0x30, 0x32, 0x39), DIM)]
    frames = []
    for fill, edge, col in looks:
        c = face(fw, fh, 6, fill, edge)
        c.line([(fw - 32, 7), (fw - 32, fh - 7)], rgba(edge), w=1)
        with c.at(fw - 26, (fh - 20) / 2, 20):
            GLYPHS["chev_down"](c, rgba(col))
        frames.append(c.image())
    return strip(frames)


def edit_strip(fw, fh):
    looks = [(INSET, LINE, 1.0), (INSET, LINE_HI, 1.0), ((0x1F, 0x21, 0x2A), ACCENT, 1.6), (PANE, (0x2C, 0x2E, 0x34), 1.0)]
    return strip([face(fw, fh, 4, f, e, bw).image() for f, e, bw in looks])


def tab_icon(glyph, vertical):
    # The horizontal strips draw captions white and highlighted captions in the tab blue; the
    # vertical home strip draws grey captions and white ones on its highlighted plate.
    cols = (MUTED, WHITE) if vertical else ((0xEE, 0xF0, 0xF4), TAB_BLUE)
    return strip([glyph_image(glyph, 24, col) for col in cols])


def spin_strip(up):
    looks = [(None, MUTED), (RAISED_HI, TEXT), (ACCENT, WHITE), (None, DIM)]
    frames = []
    for plate, col in looks:
        c = Canvas(18, 12)
        if plate:
            c.rect(0.5, 0.5, 17.5, 11.5, r=3, fill=rgba(plate))
        with c.at(3, -0.5, 12):
            GLYPHS["chev_up" if up else "chev_down"](c, rgba(col))
        frames.append(c.image())
    return strip(frames)


def sys_close_strip():
    looks = [(None, MUTED), (RAISED_HI, TEXT), (DANGER, WHITE), (None, DIM)]
    frames = []
    for plate, col in looks:
        c = Canvas(24, 24)
        if plate:
            c.ellipse(12, 12, 11, fill=rgba(plate))
        with c.at(5, 5, 14):
            GLYPHS["close"](c, rgba(col))
        frames.append(c.image())
    return strip(frames)


def palette_wheel(size):
    """Hue around, saturation outwards, full value: the wheel reads back as the colour picked."""
    img = Image.new("RGBA", (size, size))
    px = img.load()
    r0 = size / 2.0
    for y in range(size):
        for x in range(size):
            dx, dy = x + 0.5 - r0, y + 0.5 - r0
            d = math.hypot(dx, dy)
            a = max(0.0, min(1.0, r0 - d))
            if a <= 0:
                px[x, y] = (0, 0, 0, 0)
                continue
            hue = (math.degrees(math.atan2(-dy, dx)) % 360) / 360.0
            s = min(1.0, d / (r0 - 1))
            cr, cg, cb = colorsys.hsv_to_rgb(hue, s, 1.0)
            px[x, y] = (int(round(cr * 255)), int(round(cg * 255)), int(round(cb * 255)), int(round(a * 255)))
    return img


def palette_thumb_strip():
    frames = []
    for col in (WHITE, ACCENT_HI, ACCENT, DIM):
        c = Canvas(12, 12)
        c.poly([(1, 6), (11, 1), (11, 11)], (0x10, 0x10, 0x12, 200))
        c.poly([(2.2, 6), (10.2, 2.2), (10.2, 9.8)], rgba(col))
        frames.append(c.image())
    return strip(frames)


def badge_strip(filled):
    names = ("DKS", "MT", "TGL", "RS", "SOCD")
    frames = []
    for n in names:
        c = Canvas(40, 16)
        if filled:
            c.rect(1, 1, 39, 15, r=7, fill=rgba(ACCENT))
            c.text(20, 8.3, n, 9, rgba(WHITE))
        else:
            c.rect(1, 1, 39, 15, r=7, fill=rgba(PANE, 200), outline=rgba(LINE_HI), w=1)
            c.text(20, 8.3, n, 9, rgba(MUTED))
        frames.append(c.image())
    return strip(frames)


def key_state_strip(states):
    frames = []
    for s in states:
        c = Canvas(56, 56)
        if s == "normal":
            c.rect(2, 2, 54, 54, r=6, outline=rgba((0x64, 0x64, 0x64)), w=2)
        elif s == "hover":
            c.rect(2, 2, 54, 54, r=6, fill=rgba(ACCENT, 40), outline=rgba(ACCENT_HI), w=2)
        elif s == "down":
            c.rect(2, 2, 54, 54, r=6, fill=rgba(ACCENT, 90), outline=rgba(ACCENT), w=2)
        else:  # selected
            c.rect(2, 2, 54, 54, r=6, fill=rgba(ACCENT, 60), outline=rgba(ACCENT), w=2)
            c.ellipse(45, 11, 6, fill=rgba(ACCENT))
            c.line([(42.2, 11.2), (44.4, 13.4), (48, 9.2)], rgba(WHITE), w=1.6)
        frames.append(c.image())
    return strip(frames)


def dks_add_strip():
    frames = []
    for col, fill in ((MUTED, None), (ACCENT_HI, rgba(ACCENT, 40))):
        c = Canvas(30, 30)
        c.rect(2, 2, 28, 28, r=6, fill=fill, outline=rgba(col), w=1.4)
        with c.at(7, 7, 16):
            g_plus(c, rgba(col))
        frames.append(c.image())
    return strip(frames)


# ---------------------------------------------------------------------------------------------
# Pictures

def vertical_gradient(w, h, top, bottom):
    g = Image.new("RGB", (1, h))
    for y in range(h):
        g.putpixel((0, y), mix(top, bottom, y / max(1, h - 1)))
    return g.resize((w, h), Image.NEAREST).convert("RGBA")


def glow(w, h, cx, cy, r, col, alpha):
    """A soft round light, drawn small and enlarged so that it is smooth and quick."""
    k = 8
    small = Image.new("L", (w // k + 1, h // k + 1), 0)
    px = small.load()
    for y in range(small.height):
        for x in range(small.width):
            d = math.hypot(x * k - cx, y * k - cy) / r
            px[x, y] = int(alpha * max(0.0, 1 - d) ** 2)
    mask = small.resize((small.width * k, small.height * k), Image.BILINEAR).crop((0, 0, w, h))
    layer = Image.new("RGBA", (w, h), rgba(col))
    layer.putalpha(mask)
    return layer


def window_background(w, h, home):
    img = vertical_gradient(w, h, (0x20, 0x1F, 0x23), WINDOW)
    img = Image.alpha_composite(img, glow(w, h, w * 0.78, -h * 0.1, w * 0.55, ACCENT, 46))
    if home:
        img = Image.alpha_composite(img, glow(w, h, w * 0.55, h * 0.55, w * 0.35, ACCENT, 30))
    return img


def panel_background(w, h, r=10, accent_bar=True, alpha=255):
    c = Canvas(w, h)
    c.rect(0.5, 0.5, w - 0.5, h - 0.5, r=r, fill=rgba(PANE, alpha), outline=rgba((0x36, 0x38, 0x42)), w=1)
    if accent_bar:
        c.rect(r + 4, 0.5, w - r - 4, 3, r=1.2, fill=rgba(ACCENT))
    return c.image()


def tip_background():
    c = Canvas(40, 28)
    c.rect(0.5, 0.5, 39.5, 27.5, r=6, fill=rgba((0x30, 0x32, 0x3B), 245), outline=rgba((0x48, 0x4B, 0x58)), w=1)
    return c.image()


def tip_arrow(d):
    w, h = (14, 8) if d == "top" else (8, 14)
    c = Canvas(w, h)
    pts = {"top": [(0, 8), (7, 0.5), (14, 8)], "left": [(8, 0), (0.5, 7), (8, 14)], "right": [(0, 0), (7.5, 7), (0, 14)]}[d]
    c.poly(pts, rgba((0x30, 0x32, 0x3B), 245))
    return c.image()


def emblem(c, x, y, s):
    """The program's mark: a keycap seen from above with a T cut into its face."""
    top, bot = ACCENT_HI, ACCENT_LO
    with c.at(x, y, s, 100):
        c.rect(4, 8, 96, 98, r=20, fill=rgba(mix(bot, (0, 0, 0), 0.35)))
        c.rect(4, 2, 96, 92, r=20, fill=rgba(bot))
        c.rect(14, 8, 86, 78, r=14, fill=rgba(top))
        c.rect(28, 22, 72, 34, r=3, fill=rgba(WHITE))
        c.rect(44, 22, 56, 66, r=3, fill=rgba(WHITE))


def logo_mark(w, h):
    c = Canvas(w, h)
    s = min(w, h) - 4
    emblem(c, (w - s) / 2, (h - s) / 2, s)
    return c.image()


def logo_lockup(w, h, stacked):
    c = Canvas(w, h)
    if stacked:
        s = 96
        emblem(c, (w - s) / 2, 6, s)
        c.text(w / 2, 124, "TAVIR", 26, rgba(TEXT), spacing=5)
        c.text(w / 2, 150, "KEYBOARD", 11, rgba(MUTED), font=FONT_BOOK, spacing=4)
    else:
        s = h - 8
        emblem(c, 4, 4, s)
        x = 4 + s + (w - s - 4) / 2
        if h < 60:  # too small for the second line to be read
            c.text(x, h * 0.52, "TAVIR", h * 0.45, rgba(TEXT), spacing=h * 0.06)
        else:
            c.text(x, h * 0.42, "TAVIR", h * 0.34, rgba(TEXT), spacing=h * 0.05)
            c.text(x, h * 0.77, "KEYBOARD", h * 0.15, rgba(MUTED), font=FONT_BOOK, spacing=h * 0.05)
    return c.image()


def pseudo_random_bits(seed, n):
    out = []
    counter = 0
    while len(out) < n:
        digest = hashlib.sha256(("%s-%d" % (seed, counter)).encode()).digest()
        for byte in digest:
            for i in range(8):
                out.append((byte >> i) & 1)
        counter += 1
    return out[:n]


def qr_picture(size):
    """A square code picture on a white card: three finder squares and a fixed module pattern."""
    n = 25
    m = 4
    cell = (size - 8) / (n + 2 * m - 8)
    c = Canvas(size, size)
    c.rect(0.5, 0.5, size - 0.5, size - 0.5, r=8, fill=rgba(WHITE))
    bits = pseudo_random_bits("tavir", n * n)
    dark = rgba((0x1A, 0x19, 0x1A))
    ox = (size - n * cell) / 2

    def finder(fx, fy):
        return fx <= 7 and fy <= 7 or fx >= n - 8 and fy <= 7 or fx <= 7 and fy >= n - 8

    for y in range(n):
        for x in range(n):
            if not finder(x, y) and bits[y * n + x]:
                c.rect(ox + x * cell, ox + y * cell, ox + (x + 1) * cell, ox + (y + 1) * cell, fill=dark)
    for fx, fy in ((0, 0), (n - 7, 0), (0, n - 7)):
        x0, y0 = ox + fx * cell, ox + fy * cell
        c.rect(x0, y0, x0 + 7 * cell, y0 + 7 * cell, r=cell * 1.2, fill=dark)
        c.rect(x0 + cell, y0 + cell, x0 + 6 * cell, y0 + 6 * cell, r=cell * 0.8, fill=rgba(WHITE))
        c.rect(x0 + 2 * cell, y0 + 2 * cell, x0 + 5 * cell, y0 + 5 * cell, r=cell * 0.6, fill=rgba(ACCENT_LO))
    return c.image()


# Sixty-eight keys in five rows of 16 units (widths in key units).
KB68 = [
    [1] * 13 + [2, 1],
    [1.5] + [1] * 12 + [1.5, 1],
    [1.75] + [1] * 11 + [2.25, 1],
    [2.25] + [1] * 10 + [1.75, 1, 1],
    [1.25, 1.25, 1.25, 6.25, 1, 1, 1, 1, 1, 1],
]


def draw_keyboard(c, x, y, w, h, lit, plate_only=False):
    """The keyboard seen from above: a plate and, unless plate_only, its keycaps."""
    r = h * 0.05
    c.rect(x, y + h * 0.02, x + w, y + h, r=r, fill=rgba((0x0E, 0x0E, 0x11), 160))
    c.rect(x, y, x + w, y + h * 0.985, r=r, fill=rgba((0x2B, 0x2D, 0x35)), outline=rgba((0x3D, 0x40, 0x4B)), w=max(1.0, h / 250))
    c.rect(x + h * 0.02, y + h * 0.02, x + w - h * 0.02, y + h * 0.965, r=r * 0.8, fill=rgba((0x23, 0x24, 0x2B)))
    if lit:
        c.rect(x + w * 0.1, y + h * 0.975, x + w * 0.9, y + h * 0.985 + max(1.0, h / 200), r=1, fill=rgba(ACCENT))
    if plate_only:
        return
    m = h * 0.07
    u = (w - 2 * m) / 16.0
    ky = y + (h - 5 * u) / 2
    gap = max(1.0, u * 0.07)
    for row_index, row in enumerate(KB68):
        kx = x + m
        for i, units in enumerate(row):
            x0, y0, x1, y1 = kx + gap, ky + gap, kx + units * u - gap, ky + u - gap
            accent_key = (row_index == 0 and i == 0) or (row_index == 2 and i == len(row) - 2)
            cap = ACCENT if (lit and accent_key) else ((0x3A, 0x3D, 0x47) if lit else (0x31, 0x33, 0x3A))
            face_col = mix(cap, WHITE, 0.10) if lit else mix(cap, WHITE, 0.04)
            c.rect(x0, y0, x1, y1, r=u * 0.12, fill=rgba(mix(cap, (0, 0, 0), 0.25)))
            c.rect(x0 + u * 0.06, y0 + u * 0.04, x1 - u * 0.06, y1 - u * 0.12, r=u * 0.1, fill=rgba(face_col))
            kx += units * u
        ky += u


def plate_picture(w, h):
    """The plate behind the on-screen keys: the keys themselves are drawn by the control."""
    c = Canvas(w, h)
    c.rect(1, 3, w - 1, h - 1, r=20, fill=rgba((0x0C, 0x0C, 0x0F), 140))
    c.rect(1, 1, w - 1, h - 3, r=20, fill=rgba((0x2A, 0x2C, 0x34)), outline=rgba((0x3C, 0x3F, 0x4A)), w=1.5)
    c.rect(9, 9, w - 9, h - 11, r=14, fill=rgba((0x21, 0x22, 0x28)), outline=rgba((0x19, 0x1A, 0x1F)), w=1)
    c.rect(w * 0.2, h - 4.2, w * 0.8, h - 2.6, r=0.8, fill=rgba(ACCENT, 220))
    img = c.image()
    return Image.alpha_composite(img, glow(w, h, w / 2, h * 1.05, w * 0.45, ACCENT, 22))


def keyboard_picture(w, h, lit=True, cable=None):
    c = Canvas(w, h)
    if cable is None:
        draw_keyboard(c, 0, 0, w, h, lit)
        return c.image()
    kh = h * 0.72
    kw = kh * 1000 / 380
    kx = (w - kw) / 2
    draw_keyboard(c, kx, h - kh - 4, kw, kh, lit)
    cx = kx + kw * 0.5
    col = ACCENT if lit else DIM
    if cable == "in":
        c.line([(cx, 0), (cx, h - kh - 4)], rgba(col), w=3)
        c.rect(cx - 7, h - kh - 22, cx + 7, h - kh - 4, r=2, fill=rgba(col))
    else:
        c.line([(cx, 0), (cx, h - kh - 40)], rgba(col), w=3)
        c.rect(cx - 7, h - kh - 46, cx + 7, h - kh - 30, r=2, fill=rgba(col))
        c.rect(cx - 7, h - kh - 14, cx + 7, h - kh - 4, r=2, fill=rgba(LINE))
    return c.image()


def connection_picture(connected):
    s = 178
    c = Canvas(s, s)
    ring = ACCENT if connected else DIM
    c.ellipse(89, 89, 86, fill=rgba(PANE), outline=rgba(ring), w=3)
    c.ellipse(89, 89, 74, fill=rgba((0x2A, 0x2C, 0x34)))
    col = TEXT if connected else MUTED
    # a plug meeting a socket; apart with a slash when nothing is connected
    gap = 0 if connected else 12
    with c.at(0, 0, 178, 178):
        c.rect(48 - gap, 76, 86 - gap, 102, r=5, fill=rgba(col))
        c.rect(86 - gap, 80, (112 if connected else 98) - gap, 98, r=2, fill=rgba(col))
        c.line([(30, 89), (48 - gap, 89)], rgba(col), w=5)
        c.rect(98 + gap, 72, 130 + gap, 106, r=5, outline=rgba(col), w=4)
        c.line([(130 + gap, 89), (150, 89)], rgba(col), w=5)
    if connected:
        c.ellipse(138, 138, 19, fill=rgba(ACCENT), outline=rgba(PANE), w=3)
        c.line([(129.5, 138.5), (135.5, 144.5), (146.5, 132)], rgba(WHITE), w=3.5)
    else:
        c.line([(72, 120), (106, 58)], rgba(DANGER), w=4)
        c.ellipse(138, 138, 19, fill=rgba((0x3A, 0x3D, 0x48)), outline=rgba(PANE), w=3)
        c.line([(138, 128), (138, 140)], rgba(TEXT), w=4)
        c.ellipse(138, 147.5, 2.4, fill=rgba(TEXT))
    return c.image()


def switch_frames(stem_col):
    """A magnetic switch in section, its stem travelling down and back: the magnet in the
    stem approaches the sensor on the board."""
    frames = []
    n = 12
    for i in range(n):
        t = (1 - math.cos(2 * math.pi * i / n)) / 2  # 0 at rest, 1 at the bottom
        c = Canvas(160, 160, fill=PANE)
        c.rect(18, 136, 142, 146, r=3, fill=rgba((0x1F, 0x5C, 0x44)))
        c.rect(70, 128, 90, 136, r=2, fill=rgba((0x15, 0x15, 0x18)))
        c.rect(30, 70, 130, 128, r=8, fill=rgba((0x3A, 0x3D, 0x48)), outline=rgba(LINE_HI), w=2)
        c.rect(36, 58, 124, 72, r=4, fill=rgba((0x44, 0x47, 0x53)))
        dy = 34 * t
        c.rect(64, 20 + dy, 96, 64 + dy, r=4, fill=rgba(stem_col))
        c.rect(74, 8 + dy, 86, 24 + dy, r=2, fill=rgba(stem_col))
        c.rect(70, 62 + dy, 90, 76 + dy, r=2, fill=rgba((0xB8, 0xBD, 0xC8)))
        # field lines strengthen as the magnet comes down
        a = int(60 + 160 * t)
        for k, rr in enumerate((10, 16)):
            c.arc(80, 132, rr, 200, 340, rgba(ACCENT_HI, max(0, a - 50 * k)), w=1.6, caps=False)
        frames.append(c.image())
    return frames


def keycap_overlay(w, h):
    c = Canvas(w, h)
    c.rect(20, 14, 140, 100, r=12, fill=rgba((0x3A, 0x3D, 0x48), 235), outline=rgba(LINE_HI), w=2)
    c.rect(34, 20, 126, 82, r=10, fill=rgba((0x46, 0x49, 0x56), 235))
    c.rect(70, 98, 90, 104, r=1, fill=rgba((0x2A, 0x2C, 0x34), 235))
    return c.image()


def spinner_frames(size, backdrop):
    n = 12
    frames = []
    for i in range(n):
        c = Canvas(size, size)
        for k in range(n):
            a = 2 * math.pi * k / n - math.pi / 2
            age = (i - k) % n
            alpha = int(255 * max(0.18, 1 - age / (n * 0.75)))
            col = mix(backdrop, ACCENT_HI if age == 0 else ACCENT, alpha / 255)
            c.ellipse(size / 2 + size * 0.3 * math.cos(a), size / 2 + size * 0.3 * math.sin(a), size * 0.055, fill=rgba(col))
        frames.append(c.image())
    return frames


def dots_frames(w, h):
    n = 14
    frames = []
    for i in range(n):
        c = Canvas(w, h)
        c.rect(0.5, 0.5, w - 0.5, h - 0.5, r=h / 2 - 1, fill=rgba(PANE))
        for k in range(5):
            phase = 2 * math.pi * (i / n - k * 0.12)
            lift = max(0.0, math.sin(phase))
            x = w / 2 + (k - 2) * 26
            c.ellipse(x, h / 2 + 6 - 14 * lift, 6, fill=rgba(mix(ACCENT_LO, ACCENT_HI, lift)))
        frames.append(c.image())
    return frames


def scroll_h(columns=3):
    # Four rows of 8 pixels (the track row is not drawn); a skin file has three equal columns,
    # the library's resource one (the bar takes its whole width).
    img = Image.new("RGBA", (24 * columns, 32), (0, 0, 0, 0))
    for row, col in ((1, (0x4A, 0x4D, 0x58)), (2, (0x62, 0x66, 0x75)), (3, ACCENT)):
        c = Canvas(24, 8)
        c.rect(0.5, 1, 23.5, 7, r=3, fill=rgba(col))
        cell = c.image()
        for column in range(columns):
            img.paste(cell, (column * 24, row * 8))
    return img


def scroll_v():
    return strip([face(8, 24, 3.5, col, None, inset=1).image() for col in ((0x4A, 0x4D, 0x58), (0x62, 0x66, 0x75), ACCENT)])


def program_icon(size):
    c = Canvas(size, size)
    emblem(c, size * 0.02, size * 0.02, size * 0.96)
    return c.image()


# ---------------------------------------------------------------------------------------------
# The set: manifest path -> picture (or ("gif", frames, ms, backdrop) for animations).

def build_set():
    g20 = lambda name: glyph_image(name, 20, MUTED, pad=1)
    light = lambda name: glyph_image(name, 20, TEXT, pad=1)
    s = {}
    s["main_bkg.png"] = lambda: window_background(1400, 860, False)
    s["home_bkg.png"] = lambda: window_background(1400, 860, True)
    s["bk_prompt.png"] = lambda: panel_background(500, 260)
    s["img_upgrade_bkg.png"] = lambda: panel_background(391, 71)
    s["loading.png"] = lambda: panel_background(102, 102, r=12, accent_bar=False, alpha=240)
    s["loading.gif"] = lambda: ("gif", spinner_frames(100, PANE), 60, PANE)
    s["loading/loading.gif"] = lambda: ("gif", dots_frames(232, 58), 50, (0xF4, 0xF4, 0xF6))
    s["img_tip_bk.png"] = tip_background
    for d in ("left", "right", "top"):
        s["img_tip_arrow_%s.png" % d] = (lambda d=d: tip_arrow(d))
    s["img_sys_close.png"] = sys_close_strip
    for name in ("close", "max", "min"):
        s["btn_%s.png" % name] = (lambda name=name: title_glyph(name))
    s["button.png"] = lambda: button_primary(100, 30)
    s["btn_apply.png"] = lambda: button_secondary(100, 30)
    s["img_button.png"] = lambda: button_secondary(100, 30)
    for name, glyph in (("up", "arrow_up"), ("down", "arrow_down"), ("del", "trash"), ("clear", "clear")):
        s["btn_record_%s.png" % name] = (lambda glyph=glyph: icon_button(30, 30, glyph, 18))
    s["img_btn_reset.png"] = lambda: icon_button(25, 25, "reset", 17)
    s["img_spin_up.png"] = lambda: spin_strip(True)
    s["img_spin_down.png"] = lambda: spin_strip(False)
    for name, glyph in (("export", "export"), ("import", "import"), ("moreprofile", "more"),
                        ("defaultprofile", "presets"), ("reset", "reset"), ("resetkey", "resetkey")):
        s["icon_btn_%s.png" % name] = (lambda glyph=glyph: light(glyph))
    for name, glyph in (("btn_website", "globe"), ("btn_userdoc", "doc"), ("btn_bbs", "chat"),
                        ("btn_softwareupgrade", "upgrade"), ("btn_firmwareupgrade", "chip"),
                        ("icon_exportallprofile", "exportall"), ("icon_importallprofile", "importall"),
                        ("icon_copydebuginfo", "copy")):
        s["icon/%s.png" % name] = (lambda glyph=glyph: light(glyph))
    s["icon/icon_warn.png"] = lambda: glyph_image("warn", 24, (0xFF, 0xB7, 0x4D))
    s["btn_checkbox.png"] = lambda: checkbox_strip("check")
    s["btn_radiobox.png"] = lambda: checkbox_strip("radio")
    s["img_switch_on.png"] = lambda: switch_strip(True)
    s["img_switch_off.png"] = lambda: switch_strip(False)
    for name, glyph in (("img_direction_left", "arrow_left"), ("img_direction_right", "arrow_right"),
                        ("img_direction_top", "arrow_up"), ("img_direction_bottom", "arrow_down"),
                        ("within", "within"), ("outside", "outside"), ("clockwise", "cw"), ("anticlockwise", "ccw")):
        s["%s.png" % name] = (lambda glyph=glyph: toggle_tile_strip(glyph))
    s["img_combobox.png"] = lambda: combo_strip(120, 30, MUTED)
    s["img_language_combobx.png"] = lambda: combo_strip(120, 30, ACCENT_HI)
    s["combobox_device_dropdown.png"] = lambda: glyph_image("chev_down", 14, MUTED)
    s["combobox_device_dropdown2.png"] = lambda: glyph_image("chev_down", 14, WHITE)
    s["img_edit.png"] = lambda: edit_strip(40, 30)
    for name, glyph, vertical in (("tab_customkey", "keycap", False), ("tab_perf", "gauge", False),
                                  ("tab_advkey", "advkey", False), ("tab_macro", "macro", False),
                                  ("tab_light", "bulb", False), ("tab_config", "gear", False),
                                  ("home_tab_device", "keyboard", True), ("home_tab_tool", "wrench", True),
                                  ("home_tab_help", "help", True), ("light_tab_bklight", "backlight", False),
                                  ("light_switch_logolight", "logolight", False),
                                  ("perf_tab_trigger_travel", "travel", False),
                                  ("perf_tab_switch_type", "switch", False), ("perf_tab_calibrate", "target", False)):
        s["icon/%s.png" % name] = (lambda glyph=glyph, vertical=vertical: tab_icon(glyph, vertical))
    s["icon/light_type_tab_left.png"] = lambda: g20("chev_left")
    s["icon/light_type_tab_right.png"] = lambda: g20("chev_right")
    s["img_palette.png"] = lambda: palette_wheel(180)
    s["img_palette_thumb.png"] = palette_thumb_strip
    s["keyboard/kb_bkg.png"] = lambda: plate_picture(1000, 380)
    s["keyboard/kb68.png"] = lambda: keyboard_picture(1000, 380)
    s["keyboard/home_keyboard_connected.png"] = lambda: keyboard_picture(520, 200, True, "in")
    s["keyboard/home_keyboard_disconnected.png"] = lambda: keyboard_picture(520, 200, False, "out")
    s["img_key_dks.png"] = lambda: badge_strip(True)
    s["img_key_normal.png"] = lambda: badge_strip(False)
    s["img_key_hover.png"] = lambda: key_state_strip(("normal", "hover", "down"))
    s["icon/img_key3.png"] = lambda: key_state_strip(("normal", "selected"))
    for kind in ("down", "bottom", "up", "top"):
        s["icon/dks_key_%s.png" % kind] = (lambda kind=kind: glyph_image("dks_" + kind, 30, MUTED, pad=2))
    s["icon/dks_key_add.png"] = dks_add_strip
    s["icon/adv_del.png"] = lambda: glyph_image("trash", 16, MUTED)
    s["switchtype1.gif"] = lambda: ("gif", switch_frames(DANGER), 70, PANE)
    s["switchtype2.gif"] = lambda: ("gif", switch_frames(GREEN), 70, PANE)
    s["icon/key_switch_fore.png"] = lambda: keycap_overlay(160, 160)
    s["img_connect.png"] = lambda: connection_picture(True)
    s["img_no_connect.png"] = lambda: connection_picture(False)
    s["logo/logo.png"] = lambda: logo_mark(80, 80)
    s["logo/logo_connect.png"] = lambda: logo_lockup(250, 164, True)
    s["logo/logo_loading.png"] = lambda: logo_lockup(160, 40, False)
    s["logo/about_logo.png"] = lambda: logo_lockup(240, 80, False)
    s["icon/WeChat_QR_code.png"] = lambda: qr_picture(120)
    for name, glyph in (("pc", "monitor"), ("cal", "calc"), ("email", "mail"), ("multimedia", "note"),
                        ("playpause", "playpause"), ("stop", "stop"), ("pre", "prev"), ("next", "next"),
                        ("vol_up", "volup"), ("vol_down", "voldown"), ("vol_mute", "mute"), ("home", "house"),
                        ("web_refresh", "refresh"), ("web_stop", "webstop"), ("web_backward", "back"),
                        ("web_foreward", "forward"), ("favorites", "star"), ("web_search", "search")):
        s["icon/icon_%s.png" % name] = (lambda glyph=glyph: light(glyph))
    s["img_scroll_v.png"] = scroll_v
    s["img_scroll_h.png"] = scroll_h
    s["DeviceDriver.ico"] = lambda: ("ico", [program_icon(n) for n in (256, 64, 48, 32, 24, 20, 16)])
    return s


# The library's own scroll-bar strips (tesk.dll resources 101 and 102, type PNG).
LIBRARY_RESOURCES = {"scroll_h.png": lambda: scroll_h(1), "scroll_v.png": scroll_v}


# ---------------------------------------------------------------------------------------------
# Output

def read_manifest(path):
    entries = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            parts = line.split()
            entries.append((parts[0], int(parts[1]), int(parts[2]), int(parts[3]), parts[4] if len(parts) > 4 else "-"))
    return entries


def save_png(img, path):
    img.save(path, format="PNG", optimize=False, compress_level=9)


def save_gif(frames, ms, backdrop, path):
    """Frames share one palette; pixels with any coverage are opaque, blended on the backdrop
    (the colour the picture is shown on), the rest transparent (palette index 255)."""
    flat = []
    for f in frames:
        base = Image.new("RGBA", f.size, rgba(backdrop))
        flat.append((Image.alpha_composite(base, f).convert("RGB"), f.getchannel("A")))
    sheet = Image.new("RGB", (flat[0][0].width, flat[0][0].height * len(flat)))
    for i, (rgb, _) in enumerate(flat):
        sheet.paste(rgb, (0, i * rgb.height))
    pal = sheet.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    out = []
    for rgb, alpha in flat:
        p = rgb.quantize(palette=pal, dither=Image.Dither.NONE)
        mask = alpha.point(lambda v: 255 if v == 0 else 0)
        p.paste(255, mask=mask)
        out.append(p)
    out[0].save(path, format="GIF", save_all=True, append_images=out[1:], duration=ms, loop=0,
                transparency=255, disposal=2, optimize=False)


def save_ico(images, path):
    """Icon file with 32-bit bitmap entries, as every Windows version reads them, and the
    256-pixel entry PNG-compressed (a bitmap that size would be a quarter megabyte)."""
    import io
    import struct
    images = sorted(images, key=lambda im: im.width)
    blobs = []
    for im in images:
        if im.width >= 256:
            buf = io.BytesIO()
            im.save(buf, format="PNG", optimize=False, compress_level=9)
            blobs.append(buf.getvalue())
            continue
        w, h = im.size
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        b, g, r, a = im.split()[2], im.split()[1], im.split()[0], im.split()[3]
        bgra = Image.merge("RGBA", (b, g, r, a)).transpose(Image.FLIP_TOP_BOTTOM).tobytes()
        mask_row = ((w + 31) // 32) * 4
        mask = bytearray()
        alpha = a.transpose(Image.FLIP_TOP_BOTTOM).load()
        for y in range(h):
            row = bytearray(mask_row)
            for x in range(w):
                if alpha[x, y] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        blobs.append(header + bgra + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", im.width % 256, im.height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def render(entries, outdir):
    drawers = build_set()
    missing = [e[0] for e in entries if e[0] not in drawers]
    extra = sorted(set(drawers) - set(e[0] for e in entries))
    if missing or extra:
        sys.exit("generate.py: manifest and drawings differ: missing %s, not in manifest %s" % (missing, extra))
    shown = []
    for path, frames, w, h, _ in entries:
        result = drawers[path]()
        target = os.path.join(outdir, *path.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if isinstance(result, tuple) and result[0] == "gif":
            _, imgs, ms, backdrop = result
            first = imgs[0]
            save_gif(imgs, ms, backdrop, target)
            # the contact sheet shows every other time frame side by side
            card = (path + " (animation, %d frames)" % len(imgs), 0, strip(imgs[::2]), (w, h))
        elif isinstance(result, tuple) and result[0] == "ico":
            first = max(result[1], key=lambda im: im.width)
            save_ico(result[1], target)
            card = (path, frames, first, (w, h))
        else:
            first = result
            save_png(result, target)
            card = (path, frames, first, (w, h))
        if first.size != (w, h):
            sys.exit("generate.py: %s is %dx%d, the manifest says %dx%d" % (path, first.width, first.height, w, h))
        shown.append(card)
    return shown


def contact_sheet(shown, path):
    """Every picture on a dark card with its name, size and frame count."""
    width, pad, label_h, maxw, maxh = 1800, 14, 30, 420, 210
    small = ImageFont.truetype(FONT_BOOK, 11)
    cards = []
    for name, frames, img, size in shown:
        scale = min(1.0, (maxw * 2 if frames == 0 else maxw) / img.width, maxh / img.height)
        if img.width <= 60 and img.height <= 60:
            scale = 2.0
        pic = img.resize((max(1, int(img.width * scale)), max(1, int(img.height * scale))),
                         Image.NEAREST if scale > 1 else Image.LANCZOS)
        cw = max(pic.width, 150) + 2 * pad
        ch = pic.height + label_h + 2 * pad
        card = Image.new("RGBA", (cw, ch), rgba((0x2B, 0x2C, 0x32)))
        checker = Image.new("RGBA", pic.size, rgba((0x1E, 0x1F, 0x24)))
        card.paste(checker, (pad, pad))
        card.alpha_composite(pic, (pad, pad))
        if frames > 1:
            d = ImageDraw.Draw(card)
            for k in range(1, frames):
                x = pad + int(k * pic.width / frames)
                d.line([(x, pad - 4), (x, pad - 1)], fill=rgba(ACCENT_HI))
        d = ImageDraw.Draw(card)
        d.text((pad, pad + pic.height + 5), name, font=small, fill=rgba(TEXT))
        detail = "%d x %d" % size + (", %d frame%s" % (frames, "s" if frames > 1 else "") if frames else "")
        d.text((pad, pad + pic.height + 18), detail, font=small, fill=rgba(MUTED))
        cards.append(card)
    rows, row, x = [], [], pad
    for card in cards:
        if x + card.width > width and row:
            rows.append(row)
            row, x = [], pad
        row.append(card)
        x += card.width + pad
    rows.append(row)
    title_h = 50
    height = title_h + sum(max(c.height for c in r) + pad for r in rows) + pad
    sheet = Image.new("RGBA", (width, height), rgba(WINDOW))
    d = ImageDraw.Draw(sheet)
    d.text((pad, 14), "skins/theme1: %d files" % len(shown), font=ImageFont.truetype(FONT_BOLD, 20), fill=rgba(TEXT))
    y = title_h
    for r in rows:
        x = pad
        for card in r:
            sheet.alpha_composite(card, (x, y))
            x += card.width + pad
        y += max(c.height for c in r) + pad
    save_png(sheet.convert("RGB"), path)


def main(argv):
    args = list(argv[1:])
    opts = {}
    for flag in ("--sheet", "--icon", "--manifest", "--resources"):
        if flag in args:
            i = args.index(flag)
            opts[flag] = args[i + 1]
            del args[i:i + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    here = os.path.dirname(os.path.abspath(__file__))
    entries = read_manifest(opts.get("--manifest", os.path.join(here, "manifest.txt")))
    shown = render(entries, args[0])
    if "--icon" in opts:
        with open(os.path.join(args[0], "DeviceDriver.ico"), "rb") as src, open(opts["--icon"], "wb") as dst:
            dst.write(src.read())
    if "--resources" in opts:
        os.makedirs(opts["--resources"], exist_ok=True)
        for name in sorted(LIBRARY_RESOURCES):
            img = LIBRARY_RESOURCES[name]()
            save_png(img, os.path.join(opts["--resources"], name))
            shown.append(("library resource " + name, 1, img, img.size))
    if "--sheet" in opts:
        contact_sheet(shown, opts["--sheet"])


if __name__ == "__main__":
    main(sys.argv)
