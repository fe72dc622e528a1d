#!/usr/bin/env python3
"""Draws the program's pictures: icon 128 (32, 48 and 96 px, RGBA PNG) and the 223 x 30
logo bitmap 142 (24-bit BMP), with logo 143 beside it (the same at 446 x 60, for the
Windows build at high DPI). Standard library only; run it from anywhere to regenerate
the files beside it. The art is ours: a modem with an antenna sending radio waves, and the
maker's and the program's names in a small block font."""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- file writers


def write_png(path, width, height, rgba_rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes(row) for row in rgba_rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def write_bmp24(path, width, height, rgb_rows):
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rgb_rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\x00" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def write_ico(path, images):
    """images: (size, rgba_rows) pairs; each entry is a 32-bit DIB with its AND mask."""
    entries = []
    for size, rows in images:
        pixels = bytearray()
        for row in reversed(rows):  # bottom-up, BGRA
            for i in range(0, len(row), 4):
                r, g, b, a = row[i : i + 4]
                pixels += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = b"\x00" * (mask_stride * size)  # the alpha channel decides
        info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        entries.append((size, info + pixels + mask))
    offset = 6 + 16 * len(entries)
    header = struct.pack("<HHH", 0, 1, len(entries))
    directory = b""
    for size, data in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(header + directory + b"".join(data for _, data in entries))


# ---------------------------------------------------------------- icon


def inside_rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def on_wave(x, y, cx, cy, radius, thickness):
    d = math.hypot(x - cx, y - cy)
    if abs(d - radius) > thickness / 2:
        return False
    angle = math.degrees(math.atan2(abs(x - cx), cy - y))  # 0 = straight up
    return 35 <= angle <= 80


def icon_colour(x, y):
    """Colour (r, g, b, a) of the icon at a point of the unit square."""
    if not inside_rounded_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.18):
        return (0, 0, 0, 0)
    if inside_rounded_rect(x, y, 0.16, 0.58, 0.84, 0.84, 0.06):
        for led_x in (0.30, 0.42, 0.54):
            if math.hypot(x - led_x, y - 0.71) <= 0.04:
                return (90, 220, 110, 255)
        return (235, 240, 245, 255)
    if 0.655 <= x <= 0.715 and 0.26 <= y <= 0.58:
        return (235, 240, 245, 255)
    for radius in (0.12, 0.21):
        if on_wave(x, y, 0.685, 0.26, radius, 0.045):
            return (255, 210, 80, 255)
    shade = y  # lighter at the top
    return (int(60 - 35 * shade), int(130 - 60 * shade), int(210 - 70 * shade), 255)


def draw_icon(size, samples=4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    r, g, b, a = icon_colour(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3]
            if alpha == 0:
                row += [0, 0, 0, 0]
            else:
                row += [acc[0] // alpha, acc[1] // alpha, acc[2] // alpha, alpha // (samples * samples)]
        rows.append(row)
    return rows


# ---------------------------------------------------------------- logo

GLYPHS = {  # 5 x 7 block letters, '#' = ink
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
}


def stamp_word(canvas, word, left, top, scale, gap, colour):
    x = left
    for letter in word:
        for gy, line in enumerate(GLYPHS[letter]):
            for gx, cell in enumerate(line):
                if cell != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        canvas[top + gy * scale + dy][x + gx * scale + dx] = colour
        x += 5 * scale + gap
    return x


def draw_logo(scale=1):
    """The logo at 223 x 30 pixels times scale: the same design drawn finer, not enlarged."""
    width, height = 223 * scale, 30 * scale
    canvas = []
    for y in range(height):
        row = []
        for x in range(width):
            t = x / (width - 1)
            row.append((int(255 - 60 * (1 - t)), int(255 - 30 * (1 - t)), 255))
        canvas.append(row)
    for x in range(width):  # a thin wave line under the names
        y = int(round(scale * (27 + 1.5 * math.sin(x / (9.0 * scale)))))
        for dy in range(scale):
            canvas[min(y + dy, height - 1)][x] = (40, 140, 200)
    stamp_word(canvas, "OSTRANE", 6 * scale, 4 * scale, 3 * scale, 3 * scale, (20, 60, 120))
    stamp_word(canvas, "VELTARO", 140 * scale, 10 * scale, 2 * scale, scale, (0, 120, 120))
    return canvas


def main():
    for size in (32, 48, 96):
        write_png(os.path.join(HERE, "icon128_%d.png" % size), size, size, draw_icon(size))
    # The Windows build's icon resource: the same three pictures in one file.
    write_ico(os.path.join(HERE, "icon128.ico"), [(size, draw_icon(size)) for size in (32, 48, 96)])
    write_bmp24(os.path.join(HERE, "logo142.bmp"), 223, 30, draw_logo())
    # Beside it for the Windows build at high DPI: twice as fine, for 150 % and 200 %.
    write_bmp24(os.path.join(HERE, "logo143.bmp"), 446, 60, draw_logo(2))


if __name__ == "__main__":
    main()
