#!/usr/bin/env python3
"""Draws the organiser's icons, backgrounds and logo and synthesises its bell
sounds, writing them into assets/ (standard library only; same bytes every run).

Usage: python3 scripts/make-assets.py [assets-folder]
"""

import heapq
import math
import os
import struct
import sys
import wave
import zlib

# ---------------------------------------------------------------------------
# Raster drawing: shapes are point tests, filled with 4x4 supersampling.
# ---------------------------------------------------------------------------

SUB = 4  # samples per pixel along each axis


def hexcol(text, alpha=255):
    """'#rrggbb' -> (r, g, b, a)."""
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16), alpha)


def mix(c1, c2, t):
    """Linear blend of two RGBA colours, t in 0..1."""
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


class Shape:
    """A region given by a point test and a bounding box (x0, y0, x1, y1)."""

    def __init__(self, inside, box):
        self.inside = inside
        self.box = box

    def __sub__(self, other):
        return Shape(lambda x, y: self.inside(x, y) and not other.inside(x, y),
                     self.box)

    def __or__(self, other):
        a, b = self.box, other.box
        return Shape(lambda x, y: self.inside(x, y) or other.inside(x, y),
                     (min(a[0], b[0]), min(a[1], b[1]),
                      max(a[2], b[2]), max(a[3], b[3])))

    def __and__(self, other):
        return Shape(lambda x, y: self.inside(x, y) and other.inside(x, y),
                     self.box)


def circle(cx, cy, r):
    return Shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                 (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def ring(cx, cy, r, w):
    """Circle outline of width w centred on radius r."""
    lo, hi = (r - w / 2) ** 2, (r + w / 2) ** 2
    return Shape(lambda x, y: lo <= (x - cx) ** 2 + (y - cy) ** 2 <= hi,
                 (cx - r - w, cy - r - w, cx + r + w, cy + r + w))


def rect(x0, y0, x1, y1):
    return Shape(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, (x0, y0, x1, y1))


def rrect(x0, y0, x1, y1, rad):
    """Rectangle with corners rounded to radius rad."""
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + rad - x, 0, x - (x1 - rad))
        dy = max(y0 + rad - y, 0, y - (y1 - rad))
        return dx * dx + dy * dy <= rad * rad
    return Shape(inside, (x0, y0, x1, y1))


def frame(x0, y0, x1, y1, w, rad=0.0):
    """Outline of a (rounded) rectangle, w wide, drawn inside its edge."""
    return rrect(x0, y0, x1, y1, rad) - rrect(x0 + w, y0 + w, x1 - w, y1 - w,
                                              max(rad - w, 0))


def line(xa, ya, xb, yb, w):
    """Thick segment with round caps."""
    dx, dy = xb - xa, yb - ya
    length2 = dx * dx + dy * dy or 1e-9
    r2 = (w / 2) ** 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length2))
        px, py = xa + t * dx - x, ya + t * dy - y
        return px * px + py * py <= r2
    h = w / 2
    return Shape(inside, (min(xa, xb) - h, min(ya, yb) - h,
                          max(xa, xb) + h, max(ya, yb) + h))


def polygon(points):
    """Filled polygon (even-odd rule)."""
    n = len(points)

    def inside(x, y):
        result = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)))


def arrow(xa, ya, xb, yb, w, head):
    """Shaft from a to b with a triangular head at b."""
    ang = math.atan2(yb - ya, xb - xa)
    ux, uy = math.cos(ang), math.sin(ang)
    bx, by = xb - ux * head, yb - uy * head
    tip = polygon([(xb, yb),
                   (bx - uy * head * 0.8, by + ux * head * 0.8),
                   (bx + uy * head * 0.8, by - ux * head * 0.8)])
    return line(xa, ya, bx + ux * 0.5, by + uy * 0.5, w) | tip


class Canvas:
    """RGBA image with straight (non-premultiplied) float channels."""

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.w, self.h = width, height
        self.px = [list(background) for _ in range(width * height)]

    def fill(self, shape, colour):
        """Paints shape 'over' the image; colour is RGBA or f(x, y) -> RGBA."""
        x0, y0, x1, y1 = shape.box
        inside = shape.inside
        step = 1.0 / SUB
        offsets = [(i + 0.5) * step for i in range(SUB)]
        for py in range(max(0, int(math.floor(y0))), min(self.h, int(math.ceil(y1)) + 1)):
            for px in range(max(0, int(math.floor(x0))), min(self.w, int(math.ceil(x1)) + 1)):
                hits = sum(1 for oy in offsets for ox in offsets
                           if inside(px + ox, py + oy))
                if not hits:
                    continue
                src = colour(px + 0.5, py + 0.5) if callable(colour) else colour
                sa = src[3] / 255.0 * hits / (SUB * SUB)
                dst = self.px[py * self.w + px]
                da = dst[3] / 255.0
                oa = sa + da * (1 - sa)
                if oa <= 0:
                    continue
                for c in range(3):
                    dst[c] = (src[c] * sa + dst[c] * da * (1 - sa)) / oa
                dst[3] = oa * 255.0

    def rgba_bytes(self):
        out = bytearray()
        for p in self.px:
            out.extend(max(0, min(255, int(math.floor(v + 0.5)))) for v in p)
        return bytes(out)


def vgrad(y0, y1, c0, c1):
    """Colour function: vertical gradient from c0 at y0 to c1 at y1."""
    return lambda x, y: mix(c0, c1, max(0.0, min(1.0, (y - y0) / (y1 - y0))))


def dgrad(x0, y0, x1, y1, c0, c1):
    """Colour function: gradient along the direction (x0,y0) -> (x1,y1)."""
    dx, dy = x1 - x0, y1 - y0
    n = dx * dx + dy * dy

    def colour(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / n
        return mix(c0, c1, max(0.0, min(1.0, t)))
    return colour


# ---------------------------------------------------------------------------
# File encoders: PNG, ICO, GIF89a, baseline JPEG, WAV.
# ---------------------------------------------------------------------------

def png_bytes(width, height, rgba):
    """RGBA, 8 bits per channel, no interlace, filter 0 on every row."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    stride = width * 4
    raw = b"".join(b"\x00" + rgba[y * stride:(y + 1) * stride] for y in range(height))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico_bytes(size, png):
    """One-image icon file whose image is stored as PNG."""
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                        len(png), 6 + 16)
    return header + entry + png


def lzw_gif(indices, min_size):
    """GIF-flavoured LZW: variable code width up to 12 bits, LSB-first packing,
    a clear code whenever the table fills."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {}, clear + 2, min_size + 1

    table, nxt, width = reset()
    emit(clear, width)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix, k)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, width)
        if nxt < 4096:
            table[key] = nxt
            nxt += 1
            if nxt > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, nxt, width = reset()
        prefix = k
    emit(prefix, width)
    # The decoder adds one more entry after reading the last code, which may
    # widen the code that carries end-of-information.
    if nxt < 4096 and nxt + 1 > (1 << width) and width < 12:
        width += 1
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_bytes(width, height, palette, indices):
    """Single-frame GIF89a with a global palette (list of (r, g, b))."""
    bits = max(1, (len(palette) - 1).bit_length())
    entries = 1 << bits
    colours = b"".join(bytes(c[:3]) for c in palette)
    colours += b"\x00\x00\x00" * (entries - len(palette))
    min_size = max(2, bits)
    data = lzw_gif(indices, min_size)
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    return (b"GIF89a"
            + struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
            + colours
            + b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
            + bytes([min_size]) + blocks + b"\x00"
            + b"\x3b")


# Zigzag order of an 8x8 block as (row, col), row = vertical frequency.
ZIGZAG = sorted(((r, c) for r in range(8) for c in range(8)),
                key=lambda rc: (rc[0] + rc[1],
                                rc[0] if (rc[0] + rc[1]) % 2 else -rc[0]))
DCT_COS = [[math.cos((2 * x + 1) * u * math.pi / 16) * (math.sqrt(0.5) if u == 0 else 1.0)
            for x in range(8)] for u in range(8)]


def fdct(block):
    """8x8 forward DCT of a row-major list of 64 level-shifted samples."""
    rows = [[sum(block[y * 8 + x] * DCT_COS[u][x] for x in range(8)) / 2
             for u in range(8)] for y in range(8)]
    return [[sum(rows[y][u] * DCT_COS[v][y] for y in range(8)) / 2
             for u in range(8)] for v in range(8)]


def huffman_table(freq):
    """Canonical JPEG Huffman table (bits[1..16], values) for the symbol
    counts in freq, limited to 16-bit codes with no all-ones code."""
    counts = dict(freq)
    counts[256] = 1  # reserves the all-ones code point
    heap = [(n, s, [s]) for s, n in sorted(counts.items())]
    heapq.heapify(heap)
    length = {s: 0 for s in counts}
    order = len(heap) + 1000
    while len(heap) > 1:
        n1, _, s1 = heapq.heappop(heap)
        n2, _, s2 = heapq.heappop(heap)
        for s in s1 + s2:
            length[s] += 1
        heapq.heappush(heap, (n1 + n2, order, s1 + s2))
        order += 1
    bits = [0] * 40
    for s in counts:
        bits[length[s]] += 1
    i = 39
    while i > 16:
        while bits[i] > 0:
            j = i - 2
            while bits[j] == 0:
                j -= 1
            bits[i] -= 2
            bits[i - 1] += 1
            bits[j + 1] += 2
            bits[j] -= 1
        i -= 1
    while bits[i] == 0:
        i -= 1
    bits[i] -= 1  # drop the reserved code, always the last of the longest
    symbols = sorted(counts, key=lambda s: (length[s], s == 256, s))
    symbols.remove(256)
    codes, code, pos = {}, 0, 0
    for n in range(1, 17):
        for _ in range(bits[n]):
            codes[symbols[pos]] = (code, n)
            code += 1
            pos += 1
        code <<= 1
    return bits[1:17], symbols, codes


def magnitude(v):
    """JPEG size category and the extra bits for value v."""
    size = abs(v).bit_length()
    return size, (v if v >= 0 else v + (1 << size) - 1)


def jpeg_bytes(width, height, rgb):
    """Baseline JFIF, YCbCr 4:4:4, one interleaved scan, Huffman tables
    optimised for this image. width and height must be multiples of 8."""
    quant = [[[2 + 2 * (r + c) for c in range(8)] for r in range(8)],
             [[3 + 4 * (r + c) for c in range(8)] for r in range(8)]]
    planes = [[0.0] * (width * height) for _ in range(3)]
    for i in range(width * height):
        r, g, b = rgb[i * 3:i * 3 + 3]
        planes[0][i] = 0.299 * r + 0.587 * g + 0.114 * b - 128
        planes[1][i] = -0.168736 * r - 0.331264 * g + 0.5 * b
        planes[2][i] = 0.5 * r - 0.418688 * g - 0.081312 * b
    # Quantised blocks as (component, zigzag list), in scan order.
    blocks = []
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for comp in range(3):
                q = quant[0 if comp == 0 else 1]
                samples = [planes[comp][(by + y) * width + bx + x]
                           for y in range(8) for x in range(8)]
                coef = fdct(samples)
                blocks.append((comp, [int(math.floor(coef[r][c] / q[r][c] + 0.5))
                                      for r, c in ZIGZAG]))
    # Symbols per block: ('dc' | 'ac', table, symbol, size, bits).
    stream = []
    last_dc = [0, 0, 0]
    for comp, zz in blocks:
        table = 0 if comp == 0 else 1
        size, extra = magnitude(zz[0] - last_dc[comp])
        last_dc[comp] = zz[0]
        stream.append((0, table, size, size, extra))
        run = 0
        for v in zz[1:]:
            if v == 0:
                run += 1
                continue
            while run > 15:
                stream.append((1, table, 0xF0, 0, 0))
                run -= 16
            size, extra = magnitude(v)
            stream.append((1, table, (run << 4) | size, size, extra))
            run = 0
        if run:
            stream.append((1, table, 0x00, 0, 0))
    tables = {}
    for cls in (0, 1):
        for tid in (0, 1):
            freq = {}
            for c, t, sym, _, _ in stream:
                if c == cls and t == tid:
                    freq[sym] = freq.get(sym, 0) + 1
            tables[(cls, tid)] = huffman_table(freq)
    # Entropy-coded data with 0xFF byte stuffing, padded with one-bits.
    data = bytearray()
    acc = nbits = 0

    def put(value, n):
        nonlocal acc, nbits
        acc = (acc << n) | value
        nbits += n
        while nbits >= 8:
            nbits -= 8
            byte = (acc >> nbits) & 0xFF
            data.append(byte)
            if byte == 0xFF:
                data.append(0)
        acc &= (1 << nbits) - 1
    for cls, tid, sym, size, extra in stream:
        code, n = tables[(cls, tid)][2][sym]
        put(code, n)
        if size:
            put(extra, size)
    if nbits:
        put((1 << (8 - nbits)) - 1, 8 - nbits)

    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload
    dqt = b"".join(bytes([tid]) + bytes(quant[tid][r][c] for r, c in ZIGZAG)
                   for tid in (0, 1))
    sof = struct.pack(">BHHB", 8, height, width, 3) + bytes(
        [1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1])
    dht = b"".join(bytes([(cls << 4) | tid]) + bytes(tables[(cls, tid)][0])
                   + bytes(tables[(cls, tid)][1])
                   for cls in (0, 1) for tid in (0, 1))
    sos = bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0])
    return (b"\xff\xd8"
            + segment(0xE0, b"JFIF\x00\x01\x01\x00" + struct.pack(">HH", 1, 1) + b"\x00\x00")
            + segment(0xDB, dqt) + segment(0xC0, sof) + segment(0xC4, dht)
            + segment(0xDA, sos) + bytes(data) + b"\xff\xd9")


RATE = 22050


def write_wav(path, samples):
    """16-bit PCM mono; samples are floats in -1..1."""
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(math.floor(s * 32767 + 0.5)))))
                      for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


# ---------------------------------------------------------------------------
# Pictures.
# ---------------------------------------------------------------------------

def tau(n, v, period):
    """Phase of the n-th harmonic of a pattern that repeats every period."""
    return 2 * math.pi * n * v / period


def palette_ramp(c0, c1, n):
    return [tuple(int(round(a + (b - a) * i / (n - 1))) for a, b in zip(c0, c1))
            for i in range(n)]


def wallpaper():
    """64x64 tile of soft interlaced ripples in blue-green."""
    size, levels = 64, 32
    palette = palette_ramp((0x6f, 0x93, 0xa6), (0xb6, 0xd2, 0xc8), levels)
    idx = []
    for y in range(size):
        for x in range(size):
            v = (math.sin(tau(2, x, size) + 1.3 * math.sin(tau(1, y, size)))
                 + 0.6 * math.sin(tau(3, y, size) + 0.9 * math.cos(tau(1, x, size)))
                 + 0.3 * math.sin(tau(1, x + y, size)))
            t = (v + 1.9) / 3.8
            idx.append(max(0, min(levels - 1, int(t * levels))))
    return size, palette, idx


def toolbar_tile():
    """32x32 light tile with a faint diagonal weave."""
    size, levels = 32, 16
    palette = palette_ramp((0xe2, 0xdf, 0xd6), (0xf5, 0xf3, 0xee), levels)
    idx = []
    for y in range(size):
        for x in range(size):
            v = 0.6 * math.sin(tau(2, x + y, size)) * math.sin(tau(2, x - y, size)) \
                + 0.4 * math.cos(tau(1, y, size))
            t = (v + 1.0) / 2.0
            idx.append(max(0, min(levels - 1, int(t * levels))))
    return size, palette, idx


def window_tile():
    """64x64 light parchment tile: periodic waves with fixed pseudo-random phases."""
    size = 64
    seed = 12345
    waves = []
    for _ in range(10):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        fx, fy = seed % 5 - 2, (seed >> 8) % 5 - 2
        if fx == 0 and fy == 0:
            fx = 1
        waves.append((fx, fy, (seed >> 16) % 628 / 100.0, 1.0 / math.hypot(fx, fy)))
    base, dark = (0xf4, 0xee, 0xdc), (0xe0, 0xd4, 0xb8)
    total = sum(w[3] for w in waves)
    rgb = bytearray()
    for y in range(size):
        for x in range(size):
            v = sum(a * math.sin(tau(1, fx * x + fy * y, size) + ph)
                    for fx, fy, ph, a in waves) / total
            t = max(0.0, min(1.0, 0.5 + 0.9 * v))
            rgb.extend(int(round(b + (d - b) * t)) for b, d in zip(base, dark))
    return size, bytes(rgb)


def draw_v(c, s):
    """The program's mark: a bold 'V' on a rounded blue square, scaled to s."""
    k = s / 32.0
    c.fill(rrect(1 * k, 1 * k, 31 * k, 31 * k, 7 * k),
           vgrad(0, s, hexcol("#3d7fc4"), hexcol("#1d3f7a")))
    c.fill(frame(1 * k, 1 * k, 31 * k, 31 * k, 0.8 * k, 7 * k), hexcol("#0f2450", 160))
    v_left = polygon([(6 * k, 7 * k), (11.5 * k, 7 * k), (16 * k, 20 * k),
                      (20.5 * k, 7 * k), (26 * k, 7 * k), (18.5 * k, 26 * k),
                      (13.5 * k, 26 * k)])
    shadow = polygon([(x + 1.0 * k, y + 1.2 * k) for x, y in
                      [(6 * k, 7 * k), (11.5 * k, 7 * k), (16 * k, 20 * k),
                       (20.5 * k, 7 * k), (26 * k, 7 * k), (18.5 * k, 26 * k),
                       (13.5 * k, 26 * k)]])
    c.fill(shadow, (0, 0, 0, 90))
    c.fill(v_left, vgrad(7 * k, 26 * k, hexcol("#ffffff"), hexcol("#f2c84b")))
    c.fill(circle(16 * k, 5.2 * k, 1.6 * k), hexcol("#f2c84b"))


def clock_face(c, cx, cy, r, hour_ang, min_ang, ticks=12):
    """Round white face with tick marks and two hands (angles in degrees from 12)."""
    c.fill(circle(cx, cy, r), hexcol("#fdfdf8"))
    for i in range(ticks):
        a = math.radians(i * 360 / ticks)
        big = i % 3 == 0
        r0 = r - (2.6 if big else 1.8)
        c.fill(line(cx + r0 * math.sin(a), cy - r0 * math.cos(a),
                    cx + (r - 0.9) * math.sin(a), cy - (r - 0.9) * math.cos(a),
                    1.3 if big else 0.8), hexcol("#333333"))
    for ang, length, w in ((hour_ang, r * 0.5, 2.0), (min_ang, r * 0.78, 1.3)):
        a = math.radians(ang)
        c.fill(line(cx, cy, cx + length * math.sin(a), cy - length * math.cos(a), w),
               hexcol("#202020"))
    c.fill(circle(cx, cy, 1.3), hexcol("#c0392b"))


def icon_exit(c):
    c.fill(rect(5, 3, 19, 29), hexcol("#5a3a1e"))
    c.fill(rect(7, 5, 17, 29), vgrad(5, 29, hexcol("#b07a42"), hexcol("#8a5a2c")))
    c.fill(rect(9, 8, 15, 14), hexcol("#9a6834"))
    c.fill(rect(9, 17, 15, 25), hexcol("#9a6834"))
    c.fill(circle(15.5, 17, 1.1), hexcol("#f2d36b"))
    c.fill(arrow(13, 16, 30, 16, 4.2, 7), hexcol("#1e6b2a"))
    c.fill(arrow(13.5, 16, 29, 16, 2.6, 5.6), hexcol("#3cbf4f"))


def icon_memo(c):
    c.fill(rect(7, 4, 27, 30), (0, 0, 0, 60))
    c.fill(polygon([(5, 3), (25, 3), (25, 23), (19, 29), (5, 29)]), hexcol("#fff6b0"))
    c.fill(polygon([(19, 29), (25, 23), (19, 23)]), hexcol("#e0d27a"))
    c.fill(rect(5, 3, 25, 7), hexcol("#d9534f"))
    for y in (11, 15, 19, 23):
        c.fill(rect(8, y, 22 if y < 23 else 17, y + 0.9), hexcol("#5b7fbf"))
    c.fill(line(29, 8, 16, 24, 3.4), hexcol("#e8a33c"))
    c.fill(polygon([(14.2, 26.8), (15.0, 22.7), (17.9, 25.1)]), hexcol("#f3d9b1"))
    c.fill(circle(14.7, 26.1, 0.8), hexcol("#333333"))


def icon_idea(c):
    for i in range(7):
        a = math.radians(-90 + (i - 3) * 32)
        c.fill(line(16 + 12 * math.cos(a), 12 + 12 * math.sin(a),
                    16 + 15 * math.cos(a), 12 + 15 * math.sin(a), 1.6), hexcol("#f0b429"))
    c.fill(circle(16, 12, 8.5) | polygon([(11, 17), (21, 17), (19.5, 22), (12.5, 22)]),
           dgrad(10, 6, 22, 20, hexcol("#fff7a8"), hexcol("#f5c518")))
    c.fill(circle(13.5, 9.5, 2.2), (255, 255, 255, 170))
    for i, y in enumerate((22, 24.2, 26.4)):
        c.fill(rrect(12, y, 20, y + 2, 1), hexcol("#8c8c8c" if i % 2 else "#b5b5b5"))
    c.fill(rrect(14, 28.2, 18, 30, 1), hexcol("#555555"))


def icon_files3(c):
    for i, (top, back) in enumerate((("#c79a3a", "#e6bd5c"),
                                    ("#d3a743", "#f0c96a"),
                                    ("#e0b44f", "#fbd77a"))):
        ox, oy = 2 + i * 3.5, 4 + i * 5
        c.fill(polygon([(ox, oy), (ox + 8, oy), (ox + 10, oy + 2.5), (ox + 20, oy + 2.5),
                        (ox + 20, oy + 16), (ox, oy + 16)]), hexcol(top))
        c.fill(rect(ox, oy + 4, ox + 20, oy + 16), hexcol(back))
        c.fill(frame(ox, oy + 4, ox + 20, oy + 16, 0.7), hexcol("#8a6420"))


def icon_find(c):
    c.fill(line(19, 19, 28.5, 28.5, 5), hexcol("#5a3a1e"))
    c.fill(line(19.5, 19.5, 28, 28, 3), hexcol("#8a5a2c"))
    c.fill(circle(13, 13, 9), dgrad(6, 6, 20, 20, hexcol("#d8f0ff"), hexcol("#7fbde8")))
    c.fill(ring(13, 13, 9, 2.6), hexcol("#4a4a4a"))
    c.fill(ring(10.5, 10.5, 4, 1.4) & rect(0, 0, 10.5, 10.5), (255, 255, 255, 200))


def icon_programs(c):
    c.fill(rrect(2, 4, 30, 28, 2), hexcol("#3c4b5c"))
    c.fill(rect(3.5, 9, 28.5, 26.5), hexcol("#f4f6f8"))
    c.fill(rect(3.5, 5.5, 28.5, 8.5), vgrad(5, 9, hexcol("#5a8fd8"), hexcol("#2b5fae")))
    c.fill(rect(24.5, 6, 27.5, 8), hexcol("#e05a4a"))
    colours = ("#e05a4a", "#3cbf4f", "#f0b429", "#4a90d9", "#9b59b6", "#16a085")
    for i, col in enumerate(colours):
        x, y = 6.5 + (i % 3) * 7.5, 11.5 + (i // 3) * 7.5
        c.fill(rrect(x, y, x + 5, y + 5, 1), hexcol(col))


def person(c, cx, top, scale, colour, dark):
    c.fill(ellipse(cx, top + 15 * scale, 7.5 * scale, 7 * scale) & rect(0, 0, 64, top + 19 * scale),
           vgrad(top + 8 * scale, top + 19 * scale, colour, dark))
    c.fill(circle(cx, top + 4.5 * scale, 4.5 * scale), hexcol("#f3c9a0"))
    c.fill(ring(cx, top + 4.5 * scale, 4.5 * scale, 0.8), dark)


def icon_2people(c):
    person(c, 21, 6, 1.0, hexcol("#4a90d9"), hexcol("#2a5a96"))
    person(c, 11, 9, 1.0, hexcol("#3cbf4f"), hexcol("#1e7a2e"))


def icon_info(c):
    c.fill(circle(16, 16, 14), dgrad(6, 4, 26, 28, hexcol("#6fb0f0"), hexcol("#1f5fae")))
    c.fill(ring(16, 16, 13.6, 1.0), hexcol("#174a8a"))
    c.fill(circle(16, 9, 2.3), hexcol("#ffffff"))
    c.fill(rrect(13.5, 13, 18.5, 25, 1), hexcol("#ffffff"))
    c.fill(rect(12, 23, 20, 25), hexcol("#ffffff"))
    c.fill(rect(12, 13, 16, 15), hexcol("#ffffff"))


def icon_calender(c):
    c.fill(rrect(3, 5, 29, 29, 2), hexcol("#7a7a7a"))
    c.fill(rect(4, 11, 28, 28), hexcol("#ffffff"))
    c.fill(rect(4, 6, 28, 11), hexcol("#d9534f"))
    for x in (9, 16, 23):
        c.fill(rrect(x - 1.2, 2.5, x + 1.2, 8.5, 1.2), hexcol("#444444"))
    for row in range(4):
        for col in range(5):
            x, y = 6 + col * 4.4, 13 + row * 3.8
            colour = hexcol("#d9534f") if (row, col) == (1, 2) else hexcol("#9aa7b8")
            c.fill(rect(x, y, x + 2.8, y + 2.4), colour)


def icon_money(c):
    c.fill(polygon([(3, 9), (25, 5), (28, 18), (6, 22)]), hexcol("#2e7d32"))
    c.fill(polygon([(4.5, 10), (24, 6.5), (26.5, 17), (7, 20.5)]), hexcol("#7cc47f"))
    c.fill(ellipse(15.5, 13.5, 4, 3.5), hexcol("#2e7d32"))
    for i, y in enumerate((26, 23.5, 21)):
        c.fill(ellipse(22, y + 1.2, 8, 3), hexcol("#a67c00"))
        c.fill(ellipse(22, y, 8, 3), hexcol("#f2c84b" if i % 2 == 0 else "#e6b93a"))
    c.fill(ellipse(22, 21, 5.5, 1.9), hexcol("#d9a821"))
    c.fill(ellipse(22, 21, 8, 3) - ellipse(22, 21, 7, 2.3), hexcol("#a67c00", 180))


def icon_alarmclock(c):
    c.fill(line(9, 26, 6, 30, 2.2), hexcol("#444444"))
    c.fill(line(23, 26, 26, 30, 2.2), hexcol("#444444"))
    for cx in (7, 25):
        c.fill(circle(cx, 7, 5) & rect(0, 0, 32, 8.5), hexcol("#c9a227"))
    c.fill(line(16, 5, 16, 8, 2), hexcol("#555555"))
    c.fill(circle(16, 18, 12), dgrad(6, 8, 26, 28, hexcol("#ef6b5b"), hexcol("#a82a1f")))
    clock_face(c, 16, 18, 9.3, 300, 60, ticks=4)


def icon_calculator2(c):
    c.fill(rrect(5, 2, 27, 30, 3), vgrad(2, 30, hexcol("#5b6470"), hexcol("#353b44")))
    c.fill(rrect(8, 5, 24, 11, 1), hexcol("#b8d8a0"))
    c.fill(rect(15, 7, 22, 9), hexcol("#3e5a2e"))
    for row in range(4):
        for col in range(4):
            x, y = 8 + col * 4.2, 13.5 + row * 4
            colour = "#f0a030" if col == 3 else ("#e8e8e8" if row < 3 else "#c8c8c8")
            c.fill(rrect(x, y, x + 3.2, y + 3, 0.8), hexcol(colour))


def icon_time5(c):
    glass = hexcol("#d8ecf7", 200)
    c.fill(rrect(7, 2, 25, 5, 1), hexcol("#7a4f26"))
    c.fill(rrect(7, 27, 25, 30, 1), hexcol("#7a4f26"))
    c.fill(line(8.5, 5, 8.5, 27, 1.6), hexcol("#5a3a1e"))
    c.fill(line(23.5, 5, 23.5, 27, 1.6), hexcol("#5a3a1e"))
    c.fill(polygon([(10, 5), (22, 5), (17, 16), (22, 27), (10, 27), (15, 16)]), glass)
    c.fill(polygon([(12.2, 10), (19.8, 10), (16, 15.5)]), hexcol("#e8b04a"))
    c.fill(polygon([(16, 20), (21, 27), (11, 27)]), hexcol("#e8b04a"))
    c.fill(line(16, 15.5, 16, 26, 0.8), hexcol("#e8b04a"))


def icon_launch(c):
    c.fill(polygon([(6, 30), (9, 21), (12, 24)]) | polygon([(9, 22), (2, 29), (6, 23)]),
           hexcol("#f39c12"))
    c.fill(polygon([(8.5, 26), (10, 22), (11, 24)]), hexcol("#ffe07a"))
    c.fill(polygon([(9, 17), (5, 21), (10, 22)]), hexcol("#c0392b"))
    c.fill(polygon([(15, 23), (11, 27), (10, 22)]), hexcol("#c0392b"))
    body = polygon([(28, 4), (26, 12), (15, 23), (9, 17), (20, 6)])
    c.fill(body, dgrad(12, 12, 20, 20, hexcol("#f4f6f8"), hexcol("#9aa7b8")))
    c.fill(polygon([(28, 4), (26.8, 9), (23, 5.2)]), hexcol("#c0392b"))
    c.fill(circle(19.5, 12.5, 3), hexcol("#2b5fae"))
    c.fill(ring(19.5, 12.5, 3, 1.1), hexcol("#555555"))


def icon_analogclock(c):
    c.fill(circle(16, 16, 14.5), dgrad(4, 4, 28, 28, hexcol("#9a6834"), hexcol("#5a3a1e")))
    clock_face(c, 16, 16, 12, 120, 300)


def icon_chat(c):
    c.fill(rrect(2, 3, 21, 16, 4) | polygon([(6, 14), (5, 21), (11, 15)]),
           hexcol("#4a90d9"))
    for x in (7, 11.5, 16):
        c.fill(circle(x, 9.5, 1.3), hexcol("#ffffff"))
    c.fill(rrect(11, 12, 30, 25, 4) | polygon([(26, 23), (27, 30), (21, 24)]),
           hexcol("#3a9a46"))
    c.fill(rrect(12, 13, 29, 24, 3.2) | polygon([(25.5, 23), (26.2, 28), (22, 23.5)]),
           hexcol("#7ad27f"))
    for y in (16.5, 20):
        c.fill(rect(15, y, 26, y + 1.2), hexcol("#ffffff"))


def icon_bell(c):
    gold = dgrad(6, 6, 26, 26, hexcol("#ffe27a"), hexcol("#c9961a"))
    c.fill(ring(16, 4.2, 1.8, 1.2), hexcol("#8a6420"))
    c.fill(circle(16, 27, 2.6), hexcol("#8a6420"))
    c.fill(circle(16, 12, 7.5) & rect(0, 0, 32, 12)
           | polygon([(8.5, 12), (23.5, 12), (25, 21), (29, 25), (3, 25), (7, 21)]), gold)
    c.fill(rrect(3, 24, 29, 26, 1), hexcol("#b07d12"))
    c.fill(line(12, 9, 10.5, 19, 1.4), (255, 255, 255, 150))


def icon_lockclosed(c):
    c.fill((ring(16, 12, 7, 3.2) & rect(0, 0, 32, 12)) | rect(7.4, 12, 10.6, 16)
           | rect(21.4, 12, 24.6, 16), hexcol("#8c8c8c"))
    c.fill((ring(16, 12, 7, 1.2) & rect(0, 0, 32, 12)), hexcol("#c8c8c8"))
    c.fill(rrect(5, 15, 27, 30, 2.5), vgrad(15, 30, hexcol("#f2c84b"), hexcol("#b8861a")))
    c.fill(frame(5, 15, 27, 30, 0.9, 2.5), hexcol("#8a6420"))
    c.fill(circle(16, 21, 2.4) | polygon([(14.8, 22), (17.2, 22), (18, 27), (14, 27)]),
           hexcol("#3a2a10"))


def icon_vendrolix(c):
    draw_v(c, 32)


def icon_tarnvel(c):
    c.fill(rect(2, 4, 30, 28), vgrad(4, 28, hexcol("#a8743a"), hexcol("#6e4a22")))
    c.fill(rect(5, 7, 27, 25), vgrad(7, 18, hexcol("#8fc3e8"), hexcol("#d8eef8")))
    c.fill(circle(22, 11, 2.4), hexcol("#fff3a0"))
    c.fill(polygon([(5, 19), (12, 10), (17, 16), (20, 13), (27, 19)]), hexcol("#6f8fa8"))
    c.fill(polygon([(10.4, 12), (12, 10), (13.6, 12), (12, 12.8)]), hexcol("#ffffff"))
    c.fill(rect(5, 19, 27, 25), vgrad(19, 25, hexcol("#3f7fa8"), hexcol("#6fa8c8")))
    c.fill(rect(8, 21, 14, 21.6), (255, 255, 255, 150))
    c.fill(rect(17, 23, 24, 23.6), (255, 255, 255, 120))


ICONS = [
    ("exit.ico", icon_exit), ("Memo.ico", icon_memo), ("Idea.ico", icon_idea),
    ("Files3.ico", icon_files3), ("Find.ico", icon_find),
    ("Programs.ico", icon_programs), ("2People.Ico", icon_2people),
    ("Info.ico", icon_info), ("Calender.ico", icon_calender),
    ("Money.ico", icon_money), ("alarmclock.ico", icon_alarmclock),
    ("Calculator2.ico", icon_calculator2), ("Time5.ico", icon_time5),
    ("Launch.ico", icon_launch), ("AnalogClock.ico", icon_analogclock),
    ("Chat.ico", icon_chat), ("Bell.ico", icon_bell),
    ("LockClosed.ico", icon_lockclosed), ("Vendrolix.ico", icon_vendrolix),
    ("Tarn-Vel.ico", icon_tarnvel),
]


# ---------------------------------------------------------------------------
# Sounds: bell strikes as sums of exponentially decaying sine partials.
# ---------------------------------------------------------------------------

# (frequency ratio to the strike note, relative amplitude, decay per second)
BELL_PARTIALS = [(0.5, 0.35, 1.2), (1.0, 1.0, 2.0), (1.19, 0.45, 2.8),
                 (1.5, 0.35, 3.4), (2.0, 0.55, 4.0), (2.51, 0.25, 5.5),
                 (3.01, 0.15, 7.0), (4.07, 0.08, 9.0)]


def bell(note, duration, decay_scale=1.0):
    """One strike: returns samples, with a 3 ms attack and a 50 ms fade-out."""
    n = int(duration * RATE)
    norm = sum(p[1] for p in BELL_PARTIALS)
    out = []
    for i in range(n):
        t = i / RATE
        v = sum(a * math.exp(-d * decay_scale * t) * math.sin(2 * math.pi * note * r * t)
                for r, a, d in BELL_PARTIALS) / norm
        env = min(1.0, t / 0.003, (n - i) / (0.05 * RATE))
        out.append(v * env)
    return out


def overlay(length, parts):
    """Mixes (start_second, samples, gain) parts into one track."""
    out = [0.0] * int(length * RATE)
    for start, samples, gain in parts:
        base = int(start * RATE)
        for i, s in enumerate(samples[:len(out) - base]):
            out[base + i] += s * gain
    return out


def alert():
    """Two short tones, high then low, with soft edges."""
    out = []
    for freq in (1318.5, 987.8):
        n = int(0.19 * RATE)
        for i in range(n):
            t = i / RATE
            env = min(1.0, t / 0.005, (n - i) / (0.02 * RATE))
            out.append(0.6 * env * (math.sin(2 * math.pi * freq * t)
                                    + 0.25 * math.sin(2 * math.pi * 2 * freq * t)) / 1.25)
        out.extend([0.0] * int(0.01 * RATE))
    return out


def sounds():
    strike = bell(784.0, 1.2)
    return [
        ("QrtrBell.wav", [s * 0.8 for s in strike]),
        ("HalfBell.wav", overlay(1.9, [(0.0, bell(784.0, 1.2), 0.7),
                                       (0.6, bell(659.3, 1.3), 0.7)])),
        ("HourBell.wav", [s * 0.85 for s in bell(293.7, 2.5, decay_scale=0.55)]),
        ("AlertSnd.wav", alert()),
    ]


# ---------------------------------------------------------------------------

def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(f"{os.path.relpath(path)}: {len(data)} bytes")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    images = os.path.join(root, "images")
    sound_dir = os.path.join(root, "sounds")
    os.makedirs(images, exist_ok=True)
    os.makedirs(sound_dir, exist_ok=True)

    for name, make in (("Tarn-Vel.gif", wallpaper), ("ToolBar_Bgr.gif", toolbar_tile)):
        size, palette, idx = make()
        write(os.path.join(images, name), gif_bytes(size, size, palette, idx))
    size, rgb = window_tile()
    write(os.path.join(images, "Window_Bgr.jpg"), jpeg_bytes(size, size, rgb))

    for name, draw in ICONS:
        c = Canvas(32, 32)
        draw(c)
        write(os.path.join(images, name), ico_bytes(32, png_bytes(32, 32, c.rgba_bytes())))
    logo = Canvas(64, 64)
    draw_v(logo, 64)
    write(os.path.join(images, "Logo.png"), png_bytes(64, 64, logo.rgba_bytes()))

    for name, samples in sounds():
        path = os.path.join(sound_dir, name)
        write_wav(path, samples)
        print(f"{os.path.relpath(path)}: {os.path.getsize(path)} bytes")


if __name__ == "__main__":
    main()
