#!/usr/bin/env python3
"""Draws the installer's artwork: the install dialog's picture (600 x 345, 24-bit BMP) and the
programs' icon (16, 32 and 48 pixels, 32-bit with alpha). Pure standard library, so the build
makes them itself and the repository keeps only this script.

usage: make_artwork.py PICTURE.bmp ICON.ico
"""
import math
import struct
import sys

SS = 2  # supersampling factor: shapes are drawn at twice the size, then averaged down


class Canvas:
    def __init__(self, width, height, background):
        self.w, self.h = width, height
        self.px = [list(background(x, y)) for y in range(height) for x in range(width)]

    def blend(self, x, y, colour, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h and alpha > 0:
            p = self.px[y * self.w + x]
            for i in range(3):
                p[i] = p[i] + (colour[i] - p[i]) * alpha

    def line(self, x0, y0, x1, y1, colour, alpha=1.0, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        r = width // 2
        for s in range(steps + 1):
            t = s / steps
            x, y = round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t)
            for dy in range(-r, width - r):
                for dx in range(-r, width - r):
                    self.blend(x + dx, y + dy, colour, alpha)

    def ellipse(self, cx, cy, rx, ry, colour, alpha=1.0, width=1, start=0.0, end=2 * math.pi):
        steps = int(max(rx, ry) * (end - start) * 1.5) + 8
        pts = [(cx + rx * math.cos(start + (end - start) * i / steps),
                cy + ry * math.sin(start + (end - start) * i / steps)) for i in range(steps + 1)]
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            self.line(ax, ay, bx, by, colour, alpha, width)

    def fill_rect(self, x0, y0, x1, y1, colour, alpha=1.0):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.blend(x, y, colour, alpha)

    def fill_ellipse(self, cx, cy, rx, ry, colour, alpha=1.0):
        for y in range(int(cy - ry), int(cy + ry) + 1):
            for x in range(int(cx - rx), int(cx + rx) + 1):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    self.blend(x, y, colour, alpha)

    def downsample(self, f):
        w, h = self.w // f, self.h // f
        out = []
        for y in range(h):
            for x in range(w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for dy in range(f):
                    row = (y * f + dy) * self.w + x * f
                    for dx in range(f):
                        p = self.px[row + dx]
                        for i in range(len(p)):
                            acc[i] += p[i]
                n = f * f
                out.append([a / n for a in acc[:len(self.px[0])]])
        c = Canvas.__new__(Canvas)
        c.w, c.h, c.px = w, h, out
        return c


# A 5 x 7 capital font, just the letters the picture needs.
FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    '5': ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    '.': ["00000", "00000", "00000", "00000", "00000", "00110", "00110"],
    '0': ["01110", "10011", "10101", "10101", "11001", "10001", "01110"],
    '2': ["01110", "10001", "00001", "00110", "01000", "10000", "11111"],
    '4': ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    ' ': ["00000"] * 7,
}


def text(canvas, x, y, s, scale, colour, alpha=1.0, spacing=1):
    for ch in s:
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == '1':
                    canvas.fill_rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale,
                                     y + (gy + 1) * scale, colour, alpha)
        x += (5 + spacing) * scale


def picture():
    W, H = 600 * SS, 345 * SS
    top, bottom = (14, 38, 74), (22, 78, 112)

    def background(x, y):
        t = y / H
        glow = max(0.0, 1.0 - math.hypot(x - W * 0.72, y - H * 0.45) / (W * 0.55)) * 22
        return tuple(top[i] + (bottom[i] - top[i]) * t + glow for i in range(3))

    c = Canvas(W, H, background)
    grid = (120, 190, 230)
    for x in range(0, W, 15 * SS):
        c.line(x, 0, x, H - 1, grid, 0.16 if x % (75 * SS) else 0.32)
    for y in range(0, H, 15 * SS):
        c.line(0, y, W - 1, y, grid, 0.16 if y % (75 * SS) else 0.32)

    # An isometric flange drawn as a drafting wireframe: two faces, bolt holes, a bore.
    ink, accent = (225, 240, 250), (255, 196, 64)
    cx, cy, rx, ry, depth = 420 * SS, 170 * SS, 120 * SS, 60 * SS, 34 * SS
    c.fill_ellipse(cx, cy + depth, rx, ry, (8, 24, 48), 0.35)
    c.ellipse(cx, cy + depth, rx, ry, ink, 0.55, SS, 0, math.pi)
    c.line(cx - rx, cy, cx - rx, cy + depth, ink, 0.9, SS)
    c.line(cx + rx, cy, cx + rx, cy + depth, ink, 0.9, SS)
    c.fill_ellipse(cx, cy, rx, ry, (30, 90, 140), 0.45)
    c.ellipse(cx, cy, rx, ry, ink, 0.95, SS + 1)
    c.ellipse(cx, cy, rx * 0.42, ry * 0.42, ink, 0.9, SS)
    c.ellipse(cx, cy + depth * 0.5, rx * 0.42, ry * 0.42, ink, 0.35, SS, 0, math.pi)
    for k in range(8):
        a = k * math.pi / 4 + math.pi / 8
        hx, hy = cx + rx * 0.72 * math.cos(a), cy + ry * 0.72 * math.sin(a)
        c.fill_ellipse(hx, hy, rx * 0.075, ry * 0.075, (10, 30, 60), 0.8)
        c.ellipse(hx, hy, rx * 0.075, ry * 0.075, ink, 0.9, SS)
    # Centre lines and a dimension in the accent colour.
    c.line(cx - rx - 30 * SS, cy, cx + rx + 30 * SS, cy, accent, 0.7, 1)
    c.line(cx, cy - ry - 26 * SS, cx, cy + ry + depth + 20 * SS, accent, 0.7, 1)
    dy = cy + ry + depth + 34 * SS
    c.line(cx - rx, dy, cx + rx, dy, accent, 0.95, SS)
    for ex in (cx - rx, cx + rx):
        c.line(ex, cy + depth + 6 * SS, ex, dy + 8 * SS, accent, 0.6, 1)
        c.line(ex, dy, ex + (10 if ex < cx else -10) * SS, dy - 5 * SS, accent, 0.95, SS)
        c.line(ex, dy, ex + (10 if ex < cx else -10) * SS, dy + 5 * SS, accent, 0.95, SS)
    text(c, cx - 27 * SS, dy - 22 * SS, "0240", 3 * SS, accent, 0.95)

    # Product name, left, with a soft shadow.
    text(c, 40 * SS + 3 * SS, 70 * SS + 3 * SS, "PINDLEMARK", 6 * SS, (0, 0, 0), 0.35)
    text(c, 40 * SS, 70 * SS, "PINDLEMARK", 6 * SS, (245, 250, 255), 1.0)
    text(c, 40 * SS, 130 * SS, "V5.0", 9 * SS, accent, 1.0)
    text(c, 42 * SS, 214 * SS, "VENNLOFT", 3 * SS, (170, 210, 235), 0.95, spacing=2)
    c.fill_rect(40 * SS, 200 * SS, 230 * SS, 202 * SS, accent, 0.9)
    return c.downsample(SS)


def write_bmp(canvas, path):
    stride = (canvas.w * 3 + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(canvas.w):
            r, g, b = (max(0, min(255, int(round(v)))) for v in canvas.px[y * canvas.w + x][:3])
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
        f.write(header)
        f.write(pixels)


def icon_image(size):
    """A rounded blue tile with a white drafting compass and an amber arc; RGBA."""
    f = 4
    W = size * f
    c = Canvas(W, W, lambda x, y: (0, 0, 0, 0))
    r = W * 0.2
    for y in range(W):
        for x in range(W):
            qx = min(max(x, r), W - 1 - r)
            qy = min(max(y, r), W - 1 - r)
            if math.hypot(x - qx, y - qy) <= r:
                t = y / W
                c.px[y * W + x] = [30 + 20 * t, 90 + 40 * t, 170 + 30 * t, 255]
    def stroke(x0, y0, x1, y1, colour, width):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for s in range(steps + 1):
            t = s / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for yy in range(int(y - width), int(y + width) + 1):
                for xx in range(int(x - width), int(x + width) + 1):
                    if 0 <= xx < W and 0 <= yy < W and math.hypot(xx - x, yy - y) <= width / 2:
                        c.px[yy * W + xx] = list(colour) + [255]
    amber, white = (255, 190, 50), (245, 250, 255)
    for k in range(60):
        a0, a1 = math.pi * (0.15 + 0.7 * k / 60), math.pi * (0.15 + 0.7 * (k + 1) / 60)
        stroke(W / 2 + W * 0.34 * math.cos(a0), W * 0.28 + W * 0.5 * math.sin(a0),
               W / 2 + W * 0.34 * math.cos(a1), W * 0.28 + W * 0.5 * math.sin(a1), amber, W * 0.07)
    stroke(W * 0.5, W * 0.16, W * 0.27, W * 0.84, white, W * 0.09)
    stroke(W * 0.5, W * 0.16, W * 0.73, W * 0.84, white, W * 0.09)
    stroke(W * 0.36, W * 0.52, W * 0.64, W * 0.52, white, W * 0.06)
    for y in range(int(W * 0.1), int(W * 0.22)):
        for x in range(int(W * 0.44), int(W * 0.56)):
            if math.hypot(x - W * 0.5, y - W * 0.16) <= W * 0.06:
                c.px[y * W + x] = list(white) + [255]
    return c.downsample(f)


def write_ico(images, path):
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        n = img.w
        xor = bytearray()
        for y in range(n - 1, -1, -1):
            for x in range(n):
                r, g, b, a = (max(0, min(255, int(round(v)))) for v in img.px[y * n + x])
                xor += bytes((b, g, r, a))
        mask_stride = ((n + 31) // 32) * 4
        mask = bytearray()
        for y in range(n - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(n):
                if img.px[y * n + x][3] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        for e in entries:
            f.write(e)
        for b in blobs:
            f.write(b)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_bmp(picture(), sys.argv[1])
    write_ico([icon_image(n) for n in (48, 32, 16)], sys.argv[2])


if __name__ == "__main__":
    main()
