#!/usr/bin/env python3
"""Draws Quendry's pictures and writes them as BMP and ICO files into res/.

Standard library only: every picture is described by signed distance functions, rendered with
one pixel of anti-aliasing, and written byte by byte. The output is deterministic, so running the
script again leaves the files unchanged.

Usage: make-artwork.py [output-folder]   (default: the res folder next to this script's folder)
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------------------------
# Shapes: functions (x, y) -> signed distance in pixels, negative inside.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(cx, cy, hw, hh, radius=0.0):
    def d(x, y):
        qx = abs(x - cx) - hw + radius
        qy = abs(y - cy) - hh + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return d


def segment(ax, ay, bx, by, r):
    """A capsule: every point within r of the line from a to b."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def d(x, y):
        px, py = x - ax, y - ay
        t = 0.0 if ll == 0 else max(0.0, min(1.0, (px * dx + py * dy) / ll))
        return math.hypot(px - dx * t, py - dy * t) - r

    return d


def polyline(points, r):
    return union(*[segment(*points[i], *points[i + 1], r) for i in range(len(points) - 1)])


def ellipse(cx, cy, a, b):
    # A close approximation of the true distance; exact on the axes, good enough for the edge.
    def d(x, y):
        px, py = x - cx, y - cy
        k0 = math.hypot(px / a, py / b)
        k1 = math.hypot(px / (a * a), py / (b * b))
        if k1 == 0:
            return -min(a, b)
        return k0 * (k0 - 1.0) / k1

    return d


def polygon(points):
    n = len(points)

    def d(x, y):
        best = float("inf")
        sign = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, (wx - ex * t) ** 2 + (wy - ey * t) ** 2)
            c1 = y >= yi
            c2 = y < yj
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
            j = i
        return sign * math.sqrt(best)

    return d


def gear_outline(cx, cy, r_root, r_tip, teeth, phase=0.0):
    """Points of a gear wheel with trapezoid teeth."""
    pts = []
    step = 2 * math.pi / teeth
    for k in range(teeth):
        a = phase + k * step
        for frac, r in ((0.0, r_root), (0.18, r_tip), (0.50, r_tip), (0.68, r_root)):
            pts.append((cx + r * math.cos(a + frac * step), cy + r * math.sin(a + frac * step)))
    return pts


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def subtract(shape, *holes):
    return lambda x, y: max(shape(x, y), *(-h(x, y) for h in holes))


def grow(shape, by):
    return lambda x, y: shape(x, y) - by


def ring(shape, width):
    """The band of the given width centred on the shape's edge."""
    return lambda x, y: abs(shape(x, y)) - width / 2


def moved(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def rotated(shape, cx, cy, degrees):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def d(x, y):
        px, py = x - cx, y - cy
        return shape(cx + c * px + s * py, cy - s * px + c * py)

    return d


def half_plane_below(y0):
    return lambda x, y: y0 - y


def wrench(cx, cy, length, width, head, degrees):
    """A combination spanner centred on (cx, cy): open jaw on the right, ring on the left,
    before rotation by `degrees` (clockwise on screen)."""
    half = length / 2
    handle = box(cx, cy, half, width / 2, width / 2)
    jaw_head = circle(cx + half, cy, head)
    jaw = box(cx + half + head * 0.55, cy, head * 0.75, head * 0.36)
    ring_head = circle(cx - half, cy, head * 0.82)
    ring_hole = circle(cx - half, cy, head * 0.40)
    shape = subtract(union(handle, jaw_head, ring_head), jaw, ring_hole)
    return rotated(shape, cx, cy, degrees)


# ---------------------------------------------------------------------------------------------
# Colours and the canvas.


def lerp(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def vertical(top, bottom, y0, y1):
    return lambda x, y: lerp(top, bottom, (y - y0) / (y1 - y0))


def diagonal(light, dark, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    return lambda x, y: lerp(light, dark, ((x - x0) * dx + (y - y0) * dy) / ll)


class Canvas:
    """Premultiplied RGBA in floats 0..255 (alpha 0..1)."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        if background is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = []
            for y in range(h):
                for x in range(w):
                    r, g, b = background(x + 0.5, y + 0.5)
                    self.px.append([r, g, b, 1.0])

    def fill(self, shape, colour, alpha=1.0, area=None):
        x0, y0, x1, y1 = area if area else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                fx, fy = x + 0.5, y + 0.5
                cov = 0.5 - shape(fx, fy)
                if cov <= 0:
                    continue
                a = min(cov, 1.0) * alpha
                r, g, b = colour(fx, fy) if callable(colour) else colour
                p = self.px[y * self.w + x]
                p[0] = r * a + p[0] * (1 - a)
                p[1] = g * a + p[1] * (1 - a)
                p[2] = b * a + p[2] * (1 - a)
                p[3] = a + p[3] * (1 - a)

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top row first."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append(tuple(to_byte(c / a) for c in (r, g, b)) + (to_byte(a * 255),))
            rows.append(row)
        return rows


def to_byte(v):
    return max(0, min(255, int(round(v))))


# ---------------------------------------------------------------------------------------------
# File formats.


def bmp_file(width, height, bits, pixel_rows, palette=()):
    """A BMP file from rows of ready-packed pixel bytes, top row first."""
    stride = (width * bits + 31) // 32 * 4
    data = b"".join(row.ljust(stride, b"\0") for row in reversed(pixel_rows))
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack(
        "<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 3780, 3780, len(palette), 0
    )
    return header + info + colour_table + data


def bmp_24(rows):
    packed = [bytes(c for r, g, b in row for c in (b, g, r)) for row in rows]
    return bmp_file(len(rows[0]), len(rows), 24, packed)


def bmp_4(index_rows, palette):
    packed = []
    for row in index_rows:
        padded = list(row) + [0] * (len(row) % 2)
        packed.append(bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2)))
    return bmp_file(len(index_rows[0]), len(index_rows), 4, packed, palette)


def icon_image(rows):
    """One 32-bit icon image: header, colour bits and the AND mask (1 = transparent)."""
    size = len(rows)
    colour = b"".join(
        bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(rows)
    )
    mask_stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    info = struct.pack(
        "<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0
    )
    return info + colour + mask


def ico_file(images):
    """An ICO file holding one 32-bit image per rows table, smallest first."""
    blobs = [icon_image(rows) for rows in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for rows, blob in zip(images, blobs):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------------------------
# Ordered dithering to a 16-colour palette.

BAYER8 = [
    [0, 32, 8, 40, 2, 34, 10, 42],
    [48, 16, 56, 24, 50, 18, 58, 26],
    [12, 44, 4, 36, 14, 46, 6, 38],
    [60, 28, 52, 20, 62, 30, 54, 22],
    [3, 35, 11, 43, 1, 33, 9, 41],
    [51, 19, 59, 27, 49, 17, 57, 25],
    [15, 47, 7, 39, 13, 45, 5, 37],
    [63, 31, 55, 23, 61, 29, 53, 21],
]


def best_mix(colour, palette):
    """The pair of palette entries and the share of the second that come closest to the colour.
    Mixing far-apart colours is penalised so that flat areas do not turn into coarse noise."""
    best = None
    n = len(palette)
    for i in range(n):
        ci = palette[i]
        for j in range(i, n):
            cj = palette[j]
            d = [cj[k] - ci[k] for k in range(3)]
            dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2]
            if dd == 0:
                t = 0.0
            else:
                t = sum((colour[k] - ci[k]) * d[k] for k in range(3)) / dd
                t = max(0.0, min(1.0, round(t * 16) / 16))
            mix = [ci[k] + d[k] * t for k in range(3)]
            err = sum((colour[k] - mix[k]) ** 2 for k in range(3))
            err += dd * 0.12 * (abs(t - 0.5) + 0.5) if 0 < t < 1 else 0
            if best is None or err < best[0]:
                best = (err, i, j, t)
    return best[1:]


def dither(rows, palette):
    cache = {}
    out = []
    for y, row in enumerate(rows):
        line = []
        for x, (r, g, b, _) in enumerate(row):
            key = (r, g, b)
            if key not in cache:
                cache[key] = best_mix(key, palette)
            i, j, t = cache[key]
            line.append(j if t * 64 > BAYER8[y % 8][x % 8] + 0.5 else i)
        out.append(line)
    return out


# ---------------------------------------------------------------------------------------------
# The pictures.

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SILVER = (192, 192, 192)


def database(cv, cx, top, rx, ry, height, body_dark, body_light, lid, rim, bands=3, area=None):
    """A stacked-disk database cylinder: body shaded from left to right, a light lid and the
    curved seams between the disks."""
    bottom = top + height
    body = union(box(cx, (top + bottom) / 2, rx, height / 2), ellipse(cx, bottom, rx, ry))

    def shade(x, y):
        t = (x - cx) / rx
        return lerp(body_light, body_dark, (t + 0.35) ** 2 / 1.8)

    cv.fill(body, shade, area=area)
    for k in range(1, bands):
        y = top + height * k / bands
        seam = intersect(ring(ellipse(cx, y, rx, ry), max(1.0, ry * 0.22)), half_plane_below(y))
        cv.fill(seam, rim, area=area)
    cv.fill(ellipse(cx, top, rx, ry), rim, area=area)
    cv.fill(ellipse(cx, top, rx - max(1.0, rx * 0.06), ry - max(0.8, ry * 0.18)), lid, area=area)


# Palette of the welcome bitmap: blues for the band and the drum, greys for the spanner, greens
# for the tick, white for highlights.
BIG_PALETTE = [
    (0, 0, 0),
    (8, 22, 66),
    (14, 38, 104),
    (24, 60, 142),
    (38, 88, 178),
    (58, 118, 206),
    (92, 150, 226),
    (140, 186, 240),
    (196, 222, 250),
    (255, 255, 255),
    (104, 112, 130),
    (168, 174, 188),
    (222, 226, 234),
    (20, 112, 54),
    (52, 172, 84),
    (150, 222, 150),
]


def big_picture():
    w, h = 164, 312
    ramp = BIG_PALETTE[1:9]

    def band(x, y):
        # The band is a level on the palette's blue ramp, so the dither only ever mixes two
        # neighbouring blues and shows no seams.
        level = 0.4 + 4.2 * y / h
        # A soft glow behind the drum, and a little more depth towards the left edge.
        glow = max(0.0, 1.0 - math.hypot((x - 96) / 95, (y - 132) / 120))
        level += 1.6 * glow * glow - 0.7 * max(0.0, (40 - x) / 40)
        level = max(0.0, min(len(ramp) - 1.0, level))
        i = min(int(level), len(ramp) - 2)
        return lerp(ramp[i], ramp[i + 1], level - i)

    cv = Canvas(w, h, band)

    # Faint rings around the drum, like ripples.
    for r, a in ((104, 0.10), (84, 0.12), (64, 0.14)):
        cv.fill(ring(circle(96, 132, r), 1.4), (170, 206, 248), alpha=a)

    # Rows of small light squares near the bottom: records leaving the database.
    for row in range(4):
        for col in range(7):
            x = 50 + col * 14
            y = 258 + row * 11
            fade = 0.55 - 0.12 * row - 0.05 * abs(col - 3)
            if fade > 0.05:
                cv.fill(box(x, y, 4, 3, 1), (196, 222, 250), alpha=fade)

    # The drum with a soft shadow.
    cx, top, rx, ry, height = 96, 86, 44, 13, 96
    shadow = union(
        box(cx + 5, top + height / 2 + 6, rx, height / 2), ellipse(cx + 5, top + height + 6, rx, ry)
    )
    cv.fill(grow(shadow, 2), (4, 14, 48), alpha=0.35)
    database(cv, cx, top, rx, ry, height, (34, 82, 168), (214, 232, 252), (236, 244, 254),
             (104, 154, 224))

    # The spanner across the front of the drum, with a shadow.
    spanner = wrench(90, 172, 100, 11, 15, -35)
    cv.fill(moved(spanner, 4, 5), (4, 14, 48), alpha=0.45)
    cv.fill(spanner, (80, 88, 108))
    cv.fill(grow(spanner, -1.3), diagonal((236, 240, 246), (150, 158, 176), 60, 140, 128, 200))

    # A green tick badge at the lower right.
    bx, by, br = 128, 206, 19
    cv.fill(circle(bx + 3, by + 4, br + 1), (4, 14, 48), alpha=0.4)
    cv.fill(circle(bx, by, br + 1.5), WHITE)
    cv.fill(circle(bx, by, br - 0.5), diagonal((96, 206, 112), (18, 112, 52), bx - br, by - br,
                                               bx + br, by + br))
    cv.fill(polyline([(bx - 9, by + 1), (bx - 3, by + 8), (bx + 10, by - 7)], 3.0), WHITE)

    return dither(cv.rgba(), BIG_PALETTE)


def icon_canvas(size, paint):
    cv = Canvas(size, size)
    paint(cv, size / 32.0)
    return cv.rgba()


def ok_icon(cv, s):
    c = 16 * s
    cv.fill(circle(c, c, 15.2 * s), (16, 104, 40))
    cv.fill(circle(c, c, 15.2 * s - 1.0), diagonal((120, 220, 120), (28, 148, 58), 4 * s, 4 * s,
                                                   28 * s, 28 * s))
    ticks = [(8.5 * s, 16.5 * s), (13.5 * s, 22 * s), (23.5 * s, 10 * s)]
    cv.fill(polyline(ticks, 2.6 * s), WHITE)


def problem_icon(cv, s):
    # The sign keeps to the left 24 pixels: on the version page the verdict text starts that far
    # right of the icon's left edge.
    k, dy = 0.72 * s, 4.5 * s
    tri = [(16 * k, 3.2 * k + dy), (29.6 * k, 27.6 * k + dy), (2.4 * k, 27.6 * k + dy)]
    rounded = grow(polygon(tri), 1.6 * k)
    cv.fill(moved(rounded, 0.8 * k, 1.0 * k), (0, 0, 0), alpha=0.25)
    cv.fill(rounded, (150, 96, 0))
    cv.fill(grow(rounded, -1.0), vertical((255, 234, 96), (244, 180, 20), 3 * k + dy, 29 * k + dy))
    cv.fill(box(16 * k, 15 * k + dy, 1.9 * k, 5.6 * k, 1.9 * k), (28, 24, 16))
    cv.fill(circle(16 * k, 24 * k + dy, 2.0 * k), (28, 24, 16))


def down_arrow_icon(cv, s):
    arrow = polygon([(11 * s, 3 * s), (21 * s, 3 * s), (21 * s, 14 * s), (28 * s, 14 * s),
                     (16 * s, 29 * s), (4 * s, 14 * s), (11 * s, 14 * s)])
    shape = grow(arrow, 0.8 * s)
    cv.fill(shape, (12, 48, 128))
    cv.fill(grow(shape, -1.0), diagonal((120, 180, 250), (24, 92, 208), 8 * s, 4 * s, 22 * s,
                                        28 * s))


def repairing_icon(cv, s):
    gear = subtract(polygon(gear_outline(13 * s, 13 * s, 8.6 * s, 11.8 * s, 8, 0.2)),
                    circle(13 * s, 13 * s, 3.6 * s))
    cv.fill(gear, (56, 64, 84))
    cv.fill(grow(gear, -1.0), diagonal((214, 220, 232), (122, 132, 154), 2 * s, 2 * s, 24 * s,
                                       24 * s))
    small = subtract(polygon(gear_outline(24 * s, 23.5 * s, 4.6 * s, 7.0 * s, 7, 0.5)),
                     circle(24 * s, 23.5 * s, 2.0 * s))
    cv.fill(small, (20, 56, 130))
    cv.fill(grow(small, -1.0), diagonal((130, 186, 250), (36, 100, 200), 17 * s, 16 * s, 31 * s,
                                        31 * s))


def app_icon(cv, s):
    if s < 0.75:
        # At 16 x 16 the drum gets a deeper lid and a plain spanner head so both stay legible.
        database(cv, 6.5, 3.4, 5.6, 2.4, 9.0, (24, 70, 156), (190, 216, 250), (226, 238, 254),
                 (60, 112, 196), bands=2)
        outline = union(box(6.5, 7.9, 5.6, 4.5), ellipse(6.5, 12.4, 5.6, 2.4),
                        ellipse(6.5, 3.4, 5.6, 2.4))
        cv.fill(ring(grow(outline, 0.4), 0.9), (10, 34, 90), alpha=0.9)
        spanner = rotated(
            subtract(union(box(8.6, 10.5, 3.6, 1.0, 1.0), circle(13.0, 10.5, 2.5)),
                     box(14.3, 10.5, 1.6, 0.85)), 10.5, 10.5, 45)
        cv.fill(grow(spanner, 0.9), (40, 44, 56))
        cv.fill(spanner, (220, 224, 232))
        return
    rx, ry = 11.5 * s, 3.8 * s
    database(cv, 13.5 * s, 6.5 * s, rx, ry, 18 * s, (24, 70, 156), (190, 216, 250),
             (226, 238, 254), (70, 124, 206))
    # The outline keeps the drum readable on light and dark desktops.
    outline = union(box(13.5 * s, 15.5 * s, rx, 9 * s), ellipse(13.5 * s, 24.5 * s, rx, ry),
                    ellipse(13.5 * s, 6.5 * s, rx, ry))
    cv.fill(ring(grow(outline, 0.5), 1.0), (10, 34, 90), alpha=0.9)
    spanner = wrench(20 * s, 21.5 * s, 15 * s, 3.2 * s, 4.2 * s, 45)
    cv.fill(grow(spanner, 1.0), (40, 44, 56))
    cv.fill(spanner, diagonal((240, 242, 248), (150, 158, 176), 12 * s, 14 * s, 28 * s, 30 * s))


def list_picture(paint, size=16):
    """A square list picture: drawn over white, silver where nothing is drawn."""
    rows = icon_canvas(size, paint)
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            if a < 64:
                line.append(SILVER)
            else:
                t = a / 255
                c = tuple(to_byte(v * t + 255 * (1 - t)) for v in (r, g, b))
                # Silver is the transparent colour: a drawn pixel must never come out as silver.
                line.append((193, 193, 193) if c == SILVER else c)
        out.append(line)
    return out


def list_check(cv, s):
    ticks = [(7 * s, 16.5 * s), (13 * s, 23.5 * s), (25.5 * s, 8 * s)]
    cv.fill(polyline(ticks, 3.4 * s), (10, 40, 130))
    cv.fill(polyline(ticks, 3.4 * s - 1.0), diagonal((90, 150, 250), (20, 70, 200), 6 * s, 8 * s,
                                                     26 * s, 24 * s))


def list_warning(cv, s):
    c = 16 * s
    cv.fill(circle(c, c, 15 * s), (140, 96, 0))
    cv.fill(circle(c, c, 15 * s - 1.0), vertical((255, 240, 110), (242, 190, 20), 2 * s, 30 * s))
    cv.fill(box(c, 12.5 * s, 2.4 * s, 7 * s, 2.2 * s), BLACK)
    cv.fill(circle(c, 24 * s, 2.5 * s), BLACK)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    files = {
        "bigpicture.bmp": bmp_4(big_picture(), BIG_PALETTE),
        # The pages' pictures at 96, 120 and 144 pixels per inch: each is drawn at the size it
        # is shown, not stretched from the smallest.
        "ok.ico": ico_file([icon_canvas(n, ok_icon) for n in (16, 20, 24)]),
        "problem.ico": ico_file([icon_canvas(n, problem_icon) for n in (32, 40, 48)]),
        "downarrow.ico": ico_file([icon_canvas(n, down_arrow_icon) for n in (16, 20, 24)]),
        "repairing.ico": ico_file([icon_canvas(n, repairing_icon) for n in (32, 40, 48)]),
        # The file list's check mark and warning sign side by side, one strip per pixel density.
        **{
            f"listimages{n}.bmp": bmp_24([a + b for a, b in zip(list_picture(list_check, n),
                                                                list_picture(list_warning, n))])
            for n in (16, 20, 24)
        },
        "app.ico": ico_file([icon_canvas(16, app_icon), icon_canvas(32, app_icon)]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
