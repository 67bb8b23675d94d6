#!/usr/bin/env python3
"""Generates the feedback sounds and the program icons under resources/.

Usage: make_resources.py [--preview DIR]

Writes resources/LMV_Resource/*.wav (mono 16-bit PCM at 22050 Hz), and
resources/lumavex00.ico and resources/veltrane00.ico (16, 32 and 48 pixel
32-bit images). With --preview, also writes enlarged PNG views of the icons
into DIR. The output depends on nothing but this script, so running it again
gives the same bytes.
"""

import math
import os
import struct
import sys
import wave
import zlib

kRate = 22050
kPeak = 0.30  # of full scale
kFadeIn = 0.002
kFadeOut = 0.010
kVariants = 8

kRoot = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


# ---------------------------------------------------------------- sounds

def Times(duration):
    return [n / kRate for n in range(int(duration * kRate))]


def Noise(count, seed):
    """Deterministic white noise in -1..1 from a small linear congruential generator."""
    state = seed * 7919 + 17
    out = []
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(state / 0x3FFFFFFF - 1.0)
    return out


def Variant(i):
    """Pitch factor of variant i: steps of a third of a semitone."""
    return 2.0 ** (i / 36.0)


def Click(duration, freq, second, tau, noiseLevel, seed):
    """A struck click: a decaying tone, a faster overtone and a short burst of noise."""
    ts = Times(duration)
    noise = Noise(len(ts), seed)
    return [math.sin(2 * math.pi * freq * t) * math.exp(-t / tau)
            + 0.45 * math.sin(2 * math.pi * second * freq * t) * math.exp(-t / (tau * 0.5))
            + noiseLevel * noise[n] * math.exp(-t / 0.0025)
            for n, t in enumerate(ts)]


def Chime(ts, start, freq):
    """One chime note beginning at `start`: a few harmonics with exponential decay."""
    out = []
    for t in ts:
        u = t - start
        if u < 0:
            out.append(0.0)
            continue
        attack = min(1.0, u / 0.003)
        out.append(attack * math.exp(-u / 0.055) * (
            math.sin(2 * math.pi * freq * u)
            + 0.30 * math.sin(2 * math.pi * 2 * freq * u)
            + 0.10 * math.sin(2 * math.pi * 3 * freq * u)))
    return out


def TwoTone(duration, first, second):
    ts = Times(duration)
    return [a + b for a, b in zip(Chime(ts, 0.0, first), Chime(ts, 0.062, second))]


def Bell(duration, freq):
    """Inharmonic partials that die away at different rates, as a small bell does."""
    partials = [(1.0, 1.0, 0.110), (2.0, 0.45, 0.070), (2.76, 0.30, 0.045), (5.40, 0.15, 0.025)]
    return [sum(a * math.sin(2 * math.pi * r * freq * t) * math.exp(-t / tau)
                for r, a, tau in partials)
            for t in Times(duration)]


def Sweep(duration, startFreq, endFreq):
    """An exponential glide from one pitch to another, with a soft second harmonic."""
    ts = Times(duration)
    ratio = endFreq / startFreq
    phase = 0.0
    out = []
    for t in ts:
        freq = startFreq * ratio ** (t / duration)
        phase += 2 * math.pi * freq / kRate
        out.append(math.sin(phase) + 0.25 * math.sin(2 * phase))
    return out


def Finish(samples):
    """Fades both ends, scales the peak to kPeak and converts to 16-bit integers."""
    count = len(samples)
    fadeIn, fadeOut = int(kFadeIn * kRate), int(kFadeOut * kRate)
    shaped = []
    for n, s in enumerate(samples):
        gain = 1.0
        if n < fadeIn:
            gain *= 0.5 - 0.5 * math.cos(math.pi * n / fadeIn)
        if n >= count - fadeOut:
            gain *= 0.5 - 0.5 * math.cos(math.pi * (count - 1 - n) / fadeOut)
        shaped.append(s * gain)
    scale = kPeak * 32767 / max(abs(s) for s in shaped)
    return [int(round(s * scale)) for s in shaped]


def WriteWav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(kRate)
        out.writeframes(struct.pack("<%dh" % len(samples), *Finish(samples)))


def Sounds():
    """Every sound file name with its samples."""
    sounds = {}
    for i in range(kVariants):
        v = Variant(i)
        sounds["left_button_down%d.wav" % i] = Click(0.060, 2300 * v, 2.3, 0.011, 0.5, i)
        sounds["right_button_down%d.wav" % i] = Click(0.080, 620 * v, 1.5, 0.020, 0.35, 100 + i)
        sounds["load%d.wav" % i] = TwoTone(0.150, 784 * v, 784 * v * 1.5)
        sounds["save%d.wav" % i] = TwoTone(0.150, 698 * v * 1.5, 698 * v)
    sounds["end.wav"] = Bell(0.250, 660)
    sounds["undo.wav"] = Sweep(0.110, 1400, 450)
    sounds["redo.wav"] = Sweep(0.110, 450, 1400)
    return sounds


# ---------------------------------------------------------------- icons

def InRoundedRect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def InRect(x, y, x0, y0, x1, y1):
    return x0 <= x <= x1 and y0 <= y <= y1


def InTriangle(x, y, a, b, c):
    def Side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = Side(a, b), Side(b, c), Side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def BezierPoints(p0, p1, p2, p3, steps=48):
    points = []
    for k in range(steps + 1):
        t = k / steps
        u = 1 - t
        points.append(tuple(u ** 3 * a + 3 * u * u * t * b + 3 * u * t * t * c + t ** 3 * d
                            for a, b, c, d in zip(p0, p1, p2, p3)))
    return points


def NearPolyline(x, y, points, halfWidth):
    limit = halfWidth * halfWidth
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= limit:
            return True
    return False


def LumavexScene(size):
    """A white curve through two orange base points on a dark rounded square."""
    p0, p3 = (0.20, 0.74), (0.80, 0.28)
    curve = BezierPoints(p0, (0.36, 0.10), (0.62, 0.94), p3)
    half = max(0.055, 0.75 / size)
    dot = max(0.085, 1.3 / size)
    return [
        (lambda x, y: InRoundedRect(x, y, 0.03, 0.03, 0.97, 0.97, 0.20), (36, 42, 62)),
        (lambda x, y: NearPolyline(x, y, curve, half), (255, 255, 255)),
        (lambda x, y: (x - p0[0]) ** 2 + (y - p0[1]) ** 2 <= dot * dot, (255, 150, 50)),
        (lambda x, y: (x - p3[0]) ** 2 + (y - p3[1]) ** 2 <= dot * dot, (255, 150, 50)),
    ]


def VeltraneScene(size):
    """Three stacked picture frames and a downward arrow on a teal rounded square."""
    line = max(0.045, 1.0 / size)
    scene = [(lambda x, y: InRoundedRect(x, y, 0.03, 0.03, 0.97, 0.97, 0.20), (22, 96, 92))]
    fills = [(150, 190, 186), (204, 228, 224), (252, 252, 246)]
    for k, fill in enumerate(fills):
        x0, y0 = 0.09 + 0.07 * k, 0.14 + 0.12 * k
        x1, y1 = x0 + 0.44, y0 + 0.34
        scene.append((lambda x, y, r=(x0, y0, x1, y1): InRect(x, y, *r), (16, 40, 40)))
        inner = (x0 + line, y0 + line, x1 - line, y1 - line)
        scene.append((lambda x, y, r=inner: InRect(x, y, *r), fill))
    orange = (245, 160, 50)
    scene.append((lambda x, y: InRect(x, y, 0.775, 0.14, 0.865, 0.58), orange))
    scene.append((lambda x, y: InTriangle(x, y, (0.69, 0.55), (0.95, 0.55), (0.82, 0.80)), orange))
    return scene


def Render(scene, size, grid=6):
    """Rows of straight RGBA pixels, top row first, anti-aliased by grid × grid samples."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(grid):
                for sx in range(grid):
                    x = (px + (sx + 0.5) / grid) / size
                    y = (py + (sy + 0.5) / grid) / size
                    colour = None
                    for inside, rgb in scene:
                        if inside(x, y):
                            colour = rgb
                    if colour:
                        for c in range(3):
                            acc[c] += colour[c]
                        acc[3] += 1.0
            alpha = acc[3] / (grid * grid)
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(acc[c] / acc[3])) for c in range(3))
                           + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def IconImage(rows):
    """One icon directory entry's data: BITMAPINFOHEADER, BGRA rows and AND mask, bottom up."""
    size = len(rows)
    maskStride = (size + 31) // 32 * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
        bits = bytearray(maskStride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def IcoFile(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for rows in images:
        body = IconImage(rows)
        size = len(rows)
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
        data += body
    return out + data


def PngFile(rows):
    """An 8-bit RGBA PNG of the given rows."""
    def Chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + Chunk(b"IHDR", header)
            + Chunk(b"IDAT", zlib.compress(raw, 9)) + Chunk(b"IEND", b""))


def Preview(images, zoom=8):
    """The images side by side, enlarged, over a grey checkerboard."""
    height = max(len(rows) for rows in images) * zoom
    width = sum(len(rows) * zoom + zoom for rows in images)
    sheet = [[(200, 200, 200, 255) if ((x // 8 + y // 8) % 2) else (150, 150, 150, 255)
              for x in range(width)] for y in range(height)]
    left = 0
    for rows in images:
        for y in range(len(rows) * zoom):
            for x in range(len(rows) * zoom):
                r, g, b, a = rows[y // zoom][x // zoom]
                under = sheet[y][left + x]
                sheet[y][left + x] = tuple((c * a + u * (255 - a)) // 255
                                           for c, u in zip((r, g, b), under[:3])) + (255,)
        left += len(rows) * zoom + zoom
    return sheet


def main(argv):
    previewDir = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    soundDir = os.path.join(kRoot, "LMV_Resource")
    os.makedirs(soundDir, exist_ok=True)
    for name, samples in Sounds().items():
        WriteWav(os.path.join(soundDir, name), samples)

    for name, scene in (("lumavex00", LumavexScene), ("veltrane00", VeltraneScene)):
        images = [Render(scene(size), size) for size in (16, 32, 48)]
        with open(os.path.join(kRoot, name + ".ico"), "wb") as out:
            out.write(IcoFile(images))
        if previewDir:
            os.makedirs(previewDir, exist_ok=True)
            with open(os.path.join(previewDir, name + ".png"), "wb") as out:
                out.write(PngFile(Preview(images)))


if __name__ == "__main__":
    main(sys.argv[1:])
