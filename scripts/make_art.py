#!/usr/bin/env python3
"""Draws the game's icon (resources/keyhaven.ico) and the logo of the
information dialog (resources/logo.bmp); with --web-icons DIR, the browser
app's icons instead: the icon's key cap as PNG files of 192 and 512 pixels.

Both pictures are green key caps on black, drawn in one green ramp from black
to pale mint: the logo with all 256 shades of an 8-bit palette, the icon with
16 of them. Shapes are sampled 4 x 4 times per pixel, so their edges come out
smooth in either palette. The output is the same on every run.

    python3 scripts/make_art.py
    python3 scripts/make_art.py --web-icons build/web/site
"""

import math
import os
import struct
import sys
import zlib

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
SUBSAMPLES = 4

# Shades of the pictures, 0 (black) to 1 (pale mint).
BACKGROUND = 0.0
CAP_SIDE = 0.42
CAP_RIM = 0.62
FACE_TOP = 0.97
FACE_BOTTOM = 0.80
MARK = 0.16

# The ramp passes through these colours at these shades.
RAMP = [
    (0.00, (0x00, 0x00, 0x00)),
    (0.30, (0x0C, 0x40, 0x18)),
    (0.60, (0x22, 0x99, 0x3C)),
    (0.85, (0x5C, 0xE0, 0x78)),
    (1.00, (0xD8, 0xFF, 0xE0)),
]


def ramp_colour(t):
    """The (r, g, b) of shade t on the green ramp."""
    for (t0, c0), (t1, c1) in zip(RAMP, RAMP[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0)
            return tuple(round(a + (b - a) * f) for a, b in zip(c0, c1))
    return RAMP[-1][1]


def palette(entries):
    """A BMP/ICO colour table of `entries` shades of the ramp (B, G, R, 0)."""
    table = b""
    for i in range(entries):
        r, g, b = ramp_colour(i / (entries - 1))
        table += bytes((b, g, r, 0))
    return table


def in_rounded_rect(x, y, rect, radius):
    x0, y0, x1, y1 = rect
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + radius), x1 - radius)
    cy = min(max(y, y0 + radius), y1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def segment_distance(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def arc_distance(x, y, centre, radius):
    """Distance to the right half of a circle (the bowl of a D)."""
    cx, cy = centre
    if x >= cx:
        return abs(math.hypot(x - cx, y - cy) - radius)
    return min(math.hypot(x - cx, y - (cy - radius)), math.hypot(x - cx, y - (cy + radius)))


class KeyCap:
    """A key cap seen from slightly above: a darker body with a raised face
    that sits nearer the top edge, and a mark on the face drawn as strokes."""

    def __init__(self, body, face, radius, strokes, pen, arcs=()):
        self.body, self.face, self.radius = body, face, radius
        self.strokes, self.arcs, self.pen = strokes, arcs, pen

    def shade(self, x, y):
        if not in_rounded_rect(x, y, self.body, self.radius):
            return None
        if not in_rounded_rect(x, y, self.face, self.radius * 0.8):
            # The rim just around the face catches some light.
            rim = (self.face[0] - 1, self.face[1] - 1, self.face[2] + 1, self.face[3] + 1)
            return CAP_RIM if in_rounded_rect(x, y, rim, self.radius) else CAP_SIDE
        half = self.pen / 2
        if any(segment_distance(x, y, a, b) <= half for a, b in self.strokes) or \
           any(arc_distance(x, y, c, r) <= half for c, r in self.arcs):
            return MARK
        f = (y - self.face[1]) / (self.face[3] - self.face[1])
        return FACE_TOP + (FACE_BOTTOM - FACE_TOP) * f


def render(width, height, caps, subsamples=SUBSAMPLES, scale=1.0, offset=0.0):
    """Rows of shades, top row first, each pixel the mean of its subsamples;
    the caps are drawn `scale` times their size, `offset` pixels in."""
    rows = []
    n = subsamples
    for py in range(height):
        row = []
        for px in range(width):
            total = 0.0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n - offset) / scale
                    y = (py + (sy + 0.5) / n - offset) / scale
                    shade = BACKGROUND
                    for cap in caps:
                        s = cap.shade(x, y)
                        if s is not None:
                            shade = s
                    total += shade
            row.append(total / (n * n))
        rows.append(row)
    return rows


def kana_ki(left, top, size):
    """The katakana キ ("key") as three strokes in a size x size square."""
    def p(u, v):
        return (left + u * size, top + v * size)
    return [
        (p(0.14, 0.30), p(0.86, 0.24)),
        (p(0.06, 0.62), p(0.94, 0.55)),
        (p(0.44, 0.04), p(0.56, 0.98)),
    ]


def icon_cap(size):
    """The icon's key cap with キ on it. The small image is laid out on whole
    pixels with one-pixel strokes, so that it stays crisp."""
    if size == 32:
        return KeyCap((2, 2, 30, 30), (5, 3, 27, 24), 4, kana_ki(8, 5, 16), 2.6)
    strokes = [((5.5, 5.5), (10.5, 5.5)), ((4.5, 8.5), (11.5, 8.5)),
               ((7.5, 3.5), (7.5, 7.5)), ((8.5, 8.5), (8.5, 10.5))]
    return KeyCap((1, 1, 15, 15), (3, 2, 13, 12), 2.5, strokes, 1.0)


def letter_k(left, top, width, height):
    mid = top + height * 0.55
    return [
        ((left, top), (left, top + height)),
        ((left + width, top), (left + 0.5, mid)),
        ((left + width * 0.35, top + height * 0.42), (left + width, top + height)),
    ]


def letter_d(left, top, width, height):
    r = height / 2
    bowl_x = left + width - r
    return ([
        ((left, top), (left, top + height)),
        ((left, top), (bowl_x, top)),
        ((left, top + height), (bowl_x, top + height)),
    ], [((bowl_x, top + r), r)])


def logo_caps():
    """Two key caps lettered K and D over a row of small keys."""
    caps = []
    k_body, k_face = (5, 5, 42, 50), (9, 6, 38, 40)
    caps.append(KeyCap(k_body, k_face, 5, letter_k(15.5, 11, 16, 24), 4.2))
    d_body, d_face = (46, 5, 83, 50), (50, 6, 79, 40)
    d_lines, d_bowl = letter_d(56.5, 11, 16, 24)
    caps.append(KeyCap(d_body, d_face, 5, d_lines, 4.2, d_bowl))
    # The row below: five small keys and a long space bar.
    for i in range(5):
        x = 5 + i * 11
        caps.append(KeyCap((x, 54, x + 9, 65), (x + 1.2, 54.5, x + 7.8, 61.5), 2, [], 1))
    caps.append(KeyCap((60, 54, 83, 65), (61.2, 54.5, 81.8, 61.5), 2, [], 1))
    return caps


def write_logo(path):
    """An 88 x 70 bottom-up DIB with 8 bits per pixel and a 256-shade palette."""
    width, height = 88, 70
    rows = render(width, height, logo_caps())
    pixels = b"".join(bytes(round(v * 255) for v in row) for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 0, 0, 0, 0)
    dib = info + palette(256) + pixels
    header = struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 14 + 40 + 256 * 4)
    with open(path, "wb") as f:
        f.write(header + dib)


def icon_image(size):
    """One 4-bit icon image: header, 16 shades, colour bits, an all-opaque mask."""
    rows = render(size, size, [icon_cap(size)])
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour = b""
    for row in reversed(rows):
        levels = [round(v * 15) for v in row]
        packed = bytes((levels[i] << 4) | levels[i + 1] for i in range(0, size, 2))
        colour += packed.ljust(colour_stride, b"\0")
    mask = bytes(mask_stride * size)
    # The height counts the colour bits and the mask together.
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + palette(16) + colour + mask


def write_icon(path):
    """An icon file with a 32 x 32 and a 16 x 16 image, 16 colours each."""
    images = [(32, icon_image(32)), (16, icon_image(16))]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + b"".join(data for _, data in images))


def web_icon_rows(size, subsamples):
    """The 32-pixel icon's key cap, its body spread over the middle 60 % of a
    size x size square of black: inside the circle of 80 % that a maskable
    icon keeps whatever shape the system cuts it to."""
    scale = size * 0.6 / 28
    return render(size, size, [icon_cap(32)], subsamples, scale, size * 0.2 - 2 * scale)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, rows):
    """An 8-bit paletted PNG with the 256 shades of the ramp."""
    height, width = len(rows), len(rows[0])
    plte = b"".join(bytes(ramp_colour(i / 255)) for i in range(256))
    raw = b"".join(b"\0" + bytes(round(v * 255) for v in row) for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)) +
                png_chunk(b"PLTE", plte) + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def write_web_icons(folder):
    """icon-192.png and icon-512.png; the large one is sampled 2 x 2 times per
    pixel, which is smooth enough at that size and four times quicker."""
    write_png(os.path.join(folder, "icon-192.png"), web_icon_rows(192, SUBSAMPLES))
    write_png(os.path.join(folder, "icon-512.png"), web_icon_rows(512, 2))


if __name__ == "__main__":
    if sys.argv[1:2] == ["--web-icons"]:
        write_web_icons(sys.argv[2])
    else:
        write_icon(os.path.join(RESOURCES, "keyhaven.ico"))
        write_logo(os.path.join(RESOURCES, "logo.bmp"))
