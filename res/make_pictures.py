#!/usr/bin/env python3
"""Draws Kelvane's icon and page-button pictures.

Standard library only and fully deterministic: running it again writes the
same bytes.  Output goes next to this file:

  kelvane.ico            application icon: the small design at 16 to 28
                         pixels, the large one at 32 to 64
  page0.ico .. page4.ico one picture each for the five page buttons, at
                         every display scale
  preview.png            everything at 4x (and 1x) for a human to look at

Every picture is drawn anew for each display scale (SCALES: 100 to 200 %), at
its design size times the scale, rounded: the shapes are evaluated in design
units, so a larger copy is as sharp as the 100 % one, never an enlargement of
it.  An icon holds one image per scale; the 100 % image stays an uncompressed
DIB as it always was, the larger ones are PNG (read by Windows Vista and later).

Shapes are signed distance functions (negative inside, value never larger
than the true distance to the edge).  A pixel far from every edge is decided
from its centre; a pixel near an edge is supersampled, which gives
anti-aliased edges and a real alpha channel.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The display scales every picture is drawn for, in per cent of 96 DPI.
SCALES = (100, 125, 150, 175, 200)


def scaled(pixels, k):
    """pixels * k rounded half up, as the program rounds a design size for a DPI."""
    return int(math.floor(pixels * k + 0.5))

# ---------------------------------------------------------------- colours

WINDOW_BG = (206, 255, 253)

BLUE = (42, 118, 204)
BLUE_LIGHT = (118, 182, 240)
BLUE_DARK = (20, 62, 122)
SLATE = (151, 169, 193)
SLATE_LIGHT = (214, 223, 235)
SLATE_DARK = (72, 88, 112)
ORANGE = (244, 142, 32)
ORANGE_DARK = (150, 72, 8)
GREEN = (48, 164, 86)
GREEN_DARK = (20, 96, 46)
WHITE = (255, 255, 255)
GLASS = (214, 236, 252)
PAPER = (250, 252, 255)

# ------------------------------------------------- signed distance shapes


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    k = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def box(x0, y0, x1, y1, r=0.0):
    """Axis-aligned rectangle with corner radius r."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return f


def segment(ax, ay, bx, by, r):
    """Line from a to b, thickness 2r, round caps."""
    dx, dy = bx - ax, by - ay
    dd = dx * dx + dy * dy or 1e-12

    def f(x, y):
        px, py = x - ax, y - ay
        t = min(max((px * dx + py * dy) / dd, 0.0), 1.0)
        return math.hypot(px - dx * t, py - dy * t) - r
    return f


def stroke(points, r):
    """Polyline of thickness 2r."""
    return union(*[segment(*points[i], *points[i + 1], r)
                   for i in range(len(points) - 1)])


def polygon(points):
    n = len(points)

    def f(x, y):
        best = float("inf")
        sign = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = min(max((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0), 1.0)
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (yi <= y) != (yj <= y) and x < xi + (y - yi) * ex / ey:
                sign = -sign
            j = i
        return sign * best
    return f


def half_plane(nx, ny, px, py):
    """Inside where (x,y)-(px,py) points against the unit normal (nx,ny)."""
    return lambda x, y: (x - px) * nx + (y - py) * ny


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def inter(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def minus(a, *bs):
    return lambda x, y: max(a(x, y), *(-b(x, y) for b in bs))


def grow(f, d):
    return lambda x, y: f(x, y) - d


def ring(f, half_width):
    """A band of the given half width centred on f's edge."""
    return lambda x, y: abs(f(x, y)) - half_width


def place(f, tx, ty, degrees):
    """Shape f, drawn around its own origin, turned and moved to (tx, ty)."""
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)

    def g(x, y):
        dx, dy = x - tx, y - ty
        return f(dx * c + dy * s, -dx * s + dy * c)
    return g


def bezier(p0, p1, p2, steps=10):
    out = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        out.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return out


def arc(cx, cy, r, a0, a1, steps=12):
    """Points on a circle from angle a0 to a1 (degrees, y down, clockwise)."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)]

# ----------------------------------------------------------------- canvas


class Canvas:
    """A w x h design drawn at scale k: shapes are given in design units and
    the canvas holds scaled(w, k) x scaled(h, k) pixels."""
    SS = 8  # samples per pixel along each axis near an edge

    def __init__(self, w, h, k=1.0):
        self.k = k
        self.w, self.h = scaled(w, k), scaled(h, k)
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.w * self.h)]  # premultiplied

    def coverage(self, f, x, y):
        k = self.k
        d = f((x + 0.5) / k, (y + 0.5) / k) * k  # distance in pixels
        if d >= 0.75:
            return 0.0
        if d <= -0.75:
            return 1.0
        n = self.SS
        hit = 0
        for j in range(n):
            sy = (y + (j + 0.5) / n) / k
            for i in range(n):
                if f((x + (i + 0.5) / n) / k, sy) <= 0.0:
                    hit += 1
        return hit / (n * n)

    def fill(self, f, colour, alpha=1.0, box=None):
        """Composites shape f in colour; box (x0, y0, x1, y1), in design units,
        limits the pixels visited when the shape is known to lie inside it
        (large canvases)."""
        if box:
            k = self.k
            x0, y0 = int(math.floor(box[0] * k)), int(math.floor(box[1] * k))
            x1, y1 = int(math.ceil(box[2] * k)), int(math.ceil(box[3] * k))
        else:
            x0, y0, x1, y1 = 0, 0, self.w, self.h
        r, g, b = (c / 255.0 for c in colour)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                a = self.coverage(f, x, y) * alpha
                if a > 0.0:
                    p = self.px[y * self.w + x]
                    k = 1.0 - a
                    p[0] = r * a + p[0] * k
                    p[1] = g * a + p[1] * k
                    p[2] = b * a + p[2] * k
                    p[3] = a + p[3] * k

    def erase(self, f):
        """Make f transparent (to leave a gap between overlapping parts)."""
        for y in range(self.h):
            for x in range(self.w):
                k = 1.0 - self.coverage(f, x, y)
                if k < 1.0:
                    self.px[y * self.w + x] = [v * k for v in self.px[y * self.w + x]]

    def shape(self, f, colour, outline, width=1.0):
        """Fill f with a thin darker outline just inside its edge."""
        self.fill(f, outline)
        self.fill(grow(f, -width), colour)

    def rgba(self):
        """Rows top to bottom of straight (not premultiplied) 8-bit RGBA."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                A = round(a * 255)
                if A == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append(tuple(min(255, round(c / a * 255)) for c in (r, g, b)) + (A,))
            rows.append(row)
        return rows

# ------------------------------------------------------------ components


def shield(cx, top, bottom, half_w, shoulder, r):
    """Shield outline: flat top, straight sides, curving to a point."""
    a = half_w - r
    t, b, s = top + r, bottom - r, shoulder
    right = bezier((cx + a, s), (cx + a, s + (b - s) * 0.62), (cx, b))
    left = [(2 * cx - x, y) for x, y in reversed(right)]
    return grow(polygon([(cx - a, t), (cx + a, t)] + right[:-1] + left[:-1] +
                        [(cx - a, s)]), r)


def wrench(length, head, handle, ring_end=True):
    """Open-ended wrench along +x with its head at the origin."""
    jaw = box(-head - 1, -head * 0.42, head * 0.05, head * 0.42)
    body = union(circle(0, 0, head), segment(0, 0, length, 0, handle))
    if not ring_end:
        return minus(body, jaw)
    body = union(body, circle(length, 0, handle * 1.45))
    return minus(body, jaw, circle(length, 0, handle * 0.55))


def screwdriver(length, handle_len, handle_r, shaft_r):
    """Screwdriver along +x: handle end at the origin, tip at x=length."""
    handle = box(0, -handle_r, handle_len, handle_r, handle_r * 0.8)
    collar = box(handle_len - 1.0, -handle_r * 0.7, handle_len + 1.6, handle_r * 0.7, 0.6)
    shaft = polygon([(handle_len, -shaft_r), (length - 2.2, -shaft_r),
                     (length, -shaft_r * 0.55), (length, shaft_r * 0.55),
                     (length - 2.2, shaft_r), (handle_len, shaft_r)])
    return handle, collar, shaft


def gear(cx, cy, r, teeth, tooth_w, tooth_h):
    """Gear wheel without its hole."""
    parts = [circle(cx, cy, r)]
    for k in range(teeth):
        deg = 360.0 * k / teeth
        parts.append(place(box(r - 1.0, -tooth_w / 2, r + tooth_h, tooth_w / 2, 0.5),
                           cx, cy, deg))
    return union(*parts)


def magnifier(cx, cy, r, ring_w, handle_to, handle_r):
    glass = circle(cx, cy, r)
    rim = ring(circle(cx, cy, r - ring_w / 2), ring_w / 2)
    ang = math.atan2(handle_to[1] - cy, handle_to[0] - cx)
    sx, sy = cx + math.cos(ang) * (r - 0.5), cy + math.sin(ang) * (r - 0.5)
    handle = segment(sx, sy, *handle_to, handle_r)
    return glass, rim, handle

# ------------------------------------------------------------ pictures


def app_icon(design, k=1.0):
    """The application icon: the design of `design` pixels square (16 or 32) at scale k."""
    c = Canvas(design, design, k)
    if design >= 32:
        body = shield(16, 1, 31.5, 14, 12, 2.5)
        c.shape(body, BLUE, BLUE_DARK, 1.0)
        c.fill(inter(grow(body, -1.0), half_plane(1, 0, 16, 0)), BLUE_LIGHT, 0.35)
        c.fill(place(wrench(15, 4.6, 1.9), 20.5, 10.5, 135), WHITE)
    else:  # fewer, bolder details: a plain wrench, no ring end
        body = shield(8, 0, 16, 7, 6, 1.5)
        c.shape(body, BLUE, BLUE_DARK, 1.0)
        c.fill(place(wrench(8.2, 2.8, 1.2, ring_end=False), 10.3, 5.4, 135), WHITE)
    return c


def page0(k=1.0):
    """Fault-solution wizard: a magnifier over a document."""
    c = Canvas(36, 36, k)
    page = polygon([(4, 2), (20, 2), (27, 9), (27, 32), (4, 32)])
    c.shape(grow(page, -0.5), PAPER, SLATE_DARK, 1.0)
    c.shape(polygon([(19.5, 2.5), (19.5, 9.5), (26.5, 9.5)]), SLATE_LIGHT, SLATE_DARK, 1.0)
    for i, x1 in enumerate((16, 22, 22, 14)):  # lines of text
        y = 13 + 4 * i
        c.fill(segment(8.5, y, x1, y, 1.0), SLATE)
    glass, rim, handle = magnifier(21, 21, 8, 2.8, (32.5, 32.5), 2.3)
    c.fill(grow(union(rim, handle), 1.0), BLUE_DARK)
    c.fill(grow(glass, -1.0), GLASS)
    c.fill(rim, BLUE)
    c.fill(handle, ORANGE)
    c.fill(stroke(arc(21, 21, 4.2, 190, 260, 6), 0.9), WHITE)
    return c


def page1(k=1.0):
    """Repair tools: a wrench crossed with a screwdriver."""
    c = Canvas(35, 33, k)
    handle, collar, shaft = screwdriver(30, 12, 3.4, 1.3)
    at = (lambda f: place(f, 29.5, 28.5, -135))
    c.shape(grow(at(shaft), 0.4), SLATE_LIGHT, SLATE_DARK, 1.0)
    c.shape(grow(at(union(handle, collar)), 0.4), ORANGE, ORANGE_DARK, 1.0)
    c.fill(at(segment(3, -1.2, 9, -1.2, 0.55)), WHITE, 0.55)  # shine
    c.shape(place(wrench(25, 6.3, 2.5), 26, 7, 135), SLATE, SLATE_DARK, 1.1)
    return c


def page2(k=1.0):
    """System utilities: a monitor with a gear."""
    c = Canvas(39, 36, k)
    c.shape(box(12, 24, 22, 31, 0), SLATE, SLATE_DARK, 1.0)
    c.shape(box(7, 29, 27, 33.5, 1.5), SLATE, SLATE_DARK, 1.0)
    c.shape(box(1, 2, 33, 26, 2.5), BLUE, BLUE_DARK, 1.0)
    c.fill(box(3.5, 4.5, 30.5, 23.5, 1.0), BLUE_LIGHT)
    c.fill(polygon([(3.5, 4.5), (17, 4.5), (3.5, 17)]), WHITE, 0.35)
    g = gear(28.5, 25.5, 6.4, 8, 3.4, 2.6)
    c.erase(grow(g, 1.6))
    hole = circle(28.5, 25.5, 2.4)
    c.shape(minus(grow(g, 0.5), hole), ORANGE, ORANGE_DARK, 1.1)
    c.fill(ring(hole, 0.5), ORANGE_DARK)
    return c


def bug(cx, cy, s):
    """A beetle centred at (cx, cy), about 2*s tall; returns body, legs."""
    body = ellipse(cx, cy + 0.15 * s, 0.62 * s, 0.78 * s)
    head = circle(cx, cy - 0.72 * s, 0.36 * s)
    legs = []
    for y0, knee, foot in ((-0.2, (0.85, -0.45), (1.0, -0.85)),
                           (0.2, (0.95, 0.2), (1.15, 0.3)),
                           (0.55, (0.85, 0.8), (1.0, 1.15))):
        for side in (-1, 1):
            legs.append(stroke([(cx, cy + y0 * s),
                                (cx + side * knee[0] * s, cy + knee[1] * s),
                                (cx + side * foot[0] * s, cy + foot[1] * s)],
                               0.1 * s + 0.2))
    for side in (-1, 1):
        legs.append(stroke([(cx + side * 0.15 * s, cy - 0.9 * s),
                            (cx + side * 0.5 * s, cy - 1.25 * s)], 0.09 * s + 0.25))
    return union(body, head), union(*legs)


def page3(k=1.0):
    """Virus detector: a shield with a bug on it."""
    c = Canvas(39, 39, k)
    body = shield(19.5, 1, 38.5, 17.5, 15, 3)
    c.shape(body, GREEN, GREEN_DARK, 1.0)
    c.fill(inter(grow(body, -1.0), half_plane(1, 0, 19.5, 0)), WHITE, 0.12)
    shape, legs = bug(19.5, 18.5, 9)
    c.fill(legs, WHITE)
    c.fill(shape, WHITE)
    c.fill(segment(19.5, 16.5, 19.5, 26, 0.55), GREEN)
    c.fill(segment(16, 13.3, 23, 13.3, 0.5), GREEN)
    return c


def page4(k=1.0):
    """Help: a question mark in a speech bubble."""
    c = Canvas(35, 33, k)
    bubble = union(box(1, 1, 34, 25, 6),
                   polygon([(8, 22), (17, 22), (7, 32)]))
    c.shape(bubble, ORANGE, ORANGE_DARK, 1.0)
    hook = arc(17.5, 10.2, 4.4, 195, 395, 16) + [(17.5, 16.2)]
    c.fill(stroke(hook, 1.75), WHITE)
    c.fill(circle(17.5, 20.6, 1.9), WHITE)
    return c

# ------------------------------------------------------------ file output


def ico_image(canvas):
    """One 32-bit DIB for an ICO: BGRA bottom-up, then a 1-bit AND mask."""
    rows = canvas.rgba()
    w, h = canvas.w, canvas.h
    xor = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a))
                   for row in reversed(rows))
    stride = (w + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def write_ico(path, canvases):
    """An icon of the canvases, smallest first.  A 100 % canvas (k == 1) is an
    uncompressed DIB, as every Windows reads; a scaled one is a PNG image."""
    canvases = sorted(canvases, key=lambda c: (c.w * c.h, c.k))
    images = [ico_image(c) if c.k == 1.0 else png_bytes(c.w, c.h, c.rgba())
              for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def filtered(raw_rows, bpp, kind):
    """The PNG scanlines of raw_rows with filter `kind` (0 none, 1 sub) on every row."""
    if kind == 0:
        return b"".join(b"\0" + row for row in raw_rows)
    out = []
    for row in raw_rows:
        left = bytes(bpp) + row[:-bpp]
        out.append(b"\1" + bytes((a - b) & 255 for a, b in zip(row, left)))
    return b"".join(out)


def png_bytes(w, h, pixels, filters=(0,)):
    """A PNG of pixels: rows of (r, g, b) or (r, g, b, a) tuples.  Of the
    `filters` tried, the one that compresses best is kept."""
    channels = len(pixels[0][0])
    raw_rows = [bytes(v for p in row for v in p) for row in pixels]
    data = min((zlib.compress(filtered(raw_rows, channels, kind), 9) for kind in filters), key=len)

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    colour_type = 6 if channels == 4 else 2
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0)) +
            chunk(b"IDAT", data) + chunk(b"IEND", b""))


def write_png(path, w, h, pixels, filters=(0,)):
    """pixels: rows of (r, g, b) or (r, g, b, a) tuples."""
    with open(path, "wb") as f:
        f.write(png_bytes(w, h, pixels, filters))


def write_picture(name, percent, rows):
    """The copy of picture `name` made for `percent` display scale, as the
    program loads it: name_<percent>.png beside this file."""
    write_png(os.path.join(HERE, "%s_%d.png" % (name, percent)), len(rows[0]), len(rows), rows,
              filters=(0, 1))


def write_preview(path, canvases, scale=4, gap=12):
    """All pictures in a row at `scale`, and again at 1x underneath."""
    top = max(c.h for c in canvases) * scale
    w = gap + sum(c.w * scale + gap for c in canvases)
    h = gap + top + gap + top // scale + gap
    img = [[WINDOW_BG] * w for _ in range(h)]
    x0 = gap
    for c in canvases:
        rows = c.rgba()
        for y, row in enumerate(rows):
            for x, (r, g, b, a) in enumerate(row):
                k = a / 255.0
                col = tuple(round(v * k + bg * (1 - k))
                            for v, bg in zip((r, g, b), WINDOW_BG))
                for sy in range(scale):
                    line = img[gap + y * scale + sy]
                    for sx in range(scale):
                        line[x0 + x * scale + sx] = col
                img[2 * gap + top + y][x0 + x] = col
        x0 += c.w * scale + gap
    write_png(path, w, h, img)


def main():
    icon16, icon32 = app_icon(16), app_icon(32)
    # The small design serves the small icon up to 175 %; at 200 % (32 pixels)
    # the large design's 100 % image is the better one, and the only one of that size.
    icons = ([app_icon(16, s / 100) for s in SCALES if s < 200] +
             [app_icon(32, s / 100) for s in SCALES])
    write_ico(os.path.join(HERE, "kelvane.ico"), icons)
    makers = [page0, page1, page2, page3, page4]
    for i, make in enumerate(makers):
        write_ico(os.path.join(HERE, "page%d.ico" % i), [make(s / 100) for s in SCALES])
    pages = [make() for make in makers]
    write_preview(os.path.join(HERE, "preview.png"), [icon16, icon32] + pages)


if __name__ == "__main__":
    main()
