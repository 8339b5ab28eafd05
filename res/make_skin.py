#!/usr/bin/env python3
"""Draws the skin of Kelvane's main window and the system-utility pictures.

Standard library only and fully deterministic, like make_pictures.py, whose
shapes, canvas and file writers it uses.  Output goes next to this file:

  skin_<percent>.png        150x155 skin bitmap the layout pass cuts into pieces
  min_hover_<percent>.png, min_pressed_<percent>.png,
  close_hover_<percent>.png, close_pressed_<percent>.png
                            17x16 looks of the minimise and close images
  systool0.ico .. systool9.ico
                            the ten system-utility buttons (32x32; 48x48 for 2),
                            one image per scale
  skin_preview.png          everything enlarged, for a human to look at

Each picture is drawn for every display scale of make_pictures.SCALES at its
design size times the scale (rounded): <percent> is 100 to 200.  The skin is
drawn in design units stretched to its rounded size, so its rim lies on the
edges of every copy; a button look is the same drawing cut at the button.

The skin bitmap is drawn as a whole window of 150x155 pixels.  The layout pass
takes its corners unchanged and stretches thin slices of its edges, so a
window of any size shows the same frame: the slices it stretches (columns
28-35 of the top and bottom bands, rows 59-61 of the side bands) lie where
this little window is straight.  The band behind the caption ends at row 28,
above the lower edge of the top-right corner piece (29 rows).
"""

import math
import os

import make_pictures as mp
from make_pictures import (Canvas, box, circle, ellipse, grow, inter, minus, place,
                           polygon, ring, segment, stroke, union, write_ico)

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- colours

BODY = mp.WINDOW_BG                 # the window colour, red 206 green 255 blue 253
RIM = (31, 96, 169)                 # the dark caption colour
SLATE = mp.SLATE                    # the light caption colour (151, 169, 193)
BAND_TOP = (244, 250, 255)
BAND_BOTTOM = (200, 222, 244)
FOOTER_TOP = (214, 232, 248)
FOOTER_BOTTOM = (176, 202, 232)
GLYPH = (56, 80, 116)
GLYPH_OFF = (160, 176, 198)         # the maximise image: never available
HOVER_FILL = (228, 241, 255)
HOVER_EDGE = (118, 160, 215)
PRESSED_FILL = (176, 206, 240)
CLOSE_FILL = (224, 78, 68)
CLOSE_EDGE = (168, 42, 34)
CLOSE_PRESSED = (172, 40, 32)
WHITE = (255, 255, 255)

W, H = 150, 155                     # the skin bitmap, drawn as a whole window
BAND = 27                           # rows of the caption band (then a 2-row rule)
FOOTER = 14                         # rows of the bottom band
# The three image buttons: 73, 52 and 31 pixels left of the right edge, 8 down.
BUTTON_Y = 8
MIN_X, MAX_X, CLOSE_X = W - 73, W - 52, W - 31
BUTTON_W, BUTTON_H = 17, 16


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rect(l, t, r, b):
    return box(l, t, r, b)


# The window's outline: a rectangle with three corners rounded by about 26
# pixels and the bottom-right one by 4.5, as the region that cuts the real
# window; the dark rim lies on its edge.
def rounded_window(w, h, radii):
    """Signed distance to a w x h box whose corners (tl, tr, bl, br) have their own radius."""
    cx, cy = w / 2, h / 2

    def f(x, y):
        dx, dy = x - cx, y - cy
        r = radii[(0 if dy < 0 else 2) + (0 if dx < 0 else 1)]
        qx, qy = abs(dx) - cx + r, abs(dy) - cy + r
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return f


OUTLINE = rounded_window(W, H, (26.0, 25.75, 26.0, 4.5))


def ground(x, y):
    """The frame without buttons at a point inside the outline."""
    depth = -OUTLINE(x, y)
    if depth < 1.0:
        return RIM
    if y < BAND:
        colour = mix(BAND_TOP, BAND_BOTTOM, y / BAND)
    elif y < BAND + 1:
        colour = SLATE
    elif y < BAND + 2:
        colour = WHITE
    elif y >= H - FOOTER + 1:
        colour = mix(FOOTER_TOP, FOOTER_BOTTOM, (y - (H - FOOTER + 1)) / (FOOTER - 1))
    elif y >= H - FOOTER:
        colour = SLATE
    else:
        colour = BODY
    if depth < 2.0:  # a soft inner highlight along the rim
        colour = mix(colour, WHITE, 0.55)
    return colour


def glyph_shapes(kind, x0, y0, offset):
    x0, y0 = x0 + offset, y0 + offset
    if kind == "min":
        return segment(x0 + 5, y0 + 11, x0 + 12, y0 + 11, 1.0)
    if kind == "max":
        return union(ring(box(x0 + 4.5, y0 + 4, x0 + 12.5, y0 + 11.5, 0.6), 0.5),
                     rect(x0 + 4, y0 + 3.5, x0 + 13, y0 + 5.5))
    return union(segment(x0 + 5, y0 + 4.5, x0 + 12, y0 + 11.5, 0.95),
                 segment(x0 + 12, y0 + 4.5, x0 + 5, y0 + 11.5, 0.95))


def button_layers(kind, state):
    """(shape, colour) pairs of one image button, painted in order."""
    x0 = {"min": MIN_X, "max": MAX_X, "close": CLOSE_X}[kind]
    face = box(x0 + 0.5, BUTTON_Y + 0.5, x0 + BUTTON_W - 0.5, BUTTON_Y + BUTTON_H - 0.5, 3.0)
    inner = grow(face, -1.0)
    if state == "normal":
        return [(glyph_shapes(kind, x0, BUTTON_Y, 0), GLYPH_OFF if kind == "max" else GLYPH)]
    pressed = state == "pressed"
    if kind == "close":
        fill = CLOSE_PRESSED if pressed else CLOSE_FILL
        return [(face, CLOSE_EDGE), (inner, fill),
                (glyph_shapes(kind, x0, BUTTON_Y, 1 if pressed else 0), WHITE)]
    fill = PRESSED_FILL if pressed else HOVER_FILL
    return [(face, RIM if pressed else HOVER_EDGE), (inner, fill),
            (glyph_shapes(kind, x0, BUTTON_Y, 1 if pressed else 0), RIM)]


def render(x0, y0, w, h, layers, samples=4, kx=1.0, ky=1.0):
    """Rows of (r, g, b) for the area (x0, y0, w, h) of the window drawn kx
    times wider and ky times taller than its design, with `layers` over the
    frame.  The area is in the drawn pixels; shapes are in design units."""
    rows = []
    n = samples
    for y in range(y0, y0 + h):
        row = []
        for x in range(x0, x0 + w):
            acc = [0.0, 0.0, 0.0]
            for j in range(n):
                sy = (y + (j + 0.5) / n) / ky
                for i in range(n):
                    sx = (x + (i + 0.5) / n) / kx
                    c = ground(sx, sy) if OUTLINE(sx, sy) <= 0 else RIM
                    for shape, colour in layers:
                        if shape(sx, sy) <= 0:
                            c = colour
                    for k in range(3):
                        acc[k] += c[k]
            row.append(tuple(min(255, round(v / (n * n))) for v in acc))
        rows.append(row)
    return rows


def normal_layers():
    return sum((button_layers(kind, "normal") for kind in ("min", "max", "close")), [])


def skin_scale(k):
    """The skin's size at scale k and its stretch in each direction."""
    w, h = mp.scaled(W, k), mp.scaled(H, k)
    return w, h, w / W, h / H


def skin_picture(k=1.0):
    w, h, kx, ky = skin_scale(k)
    return render(0, 0, w, h, normal_layers(), kx=kx, ky=ky)


def button_picture(kind, state, k=1.0):
    x0 = MIN_X if kind == "min" else CLOSE_X
    # The rest of the window's buttons stay as the skin draws them; only this one changes.
    layers = [layer for other in ("min", "max", "close") if other != kind
              for layer in button_layers(other, "normal")] + button_layers(kind, state)
    _, _, kx, ky = skin_scale(k)
    return render(mp.scaled(x0, kx), mp.scaled(BUTTON_Y, ky), mp.scaled(BUTTON_W, k),
                  mp.scaled(BUTTON_H, k), layers, kx=kx, ky=ky)

# ------------------------------------------------------- system utilities

BLUE, BLUE_LIGHT, BLUE_DARK = mp.BLUE, mp.BLUE_LIGHT, mp.BLUE_DARK
SLATE_LIGHT, SLATE_DARK = mp.SLATE_LIGHT, mp.SLATE_DARK
ORANGE, ORANGE_DARK = mp.ORANGE, mp.ORANGE_DARK
GREEN, GREEN_DARK = mp.GREEN, mp.GREEN_DARK
PAPER = mp.PAPER
RED, RED_DARK = (226, 72, 62), (140, 30, 24)
YELLOW, YELLOW_DARK = (252, 204, 60), (160, 112, 10)
PURPLE, PURPLE_DARK = (128, 96, 200), (64, 40, 120)


def cube(c, cx, cy, s, top, left, right, edge):
    """An isometric cube of edge s centred at (cx, cy)."""
    h = s * 0.5
    t = polygon([(cx, cy - s), (cx + s * 0.87, cy - h), (cx, cy), (cx - s * 0.87, cy - h)])
    l = polygon([(cx - s * 0.87, cy - h), (cx, cy), (cx, cy + s), (cx - s * 0.87, cy + h)])
    r = polygon([(cx + s * 0.87, cy - h), (cx + s * 0.87, cy + h), (cx, cy + s), (cx, cy)])
    c.fill(grow(union(t, l, r), 0.8), edge)
    c.fill(t, top)
    c.fill(l, left)
    c.fill(r, right)


def drive(c, x0, y0, x1, y1, body=SLATE_LIGHT, edge=SLATE_DARK):
    """A hard disk seen from the front, with its activity light."""
    c.shape(box(x0, y0, x1, y1, 2.5), body, edge, 1.0)
    c.fill(rect(x0 + 2, y0 + (y1 - y0) * 0.55, x1 - 2, y0 + (y1 - y0) * 0.55 + 1), SLATE)
    c.fill(circle(x1 - 4.5, y1 - 3.8, 1.3), GREEN)


def check(c, pts, r, colour, edge):
    c.fill(stroke(pts, r + 0.9), edge)
    c.fill(stroke(pts, r), colour)


def systool0(k=1.0):
    """Component services: three connected component cubes."""
    c = Canvas(32, 32, k)
    c.fill(stroke([(9, 22), (16, 10), (23, 22), (9, 22)], 1.0), SLATE_DARK)
    cube(c, 16, 8.5, 6.5, BLUE_LIGHT, BLUE, BLUE_DARK, BLUE_DARK)
    cube(c, 8.5, 22, 6.5, (250, 200, 130), ORANGE, ORANGE_DARK, ORANGE_DARK)
    cube(c, 23.5, 22, 6.5, (150, 220, 170), GREEN, GREEN_DARK, GREEN_DARK)
    return c


def systool1(k=1.0):
    """System file checker: a document with a green check on a shield."""
    c = Canvas(32, 32, k)
    page = polygon([(4, 2), (18, 2), (24, 8), (24, 29), (4, 29)])
    c.shape(grow(page, -0.5), PAPER, SLATE_DARK, 1.0)
    for i, x1 in enumerate((15, 19, 12)):
        c.fill(segment(8, 9 + 4 * i, x1, 9 + 4 * i, 0.9), SLATE)
    body = mp.shield(22, 14, 31.5, 8.5, 20, 1.8)
    c.erase(grow(body, 1.2))
    c.shape(body, GREEN, GREEN_DARK, 1.0)
    check(c, [(18, 22), (21, 25.5), (26.5, 18.5)], 1.2, WHITE, GREEN_DARK)
    return c


def systool2(k=1.0):
    """Event viewer: a log book with entries and a warning sign (48x48)."""
    c = Canvas(48, 48, k)
    c.shape(box(6, 3, 38, 44, 3), BLUE, BLUE_DARK, 1.2)
    c.fill(box(10, 5, 36.5, 42, 1.5), PAPER)
    c.fill(rect(6, 3, 11, 44), BLUE_DARK)
    for i in range(6):  # ring binding
        c.fill(circle(8.5, 8 + 6.2 * i, 1.1), BLUE_LIGHT)
    for i, (x1, colour) in enumerate(((31, GREEN), (28, BLUE), (33, RED), (26, BLUE), (30, GREEN))):
        y = 11 + 5.5 * i
        c.fill(circle(15.5, y, 1.6), colour)
        c.fill(segment(19.5, y, x1, y, 1.0), SLATE)
    tri = grow(polygon([(36, 26.5), (45.5, 43), (26.5, 43)]), 1.2)
    c.erase(grow(tri, 1.4))
    c.shape(tri, YELLOW, YELLOW_DARK, 1.2)
    c.fill(segment(36, 32, 36, 37.2, 1.3), (60, 40, 10))
    c.fill(circle(36, 40.4, 1.35), (60, 40, 10))
    return c


def systool3(k=1.0):
    """Disk check: a drive under a magnifier."""
    c = Canvas(32, 32, k)
    drive(c, 2, 4, 26, 20)
    glass, rim, handle = mp.magnifier(19, 20, 6.2, 2.2, (29.5, 30.5), 1.9)
    c.erase(grow(union(rim, handle), 1.8))
    c.fill(grow(union(rim, handle), 0.9), BLUE_DARK)
    c.fill(grow(glass, -1.0), mp.GLASS)
    c.fill(rim, BLUE)
    c.fill(handle, ORANGE)
    check(c, [(16, 20), (18.3, 22.5), (22.5, 17.5)], 0.9, GREEN, GREEN_DARK)
    return c


def systool4(k=1.0):
    """Disk clean-up: a drive with a broom and sparkles."""
    c = Canvas(32, 32, k)
    drive(c, 2, 14, 26, 30)
    stick = place(segment(0, 0, 15, 0, 1.1), 27, 2.5, 125)
    c.fill(grow(stick, 0.8), ORANGE_DARK)
    c.fill(stick, (214, 160, 92))
    bristles = polygon([(14.5, 16), (21, 20.5), (17.5, 26), (9.5, 24.5)])
    c.erase(grow(bristles, 1.2))
    c.shape(bristles, YELLOW, YELLOW_DARK, 1.0)
    for x, y, s in ((6, 6, 2.6), (12.5, 3.5, 1.6), (4, 11.5, 1.4)):
        star = union(segment(x - s, y, x + s, y, 0.55), segment(x, y - s, x, y + s, 0.55))
        c.fill(star, BLUE)
    return c


def systool5(k=1.0):
    """Defragmenter: a block map being put in order."""
    c = Canvas(32, 32, k)
    c.shape(box(1, 3, 31, 29, 2.5), SLATE_LIGHT, SLATE_DARK, 1.0)
    colours = [BLUE, BLUE, BLUE, BLUE, BLUE, BLUE,
               BLUE, BLUE, BLUE, RED, WHITE, BLUE,
               GREEN, WHITE, RED, WHITE, GREEN, WHITE,
               WHITE, RED, WHITE, GREEN, WHITE, RED]
    for i, colour in enumerate(colours):
        x, y = 4 + 4 * (i % 6), 6 + 5.5 * (i // 6)
        c.fill(box(x, y, x + 3.4, y + 4.6, 0.6), colour)
    return c


def systool6(k=1.0):
    """Backup and repair: a drive inside circling arrows."""
    c = Canvas(32, 32, k)
    drive(c, 8, 10, 24, 22, body=PAPER)
    for a0, a1 in ((200, 330), (20, 150)):
        pts = mp.arc(16, 16, 12.2, a0, a1, 14)
        c.fill(stroke(pts, 2.2), GREEN_DARK)
        c.fill(stroke(pts, 1.4), GREEN)
        ex, ey = pts[-1]
        ang = math.radians(a1 + 90)
        dx, dy = math.cos(ang), math.sin(ang)
        head = polygon([(ex + dx * 4, ey + dy * 4), (ex - dy * 3.6, ey + dx * 3.6),
                        (ex + dy * 3.6, ey - dx * 3.6)])
        c.shape(head, GREEN, GREEN_DARK, 0.9)
    return c


def systool7(k=1.0):
    """Crash-dump doctor: a doctor's bag with a red cross."""
    c = Canvas(32, 32, k)
    c.fill(ring(box(11, 3, 21, 11, 3), 1.3), SLATE_DARK)
    c.shape(box(2, 8, 30, 29, 3.5), (120, 72, 40), (70, 40, 20), 1.1)
    c.fill(rect(3, 13, 29, 14.5), (90, 52, 28))
    c.fill(circle(16, 20, 6.6), WHITE)
    c.fill(union(rect(14, 15, 18, 25), rect(11, 18, 21, 22)), RED)
    return c


def systool8(k=1.0):
    """DirectX diagnostics: a game pad over a colour prism."""
    c = Canvas(32, 32, k)
    for k, colour in enumerate((RED, YELLOW, GREEN, BLUE)):
        c.fill(place(box(-2.2, -13, 2.2, -3, 1.5), 16, 13, 45 + 90 * k), colour)
    pad = union(box(3, 15, 29, 27, 6), circle(8.5, 25, 5.3), circle(23.5, 25, 5.3))
    c.erase(grow(pad, 1.3))
    c.shape(pad, SLATE_DARK, (40, 48, 64), 1.0)
    c.fill(union(rect(6.5, 19.5, 12.5, 21.5), rect(8.5, 17.5, 10.5, 23.5)), WHITE)
    c.fill(circle(21.5, 19, 1.5), RED)
    c.fill(circle(24.5, 21.8, 1.5), GREEN)
    return c


def systool9(k=1.0):
    """System configuration: a settings panel of switches with a gear."""
    c = Canvas(32, 32, k)
    c.shape(box(1, 2, 25, 30, 2.5), PAPER, SLATE_DARK, 1.0)
    for i, on in enumerate((True, False, True)):
        y = 8.5 + 7.5 * i
        c.fill(box(4.5, y - 2.6, 14.5, y + 2.6, 2.6), GREEN if on else SLATE)
        c.fill(circle(11.9 if on else 7.1, y, 1.9), WHITE)
        c.fill(segment(17, y, 21.5, y, 0.9), SLATE)
    g = mp.gear(24.5, 24.5, 4.6, 8, 2.8, 2.1)
    c.erase(grow(g, 1.4))
    hole = circle(24.5, 24.5, 1.8)
    c.shape(minus(grow(g, 0.4), hole), ORANGE, ORANGE_DARK, 1.0)
    return c

# ----------------------------------------------------------------- output


def canvas_rows(canvas, background):
    out = []
    for row in canvas.rgba():
        out.append([tuple(round(v * a / 255 + bg * (1 - a / 255)) for v, bg in zip((r, g, b), background))
                    for r, g, b, a in row])
    return out


def write_preview(path, skin, buttons, tools):
    """The skin at 3x, the button looks at 4x and the utilities at 2x."""
    panels = [(skin, 3)] + [(b, 4) for b in buttons] + [(canvas_rows(t, BODY), 2) for t in tools]
    gap = 10
    w = gap + sum(len(p[0]) * s + gap for p, s in panels)
    h = gap + max(len(p) * s for p, s in panels) + gap
    img = [[(255, 255, 255)] * w for _ in range(h)]
    x0 = gap
    for rows, s in panels:
        for y, row in enumerate(rows):
            for x, colour in enumerate(row):
                for sy in range(s):
                    line = img[gap + y * s + sy]
                    for sx in range(s):
                        line[x0 + x * s + sx] = colour
        x0 += len(rows[0]) * s + gap
    mp.write_png(path, w, h, img)


def main():
    skin, buttons = None, []
    for percent in mp.SCALES:
        k = percent / 100
        rows = skin_picture(k)
        mp.write_picture("skin", percent, rows)
        skin = skin or rows
        for kind in ("min", "close"):
            for state in ("hover", "pressed"):
                rows = button_picture(kind, state, k)
                mp.write_picture("%s_%s" % (kind, state), percent, rows)
                if percent == 100:
                    buttons.append(rows)
    makers = [systool0, systool1, systool2, systool3, systool4,
              systool5, systool6, systool7, systool8, systool9]
    for i, make in enumerate(makers):
        write_ico(os.path.join(HERE, "systool%d.ico" % i), [make(s / 100) for s in mp.SCALES])
    tools = [make() for make in makers]
    write_preview(os.path.join(HERE, "skin_preview.png"), skin, buttons, tools)


if __name__ == "__main__":
    main()
