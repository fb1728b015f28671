#!/usr/bin/env python3
"""Draws the program's pictures (logos, banner, status and title-bar icons, multiview
previews) as PNG files.

Standard library only. Shapes are rendered from signed distance functions with one pixel
of anti-aliasing, so the results are crisp at their native sizes. Run from anywhere:

    python3 scripts/draw-assets.py            # writes into the source tree
    python3 scripts/draw-assets.py OUTDIR     # writes below OUTDIR instead

The colours match APP/StyleSheet/default.qss and TitleBar/StyleSheet/SystemTitle.qss.
"""

import math
import os
import struct
import sys
import zlib

# Palette of the dark control-room theme.
BG_DEEP = (0x10, 0x14, 0x1A)
BG_WINDOW = (0x17, 0x1C, 0x23)
BG_PANEL = (0x1F, 0x25, 0x2E)
BG_CONTROL = (0x29, 0x31, 0x3C)
BORDER = (0x3A, 0x45, 0x54)
TEXT = (0xE3, 0xE8, 0xEF)
MUTED = (0x8B, 0x97, 0xA7)
ACCENT = (0x2E, 0x9B, 0xFF)
ACCENT_DARK = (0x17, 0x6B, 0xD1)
ACCENT_LIGHT = (0x7C, 0xC4, 0xFF)
SUCCESS = (0x2F, 0xC1, 0x73)
DANGER = (0xEB, 0x4D, 0x4B)
WHITE = (0xFF, 0xFF, 0xFF)
TITLE_GLYPH = (0xC8, 0xD0, 0xDB)


class Canvas:
    """RGBA canvas with straight (non-premultiplied) float channels in 0..1."""

    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        fill = (0.0, 0.0, 0.0, 0.0)
        if background is not None:
            fill = tuple(c / 255.0 for c in background) + (1.0,)
        self.pixels = [list(fill) for _ in range(width * height)]

    def blend(self, x, y, colour, alpha):
        """Composites one pixel of the given colour (0..255 RGB) with coverage alpha."""
        if alpha <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(alpha, 1.0)
        dst = self.pixels[y * self.width + x]
        src = [c / 255.0 for c in colour]
        out_a = alpha + dst[3] * (1.0 - alpha)
        if out_a <= 0.0:
            return
        for i in range(3):
            dst[i] = (src[i] * alpha + dst[i] * dst[3] * (1.0 - alpha)) / out_a
        dst[3] = out_a

    def shape(self, distance, colour, box=None, opacity=1.0):
        """Fills the region where distance(px, py) < 0; colour is RGB or f(px, py) -> RGB."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.width, int(math.ceil(x1)) + 1), min(self.height, int(math.ceil(y1)) + 1)
        for y in range(y0, y1):
            for x in range(x0, x1):
                px, py = x + 0.5, y + 0.5
                coverage = 0.5 - distance(px, py)
                if coverage <= 0.0:
                    continue
                rgb = colour(px, py) if callable(colour) else colour
                self.blend(x, y, rgb, min(coverage, 1.0) * opacity)

    def rect(self, x0, y0, x1, y1, colour, opacity=1.0):
        """Pixel-exact axis-aligned rectangle [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.blend(x, y, colour, opacity)

    def png_bytes(self):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                rows.extend(int(round(max(0.0, min(1.0, c)) * 255)) for c in (r, g, b, a))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


# Signed distance functions (negative inside).

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0


def rounded_box(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def distance(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return outside + min(max(dx, dy), 0.0) - radius

    return distance


def outline(distance, width):
    return lambda x, y: abs(distance(x, y) + width / 2.0) - width / 2.0


def segment(ax, ay, bx, by, width):
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy or 1e-9

    def distance(x, y):
        t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / length2))
        return math.hypot(x - ax - t * vx, y - ay - t * vy) - width / 2.0

    return distance


def polyline(points, width):
    parts = [segment(a[0], a[1], b[0], b[1], width) for a, b in zip(points, points[1:])]
    return lambda x, y: min(part(x, y) for part in parts)


def bounds(points, margin):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - margin, min(ys) - margin, max(xs) + margin, max(ys) + margin)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vertical_gradient(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, (y - y0) / float(y1 - y0))


def cubic(p0, p1, p2, p3, steps):
    points = []
    for i in range(steps + 1):
        t = i / float(steps)
        u = 1.0 - t
        points.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                       u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return points


# The program's mark: a rounded tile holding a 3 x 3 cross-point matrix with a lit diagonal
# route. Drawn on a square canvas with a margin so it sits well in a 48-pixel title bar.

def draw_mark(canvas, size, margin, tile_top, tile_bottom):
    x0, y0, x1, y1 = margin, margin, size - margin, size - margin
    tile = rounded_box(x0, y0, x1, y1, (x1 - x0) * 0.22)
    canvas.shape(tile, vertical_gradient(tile_top, tile_bottom, y0, y1), (x0, y0, x1, y1))
    span = x1 - x0
    grid = [x0 + span * f for f in (0.28, 0.5, 0.72)]
    line_width = max(1.0, span * 0.035)
    for g in grid:
        canvas.shape(segment(grid[0], g, grid[2], g, line_width), WHITE, (x0, y0, x1, y1), 0.35)
        canvas.shape(segment(g, grid[0], g, grid[2], line_width), WHITE, (x0, y0, x1, y1), 0.35)
    dot = span * 0.065
    for row, gy in enumerate(grid):
        for col, gx in enumerate(grid):
            lit = (row + col) == 2
            canvas.shape(circle(gx, gy, dot * (1.35 if lit else 1.0)), WHITE,
                         (gx - 2 * dot, gy - 2 * dot, gx + 2 * dot, gy + 2 * dot), 1.0 if lit else 0.55)


def logo(size=96, badge=False):
    canvas = Canvas(size, size)
    draw_mark(canvas, size, size * 0.14, ACCENT, ACCENT_DARK)
    if badge:
        # A small padlock badge for the login window.
        bx, by, r = size * 0.76, size * 0.76, size * 0.17
        canvas.shape(circle(bx, by, r), BG_WINDOW)
        canvas.shape(circle(bx, by, r - size * 0.02), SUCCESS)
        body = rounded_box(bx - r * 0.5, by - r * 0.05, bx + r * 0.5, by + r * 0.55, r * 0.12)
        canvas.shape(body, WHITE, (bx - r, by - r, bx + r, by + r))
        shackle = ring(bx, by - r * 0.08, r * 0.3, r * 0.14)
        canvas.shape(lambda x, y: max(shackle(x, y), y - (by - r * 0.08)), WHITE,
                     (bx - r, by - r, bx + r, by + r))
    return canvas


def app_icon(size=96):
    canvas = Canvas(size, size)
    draw_mark(canvas, size, size * 0.2, BG_CONTROL, BG_PANEL)
    tile = rounded_box(size * 0.2, size * 0.2, size * 0.8, size * 0.8, size * 0.6 * 0.22)
    canvas.shape(outline(tile, size * 0.03), ACCENT)
    return canvas


def banner(width=320, height=180):
    canvas = Canvas(width, height, BG_DEEP)
    canvas.shape(lambda x, y: -1.0, vertical_gradient(BG_PANEL, BG_DEEP, 0, height), opacity=1.0)
    # A faint technical grid.
    for gx in range(0, width, 16):
        canvas.rect(gx, 0, gx + 1, height, BORDER, 0.18)
    for gy in range(0, height, 16):
        canvas.rect(0, gy, width, gy + 1, BORDER, 0.18)
    # Four inputs on the left routed to four outputs on the right.
    rows = [36 + i * 36 for i in range(4)]
    left, right = 52, width - 52
    routes = {0: 2, 1: 0, 2: 3, 3: 1}
    for source, sink in routes.items():
        points = cubic((left + 14, rows[source]), (left + 90, rows[source]),
                       (right - 90, rows[sink]), (right - 14, rows[sink]), 48)
        box = bounds(points, 8)
        canvas.shape(polyline(points, 6.0), ACCENT, box, 0.18)
        canvas.shape(polyline(points, 2.2), ACCENT_LIGHT if source == 0 else ACCENT, box, 0.95)
    for y in rows:
        for x in (left, right):
            pill = rounded_box(x - 14, y - 9, x + 14, y + 9, 9)
            canvas.shape(pill, BG_CONTROL, (x - 16, y - 11, x + 16, y + 11))
            canvas.shape(outline(pill, 1.5), ACCENT, (x - 16, y - 11, x + 16, y + 11))
            canvas.shape(circle(x, y, 3.2), ACCENT_LIGHT, (x - 5, y - 5, x + 5, y + 5))
    # Port bars at the outer edges, like a rack front.
    for y in rows:
        canvas.rect(12, y - 2, 30, y + 2, MUTED, 0.6)
        canvas.rect(width - 30, y - 2, width - 12, y + 2, MUTED, 0.6)
    canvas.rect(0, height - 3, width, height, ACCENT, 0.9)
    return canvas


def message_icon(size=48):
    canvas = Canvas(size, size)
    c = size / 2.0
    canvas.shape(circle(c, c, size * 0.42), vertical_gradient(ACCENT, ACCENT_DARK, 0, size))
    canvas.shape(circle(c, size * 0.30, size * 0.06), WHITE)
    canvas.shape(segment(c, size * 0.45, c, size * 0.70, size * 0.105), WHITE)
    return canvas


def status_icon(success, size=64):
    canvas = Canvas(size, size)
    c = size / 2.0
    colour = SUCCESS if success else DANGER
    canvas.shape(circle(c, c, size * 0.44), colour, opacity=0.22)
    canvas.shape(circle(c, c, size * 0.36), colour)
    width = size * 0.085
    if success:
        canvas.shape(polyline([(size * 0.33, size * 0.51), (size * 0.45, size * 0.63),
                               (size * 0.68, size * 0.39)], width), WHITE)
    else:
        a, b = size * 0.38, size * 0.62
        canvas.shape(segment(a, a, b, b, width), WHITE)
        canvas.shape(segment(a, b, b, a, width), WHITE)
    return canvas


# Title-bar glyphs: 32 x 32 with strokes on even pixel boundaries, shown at 16 x 16 (the
# title-bar style sheet sets the icon size), so they stay sharp at both scales.

def glyph_min():
    canvas = Canvas(32, 32)
    canvas.rect(8, 16, 24, 18, TITLE_GLYPH)
    return canvas


def square_outline(canvas, x0, y0, x1, y1, thickness=2):
    canvas.rect(x0, y0, x1, y0 + thickness, TITLE_GLYPH)
    canvas.rect(x0, y1 - thickness, x1, y1, TITLE_GLYPH)
    canvas.rect(x0, y0, x0 + thickness, y1, TITLE_GLYPH)
    canvas.rect(x1 - thickness, y0, x1, y1, TITLE_GLYPH)


def glyph_max():
    canvas = Canvas(32, 32)
    square_outline(canvas, 8, 8, 24, 24)
    return canvas


def glyph_normal():
    canvas = Canvas(32, 32)
    # Back window: only its top and right edges show beside the front window.
    canvas.rect(12, 6, 26, 8, TITLE_GLYPH)
    canvas.rect(24, 6, 26, 20, TITLE_GLYPH)
    canvas.rect(12, 6, 14, 10, TITLE_GLYPH)
    canvas.rect(22, 18, 26, 20, TITLE_GLYPH)
    square_outline(canvas, 6, 10, 22, 26)
    return canvas


def glyph_close():
    canvas = Canvas(32, 32)
    canvas.shape(segment(9, 9, 23, 23, 2.4), TITLE_GLYPH)
    canvas.shape(segment(9, 23, 23, 9, 2.4), TITLE_GLYPH)
    return canvas


# Multiview previews: 200 x 112, as the multiview page shows them. The output is a dark
# screen inside a thin frame; each window is a tinted rectangle outlined in its own colour
# and numbered with a pixel font, so the pictures stay sharp without scaling. With the 16:9
# aspect each window keeps 16:9 inside its cell (the bars are the lighter cell background);
# FULL stretches it over the cell. User-defined PIP positions and sizes are outlined dashed.

PREVIEW_W, PREVIEW_H = 200, 112
SCREEN = (3, 3, 197, 109)
SCREEN_BLACK = (0x0B, 0x0E, 0x12)
WINDOW_COLOURS = [ACCENT, SUCCESS, (0xF5, 0xA6, 0x23), (0xA7, 0x7B, 0xF0)]

DIGITS = {
    1: ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    2: ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    3: ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    4: ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
}

PIP_POSITIONS = ["LeftTop", "RightTop", "LeftBottom", "RightBottom", "USER"]
PIP_SIZES = {"SMALL": 0.25, "MIDDLE": 0.34, "LARGE": 0.45, "USER": 0.38}

# Window cells of each layout variant, as fractions of the screen (x0, y0, x1, y1), window 1
# first. Variant 3 of PBP is the presenter layout whose capture window the user defines.
SPLIT_LAYOUTS = {
    "PBP": [
        [(0, 0, .5, 1), (.5, 0, 1, 1)],
        [(0, 0, 1, .5), (0, .5, 1, 1)],
        [(0, 0, .68, 1), (.68, .25, 1, .75)],
        [(0, 0, .75, 1), (.75, 0, 1, .5)],
        [(0, 0, .34, 1), (.34, 0, 1, 1)],
        [(0, 0, 1, .66), (.25, .66, .75, 1)],
    ],
    "3xWIN": [
        [(0, 0, 1 / 3., 1), (1 / 3., 0, 2 / 3., 1), (2 / 3., 0, 1, 1)],
        [(0, 0, .5, 1), (.5, 0, 1, .5), (.5, .5, 1, 1)],
        [(0, 0, 1, .5), (0, .5, .5, 1), (.5, .5, 1, 1)],
        [(0, 0, .5, .5), (.5, 0, 1, .5), (0, .5, 1, 1)],
        [(0, 0, .5, .5), (0, .5, .5, 1), (.5, 0, 1, 1)],
        [(0, 0, 2 / 3., 1), (2 / 3., 0, 1, .5), (2 / 3., .5, 1, 1)],
    ],
    "4xWIN": [
        [(0, 0, .5, .5), (.5, 0, 1, .5), (0, .5, .5, 1), (.5, .5, 1, 1)],
        [(0, 0, .75, 1), (.75, 0, 1, 1 / 3.), (.75, 1 / 3., 1, 2 / 3.), (.75, 2 / 3., 1, 1)],
        [(0, 0, 1, 2 / 3.), (0, 2 / 3., 1 / 3., 1), (1 / 3., 2 / 3., 2 / 3., 1), (2 / 3., 2 / 3., 1, 1)],
        [(0, 0, 1 / 3., 1 / 3.), (1 / 3., 0, 2 / 3., 1 / 3.), (2 / 3., 0, 1, 1 / 3.), (0, 1 / 3., 1, 1)],
        [(.25, 0, 1, 1), (0, 0, .25, 1 / 3.), (0, 1 / 3., .25, 2 / 3.), (0, 2 / 3., .25, 1)],
        [(0, 0, .25, 1), (.25, 0, .5, 1), (.5, 0, .75, 1), (.75, 0, 1, 1)],
    ],
}


def preview_canvas():
    canvas = Canvas(PREVIEW_W, PREVIEW_H, BG_DEEP)
    canvas.rect(1, 1, PREVIEW_W - 1, PREVIEW_H - 1, BORDER)
    canvas.rect(2, 2, PREVIEW_W - 2, PREVIEW_H - 2, SCREEN_BLACK)
    return canvas


def cell_pixels(cell):
    """Screen fractions to a pixel box with a 1-pixel gap on every side."""
    x0, y0, x1, y1 = SCREEN
    w, h = x1 - x0, y1 - y0
    return (x0 + int(round(cell[0] * w)) + 1, y0 + int(round(cell[1] * h)) + 1,
            x0 + int(round(cell[2] * w)) - 1, y0 + int(round(cell[3] * h)) - 1)


def fit_169(box):
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    if w * 9 > h * 16:
        fw, fh = int(round(h * 16 / 9.0)), h
    else:
        fw, fh = w, int(round(w * 9 / 16.0))
    fx, fy = x0 + (w - fw) // 2, y0 + (h - fh) // 2
    return (fx, fy, fx + fw, fy + fh)


def draw_digit(canvas, number, cx, cy, scale, colour):
    rows = DIGITS[number]
    left = cx - (5 * scale) // 2
    top = cy - (7 * scale) // 2
    for r, row in enumerate(rows):
        for c, bit in enumerate(row):
            if bit == "1":
                canvas.rect(left + c * scale, top + r * scale, left + (c + 1) * scale, top + (r + 1) * scale, colour)


def frame_edges(canvas, box, colour, dashed):
    x0, y0, x1, y1 = box
    on = (lambda i: (i % 5) < 3) if dashed else (lambda i: True)
    for x in range(x0, x1):
        if on(x - x0):
            canvas.rect(x, y0, x + 1, y0 + 1, colour)
            canvas.rect(x, y1 - 1, x + 1, y1, colour)
    for y in range(y0, y1):
        if on(y - y0):
            canvas.rect(x0, y, x0 + 1, y + 1, colour)
            canvas.rect(x1 - 1, y, x1, y + 1, colour)


def draw_window(canvas, box, number, dashed=False, label_at=None):
    """label_at: where the number goes instead of the centre (clear of a window on top)."""
    x0, y0, x1, y1 = box
    colour = WINDOW_COLOURS[number - 1]
    canvas.rect(x0, y0, x1, y1, mix(BG_PANEL, colour, 0.30))
    # A second, fainter band inside the outline gives the window some depth.
    canvas.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 2, colour, 0.35)
    frame_edges(canvas, box, colour, dashed)
    smaller = min(x1 - x0, y1 - y0)
    scale = 3 if smaller >= 40 else 2 if smaller >= 20 else 1
    cx, cy = label_at if label_at else ((x0 + x1) // 2, (y0 + y1) // 2)
    draw_digit(canvas, number, cx, cy, scale, TEXT)


def split_preview(mode, variant, aspect_169):
    canvas = preview_canvas()
    for number, cell in enumerate(SPLIT_LAYOUTS[mode][variant], start=1):
        box = cell_pixels(cell)
        if aspect_169:
            canvas.rect(box[0], box[1], box[2], box[3], BG_WINDOW)
            box = fit_169(box)
        draw_window(canvas, box, number)
    return canvas


def single_preview():
    canvas = preview_canvas()
    draw_window(canvas, cell_pixels((0, 0, 1, 1)), 1)
    return canvas


def pip_preview(position, size):
    canvas = preview_canvas()
    sx0, sy0, sx1, sy1 = SCREEN
    # The main window's number sits on the side away from the small window.
    label_x = sx0 + int((sx1 - sx0) * (0.72 if "Left" in position else 0.28))
    draw_window(canvas, cell_pixels((0, 0, 1, 1)), 1, label_at=(label_x, (sy0 + sy1) // 2))
    w = int(round((sx1 - sx0) * PIP_SIZES[size]))
    h = int(round(w * (sy1 - sy0) / float(sx1 - sx0)))
    margin = 7
    if position == "USER":
        # Somewhere the operator chose: off the corners, towards the upper middle.
        x = sx0 + int((sx1 - sx0) * 0.46)
        y = sy0 + int((sy1 - sy0) * 0.16)
        x, y = min(x, sx1 - margin - w), min(y, sy1 - margin - h)
    else:
        x = sx0 + margin if "Left" in position else sx1 - margin - w
        y = sy0 + margin if "Top" in position else sy1 - margin - h
    # A dark rim keeps the small window apart from the large one.
    canvas.rect(x - 1, y - 1, x + w + 1, y + h + 1, SCREEN_BLACK)
    draw_window(canvas, (x, y, x + w, y + h), 2, dashed=position == "USER" or size == "USER")
    return canvas


def multiview_pictures():
    pictures = {"APP/Image/MultiView/SINGLE.png": single_preview()}
    for position in PIP_POSITIONS:
        for size in PIP_SIZES:
            pictures["APP/Image/MultiView/PIP_%s_%s.png" % (position, size)] = pip_preview(position, size)
    for mode in SPLIT_LAYOUTS:
        for variant in range(6):
            for aspect, suffix in ((False, "FULL"), (True, "169")):
                name = "APP/Image/MultiView/%s_%d_%s.png" % (mode, variant + 1, suffix)
                pictures[name] = split_preview(mode, variant, aspect)
    return pictures


def pictures():
    return {
        "APP/Image/loginui_pic.png": banner(),
        "APP/Image/loginui_logo.png": logo(badge=True),
        "APP/Image/mainui_logo.png": logo(),
        "APP/Image/MessageShow_pic.png": message_icon(),
        "APP/Image/success.png": status_icon(True),
        "APP/Image/fail.png": status_icon(False),
        "TitleBar/Image/App.png": app_icon(),
        "TitleBar/Image/MinSize.png": glyph_min(),
        "TitleBar/Image/MaxSize.png": glyph_max(),
        "TitleBar/Image/NormalSize.png": glyph_normal(),
        "TitleBar/Image/Close.png": glyph_close(),
        **multiview_pictures(),
    }


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for relative, canvas in pictures().items():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        data = canvas.png_bytes()
        # Write beside the target and rename, so an interrupted run never leaves a broken picture.
        with open(path + ".tmp", "wb") as handle:
            handle.write(data)
        os.replace(path + ".tmp", path)
        print("%-40s %4d x %-4d %6d bytes" % (relative, canvas.width, canvas.height, len(data)))


if __name__ == "__main__":
    main()
