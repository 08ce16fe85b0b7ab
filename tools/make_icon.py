#!/usr/bin/env python3
"""Draws the program icon (a white ring with an orange spark on a blue rounded square) and
writes it as a multi-size .ico with 32-bit images. Run it again only to change the design:
the generated res/orvan.ico is checked in so that builds need no Python."""
import math
import struct
import sys


def pixel(size, x, y):
    # Work in a unit square with anti-aliasing by 4x4 supersampling.
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            u = (x + (sx + 0.5) / 4) / size
            v = (y + (sy + 0.5) / 4) / size
            r, g, b, a = sample(u, v)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    a = acc[3] / 16
    if a == 0:
        return (0, 0, 0, 0)
    return tuple(int(round(c / acc[3] * 255)) for c in acc[:3]) + (int(round(a * 255)),)


def sample(u, v):
    # Rounded square background.
    m, rad = 0.04, 0.2
    dx = max(m + rad - u, 0, u - (1 - m - rad))
    dy = max(m + rad - v, 0, v - (1 - m - rad))
    if dx * dx + dy * dy > rad * rad:
        return (0, 0, 0, 0)
    d = math.hypot(u - 0.46, v - 0.54)
    if 0.2 <= d <= 0.31:
        return (1.0, 1.0, 1.0, 1.0)
    if math.hypot(u - 0.76, v - 0.25) <= 0.1:
        return (1.0, 0.55, 0.1, 1.0)
    shade = 0.75 + 0.25 * (1 - v)
    return (0.08 * shade, 0.32 * shade, 0.72 * shade, 1.0)


def bmp_image(size):
    rows = []
    for y in reversed(range(size)):
        row = b"".join(struct.pack("BBBB", p[2], p[1], p[0], p[3])
                       for p in (pixel(size, x, y) for x in range(size)))
        rows.append(row)
    mask_row = (((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_row * size, 0, 0, 0, 0)
    return header + b"".join(rows) + b"\0" * (mask_row * size)


def main(path):
    sizes = [16, 24, 32, 48]
    images = [bmp_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/orvan.ico")
