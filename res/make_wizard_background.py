#!/usr/bin/env python3
"""Draws the background picture of the fault-solution wizard page.

Standard library only and fully deterministic: running it again writes the
same bytes.  Output goes next to this file:

  wizard_background_<percent>.png  800 x 600 at 100 %, and the same picture
                                   drawn at 150 and 200 %

The page shows the top-left 569 x 434 pixels behind the category buttons on
the left and the text box on the right, so the picture stays quiet and light:
a soft vertical gradient towards the window colour, a faint grid, and a few
large rings in the caption blue at very low strength.  An ordered dither keeps
the gentle gradient free of visible bands.  A larger copy evaluates the same
picture in design units at the centre of each of its pixels and dithers its
own pixels.  The dither keeps the picture from compressing well, so it is
stored at three scales only; the program reduces the next larger copy for the
scales between them.

  make_wizard_background.py [--preview PNG]
"""

import argparse
import math
import os
import sys

# Keep res/ free of a __pycache__ folder: the build watches everything in it.
sys.dont_write_bytecode = True
from make_pictures import WINDOW_BG, scaled, write_picture, write_png  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

WIDTH, HEIGHT = 800, 600
STORED_SCALES = (100, 150, 200)  # per cent

WHITE = (255, 255, 255)
CAPTION_BLUE = (31, 96, 169)

# Gradient ends: mostly white at the top, leaning to the window colour below.
TOP = tuple(w + (c - w) * 0.22 for w, c in zip(WHITE, WINDOW_BG))
BOTTOM = tuple(w + (c - w) * 0.85 for w, c in zip(WHITE, WINDOW_BG))

GRID_STEP = 40          # pixels between grid lines
GRID_STRENGTH = 0.045   # share of caption blue on a grid line

# Large rings (centre x, centre y, radius, half width, strength).  Most of
# them sit low and to the right, out of the way of the buttons on the left;
# the first one is also the only one large enough to reach the visible part.
RINGS = [
    (640.0, 520.0, 330.0, 26.0, 0.050),
    (640.0, 520.0, 230.0, 10.0, 0.045),
    (120.0, 610.0, 210.0, 14.0, 0.035),
    (760.0, 40.0, 150.0, 8.0, 0.030),
]

# Soft filled disc behind the rings, fading out from its centre.
GLOW = (560.0, 470.0, 360.0, 0.060)

BAYER4 = [
    [0, 8, 2, 10],
    [12, 4, 14, 6],
    [3, 11, 1, 9],
    [15, 7, 13, 5],
]


def mix(a, b, k):
    return tuple(x + (y - x) * k for x, y in zip(a, b))


def smooth(edge0, edge1, x):
    t = min(max((x - edge0) / (edge1 - edge0), 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


def grid_weight(v):
    """1 on a grid line, falling off over about one pixel either side."""
    d = abs(((v + GRID_STEP / 2) % GRID_STEP) - GRID_STEP / 2)
    return max(0.0, 1.0 - d)


def pixel(x, y, k=1.0):
    """The colour at the centre of pixel (x, y) of the picture drawn at scale k."""
    px, py = (x + 0.5) / k, (y + 0.5) / k
    colour = mix(TOP, BOTTOM, smooth(0.0, HEIGHT, py))

    gx, gy, gr, gk = GLOW
    d = math.hypot(px - gx, py - gy)
    colour = mix(colour, CAPTION_BLUE, gk * (1.0 - smooth(0.0, gr, d)))

    # The grid fades out towards the top so the text area stays clean.
    g = max(grid_weight(px - 0.5), grid_weight(py - 0.5))
    if g > 0.0:
        colour = mix(colour, CAPTION_BLUE,
                     GRID_STRENGTH * g * (0.35 + 0.65 * smooth(0.0, HEIGHT, py)))

    for cx, cy, r, half, k in RINGS:
        dist = abs(math.hypot(px - cx, py - cy) - r)
        if dist < half + 1.0:
            edge = 1.0 - smooth(half - 1.0, half + 1.0, dist)
            colour = mix(colour, CAPTION_BLUE, k * edge)
    return colour


def render(k=1.0):
    """Rows top to bottom of (r, g, b) tuples of whole bytes, at scale k."""
    rows = []
    for y in range(scaled(HEIGHT, k)):
        row = []
        dither = BAYER4[y % 4]
        for x in range(scaled(WIDTH, k)):
            offset = (dither[x % 4] + 0.5) / 16.0
            row.append(tuple(min(255, max(0, int(v + offset)))
                             for v in pixel(x, y, k)))
        rows.append(row)
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--preview", help="also write the picture as a PNG here")
    args = parser.parse_args()

    for percent in STORED_SCALES:
        rows = render(percent / 100)
        write_picture("wizard_background", percent, rows)
        if args.preview and percent == 100:
            write_png(args.preview, WIDTH, HEIGHT, rows)


if __name__ == "__main__":
    main()
