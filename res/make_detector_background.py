#!/usr/bin/env python3
"""Draws the virus detector page's background: res/detector_background_<percent>.png.

500 x 500 pixels at 100 %, and the same picture drawn for each larger display
scale (in design units, at the centre of each pixel).  Standard library only
and deterministic: running it again writes the same bytes.  The page's labels are drawn on this picture
without a background of their own, so everything on it stays pale: a soft
vertical wash, a faint grid of dots, and a large shield with a magnifying glass
as a watermark in the lower right.  The right edge fades to the flat colour the
page shows beyond the picture (RGB 240, 244, 255), so no seam shows there.
"""

from make_pictures import SCALES, Canvas, circle, ring, scaled, segment, shield, union, write_picture

SIZE = 500
PAGE = (240, 244, 255)       # the page colour beyond the picture
TOP = (226, 234, 255)        # the wash starts a little deeper at the top
MARK = (150, 160, 230)       # watermark colour before it is faded
DOT = (205, 214, 245)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def background(k):
    """Rows of (r, g, b): the wash, fading into PAGE towards the right edge."""
    rows = []
    for y in range(scaled(SIZE, k)):
        base = mix(TOP, PAGE, min(1.0, y / k / 260.0))
        row = []
        for x in range(scaled(SIZE, k)):
            fade = max(0.0, (x / k - 420) / 80.0)
            row.append(mix(base, PAGE, fade))
        rows.append(row)
    return rows


def watermark(k):
    c = Canvas(SIZE, SIZE, k)
    body = shield(390, 250, 470, 70, 310, 10)
    c.fill(ring(body, 3.0), MARK, 0.22, box=(310, 240, 470, 480))
    glass = circle(385, 350, 34)
    c.fill(ring(glass, 5.0), MARK, 0.28, box=(340, 305, 430, 395))
    c.fill(segment(410, 375, 440, 408, 7.0), MARK, 0.28, box=(400, 365, 450, 418))
    # A small beetle under the glass.
    body_bug = union(circle(385, 356, 11), circle(385, 340, 6))
    c.fill(body_bug, MARK, 0.25, box=(370, 330, 400, 370))
    for sx in (-1, 1):
        for dy in (-4, 4, 12):
            c.fill(segment(385, 350 + dy, 385 + sx * 19, 346 + dy, 1.4), MARK, 0.25, box=(360, 335, 410, 370))
    # Dots in a loose grid over the upper left, fading out towards the middle.
    for gy in range(12, 230, 24):
        for gx in range(12, 420, 24):
            strength = max(0.0, 1.0 - (gx + gy) / 520.0)
            if strength > 0.05:
                c.fill(circle(gx, gy, 1.6), DOT, strength, box=(gx - 3, gy - 3, gx + 4, gy + 4))
    return c


def compose(k=1.0):
    rows = background(k)
    marks = watermark(k).rgba()
    size = scaled(SIZE, k)
    for y in range(size):
        for x in range(size):
            r, g, b, a = marks[y][x]
            if a:
                k = a / 255.0
                rows[y][x] = tuple(round(v * k + w * (1 - k))
                                   for v, w in zip((r, g, b), rows[y][x]))
    return rows


def main():
    for percent in SCALES:
        write_picture("detector_background", percent, compose(percent / 100))


if __name__ == "__main__":
    main()
