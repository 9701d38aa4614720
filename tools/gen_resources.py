#!/usr/bin/env python3
"""Draws Forum Editor's pictures and writes them as BMP, PNG and ICO files.

    python3 tools/gen_resources.py [OUTPUT_ROOT]

OUTPUT_ROOT defaults to the project root; the files land in OUTPUT_ROOT/res/.
Everything is drawn here with a tiny toolkit (shapes given as distance
functions plus a pixel font), so the output is the same bytes on every run
and needs nothing beyond the Python standard library.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Colours (R, G, B).  Smileys stay crisp (no anti-aliasing) so that every
# picture needs only a handful of colours and fits an 8-bit palette.

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
INK = (64, 36, 0)              # outlines and facial features
SKIN_YELLOW = ((235, 160, 0), (255, 208, 20), (255, 242, 150))
SKIN_RED = ((190, 20, 10), (235, 60, 30), (255, 150, 120))
MOUTH = (150, 24, 24)
TONGUE = (240, 110, 130)
TEAR = (70, 160, 255)
TEAR_EDGE = (20, 80, 190)
HEART = (225, 20, 50)
SHADES = (24, 24, 40)
ZZZ = (60, 110, 220)

# Toolbar colours: the face colour is mapped to the button face at run time.
BTN_FACE = (192, 192, 192)
PRESET_RED = (255, 0, 0)
PRESET_TEAL = (0, 128, 128)
PRESET_BLUE = (0, 0, 255)


def rgba(colour):
    return tuple(colour) if len(colour) == 4 else tuple(colour) + (255,)


# ---------------------------------------------------------------------------
# Canvas and shapes


class Shape:
    """A region given by a signed distance (negative inside) and a bounding box."""

    def __init__(self, dist, bbox):
        self.dist = dist
        self.bbox = bbox


class Canvas:
    """RGBA pixels, row 0 at the top.  Pixel (x, y) has its centre at (x+.5, y+.5)."""

    def __init__(self, width, height, background=WHITE):
        self.width, self.height = width, height
        self.rows = [[rgba(background)] * width for _ in range(height)]

    def get(self, x, y):
        return self.rows[y][x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = rgba(colour)

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)

    def fill(self, shape, colour, grow=0.0, smooth=False):
        """Paint the shape (widened by grow).  smooth=True blends the edge by
        coverage, which only the icon uses: it has an alpha channel and no
        palette limit."""
        x0, y0, x1, y1 = shape.bbox
        for y in range(max(0, math.floor(y0 - grow - 1)),
                       min(self.height, math.ceil(y1 + grow + 1))):
            for x in range(max(0, math.floor(x0 - grow - 1)),
                           min(self.width, math.ceil(x1 + grow + 1))):
                d = shape.dist(x + 0.5, y + 0.5) - grow
                if smooth:
                    cover = min(1.0, max(0.0, 0.5 - d))
                    if cover > 0:
                        self.rows[y][x] = blend(self.rows[y][x], rgba(colour), cover)
                elif d <= 0:
                    self.rows[y][x] = rgba(colour)

    def outlined(self, shape, colour, edge, width):
        """Fill with an outline of the given width around the outside."""
        self.fill(shape, edge, grow=width)
        self.fill(shape, colour)

    def colours(self):
        return {p for row in self.rows for p in row}


def blend(dst, src, cover):
    """Source-over compositing of src (scaled by cover) onto dst, straight alpha."""
    sa = src[3] / 255 * cover
    da = dst[3] / 255
    out_a = sa + da * (1 - sa)
    if out_a == 0:
        return (0, 0, 0, 0)
    mix = [round((s * sa + d * da * (1 - sa)) / out_a) for s, d in zip(src[:3], dst[:3])]
    return tuple(mix) + (round(out_a * 255),)


def disc(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    def dist(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(u, v)
        if k == 0:
            return -min(rx, ry)
        # First-order distance: level value over gradient length.
        grad = math.hypot(u / rx, v / ry) / k
        return (k - 1) / grad
    return Shape(dist, (cx - rx, cy - ry, cx + rx, cy + ry))


def capsule(x0, y0, x1, y1, r):
    """A line segment of thickness 2r with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9

    def dist(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - r
    return Shape(dist, (min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r))


def arc(cx, cy, radius, a0, a1, r):
    """A circular stroke of thickness 2r from angle a0 to a1 (degrees,
    clockwise on screen because y grows downwards, 90 = straight down)."""
    ends = [(cx + radius * math.cos(math.radians(a)), cy + radius * math.sin(math.radians(a)))
            for a in (a0, a1)]

    def dist(x, y):
        angle = math.degrees(math.atan2(y - cy, x - cx))
        if (angle - a0) % 360 <= (a1 - a0):
            return abs(math.hypot(x - cx, y - cy) - radius) - r
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - r
    span = radius + r
    return Shape(dist, (cx - span, cy - span, cx + span, cy + span))


def rounded_rect(x0, y0, x1, y1, corner):
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2

    def dist(x, y):
        qx = abs(x - cx) - hw + corner
        qy = abs(y - cy) - hh + corner
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - corner
    return Shape(dist, (x0, y0, x1, y1))


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def dist(x, y):
        nearest = min(capsule(ax, ay, bx, by, 0).dist(x, y) for (ax, ay), (bx, by) in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -nearest if inside else nearest
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return Shape(dist, (min(xs), min(ys), max(xs), max(ys)))


def union(*shapes):
    boxes = [s.bbox for s in shapes]
    return Shape(lambda x, y: min(s.dist(x, y) for s in shapes),
                 (min(b[0] for b in boxes), min(b[1] for b in boxes),
                  max(b[2] for b in boxes), max(b[3] for b in boxes)))


def intersect(a, b):
    return Shape(lambda x, y: max(a.dist(x, y), b.dist(x, y)), a.bbox)


def below(y0):
    """Everything under the line y = y0 (clip helper for half shapes)."""
    return Shape(lambda x, y: y0 - y, (-1e9, y0, 1e9, 1e9))


def above(y0):
    return Shape(lambda x, y: y - y0, (-1e9, -1e9, 1e9, y0))


def snap(v):
    """Move a coordinate to the nearest pixel centre at or left of it, so
    features mirrored around a face centre come out symmetric."""
    return math.floor(v) + 0.5


# ---------------------------------------------------------------------------
# Pixel fonts: '#' is ink.  Glyphs may differ in width; all in a font share
# their height.

FONT = {
    'A': [".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"],
    'B': ["###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."],
    'D': ["###.", "#..#", "#..#", "#..#", "#..#", "#..#", "###."],
    'E': ["####", "#...", "#...", "###.", "#...", "#...", "####"],
    'I': ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    'K': ["#..#", "#..#", "#.#.", "##..", "#.#.", "#..#", "#..#"],
    'L': ["#...", "#...", "#...", "#...", "#...", "#...", "####"],
    'O': [".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    'P': ["###.", "#..#", "#..#", "###.", "#...", "#...", "#..."],
    'R': ["###.", "#..#", "#..#", "###.", "#.#.", "#..#", "#..#"],
    'S': [".###", "#...", "#...", ".##.", "...#", "...#", "###."],
    'U': ["#..#", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    'V': ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    'W': ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    'Y': ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    'Z': ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    '!': ["#", "#", "#", "#", "#", ".", "#"],
    '?': [".##.", "#..#", "...#", "..#.", ".#..", "....", ".#.."],
    '#': [".....", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", "....."],
    ' ': ["..", "..", "..", "..", "..", "..", ".."],
}

# 3x5 digits for the font-size buttons and a small 'z' for snoring.
MINI = {
    '0': ["###", "#.#", "#.#", "#.#", "###"],
    '2': ["###", "..#", "###", "#..", "###"],
    '3': ["###", "..#", ".##", "..#", "###"],
    'z': ["#####", "...#.", "..#..", ".#...", "#####"],
}


def text_width(text, font=FONT, scale=1, gap=1):
    """Width in pixels; gap is in font pixels and may be a fraction."""
    return sum(len(font[c][0]) * scale for c in text) + int(gap * scale) * (len(text) - 1)


def draw_text(cv, x, y, text, colour, font=FONT, scale=1, gap=1):
    for ch in text:
        glyph = font[ch]
        for row, line in enumerate(glyph):
            for col, cell in enumerate(line):
                if cell == '#':
                    cv.rect(x + col * scale, y + row * scale, scale, scale, colour)
        x += len(glyph[0]) * scale + int(gap * scale)


def draw_outlined_text(cv, x, y, text, colour, edge, scale=1, gap=1):
    """Text with a one-pixel rim so it stands out on any background."""
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1), (-1, -1), (1, -1), (-1, 1), (1, 1)):
        draw_text(cv, x + dx, y + dy, text, edge, scale=scale, gap=gap)
    draw_text(cv, x, y, text, colour, scale=scale, gap=gap)


# ---------------------------------------------------------------------------
# Smiley parts.  Sizes scale with the face radius r, with floors so that the
# 15-pixel faces still get visible eyes and mouths.


def stroke(r):
    """Half-thickness of feature lines."""
    return max(0.5, r * 0.065)


def eye_spots(cx, cy, r):
    left = snap(cx - 0.36 * r)
    return (left, 2 * cx - left), snap(cy - 0.3 * r)


def eye(cv, cx, cy, r, side):
    """An open eye on the left (side -1) or right (+1).  Big faces get an
    oval with a glint; small ones a pixel block, because an oval only two
    pixels wide renders as a plus sign."""
    (lx, rx), ey = eye_spots(cx, cy, r)
    if r >= 12:
        ex = lx if side < 0 else rx
        cv.fill(ellipse(ex, ey, 0.1 * r, 0.2 * r), INK)
        cv.fill(disc(ex - 0.03 * r, ey - 0.08 * r, 0.045 * r), WHITE)
        return
    w, h = (1, 3) if r < 9 else (2, 4)
    left = math.floor(lx)
    x = left if side < 0 else round(2 * cx) - left - w
    cv.rect(x, math.floor(ey) - (h - 1) // 2, w, h, INK)


def eyes_dots(cv, cx, cy, r):
    eye(cv, cx, cy, r, -1)
    eye(cv, cx, cy, r, 1)


def eyes_happy(cv, cx, cy, r):
    (lx, rx), ey = eye_spots(cx, cy, r)
    for ex in (lx, rx):  # closed, upturned: ^ ^
        cv.fill(arc(ex, ey + 0.08 * r, max(1.5, 0.15 * r), 200, 340, stroke(r)), INK)


def eyes_sleep(cv, cx, cy, r):
    (lx, rx), ey = eye_spots(cx, cy, r)
    for ex in (lx, rx):  # closed, relaxed lids
        cv.fill(arc(ex, ey - 0.06 * r, max(1.5, 0.15 * r), 20, 160, stroke(r)), INK)


def eyes_wink(cv, cx, cy, r):
    (_, rx), ey = eye_spots(cx, cy, r)
    eye(cv, cx, cy, r, -1)
    cv.fill(arc(rx, ey + 0.1 * r, max(1.5, 0.15 * r), 200, 340, stroke(r)), INK)


def eyes_wide(cv, cx, cy, r):
    (lx, rx), ey = eye_spots(cx, cy, r)
    for ex in (lx, rx):
        cv.outlined(ellipse(ex, ey - 0.04 * r, 0.15 * r, 0.21 * r), WHITE, INK, stroke(r) * 1.5)
        cv.fill(disc(ex, ey, max(0.7, 0.07 * r)), INK)


def eyes_shades(cv, cx, cy, r):
    ey = snap(cy - 0.28 * r)
    left = rounded_rect(cx - 0.8 * r, ey - 0.2 * r, cx - 0.08 * r, ey + 0.25 * r, 0.12 * r)
    right = rounded_rect(cx + 0.08 * r, ey - 0.2 * r, cx + 0.8 * r, ey + 0.25 * r, 0.12 * r)
    cv.fill(union(left, right, capsule(cx - 0.85 * r, ey - 0.12 * r, cx + 0.85 * r, ey - 0.12 * r,
                                       stroke(r))), SHADES)
    for x0 in (cx - 0.64 * r, cx + 0.24 * r):  # glare
        cv.fill(capsule(x0, ey + 0.02 * r, x0 + 0.16 * r, ey - 0.1 * r, stroke(r) * 0.8), WHITE)


def brows(cv, cx, cy, r, inner_drop):
    """Eyebrows; inner_drop > 0 pulls the inner ends down (angry), < 0 up (sad)."""
    (lx, rx), ey = eye_spots(cx, cy, r)
    top = ey - 0.42 * r
    for ex, side in ((lx, -1), (rx, 1)):
        cv.fill(capsule(ex + side * 0.18 * r, top - inner_drop * 0.12 * r,
                        ex - side * 0.16 * r, top + inner_drop * 0.12 * r, stroke(r) * 1.3), INK)


def eyes_angry(cv, cx, cy, r):
    eyes_dots(cv, cx, cy, r)
    brows(cv, cx, cy, r, 1)


def eyes_sad(cv, cx, cy, r):
    eyes_dots(cv, cx, cy, r)
    brows(cv, cx, cy, r, -1)


def mouth_smile(cv, cx, cy, r):
    cv.fill(arc(cx, cy - 0.05 * r, 0.56 * r, 25, 155, stroke(r) * 1.2), INK)


def mouth_sad(cv, cx, cy, r):
    cv.fill(arc(cx, cy + 0.95 * r, 0.5 * r, 220, 320, stroke(r) * 1.2), INK)


def open_mouth(cv, cx, cy, r, top, radius):
    """A D-shaped open mouth: teeth along the top, tongue at the bottom."""
    hole = intersect(disc(cx, top, radius), below(top))
    cv.outlined(hole, MOUTH, INK, stroke(r) * 1.4)
    cv.fill(intersect(hole, disc(cx, top + radius * 1.05, radius * 0.55)), TONGUE)
    cv.fill(intersect(hole, above(top + max(1.0, 0.13 * r))), WHITE)


def mouth_grin(cv, cx, cy, r):
    open_mouth(cv, cx, cy, r, snap(cy + 0.08 * r), 0.55 * r)


def mouth_laugh(cv, cx, cy, r):
    open_mouth(cv, cx, cy, r, snap(cy + 0.02 * r), 0.66 * r)


def mouth_o(cv, cx, cy, r):
    cv.outlined(ellipse(cx, cy + 0.45 * r, 0.16 * r, 0.22 * r), MOUTH, INK, stroke(r))


def mouth_tongue(cv, cx, cy, r):
    top = snap(cy + 0.42 * r)
    tip = intersect(disc(cx + 0.15 * r, top, 0.3 * r), below(top))
    cv.outlined(tip, TONGUE, INK, max(1.0, stroke(r)))
    cv.fill(arc(cx, cy - 0.1 * r, 0.56 * r, 35, 145, stroke(r) * 1.2), INK)


def mouth_wavy(cv, cx, cy, r):
    y, w = cy + 0.5 * r, 0.1 * r
    points = [(cx - 0.45 * r, y + w), (cx - 0.15 * r, y - w), (cx + 0.15 * r, y + w),
              (cx + 0.45 * r, y - w)]
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        cv.fill(capsule(ax, ay, bx, by, stroke(r) * 1.2), INK)


EYES = {'dots': eyes_dots, 'happy': eyes_happy, 'sleep': eyes_sleep, 'wink': eyes_wink,
        'wide': eyes_wide, 'shades': eyes_shades, 'angry': eyes_angry, 'sad': eyes_sad}
MOUTHS = {'smile': mouth_smile, 'sad': mouth_sad, 'grin': mouth_grin, 'laugh': mouth_laugh,
          'o': mouth_o, 'tongue': mouth_tongue, 'wavy': mouth_wavy}


def face(cv, cx, cy, r, eyes='dots', mouth='smile', skin=SKIN_YELLOW, blush=False):
    """A round face of outer radius r centred on (cx, cy); keep cx and cy
    whole or half numbers so the face is symmetric."""
    rim = max(1.0, r / 11)
    dark, mid, light = skin
    # Slightly under r: a disc of exactly r grows one-pixel nubs at its
    # top, bottom and sides.
    cv.fill(disc(cx, cy, r - 0.3), INK)
    cv.fill(disc(cx, cy, r - 0.3 - rim), dark)
    # Shade: a lighter disc pulled towards the top left reads as a sphere.
    cv.fill(disc(cx - 0.08 * r, cy - 0.1 * r, r - rim - 0.12 * r), mid)
    if r >= 9:
        cv.fill(ellipse(cx - 0.36 * r, cy - 0.58 * r, 0.22 * r, 0.12 * r), light)
    if blush:
        for side in (-1, 1):
            cheek = ellipse(cx + side * 0.6 * r, cy + 0.15 * r, 0.15 * r, 0.08 * r)
            cv.fill(cheek, (255, 150, 110))
    EYES[eyes](cv, cx, cy, r)
    MOUTHS[mouth](cv, cx, cy, r)


def heart(cv, cx, cy, size, colour=HEART):
    """A heart about size pixels wide, centred on (cx, cy)."""
    lobe = size * 0.27
    shoulder = cy - size * 0.06
    shape = union(disc(cx - lobe, cy - size * 0.12, lobe + 0.3),
                  disc(cx + lobe, cy - size * 0.12, lobe + 0.3),
                  polygon([(cx - 2 * lobe - 0.2, shoulder), (cx + 2 * lobe + 0.2, shoulder),
                           (cx, cy + size * 0.5)]))
    cv.outlined(shape, colour, (120, 0, 20), 0.8)
    cv.fill(disc(cx - lobe * 1.1, cy - size * 0.2, size * 0.07), (255, 170, 180))


def tear(cv, x, y, size, lean=0.0):
    """A drop with its point up; lean tilts the point sideways."""
    drop = union(disc(x, y, size),
                 polygon([(x - size * 0.95, y - size * 0.3), (x + size * 0.95, y - size * 0.3),
                          (x + lean * size, y - size * 2.2)]))
    cv.outlined(drop, TEAR, TEAR_EDGE, 0.7)


def thumb_up(cv, x, y, scale):
    """A yellow fist with the thumb raised; (x, y) is its top-left corner."""
    s = scale
    fist = rounded_rect(x + 4 * s, y + 13 * s, x + 21 * s, y + 34 * s, 4 * s)
    thumb = capsule(x + 8.5 * s, y + 4 * s, x + 8.5 * s, y + 16 * s, 4 * s)
    cuff = rounded_rect(x, y + 15 * s, x + 5.5 * s, y + 35 * s, 1.5 * s)
    edge = max(1.0, s)
    cv.outlined(cuff, (60, 110, 210), INK, edge)
    cv.outlined(union(fist, thumb), SKIN_YELLOW[1], INK, edge)
    for k in range(3):  # gaps between the curled fingers
        fy = y + (20 + 5 * k) * s
        cv.fill(capsule(x + 13 * s, fy, x + 21 * s, fy, edge * 0.5), INK)
    cv.fill(capsule(x + 12 * s, y + 16 * s, x + 12 * s, y + 20 * s, edge * 0.5), INK)


def open_hand(cv, x, y, s):
    """A raised open palm with four fingers and a thumb; (x, y) is the wrist."""
    spread = ((-3.6, -1.2, 1.5), (-1.2, -0.4, 0), (1.2, 0.4, 0.5), (3.6, 1.2, 2.5))
    fingers = [capsule(x + dx * s, y - 6 * s, x + (dx + lean) * s, y - 12 * s + drop * s, 1.1 * s)
               for dx, lean, drop in spread]
    palm = rounded_rect(x - 4.8 * s, y - 7 * s, x + 4.8 * s, y, 2.5 * s)
    thumb = capsule(x - 4 * s, y - 2 * s, x - 7.5 * s, y - 6.5 * s, 1.2 * s)
    cv.outlined(union(palm, thumb, *fingers), SKIN_YELLOW[1], INK, max(0.7, s * 0.6))
    for (ax, alean, _), (bx, blean, _) in zip(spread, spread[1:]):  # gaps between fingers
        gx, glean = (ax + bx) / 2, (alean + blean) / 2
        cv.fill(capsule(x + gx * s, y - 6.5 * s, x + (gx + glean * 0.8) * s, y - 10 * s, 0.5), INK)


# ---------------------------------------------------------------------------
# The seventeen smileys, in bitmap-number order.


def smiley_thumbs_up(cv):
    face(cv, 24.5, 24.5, 23.5, 'dots', 'grin')
    thumb_up(cv, 50, 5, 1.1)


def smiley_love(cv):
    face(cv, 11, 11, 10.5, 'dots', 'smile')
    heart(cv, 29, 11, 14)


def smiley_cool(cv):
    face(cv, 16, 14, 13.5, 'shades', 'smile')


def smiley_lol(cv):
    face(cv, 16, 16, 15.5, 'happy', 'laugh')
    draw_outlined_text(cv, 36, 9, "LOL", (230, 40, 40), INK, scale=2)


def smiley_confused(cv):
    face(cv, 7.5, 7.5, 7.5, 'dots', 'wavy')
    draw_text(cv, 20, 0, "?", (40, 90, 210), scale=2)
    draw_text(cv, 31, 4, "?", (40, 90, 210))


def smiley_sleeping(cv):
    face(cv, 8, 8, 8, 'sleep', 'o')
    for x, y, scale in ((19, 10, 1), (26, 5, 2), (40, 0, 3)):  # rising, growing
        draw_text(cv, x, y, "z", ZZZ, font=MINI, scale=scale)


def smiley_laugh_tears(cv):
    face(cv, 16.5, 13, 12.5, 'happy', 'laugh')
    # Drops flying off the outer corners of the eyes.
    tear(cv, 3, 17, 2.2, lean=1.6)
    tear(cv, 30, 17, 2.2, lean=-1.6)


def smiley_smile(cv):
    face(cv, 13.5, 11, 10.5, 'dots', 'smile')


def smiley_wink(cv):
    face(cv, 10, 8, 8, 'wink', 'smile')


def smiley_bravo(cv):
    face(cv, 12.5, 12.5, 12.5, 'happy', 'grin')
    draw_outlined_text(cv, 28, 6, "BRAVO", (250, 190, 0), INK, scale=2, gap=0.5)


def smiley_angry(cv):
    face(cv, 13, 13, 12.5, 'angry', 'sad', skin=SKIN_RED)
    # A thunder cloud with a lightning bolt: a storm brewing.
    cloud = union(disc(29, 6, 3), disc(33, 4.5, 3.5), disc(36, 7, 2.5),
                  rounded_rect(26, 6, 37.5, 10, 2))
    cv.outlined(cloud, (90, 90, 110), (40, 40, 50), 0.8)
    bolt = polygon([(32, 10), (35, 10), (33, 14), (35.5, 14), (30, 23), (31.5, 16), (29.5, 16)])
    cv.outlined(bolt, (255, 220, 0), (150, 60, 0), 0.7)


def smiley_wow(cv):
    face(cv, 14.5, 14.5, 14, 'wide', 'o')
    draw_outlined_text(cv, 37, 8, "WOW!", (255, 140, 0), INK, scale=2)


def smiley_super(cv):
    face(cv, 17, 17, 16.5, 'wink', 'grin')
    board = rounded_rect(38, 3, 99, 31, 3)
    cv.outlined(board, (255, 250, 225), (150, 90, 30), 2)
    width = text_width("SUPER", scale=2)
    draw_outlined_text(cv, 38 + (62 - width) // 2, 10, "SUPER", (40, 150, 40), INK, scale=2)
    open_hand(cv, 36, 23, 1.0)


def smiley_sad(cv):
    face(cv, 17.5, 15.5, 15, 'sad', 'sad')
    tear(cv, 10.5, 16, 2, lean=0)


def smiley_thanks(cv):
    face(cv, 21.5, 21.5, 21, 'happy', 'smile', blush=True)
    colours = [(230, 40, 40), (250, 150, 0), (40, 160, 60), (40, 110, 230), (170, 60, 200)]
    x = 49
    for ch, colour in zip("DIKY!", colours):
        draw_outlined_text(cv, x, 10, ch, colour, INK, scale=4)
        x += len(FONT[ch][0]) * 4 + 3
    # The acute accent of the Czech word (DÍKY) over the I.
    accent = capsule(68.5, 6.5, 71.5, 3.5, 1.4)
    cv.outlined(accent, colours[1], INK, 1)


def smiley_tongue(cv):
    face(cv, 12.5, 10, 9.5, 'dots', 'tongue')


def smiley_wave(cv):
    face(cv, 11, 10.5, 10, 'dots', 'smile')
    open_hand(cv, 31, 20, 1.1)
    # Motion marks either side of the hand.
    cv.fill(arc(31, 13, 10, -50, -10, 0.6), INK)
    cv.fill(arc(31, 13, 10, 190, 230, 0.6), INK)


# (bitmap number, width, height, bits per pixel, PNG name, drawing function)
SMILEYS = [
    (7500, 74, 49, 24, '399175', smiley_thumbs_up),
    (7501, 37, 22, 8, '399176', smiley_love),
    (7502, 32, 28, 8, '399178', smiley_cool),
    (7503, 67, 32, 8, '399179', smiley_lol),
    (7504, 37, 15, 8, '399180', smiley_confused),
    (7505, 57, 16, 8, '399181', smiley_sleeping),
    (7506, 33, 26, 24, '399182', smiley_laugh_tears),
    (7507, 27, 22, 8, '399183', smiley_smile),
    (7508, 20, 16, 8, '399184', smiley_wink),
    (7509, 75, 25, 24, '399185', smiley_bravo),
    (7510, 38, 26, 8, '399186', smiley_angry),
    (7511, 78, 29, 8, '399187', smiley_wow),
    (7512, 100, 34, 8, '399188', smiley_super),
    (7513, 35, 31, 8, '399189', smiley_sad),
    (7514, 133, 43, 8, '399191', smiley_thanks),
    (7515, 25, 20, 8, '399192', smiley_tongue),
    (7516, 42, 21, 24, 'wave', smiley_wave),
]


def draw_smiley(entry):
    _, width, height, _, _, draw = entry
    cv = Canvas(width, height)
    draw(cv)
    return cv


# ---------------------------------------------------------------------------
# Toolbar: fifteen 16x15 cells.  Letters are hand-set 10 pixels tall with
# one-pixel strokes; bold doubles them sideways, italic shears them.

CELL_W, CELL_H = 16, 15
BASELINE = 11  # last row of the letters; the underline sits two rows lower

LETTERS = {
    'A': ["...#...", "...#...", "..#.#..", "..#.#..", ".#...#.", ".#...#.",
          ".#####.", "#.....#", "#.....#", "#.....#"],
    'B': ["#####.", "#....#", "#....#", "#....#", "#####.", "#....#",
          "#....#", "#....#", "#....#", "#####."],
    'I': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..",
          "..#..", "..#..", "..#..", "#####"],
    'U': ["#.....#", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#",
          "#.....#", "#.....#", ".#...#.", "..###.."],
    'a': [".###.", "....#", ".####", "#...#", "#..##", ".##.#"],
}


def draw_letter(cv, x, bottom, ch, colour, bold=False, italic=False):
    """Set a toolbar letter with its last row on line `bottom`."""
    rows = LETTERS[ch]
    for i, line in enumerate(rows):
        y = bottom - (len(rows) - 1 - i)
        shift = (len(rows) - 1 - i) // 3 if italic else 0
        for col, cell in enumerate(line):
            if cell == '#':
                cv.put(x + col + shift, y, colour)
                if bold:
                    cv.put(x + col + shift + 1, y, colour)


def centred(ch, bold=False, italic=False):
    width = len(LETTERS[ch][0]) + bold + (3 if italic else 0)
    return (CELL_W - width) // 2


def tool_size(cv, x, digits, big):
    if big:
        draw_letter(cv, x + 1, BASELINE, 'A', BLACK)
    else:
        draw_text(cv, x + 2, BASELINE - 6, "A", BLACK)
    draw_text(cv, x + 9, BASELINE - 4, digits, BLACK, font=MINI)


def tool_letter(cv, x, ch, colour, style=''):
    bold, italic = 'b' in style, 'i' in style
    draw_letter(cv, x + centred(ch, bold, italic), BASELINE, ch, colour, bold, italic)


def tool_underline(cv, x):
    tool_letter(cv, x, 'U', BLACK)
    cv.rect(x + 3, BASELINE + 2, 10, 1, BLACK)


def tool_plain(cv, x):
    draw_letter(cv, x + 1, BASELINE, 'A', BLACK)
    draw_letter(cv, x + 9, BASELINE, 'a', BLACK)


TOOLBAR = [
    lambda cv, x: tool_size(cv, x, "22", big=False),
    lambda cv, x: tool_size(cv, x, "30", big=True),
    lambda cv, x: tool_letter(cv, x, 'B', BLACK, 'b'),
    lambda cv, x: tool_letter(cv, x, 'I', BLACK, 'i'),
    tool_underline,
    lambda cv, x: tool_letter(cv, x, 'A', PRESET_RED),
    lambda cv, x: tool_letter(cv, x, 'B', PRESET_RED, 'b'),
    lambda cv, x: tool_letter(cv, x, 'I', PRESET_RED, 'i'),
    lambda cv, x: tool_letter(cv, x, 'A', PRESET_TEAL),
    lambda cv, x: tool_letter(cv, x, 'B', PRESET_TEAL, 'b'),
    lambda cv, x: tool_letter(cv, x, 'I', PRESET_TEAL, 'i'),
    lambda cv, x: tool_letter(cv, x, 'A', PRESET_BLUE),
    lambda cv, x: tool_letter(cv, x, 'B', PRESET_BLUE, 'b'),
    lambda cv, x: tool_letter(cv, x, 'I', PRESET_BLUE, 'i'),
    tool_plain,
]


def draw_toolbar():
    cv = Canvas(CELL_W * len(TOOLBAR), CELL_H, BTN_FACE)
    for i, draw in enumerate(TOOLBAR):
        draw(cv, i * CELL_W)
    return cv


# ---------------------------------------------------------------------------
# Program icon: a speech bubble saying [b], with a pencil.  Drawn with
# smooth edges on a transparent background.

BUBBLE = (255, 255, 255)
BUBBLE_EDGE = (30, 80, 170)
TAG_BLUE = (20, 60, 150)
PENCIL = (250, 190, 40)


def pencil(cv, k):
    """A pencil lying across the bubble's lower right corner, tip down-left."""
    def along(t, off):  # t runs from the tip (0) to the end (1); off is sideways
        x0, y0, x1, y1 = 31 * k, 46 * k, 47 * k, 27 * k
        length = math.hypot(x1 - x0, y1 - y0)
        nx, ny = -(y1 - y0) / length, (x1 - x0) / length
        return (x0 + (x1 - x0) * t + nx * off, y0 + (y1 - y0) * t + ny * off)
    w = 3.6 * k
    body = polygon([along(0.3, -w), along(0.82, -w), along(0.82, w), along(0.3, w)])
    eraser = polygon([along(0.86, -w), along(1, -w), along(1, w), along(0.86, w)])
    band = polygon([along(0.8, -w), along(0.88, -w), along(0.88, w), along(0.8, w)])
    wood = polygon([along(0, 0), along(0.31, -w), along(0.31, w)])
    lead = polygon([along(0, 0), along(0.11, -w * 0.36), along(0.11, w * 0.36)])
    shine = polygon([along(0.32, -w * 0.2), along(0.8, -w * 0.2), along(0.8, w * 0.3),
                     along(0.32, w * 0.3)])
    parts = [(wood, (245, 215, 160)), (body, PENCIL), (eraser, (240, 120, 140)),
             (band, (170, 170, 180)), (lead, (50, 50, 50)), (shine, (255, 225, 110))]
    for part, _ in parts[:4]:  # one outline around the whole pencil
        cv.fill(part, INK, grow=max(0.8, 1.2 * k), smooth=True)
    for part, colour in parts:
        cv.fill(part, colour, smooth=True)


def draw_icon(size):
    cv = Canvas(size, size, (0, 0, 0, 0))
    k = size / 48  # the design is laid out on a 48-pixel grid
    edge = max(0.9, 2 * k)
    body = rounded_rect(2 * k, 4 * k, 46 * k, 34 * k, 8 * k)
    tail = polygon([(9 * k, 30 * k), (21 * k, 30 * k), (6 * k, 44 * k)])
    bubble = union(body, tail)
    cv.fill(bubble, BUBBLE_EDGE, grow=edge / 2, smooth=True)
    cv.fill(bubble, BUBBLE, grow=-edge / 2, smooth=True)
    if size >= 32:
        pencil(cv, k)
    if size >= 32:
        scale = 3 if size >= 48 else 2
        tag = {'[': ["##", "#.", "#.", "#.", "#.", "#.", "##"],
               'b': ["#...", "#...", "###.", "#..#", "#..#", "#..#", "###."],
               ']': ["##", ".#", ".#", ".#", ".#", ".#", "##"]}
    else:
        scale = 1
        tag = {'[': ["##", "#.", "#.", "#.", "##"],
               'b': ["#..", "###", "#.#", "#.#", "###"],
               ']': ["##", ".#", ".#", ".#", "##"]}
    width = text_width("[b]", font=tag, scale=scale)
    height = len(tag['b']) * scale
    draw_text(cv, round(22 * k - width / 2), round(19 * k - height / 2), "[b]", TAG_BLUE,
              font=tag, scale=scale)
    return cv


# ---------------------------------------------------------------------------
# File writers


def bmp_bytes(cv, bits):
    """A Windows BMP: BITMAPFILEHEADER + BITMAPINFOHEADER, rows bottom-up and
    padded to four bytes.  8-bit files carry only the colours used
    (biClrUsed), sorted so the palette does not depend on drawing order."""
    w, h = cv.width, cv.height
    stride = (w * bits // 8 + 3) & ~3
    if bits == 8:
        palette = sorted({p[:3] for p in cv.colours()})
        if len(palette) > 256:
            raise ValueError("picture has %d colours, too many for 8 bits" % len(palette))
        index = {c: i for i, c in enumerate(palette)}
        table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
        encode = lambda p: bytes([index[p[:3]]])
    elif bits == 24:
        palette, table = [], b''
        encode = lambda p: bytes([p[2], p[1], p[0]])
    else:
        raise ValueError("unsupported depth %d" % bits)
    pixels = bytearray()
    for row in reversed(cv.rows):
        line = b''.join(encode(p) for p in row)
        pixels += line + b'\0' * (stride - len(line))
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    return header + info + table + bytes(pixels)


def png_bytes(cv, alpha=False):
    """A truecolour PNG (colour type 2, or 6 with alpha), every row filter 0."""
    channels = 4 if alpha else 3
    raw = b''.join(b'\0' + bytes(v for p in row for v in p[:channels]) for row in cv.rows)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    ihdr = struct.pack('>IIBBBBB', cv.width, cv.height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico_bytes(canvases):
    """An ICO holding 32-bit BGRA images in BMP form: BITMAPINFOHEADER with
    doubled height, colour rows bottom-up, then a 1-bit AND mask (1 marks a
    fully transparent pixel, for systems that ignore alpha)."""
    images = []
    for cv in canvases:
        w, h = cv.width, cv.height
        colour = b''.join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(cv.rows) for p in row)
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(cv.rows):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask),
                           0, 0, 0, 0)
        images.append(info + colour + bytes(mask))
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for cv, data in zip(canvases, images):
        entries += struct.pack('<BBBBHHII', cv.width % 256, cv.height % 256, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
    return directory + entries + b''.join(images)


# ---------------------------------------------------------------------------


def outputs():
    """Every generated file as (path relative to the output root, bytes)."""
    files = []
    for entry in SMILEYS:
        number, _, _, bits, png_name, _ = entry
        cv = draw_smiley(entry)
        files.append(('res/bitmaps/smiley_%d.bmp' % number, bmp_bytes(cv, bits)))
        files.append(('res/smileys/%s.png' % png_name, png_bytes(cv)))
    files.append(('res/bitmaps/toolbar.bmp', bmp_bytes(draw_toolbar(), 8)))
    icons = [draw_icon(s) for s in (16, 32, 48)]
    files.append(('res/icon/forum-editor.ico', ico_bytes(icons)))
    files.append(('res/icon/forum-editor-48.png', png_bytes(icons[2], alpha=True)))
    return files


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for rel, data in outputs():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
        print(rel)


if __name__ == '__main__':
    main(sys.argv)
