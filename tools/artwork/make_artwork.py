#!/usr/bin/env python3
"""Draws the splash picture and synthesises the four sound effects of the window layer.

Standard library only, deterministic: running it again rewrites byte-identical files.
    python3 tools/artwork/make_artwork.py [output root, default: src/ui]
writes art/splash.png, sounds/type.wav, sounds/whoosh.wav, sounds/thunder.wav, sounds/kst.wav.
"""

import math
import os
import random
import struct
import sys
import wave
import zlib

# ---------------------------------------------------------------------------------------------
# Picture: a heraldic shield, 287 x 323, transparent outside its outline (the window's shape).

WIDTH, HEIGHT = 287, 323
CENTRE_X = WIDTH / 2

SIDE_LEFT, SIDE_RIGHT = 10.0, WIDTH - 10.0
TOP, SHOULDER, TIP = 6.0, 150.0, HEIGHT - 6.0
TOP_RADIUS = 34.0
# The lower sides are arcs that leave the straight sides tangentially and meet at the tip.
ARC_RADIUS = ((CENTRE_X - SIDE_LEFT) ** 2 + (TIP - SHOULDER) ** 2) / (2 * (CENTRE_X - SIDE_LEFT))

OUTLINE, RIM, INNER_LINE = 3.0, 9.0, 11.0  # depths below the edge, in pixels


def clamp(value, low=0.0, high=1.0):
    return max(low, min(high, value))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hex_colour(text):
    return tuple(int(text[i : i + 2], 16) / 255 for i in (1, 3, 5))


def shield_distance(x, y):
    """Signed distance to the shield's outline: negative inside."""
    # Upper part: a box with rounded top corners, open downwards into the lower part.
    half_width = (SIDE_RIGHT - SIDE_LEFT) / 2
    qx = abs(x - CENTRE_X) - half_width
    if y < TOP + TOP_RADIUS and qx > -TOP_RADIUS:
        cx = abs(x - CENTRE_X) - (half_width - TOP_RADIUS)
        cy = y - (TOP + TOP_RADIUS)
        upper = math.hypot(max(cx, 0), max(-cy, 0)) - TOP_RADIUS + min(max(cx, -cy), 0)
        upper = max(upper, qx, TOP - y)
    else:
        upper = max(qx, TOP - y, y - SHOULDER)
    # Lower part: the lens between the two side arcs. Above the shoulder it lies inside the upper
    # part, so the union has no seam there.
    left = math.hypot(x - (SIDE_LEFT + ARC_RADIUS), y - SHOULDER) - ARC_RADIUS
    right = math.hypot(x - (SIDE_RIGHT - ARC_RADIUS), y - SHOULDER) - ARC_RADIUS
    lower = max(left, right, TOP - y)
    return min(upper, lower)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / length)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def polygon_distance(px, py, points):
    """Signed distance to a closed polygon: negative inside."""
    best = float("inf")
    inside = False
    for i, (ax, ay) in enumerate(points):
        bx, by = points[i - 1]
        best = min(best, segment_distance(px, py, ax, ay, bx, by))
        if (ay > py) != (by > py) and px < (bx - ax) * (py - ay) / (by - ay) + ax:
            inside = not inside
    return -best if inside else best


def arc(cx, cy, rx, ry, start, end, steps=20):
    return [
        (cx + rx * math.cos(math.radians(a)), cy + ry * math.sin(math.radians(a)))
        for a in (start + (end - start) * i / steps for i in range(steps + 1))
    ]


# A small stroke alphabet for the name: units of cap height, y upwards from the baseline.
X_HEIGHT = 0.68
GLYPHS = {
    "K": (0.60, [[(0.03, 0), (0.03, 1)], [(0.58, 1), (0.06, 0.40)], [(0.22, 0.58), (0.60, 0)]]),
    "e": (
        0.60,
        [[(0.03, 0.36), (0.58, 0.36)] + arc(0.30, 0.34, 0.28, 0.34, 0, 318, 32)],
    ),
    "s": (
        0.56,
        [arc(0.28, 0.52, 0.25, 0.16, 15, 270, 20) + arc(0.28, 0.18, 0.27, 0.18, 90, -165, 20)],
    ),
    "t": (
        0.50,
        [
            [(0.20, 0.94)] + arc(0.38, 0.16, 0.18, 0.16, 180, 270, 8) + [(0.50, 0.02)],
            [(0.02, 0.66), (0.46, 0.66)],
        ],
    ),
    "o": (0.60, [arc(0.30, 0.34, 0.28, 0.34, 0, 360, 36)]),
    "3": (
        0.64,
        [
            arc(0.34, 0.76, 0.25, 0.23, 150, -90, 22),
            [(0.20, 0.53), (0.34, 0.53)] + arc(0.34, 0.27, 0.29, 0.27, 90, -205, 24),
        ],
    ),
    "2": (
        0.62,
        [arc(0.30, 0.71, 0.27, 0.27, 165, -35, 24) + [(0.03, 0.0), (0.61, 0.0)]],
    ),
}
LETTER_GAP = 0.18


def text_segments(text, centre_x, baseline, cap_height):
    widths = [GLYPHS[c][0] for c in text]
    total = (sum(widths) + LETTER_GAP * (len(text) - 1)) * cap_height
    x = centre_x - total / 2
    glyphs = []
    for c in text:
        width, strokes = GLYPHS[c]
        segments = []
        for stroke in strokes:
            pts = [(x + u * cap_height, baseline - v * cap_height) for u, v in stroke]
            segments += [(pts[i], pts[i + 1]) for i in range(len(pts) - 1)]
        glyphs.append(segments)
        x += (width + LETTER_GAP) * cap_height
    return glyphs


class Canvas:
    def __init__(self):
        self.rgb = [[(0.0, 0.0, 0.0)] * WIDTH for _ in range(HEIGHT)]
        self.alpha = [[0] * WIDTH for _ in range(HEIGHT)]

    def blend(self, x, y, colour, coverage):
        if coverage > 0:
            self.rgb[y][x] = mix(self.rgb[y][x], colour, coverage)

    def fill(self, bbox, coverage_at, colour_at):
        x0, y0, x1, y1 = (int(v) for v in bbox)
        for y in range(max(y0, 0), min(y1 + 1, HEIGHT)):
            for x in range(max(x0, 0), min(x1 + 1, WIDTH)):
                coverage = coverage_at(x + 0.5, y + 0.5)
                if coverage > 0:
                    self.blend(x, y, colour_at(x + 0.5, y + 0.5), coverage)

    def png(self):
        raw = bytearray()
        for y in range(HEIGHT):
            raw.append(0)
            for x in range(WIDTH):
                r, g, b = self.rgb[y][x]
                raw += bytes(round(clamp(c) * 255) for c in (r, g, b))
                raw.append(self.alpha[y][x])

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0)
        return (
            b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b"")
        )


def draw_splash():
    canvas = Canvas()
    depth = [[shield_distance(x + 0.5, y + 0.5) for x in range(WIDTH)] for y in range(HEIGHT)]

    edge_dark = hex_colour("#0c1018")
    gold_light, gold_dark = hex_colour("#f6d77a"), hex_colour("#8a5d12")
    field_centre, field_edge = hex_colour("#2a56a0"), hex_colour("#0a1430")

    # The outline is all or nothing (a window shape has no half pixels): the anti-aliasing of the
    # edge happens against the dark outline band instead.
    for y in range(HEIGHT):
        for x in range(WIDTH):
            d = depth[y][x]
            if d >= 0:
                continue
            canvas.alpha[y][x] = 255
            inside = -d
            if inside < INNER_LINE:
                shade = y / HEIGHT
                gold = mix(gold_light, gold_dark, shade)
                ridge = 1 - abs(inside - (OUTLINE + RIM) / 2) / ((RIM - OUTLINE) / 2)
                gold = tuple(clamp(c * (0.8 + 0.45 * clamp(ridge))) for c in gold)
                colour = edge_dark
                colour = mix(colour, gold, clamp(inside - OUTLINE + 0.5))
                colour = mix(colour, edge_dark, clamp(inside - RIM + 0.5))
                colour = mix(colour, field_edge, clamp(inside - INNER_LINE + 1.5))
            else:
                r = math.hypot((x - CENTRE_X) / 150, (y - 120) / 190)
                colour = mix(field_centre, field_edge, clamp(r))
                # A faint diagonal sheen across the upper left.
                sheen = clamp(1 - abs((x + y) - 150) / 60) * clamp(1 - y / 200) * 0.10
                colour = tuple(clamp(c + sheen) for c in colour)
            canvas.rgb[y][x] = colour

    def inside_field(px, py):
        return clamp(-INNER_LINE - 0.5 - shield_distance(px, py) + 0.5)

    # Lightning bolt above the name.
    bolt = [(156, 22), (116, 76), (139, 76), (122, 118), (174, 58), (149, 58), (168, 22)]
    shadow = [(px + 3, py + 3) for px, py in bolt]
    canvas.fill((110, 20, 180, 124), lambda px, py: clamp(0.5 - polygon_distance(px, py, shadow)) * 0.55,
                lambda px, py: edge_dark)
    canvas.fill((110, 18, 178, 120), lambda px, py: clamp(0.5 - polygon_distance(px, py, bolt)),
                lambda px, py: mix(hex_colour("#fff3b0"), hex_colour("#e6a21c"), clamp((py - 22) / 96)))

    # The name, with a drop shadow.
    cap, baseline, stroke = 38.0, 172.0, 2.9
    for glyph in text_segments("Kesto32", CENTRE_X, baseline, cap):
        xs = [p[0] for s in glyph for p in s]
        bbox = (min(xs) - 8, baseline - cap - 8, max(xs) + 10, baseline + 10)

        def cover(px, py, glyph=glyph, dx=0.0):
            d = min(segment_distance(px - dx, py - dx, *a, *b) for a, b in glyph)
            return clamp(stroke + 0.5 - d)

        canvas.fill(bbox, lambda px, py, c=cover: c(px, py, dx=2.5) * 0.7, lambda px, py: edge_dark)
        canvas.fill(bbox, cover,
                    lambda px, py: mix(hex_colour("#ffffff"), hex_colour("#bcd2f2"),
                                       clamp((py - (baseline - cap)) / cap)))

    # Gold rule under the name.
    canvas.fill((40, 182, 248, 188),
                lambda px, py: clamp(1.5 - abs(py - 185)) * inside_field(px, py)
                * clamp(1 - abs(px - CENTRE_X) / 100),
                lambda px, py: gold_light)

    # Dark ribbon carrying the version label, edged in gold.
    ribbon_top, ribbon_bottom = 194.0, 221.0
    canvas.fill((0, ribbon_top - 2, WIDTH, ribbon_bottom + 2),
                lambda px, py: clamp(min(py - ribbon_top + 2, ribbon_bottom + 2 - py)) * inside_field(px, py),
                lambda px, py: gold_dark)
    canvas.fill((0, ribbon_top, WIDTH, ribbon_bottom),
                lambda px, py: clamp(min(py - ribbon_top, ribbon_bottom - py)) * inside_field(px, py),
                lambda px, py: mix(hex_colour("#05080f"), hex_colour("#14203a"),
                                   clamp(abs(py - (ribbon_top + ribbon_bottom) / 2) / 14)))

    # Three volumes side by side, each with a zip down its middle.
    tile_w, tile_h, gap, top = 30.0, 36.0, 8.0, 234.0
    first = CENTRE_X - (3 * tile_w + 2 * gap) / 2
    for i in range(3):
        x0 = first + i * (tile_w + gap)
        cx, cy = x0 + tile_w / 2, top + tile_h / 2

        def tile(px, py, cx=cx, cy=cy, grow=0.0):
            qx = abs(px - cx) - (tile_w / 2 - 5 + grow)
            qy = abs(py - cy) - (tile_h / 2 - 5 + grow)
            return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - 5

        canvas.fill((x0 - 2, top - 2, x0 + tile_w + 5, top + tile_h + 5),
                    lambda px, py, t=tile: clamp(0.5 - t(px - 2.5, py - 2.5)) * 0.6,
                    lambda px, py: edge_dark)
        canvas.fill((x0 - 1, top - 1, x0 + tile_w + 1, top + tile_h + 1),
                    lambda px, py, t=tile: clamp(0.5 - t(px, py)),
                    lambda px, py, t=tile: mix(hex_colour("#e8eef8"), hex_colour("#8da3c4"),
                                               clamp((py - top) / tile_h)) if t(px, py) < -1.5
                    else hex_colour("#3a4a66"))

        def teeth(px, py, cx=cx):
            if not (top + 4 <= py <= top + tile_h - 4):
                return 0.0
            row = int((py - top - 4) // 3)
            offset = -2.0 if row % 2 == 0 else 2.0
            return clamp(2.0 - abs(px - (cx + offset)))

        canvas.fill((cx - 5, top, cx + 5, top + tile_h), teeth, lambda px, py: hex_colour("#4a5670"))

    # A small diamond above the tip.
    diamond = [(CENTRE_X, 284), (CENTRE_X + 7, 293), (CENTRE_X, 302), (CENTRE_X - 7, 293)]
    canvas.fill((CENTRE_X - 9, 282, CENTRE_X + 9, 304),
                lambda px, py: clamp(0.5 - polygon_distance(px, py, diamond)),
                lambda px, py: mix(gold_light, gold_dark, clamp((py - 284) / 18)))
    return canvas.png()


# ---------------------------------------------------------------------------------------------
# Sounds: mono 16-bit PCM.


def write_wave(path, rate, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.85 * 32767 / peak
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(round(s * scale))) for s in samples))


def fade(samples, rate, seconds=0.005):
    n = min(len(samples) // 2, int(rate * seconds))
    for i in range(n):
        samples[i] *= i / n
        samples[-1 - i] *= i / n
    return samples


def one_pole_lowpass(samples, cutoffs, rate):
    out, state = [], 0.0
    for s, cutoff in zip(samples, cutoffs):
        k = 1 - math.exp(-2 * math.pi * cutoff / rate)
        state += k * (s - state)
        out.append(state)
    return out


def type_click(rng):
    """A short key click: a noise tick over a quickly dying high tone."""
    rate, n = 22050, int(22050 * 0.045)
    out = []
    for i in range(n):
        t = i / rate
        tick = rng.uniform(-1, 1) * math.exp(-t / 0.003)
        tone = math.sin(2 * math.pi * 2400 * t) * math.exp(-t / 0.008) * 0.6
        body = math.sin(2 * math.pi * 620 * t) * math.exp(-t / 0.012) * 0.35
        out.append(tick + tone + body)
    return rate, fade(out, rate, 0.002)


def whoosh(rng):
    """Noise swept up and down through a moving filter, swelling and fading."""
    rate, seconds = 22050, 0.6
    n = int(rate * seconds)
    noise = [rng.uniform(-1, 1) for _ in range(n)]
    cutoffs = [300 + 3500 * math.sin(math.pi * i / n) ** 2 for i in range(n)]
    low = one_pole_lowpass(one_pole_lowpass(noise, cutoffs, rate), cutoffs, rate)
    band = [a - b * 0.5 for a, b in zip(low, one_pole_lowpass(low, [200] * n, rate))]
    out = [s * math.sin(math.pi * i / n) ** 1.5 for i, s in enumerate(band)]
    return rate, fade(out, rate)


def thunder(rng):
    """A crack followed by a long, swelling low rumble."""
    rate, seconds = 11025, 2.2
    n = int(rate * seconds)
    white = [rng.uniform(-1, 1) for _ in range(n)]
    brown, state = [], 0.0
    for w in white:
        state = 0.985 * state + w * 0.15
        brown.append(state)
    rumble = one_pole_lowpass(brown, [160] * n, rate)
    swells = [(0.25, 0.35, 1.0), (0.9, 0.4, 0.7), (1.5, 0.5, 0.45)]
    out = []
    for i in range(n):
        t = i / rate
        crack = white[i] * math.exp(-t / 0.05) * 0.9
        envelope = sum(h * math.exp(-((t - c) / w) ** 2) for c, w, h in swells)
        envelope *= clamp((seconds - t) / 0.4)
        out.append(crack + rumble[i] * 6 * envelope)
    return rate, fade(out, rate)


def chime(rng):
    """Two struck bell notes, the second a fifth above."""
    del rng
    rate, seconds = 22050, 0.9
    n = int(rate * seconds)
    partials = [(1.0, 1.0), (2.76, 0.35), (5.40, 0.15), (0.5, 0.2)]
    notes = [(0.0, 880.0), (0.16, 1318.5)]
    out = []
    for i in range(n):
        t = i / rate
        s = 0.0
        for start, f in notes:
            u = t - start
            if u < 0:
                continue
            for ratio, gain in partials:
                s += gain * math.sin(2 * math.pi * f * ratio * u) * math.exp(-u * (3 + ratio * 2))
        out.append(s)
    return rate, fade(out, rate)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src", "ui")
    os.makedirs(os.path.join(root, "art"), exist_ok=True)
    os.makedirs(os.path.join(root, "sounds"), exist_ok=True)
    with open(os.path.join(root, "art", "splash.png"), "wb") as out:
        out.write(draw_splash())
    for name, make in (("type", type_click), ("whoosh", whoosh), ("thunder", thunder), ("kst", chime)):
        rate, samples = make(random.Random(name))
        write_wave(os.path.join(root, "sounds", name + ".wav"), rate, samples)


if __name__ == "__main__":
    main()
