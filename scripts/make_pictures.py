#!/usr/bin/env python3
"""Draws soundwright's own pictures (splash, welcome banner, icon) into
data/soundwright/. Standard library only; run it again after changing it."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "soundwright")

# 5x7 letters for the product name (lower case may reach two rows below).
FONT = {
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    " ": ["00000"] * 7,
    # Lower case; rows 7 and 8 hold descenders.
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "u": ["00000", "00000", "10001", "10001", "10001", "10011", "01101"],
    "n": ["00000", "00000", "10110", "11001", "10001", "10001", "10001"],
    "d": ["00001", "00001", "01101", "10011", "10001", "10011", "01101"],
    "w": ["00000", "00000", "10001", "10001", "10101", "10101", "01010"],
    "r": ["00000", "00000", "10110", "11001", "10000", "10000", "10000"],
    "i": ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
    "g": ["00000", "00000", "01111", "10001", "10001", "10011", "01101", "00001", "01110"],
    "h": ["10000", "10000", "10110", "11001", "10001", "10001", "10001"],
    "t": ["01000", "01000", "11100", "01000", "01000", "01001", "00110"],
}


def write_png(path, w, h, pixels):
    """pixels: list of rows of (r, g, b, a)."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def canvas(w, h, fn):
    return [[fn(x, y) for x in range(w)] for y in range(h)]


def blend(dst, src, alpha):
    return tuple(int(d + (s - d) * alpha) for d, s in zip(dst, src))


def text(pixels, s, x0, y0, scale, colour):
    x = x0
    for ch in s:
        glyph = FONT.get(ch, FONT[" "])
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            px, py = x + gx * scale + dx, y0 + gy * scale + dy
                            if 0 <= py < len(pixels) and 0 <= px < len(pixels[0]):
                                r, g, b, a = pixels[py][px]
                                pixels[py][px] = colour[:3] + (max(a, colour[3]),)
        x += 6 * scale


def text_width(s, scale):
    return len(s) * 6 * scale - scale


def waveform(pixels, x0, x1, mid, amp, colour):
    for x in range(x0, x1):
        t = (x - x0) / max(1, x1 - x0)
        env = math.sin(math.pi * t) ** 0.7
        v = env * (0.55 * math.sin(t * 37) + 0.3 * math.sin(t * 91 + 1) + 0.15 * math.sin(t * 211))
        top, bottom = int(mid - abs(v) * amp), int(mid + abs(v) * amp)
        for y in range(top, bottom + 1):
            if 0 <= y < len(pixels):
                r, g, b, a = pixels[y][x]
                k = 1.0 - abs(y - mid) / (amp + 1) * 0.5
                c = blend((r, g, b), colour, k)
                pixels[y][x] = c + (a,)


def rounded_alpha(x, y, w, h, radius):
    cx = min(max(x, radius), w - 1 - radius)
    cy = min(max(y, radius), h - 1 - radius)
    d = math.hypot(x - cx, y - cy)
    if d <= radius - 1:
        return 255
    if d >= radius:
        return 0
    return int(255 * (radius - d))


def splash():
    w, h = 480, 280

    def bg(x, y):
        t = y / h
        r, g, b = blend((0x1f, 0x3a, 0x5f), (0x0b, 0x14, 0x24), t)
        a = rounded_alpha(x, y, w, h, 24)
        return (r, g, b, int(a * 0.96))

    px = canvas(w, h, bg)
    waveform(px, 40, w - 40, 130, 60, (0x66, 0xff, 0x99))
    name = "Soundwright"
    text(px, name, (w - text_width(name, 5)) // 2, 186, 5, (0xf3, 0xd7, 0x9a, 255))
    sub = "AUDIO EDITOR"
    text(px, sub, (w - text_width(sub, 2)) // 2, 244, 2, (0xc8, 0xd8, 0xe8, 255))
    write_png(os.path.join(OUT, "splash.png"), w, h, px)


def welcome():
    w, h = 640, 120

    def bg(x, y):
        r, g, b = blend((0x2a, 0x4a, 0x78), (0x1c, 0x2a, 0x3e), x / w)
        return (r, g, b, 255)

    px = canvas(w, h, bg)
    waveform(px, 380, w - 20, 60, 42, (0x66, 0xff, 0x99))
    text(px, "Soundwright", 28, 26, 4, (0xf3, 0xd7, 0x9a, 255))
    text(px, "OPEN  RECORD  EDIT  SAVE", 30, 82, 2, (0xff, 0xff, 0xff, 255))
    write_png(os.path.join(OUT, "welcome.png"), w, h, px)


def icon():
    w = h = 64

    def bg(x, y):
        r, g, b = blend((0x1f, 0x3a, 0x5f), (0x0b, 0x14, 0x24), y / h)
        return (r, g, b, rounded_alpha(x, y, w, h, 12))

    px = canvas(w, h, bg)
    waveform(px, 6, w - 6, 32, 24, (0x66, 0xff, 0x99))
    write_png(os.path.join(OUT, "soundwright.png"), w, h, px)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    splash()
    welcome()
    icon()
