#!/usr/bin/env python3
"""Draws recaster's image sets and finish sounds.

Writes sounds/res<N>/ (main.bmp, the button faces, the logos and the mode
pictures), sounds/done.wav, sounds/fail.wav and the window icons icons/*.png under the folder given as the
first argument (default: the folder of this script). Pictures are palette
images: BMP files RLE8-compressed, PNG files with a palette, so the committed
files stay small. Run it again after changing a colour or a shape.
"""
import math
import os
import struct
import sys
import wave
import zlib

FUCHSIA = (255, 0, 255)


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.palette = []
        self.transparent = None
        self.px = [self.ink(fill)] * (w * h)

    def ink(self, rgb):
        rgb = tuple(max(0, min(255, int(c))) for c in rgb)
        if rgb in self.palette:
            return self.palette.index(rgb)
        if len(self.palette) >= 256:
            # Nearest existing colour once the palette is full.
            return min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(self.palette[i], rgb)))
        self.palette.append(rgb)
        return len(self.palette) - 1

    def rect(self, x0, y0, x1, y1, rgb):
        i = self.ink(rgb)
        for y in range(max(0, y0), min(self.h, y1)):
            row = y * self.w
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[row + x] = i

    def vgrad(self, x0, y0, x1, y1, top, bottom, steps=24):
        h = max(1, y1 - y0)
        for y in range(y0, y1):
            t = round((y - y0) / h * steps) / steps
            c = tuple(a + (b - a) * t for a, b in zip(top, bottom))
            self.rect(x0, y, x1, y + 1, c)

    def round_rect(self, x0, y0, x1, y1, r, rgb):
        i = self.ink(rgb)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                cx = min(max(x, x0 + r), x1 - 1 - r)
                cy = min(max(y, y0 + r), y1 - 1 - r)
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px[y * self.w + x] = i

    def disc(self, cx, cy, r, rgb):
        self.round_rect(cx - r, cy - r, cx + r + 1, cy + r + 1, r, rgb)

    def polygon(self, pts, rgb):
        i = self.ink(rgb)
        ys = [p[1] for p in pts]
        for y in range(max(0, int(min(ys))), min(self.h, int(max(ys)) + 1)):
            xs = []
            for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
                if (ay <= y < by) or (by <= y < ay):
                    xs.append(ax + (y - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(max(0, int(a)), min(self.w, int(b) + 1)):
                    self.px[y * self.w + x] = i

    def line(self, x0, y0, x1, y1, width, rgb):
        n = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for k in range(n + 1):
            t = k / n
            self.disc(int(x0 + (x1 - x0) * t), int(y0 + (y1 - y0) * t), width // 2, rgb)


def write_bmp(path, c):
    """8-bit BMP, RLE8 compressed, bottom-up."""
    data = bytearray()
    for y in range(c.h - 1, -1, -1):
        row = c.px[y * c.w:(y + 1) * c.w]
        x = 0
        while x < c.w:
            run = 1
            while x + run < c.w and run < 255 and row[x + run] == row[x]:
                run += 1
            data += bytes((run, row[x]))
            x += run
        data += b"\x00\x00"  # end of line
    data += b"\x00\x01"  # end of bitmap
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in c.palette)
    pal += b"\x00" * (1024 - len(pal))
    off = 14 + 40 + 1024
    head = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 8, 1, len(data), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(head + info + pal + data)


def write_png(path, c):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = bytearray()
    for y in range(c.h):
        raw.append(0)
        raw += bytes(c.px[y * c.w:(y + 1) * c.w])
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", c.w, c.h, 8, 3, 0, 0, 0))
    out += chunk(b"PLTE", b"".join(bytes(p) for p in c.palette))
    if c.transparent is not None:
        trns = bytes(0 if i == c.transparent else 255 for i in range(len(c.palette)))
        out += chunk(b"tRNS", trns)
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(out)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def image_set(folder, theme):
    os.makedirs(folder, exist_ok=True)
    dark, mid, light, accent = theme["dark"], theme["mid"], theme["light"], theme["accent"]
    W, H = 772, 547
    # Face and shape of the main window: fuchsia outside the rounded frame.
    m = Canvas(W, H, FUCHSIA)
    m.round_rect(0, 0, W, H, 14, dark)
    m.vgrad(2, 2, W - 2, 72, mix(dark, light, 0.35), dark)
    m.round_rect(2, 2, W - 2, 16, 12, mix(dark, light, 0.35))
    m.vgrad(2, 72, 198, 500, mix(mid, (255, 255, 255), 0.55), mix(mid, (255, 255, 255), 0.25))
    m.rect(198, 72, W - 2, 500, (246, 248, 250))
    m.rect(198, 72, 200, 500, mix(mid, dark, 0.4))
    m.rect(2, 72, W - 2, 74, accent)
    m.vgrad(2, 500, W - 2, H - 2, (236, 238, 242), (206, 210, 218))
    m.rect(2, 500, W - 2, 501, mix(mid, dark, 0.4))
    for k in range(3):  # a little ribbon mark on the left panel
        m.disc(30 + k * 18, 420, 6, mix(accent, (255, 255, 255), k * 0.3))
    write_bmp(os.path.join(folder, "main.bmp"), m)

    # Bottom buttons: normal, over, pressed, disabled.
    faces = [(mix(mid, (255, 255, 255), 0.2), mid), (mix(accent, (255, 255, 255), 0.3), accent),
             (dark, mix(dark, mid, 0.5)), ((214, 214, 214), (188, 188, 188))]
    for n, (top, bottom) in enumerate(faces, 1):
        b = Canvas(90, 28, (206, 210, 218))
        b.round_rect(0, 0, 90, 28, 6, mix(bottom, (0, 0, 0), 0.25))
        b.vgrad(2, 2, 88, 26, top, bottom, 12)
        for y in (2, 25):  # soften the corners of the gradient
            for x in (2, 3, 86, 87):
                b.px[y * 90 + x] = b.ink(mix(bottom, (0, 0, 0), 0.25))
        write_bmp(os.path.join(folder, "bottom_%d.bmp" % n), b)

    # Minimise and close: normal, over, pressed.
    for n, face in enumerate([mix(dark, light, 0.35), mix(dark, light, 0.6), dark], 1):
        for kind in ("min", "close"):
            b = Canvas(28, 22, mix(dark, light, 0.35))
            back = (200, 60, 60) if (kind == "close" and n == 2) else face
            b.round_rect(0, 0, 28, 22, 4, back)
            if kind == "min":
                b.rect(8, 14, 20, 17, (255, 255, 255))
            else:
                b.line(9, 6, 18, 15, 3, (255, 255, 255))
                b.line(18, 6, 9, 15, 3, (255, 255, 255))
            write_bmp(os.path.join(folder, "%s_%d.bmp" % (kind, n)), b)

    # Top logo: a film strip with a play mark and a wave, on transparent ground.
    t = Canvas(300, 36, (0, 0, 0))
    t.transparent = 0
    t.round_rect(8, 4, 60, 32, 5, light)
    for x in range(12, 58, 8):
        t.rect(x, 6, x + 4, 9, dark)
        t.rect(x, 27, x + 4, 30, dark)
    t.polygon([(28, 11), (28, 25), (41, 18)], accent)
    for x in range(70, 290):
        y = 18 + 9 * math.sin((x - 70) / 11.0) * math.exp(-(x - 70) / 160.0)
        t.disc(x, int(y), 1, light)
    write_png(os.path.join(folder, "toplogo.png"), t)

    # Left logo: a disc with a circular arrow (convert) on transparent ground.
    l = Canvas(180, 180, (0, 0, 0))
    l.transparent = 0
    l.disc(90, 90, 78, mix(mid, (255, 255, 255), 0.7))
    l.disc(90, 90, 60, mix(mid, (255, 255, 255), 0.45))
    for a in range(20, 320, 2):
        r = math.radians(a)
        l.disc(int(90 + 42 * math.cos(r)), int(90 + 42 * math.sin(r)), 5, dark)
    r = math.radians(320)
    tip = (90 + 42 * math.cos(r), 90 + 42 * math.sin(r))
    l.polygon([(tip[0] - 13, tip[1] - 5), (tip[0] + 11, tip[1] - 9), (tip[0] + 2, tip[1] + 14)], dark)
    l.polygon([(80, 74), (80, 106), (106, 90)], accent)
    write_png(os.path.join(folder, "leftlogo.png"), l)

    # Mode pictures: download (arrow into a tray) and convert (two arrows).
    d = Canvas(64, 64, (0, 0, 0))
    d.transparent = 0
    d.round_rect(2, 2, 62, 62, 10, accent)
    d.rect(27, 12, 37, 32, (255, 255, 255))
    d.polygon([(18, 30), (46, 30), (32, 46)], (255, 255, 255))
    d.rect(14, 48, 50, 53, (255, 255, 255))
    write_png(os.path.join(folder, "downloadyoutube.png"), d)
    c = Canvas(64, 64, (0, 0, 0))
    c.transparent = 0
    c.round_rect(2, 2, 62, 62, 10, mid)
    c.rect(12, 20, 40, 27, (255, 255, 255))
    c.polygon([(38, 13), (38, 34), (52, 23)], (255, 255, 255))
    c.rect(24, 38, 52, 45, (255, 255, 255))
    c.polygon([(26, 31), (26, 52), (12, 41)], (255, 255, 255))
    write_png(os.path.join(folder, "youtubeconvert.png"), c)


def icon(path, back, mark):
    i = Canvas(48, 48, (0, 0, 0))
    i.transparent = 0
    i.round_rect(1, 1, 47, 47, 9, back)
    if mark == "play":
        i.polygon([(17, 12), (17, 36), (36, 24)], (255, 255, 255))
    elif mark == "down":
        i.rect(20, 8, 28, 24, (255, 255, 255))
        i.polygon([(12, 22), (36, 22), (24, 35)], (255, 255, 255))
        i.rect(10, 37, 38, 41, (255, 255, 255))
    else:
        for x in range(8, 41):
            y = 24 + 11 * math.sin((x - 8) / 3.2)
            i.disc(x, int(y), 2, (255, 255, 255))
    write_png(path, i)


def tone(path, notes, rate=22050):
    """Short mono 16-bit tones: (frequency, seconds) pairs, soft edges."""
    frames = bytearray()
    for freq, secs in notes:
        n = int(rate * secs)
        for i in range(n):
            env = min(1.0, i / (0.01 * rate), (n - i) / (0.03 * rate))
            v = 0.35 * env * math.sin(2 * math.pi * freq * i / rate)
            frames += struct.pack("<h", int(v * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    sounds = os.path.join(root, "sounds")
    os.makedirs(sounds, exist_ok=True)
    image_set(os.path.join(sounds, "res1"),
              {"dark": (22, 52, 92), "mid": (58, 112, 176), "light": (170, 205, 240), "accent": (240, 140, 30)})
    image_set(os.path.join(sounds, "res2"),
              {"dark": (24, 78, 60), "mid": (52, 140, 104), "light": (176, 228, 204), "accent": (232, 184, 40)})
    icons = os.path.join(root, "icons")
    os.makedirs(icons, exist_ok=True)
    icon(os.path.join(icons, "recaster.png"), (58, 112, 176), "play")
    icon(os.path.join(icons, "webfetch.png"), (240, 140, 30), "down")
    icon(os.path.join(icons, "clipsoundpull.png"), (52, 140, 104), "wave")
    tone(os.path.join(sounds, "done.wav"), [(660, 0.12), (880, 0.12), (1320, 0.22)])
    tone(os.path.join(sounds, "fail.wav"), [(440, 0.18), (311, 0.32)])


if __name__ == "__main__":
    main()
