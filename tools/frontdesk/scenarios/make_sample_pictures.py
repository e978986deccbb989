#!/usr/bin/env python3
"""Draws the sample scenario's room pictures: one PNG per room, named
ROOM_0.png as the kiosk looks for them, at the size the customer screen's
room hero shows them (968 x 600): a room in the colours of its class, with
the bed, a window at dusk, a lamp and the room number on a brass plate.
Flat shapes and vertical gradients keep the files small. Standard library
only; the output is the same on every run."""

import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 968, 600
FLOOR_Y = 430

# Per class: wall top and bottom, floor, duvet, accent (headboard, curtains).
CLASS_STYLES = {
    1: ((236, 226, 210), (214, 200, 180), (150, 112, 82), (92, 128, 176), (120, 84, 60)),
    2: ((222, 232, 222), (196, 212, 198), (122, 92, 70), (186, 92, 84), (72, 96, 80)),
    3: ((230, 222, 238), (206, 196, 218), (112, 100, 92), (104, 160, 124), (96, 80, 116)),
    4: ((58, 52, 64), (40, 36, 46), (86, 60, 48), (196, 160, 98), (150, 112, 70)),
}

ROOMS = [(1, n) for n in range(201, 211)] + [(2, n) for n in range(301, 309)] + \
        [(3, n) for n in range(401, 407)] + [(4, n) for n in range(501, 507)]

DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


class Canvas:
    def __init__(self):
        self.rows = [bytearray(WIDTH * 3) for _ in range(HEIGHT)]

    def span(self, y, x0, x1, colour):
        if 0 <= y < HEIGHT:
            x0, x1 = max(int(x0), 0), min(int(x1), WIDTH)
            if x1 > x0:
                self.rows[y][x0 * 3:x1 * 3] = bytes(colour) * (x1 - x0)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(int(y0), 0), min(int(y1), HEIGHT)):
            self.span(y, x0, x1, colour)

    def gradient(self, x0, y0, x1, y1, top, bottom):
        height = max(int(y1) - int(y0), 1)
        for y in range(max(int(y0), 0), min(int(y1), HEIGHT)):
            self.span(y, x0, x1, mix(top, bottom, (y - y0) / height))

    def rounded(self, x0, y0, x1, y1, radius, colour):
        for y in range(max(int(y0), 0), min(int(y1), HEIGHT)):
            inset = 0.0
            if y < y0 + radius:
                inset = radius - (radius ** 2 - (y0 + radius - y) ** 2) ** 0.5
            elif y >= y1 - radius:
                inset = radius - max(radius ** 2 - (y - (y1 - radius)) ** 2, 0) ** 0.5
            self.span(y, x0 + inset, x1 - inset, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        for y in range(max(int(cy - ry), 0), min(int(cy + ry) + 1, HEIGHT)):
            d = 1 - ((y - cy) / ry) ** 2
            if d > 0:
                half = rx * d ** 0.5
                self.span(y, cx - half, cx + half, colour)

    def shade(self, x0, y0, x1, y1, colour, alpha):
        """Lays colour over a rectangle at the given opacity."""
        for y in range(max(int(y0), 0), min(int(y1), HEIGHT)):
            row = self.rows[y]
            for x in range(max(int(x0), 0), min(int(x1), WIDTH)):
                at = x * 3
                row[at:at + 3] = bytes(mix(row[at:at + 3], colour, alpha))

    def glow(self, cx, cy, radius, colour, strength):
        """A soft light that fades from its centre."""
        for y in range(max(cy - radius, 0), min(cy + radius, HEIGHT)):
            row = self.rows[y]
            for x in range(max(cx - radius, 0), min(cx + radius, WIDTH)):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 / radius
                if d < 1:
                    at = x * 3
                    row[at:at + 3] = bytes(mix(row[at:at + 3], colour, strength * (1 - d) ** 2))

    def png(self):
        raw = b"".join(b"\x00" + bytes(row) for row in self.rows)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def darker(colour, amount):
    return mix(colour, (0, 0, 0), amount)


def lighter(colour, amount):
    return mix(colour, (255, 255, 255), amount)


def draw_window(canvas, x0, accent, night):
    x1, y0, y1 = x0 + 210, 70, 330
    sky_top, sky_bottom = ((24, 34, 70), (210, 120, 90)) if night else ((120, 170, 220), (236, 214, 180))
    canvas.rect(x0 - 12, y0 - 12, x1 + 12, y1 + 12, (250, 246, 238))
    canvas.gradient(x0, y0, x1, y1, sky_top, sky_bottom)
    for i, height in enumerate((70, 110, 55, 90, 130, 80)):   # the town at the horizon
        canvas.rect(x0 + i * 36, y1 - height, x0 + i * 36 + 30, y1, darker(sky_top, 0.35))
    canvas.rect(x0 + 102, y0, x0 + 108, y1, (250, 246, 238))
    canvas.rect(x0, 196, x1, 202, (250, 246, 238))
    for side in (x0 - 44, x1 + 4):                          # curtains
        canvas.rect(side, y0 - 30, side + 40, y1 + 40, accent)
        for fold in range(side + 8, side + 40, 12):
            canvas.rect(fold, y0 - 30, fold + 3, y1 + 40, darker(accent, 0.2))
    canvas.rect(x0 - 70, y0 - 40, x1 + 70, y0 - 30, darker(accent, 0.35))


def draw_bed(canvas, room_class, spread, accent):
    width = 360 + 40 * room_class
    x0 = (WIDTH - width) // 2 + 40
    x1 = x0 + width
    canvas.rounded(x0 - 20, 230, x1 + 20, 470, 28, accent)            # headboard
    canvas.rounded(x0 - 4, 246, x1 + 4, 470, 20, lighter(accent, 0.12))
    canvas.shade(x0 - 30, 540, x1 + 30, 560, (0, 0, 0), 0.18)         # shadow on the floor
    canvas.rounded(x0, 360, x1, 548, 18, (248, 246, 240))             # sheet
    for i in range(2 if room_class < 3 else 3):                        # pillows
        px = x0 + 30 + i * ((width - 60) // (2 if room_class < 3 else 3))
        canvas.rounded(px, 318, px + (width - 100) // (2 if room_class < 3 else 3), 386, 24,
                       (252, 251, 248))
        canvas.rect(px + 10, 376, px + (width - 120) // (2 if room_class < 3 else 3), 380,
                    (226, 222, 214))
    canvas.rounded(x0 - 10, 402, x1 + 10, 540, 20, spread)            # duvet
    canvas.rect(x0 - 10, 430, x1 + 10, 446, lighter(spread, 0.25))
    canvas.gradient(x0 - 10, 500, x1 + 10, 540, spread, darker(spread, 0.25))
    return x0, x1


def draw_lamp(canvas, x, night):
    canvas.rounded(x - 46, 420, x + 46, 520, 8, (120, 86, 62))          # side table
    canvas.rect(x - 40, 440, x + 40, 444, (96, 68, 50))
    canvas.rect(x - 4, 350, x + 4, 420, (70, 62, 58))
    canvas.rounded(x - 36, 310, x + 36, 356, 10, (246, 232, 204))
    if night:
        canvas.glow(x, 336, 150, (255, 220, 160), 0.55)


def draw_plate(canvas, number):
    text = str(number)
    scale = 7
    width = len(text) * 4 * scale + 3 * scale
    x0, y0 = (WIDTH - width) // 2, 96
    canvas.rounded(x0, y0, x0 + width, y0 + 7 * scale + 8, 10, (190, 150, 84))
    canvas.rounded(x0 + 4, y0 + 4, x0 + width - 4, y0 + 7 * scale + 4, 8, (214, 176, 106))
    x = x0 + 2 * scale
    for digit in text:
        for row, bits in enumerate(DIGITS[digit]):
            for column, bit in enumerate(bits):
                if bit == "1":
                    canvas.rect(x + column * scale, y0 + scale + row * scale,
                                x + (column + 1) * scale, y0 + scale + (row + 1) * scale, (60, 44, 30))
        x += 4 * scale


def room_picture(room_class, number):
    wall_top, wall_bottom, floor, spread, accent = CLASS_STYLES[room_class]
    night = room_class == 4 or number % 2 == 0
    canvas = Canvas()
    canvas.gradient(0, 0, WIDTH, FLOOR_Y, wall_top, wall_bottom)
    canvas.rect(0, FLOOR_Y - 14, WIDTH, FLOOR_Y, darker(wall_bottom, 0.12))     # skirting
    for i, y in enumerate(range(FLOOR_Y, HEIGHT, 34)):                        # floor boards
        canvas.rect(0, y, WIDTH, y + 34, floor if i % 2 == 0 else lighter(floor, 0.08))
        canvas.rect(0, y, WIDTH, y + 2, darker(floor, 0.2))
    draw_window(canvas, 90 if number % 3 else 660, accent, night)
    canvas.rect(640 if number % 3 else 110, 120, 780 if number % 3 else 250, 220,
                lighter(accent, 0.5))                                         # a picture on the wall
    canvas.rect(652 if number % 3 else 122, 132, 768 if number % 3 else 238, 208,
                mix(spread, wall_top, 0.4))
    x0, x1 = draw_bed(canvas, room_class, spread, accent)
    draw_lamp(canvas, x1 + 90 if x1 + 140 < WIDTH else x0 - 90, night)
    draw_plate(canvas, number)
    if night:
        canvas.shade(0, 0, WIDTH, HEIGHT, (30, 20, 40), 0.12)
    return canvas


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "sample-pictures")
    os.makedirs(folder, exist_ok=True)
    for room_class, number in ROOMS:
        with open(os.path.join(folder, "%d_0.png" % number), "wb") as out:
            out.write(room_picture(room_class, number).png())


if __name__ == "__main__":
    main()
